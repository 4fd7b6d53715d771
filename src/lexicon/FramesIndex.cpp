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

// What "./" + outer + "/" + inner selects from parent: the inner children of its outer
// children, in document order; walked directly, as it runs for every frame.
std::vector<const TXpNode*> grandchildren(const TXpNode* parent, const char* outer,
                                          const char* inner) {
  std::vector<const TXpNode*> found;
  for (const TXpNode* list = parent->noGetFirstChild(); list; list = list->noGetNextSibling())
    if (xml::isElementNamed(list, outer))
      for (const TXpNode* item = list->noGetFirstChild(); item; item = item->noGetNextSibling())
        if (xml::isElementNamed(item, inner)) found.push_back(item);
  return found;
}

// What "//frame" selects: every frame element of the document, in document order. One walk,
// where the query would first index every element of the document by name.
std::vector<const TXpNode*> allFrames(const TXpNode* anyNode) {
  std::vector<const TXpNode*> frames;
  const TXpNode* document = anyNode->ownerDocument();
  if (!document) return frames;
  for (const TXpNode* node = document->noGetFirstChild(); node;
       node = xml::nextInSubtree(node, document))
    if (xml::isElementNamed(node, "frame")) frames.push_back(node);
  return frames;
}

}  // namespace

FramesIndex fillFramesIndex(const TXpNode* framesRoot) {
  FramesIndex index;
  if (!framesRoot) return index;

  const std::vector<const TXpNode*> frames = allFrames(framesRoot);
  index.numFrames = static_cast<int>(frames.size());
  index.frames.reserve(frames.size());
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

    const std::vector<const TXpNode*> fes = grandchildren(frame, "fes", "fe");
    row.cells.push_back(intToStr(static_cast<int64_t>(fes.size())));
    for (const TXpNode* fe : fes) ++tally[attributeText(fe, "name")];

    const std::vector<const TXpNode*> lus = grandchildren(frame, "lexunits", "lexunit");
    row.cells.push_back(intToStr(static_cast<int64_t>(lus.size())));
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
