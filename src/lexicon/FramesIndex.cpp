#include "lexicon/FramesIndex.h"

#include <utility>

#include "text/IntegerText.h"

namespace sorvanta::lexicon {

using text::intToStr;
using xml::attributeText;
using xml::TXpNode;
using xml::TXpNodeList;

std::string_view framesDocumentProblem(const xml::TXpNode* framesRoot) {
  if (!framesRoot) return kFramesNotLoaded;
  // Whether "//frame" selects anything: a walk of the whole tree that stops at the first.
  const TXpNode* top = framesRoot;
  while (top->parentNode()) top = top->parentNode();
  for (const TXpNode* node = top; node; node = xml::nextInSubtree(node, top))
    if (xml::isElementNamed(node, "frame")) return {};
  return kNoFrameInDocument;
}

char partOfSpeechLetter(std::string_view lexUnitName) {
  const size_t dot = lexUnitName.rfind('.');
  const std::string_view suffix =
      dot == std::string_view::npos ? lexUnitName : lexUnitName.substr(dot + 1);
  if (suffix == "prep") return 'p';
  if (suffix == "adv") return 'd';
  if (suffix == "n") return 'n';
  if (suffix == "v") return 'v';
  if (suffix == "a") return 'a';
  return 'u';
}

namespace {

// The text of the lexical unit's first child node, or the placeholder when it has none.
text::ShownText definitionOf(const TXpNode* lexUnit) {
  text::ShownText definition = xml::textShown(lexUnit->noGetFirstChild());
  if (definition.working.empty()) definition.working = kNoDefinition;
  return definition;
}

}  // namespace

FramesIndex fillFramesIndex(const TXpNode* framesRoot) {
  FramesIndex index;
  if (!framesRoot) return index;

  const TXpNodeList frames = framesRoot->SelectNodes("//frame");
  index.numFrames = frames.nlGetLength();
  index.frames.reserve(frames.nodes().size());
  FeNameTally tally;
  std::map<std::string, std::string> feUnicode;  // only names working text cannot hold
  int64_t grandTotal = 0;

  for (const TXpNode* frame : frames) {
    ListRow& row = index.frames.emplace_back();
    row.cells.reserve(kFramesColumns);
    // Converted once per frame; every lexical-unit row copies them.
    const text::ShownText frameName = xml::attributeShown(frame, "name");
    const std::string frameId = attributeText(frame, "ID");
    row.addCell(frameName);
    row.cells.push_back(frameId);

    const TXpNodeList fes = frame->SelectNodes("./fes/fe");
    row.cells.push_back(intToStr(fes.nlGetLength()));
    for (const TXpNode* fe : fes) {
      text::ShownText feName = xml::attributeShown(fe, "name");
      // Names alike in working text are one row; it shows the first such name met.
      if (!feName.unicode.empty()) feUnicode.try_emplace(feName.working, std::move(feName.unicode));
      ++tally[std::move(feName.working)];
    }

    const TXpNodeList lus = frame->SelectNodes("./lexunits/lexunit");
    row.cells.push_back(intToStr(lus.nlGetLength()));
    int64_t frameAnns = 0;
    for (const TXpNode* lu : lus) {
      const int32_t anns = lu->SelectInteger("./annotation/annotated");
      frameAnns += anns;
      ListRow& luRow = index.lexUnits.emplace_back();
      luRow.cells.reserve(kLexUnitColumns);
      luRow.addCell(xml::attributeShown(lu, "name"));
      luRow.cells.emplace_back(1, partOfSpeechLetter(luRow.cells.front()));
      luRow.cells.push_back(attributeText(lu, "ID"));
      luRow.cells.push_back(intToStr(anns));
      luRow.addCell(frameName);
      luRow.cells.push_back(frameId);
      luRow.addCell(definitionOf(lu));
      luRow.data = lu;
    }
    row.cells.push_back(intToStr(frameAnns));
    grandTotal += frameAnns;
    row.data = frame;
  }
  index.annotatedTotal = grandTotal;
  if (!index.frames.empty()) index.firstFrameRow = 0;

  index.frameElements.reserve(tally.size());
  for (auto& [name, count] : tally) {
    ListRow& row = index.frameElements.emplace_back();
    row.cells = {name, intToStr(count)};
    if (auto held = feUnicode.find(name); held != feUnicode.end())
      row.unicode.emplace_back(kFeName, std::move(held->second));
  }
  index.numFrameElements = static_cast<int>(tally.size());
  return index;
}

}  // namespace sorvanta::lexicon
