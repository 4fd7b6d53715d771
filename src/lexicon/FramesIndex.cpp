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
  if (framesRoot->SelectNodes("//frame").nlGetLength() == 0) return kNoFrameInDocument;
  return {};
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
std::string definitionOf(const TXpNode* lexUnit) {
  const TXpNode* first = lexUnit->noGetFirstChild();
  std::string definition = first ? first->noGetText() : std::string();
  if (definition.empty()) definition = kNoDefinition;
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
  int64_t grandTotal = 0;

  for (const TXpNode* frame : frames) {
    ListRow& row = index.frames.emplace_back();
    row.cells.reserve(kFramesColumns);
    // Converted once per frame; every lexical-unit row copies them.
    const std::string frameName = attributeText(frame, "name");
    const std::string frameId = attributeText(frame, "ID");
    row.cells.push_back(frameName);
    row.cells.push_back(frameId);

    const TXpNodeList fes = frame->SelectNodes("./fes/fe");
    row.cells.push_back(intToStr(fes.nlGetLength()));
    for (const TXpNode* fe : fes) ++tally[attributeText(fe, "name")];

    const TXpNodeList lus = frame->SelectNodes("./lexunits/lexunit");
    row.cells.push_back(intToStr(lus.nlGetLength()));
    int64_t frameAnns = 0;
    for (const TXpNode* lu : lus) {
      const int32_t anns = lu->SelectInteger("./annotation/annotated");
      frameAnns += anns;
      ListRow& luRow = index.lexUnits.emplace_back();
      luRow.cells.reserve(kLexUnitColumns);
      luRow.cells.push_back(attributeText(lu, "name"));
      luRow.cells.emplace_back(1, partOfSpeechLetter(luRow.cells.front()));
      luRow.cells.push_back(attributeText(lu, "ID"));
      luRow.cells.push_back(intToStr(anns));
      luRow.cells.push_back(frameName);
      luRow.cells.push_back(frameId);
      luRow.cells.push_back(definitionOf(lu));
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
  }
  index.numFrameElements = static_cast<int>(tally.size());
  return index;
}

}  // namespace sorvanta::lexicon
