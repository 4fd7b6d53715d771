#include "derived/TarkoEntries.h"

#include <map>
#include <memory>

#include "lexicon/RelationTypes.h"
#include "text/WorkingText.h"
#include "xml/XpPath.h"

namespace sorvanta::derived {

using xml::TXpNode;

namespace {

// Tells this index apart from other data kept with the relations document.
const char kDerivedTag = 0;

// A fixed expression, compiled once for the whole run instead of once per node.
xml::XpPath compiledPath(std::string_view expression) {
  xml::XpPath path;
  path.compile(expression);
  return path;
}

const xml::XpPath& feRelationsPath() {
  static const xml::XpPath path = compiledPath(".//fe-relation");
  return path;
}

std::string_view frameSide(bool super) { return super ? "superFrameName" : "subFrameName"; }
std::string_view feSide(bool super) { return super ? "superFEName" : "subFEName"; }

// An attribute's value as held (UTF-8); empty when missing, as the query predicate reads it.
std::string_view heldValue(const TXpNode* node, std::string_view name) {
  const xml::TXpNamedNodeMap* map = node->attributes();
  const xml::TXpAttribute* attribute = map ? map->getNamedItemUtf8(name) : nullptr;
  return attribute ? attribute->valueUtf8() : std::string_view();
}

void addRelationLine(text::TextLines& lines, const FrameRelationRow& row,
                     const std::vector<TXpNode*>& related) {
  if (related.empty()) return;
  std::string line = "\t%%5 " + std::string(row.label);
  for (const TXpNode* relation : related)
    line += " %%k #" + xml::attributeText(relation, frameSide(!row.frameIsSuper));
  lines.add(std::move(line));
}

// "\t%%6 " + side + " %%v" followed by " " + the side's FE name per mapping.
std::string mappingLine(char side, const xml::TXpNodeList& mappings, bool super) {
  std::string line = "\t%%6 ";
  line += side;
  line += " %%v";
  for (const TXpNode* mapping : mappings) {
    line += ' ';
    line += xml::attributeText(mapping, feSide(super));
  }
  return line;
}

}  // namespace

std::string_view lexUnitHeadword(std::string_view name) {
  const size_t dot = name.find('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(0, dot);
}

std::string_view partOfSpeechCode(std::string_view name) {
  const size_t dot = name.find('.');
  const std::string_view suffix = dot == std::string_view::npos ? name : name.substr(dot + 1);
  if (suffix == "n") return "nou";
  if (suffix == "v") return "vrb";
  if (suffix == "a") return "adj";
  if (suffix == "adv") return "adv";
  if (suffix == "prep") return "prp";
  return "nil";
}

SourcedDefinition splitDefinitionSource(std::string definition) {
  SourcedDefinition result{std::move(definition), {}};
  if (result.text.starts_with("COD: ")) {
    result.source = "COD";
    result.text.erase(0, 5);
  }
  if (result.text.starts_with("SV: ")) {
    result.source = "SV";
    result.text.erase(0, 4);
  }
  return result;
}

SourcedDefinition lexUnitDefinition(const TXpNode* lexUnit) {
  const TXpNode* first = lexUnit ? lexUnit->noGetFirstChild() : nullptr;
  return splitDefinitionSource(first ? first->noGetText() : std::string());
}

std::vector<TXpNode*> relatedByQuery(const TXpNode* relationsRoot, const FrameRelationRow& row,
                                     std::string_view frameName) {
  if (!relationsRoot) return {};
  return relationsRoot
      ->SelectNodes(lexicon::relationQuery(row.type, row.frameIsSuper ? "super" : "sub", frameName))
      .nodes();
}

FrameRelationRowsIndex::FrameRelationRowsIndex(const TXpNode* relationsRoot)
    : root_(relationsRoot) {
  if (!root_) return;
  // A row's query keeps, in order, those relations of its type's list whose attribute on the
  // row's side equals the name, so splitting each list by that attribute answers every name.
  std::map<std::string_view, xml::TXpNodeList> ofType;
  for (size_t r = 0; r < kFrameRelationRows.size(); ++r) {
    const FrameRelationRow& row = kFrameRelationRows[r];
    auto [it, fresh] = ofType.try_emplace(row.type);
    if (fresh) it->second = root_->SelectNodes(lexicon::relationQuery(row.type));
    // An empty list may also be a query refused for its size, which the narrower row query
    // may still answer: leave such a type to the query (cheap when it truly has none).
    rows_[r].byQuery = it->second.nlGetLength() == 0;
    for (TXpNode* relation : it->second)
      rows_[r].byName[heldValue(relation, frameSide(row.frameIsSuper))].push_back(relation);
  }
}

std::vector<TXpNode*> FrameRelationRowsIndex::related(size_t row,
                                                      std::string_view frameName) const {
  if (row >= rows_.size() || !root_) return {};
  // A double quote ends the query's literal early; only the query says what it then selects.
  if (rows_[row].byQuery || frameName.find('"') != std::string_view::npos)
    return relatedByQuery(root_, kFrameRelationRows[row], frameName);
  const std::string converted =
      text::isAscii(frameName) ? std::string() : text::workingToUtf8(frameName);
  const auto found =
      rows_[row].byName.find(converted.empty() ? frameName : std::string_view(converted));
  return found == rows_[row].byName.end() ? std::vector<TXpNode*>() : found->second;
}

const FrameRelationRowsIndex& FrameRelationRowsIndex::of(const TXpNode* relationsRoot) {
  xml::DocStorage& storage = relationsRoot->ownerDocument()->storage();
  if (auto* kept = storage.findDerived(&kDerivedTag, relationsRoot))
    return static_cast<const FrameRelationRowsIndex&>(*kept);
  return static_cast<const FrameRelationRowsIndex&>(storage.storeDerived(
      &kDerivedTag, relationsRoot, std::make_unique<FrameRelationRowsIndex>(relationsRoot)));
}

void AddFrameRelationLines(text::TextLines& lines, const TXpNode* relationsRoot,
                           std::string_view frameName) {
  if (!relationsRoot) return;
  if (!relationsRoot->ownerDocument()) {
    for (const FrameRelationRow& row : kFrameRelationRows)
      addRelationLine(lines, row, relatedByQuery(relationsRoot, row, frameName));
    return;
  }
  // The same nodes as the row queries (tested against them), without a walk per frame and row.
  const FrameRelationRowsIndex& index = FrameRelationRowsIndex::of(relationsRoot);
  for (size_t r = 0; r < kFrameRelationRows.size(); ++r)
    addRelationLine(lines, kFrameRelationRows[r], index.related(r, frameName));
}

void AddRelationEntries(text::TextLines& lines, const TXpNode* relationsRoot) {
  if (!relationsRoot) return;
  for (const RelationEntryRow& row : kRelationEntryRows) {
    for (const TXpNode* relation : relationsRoot->SelectNodes(lexicon::relationQuery(row.type))) {
      lines.add("%%1 @" + xml::attributeText(relation, frameSide(row.headIsSuper)) +
                std::string(row.label) + xml::attributeText(relation, frameSide(!row.headIsSuper)));
      lines.add(std::string(kNilLine));
      const xml::TXpNodeList mappings = feRelationsPath().evaluate(relation);
      if (mappings.nlGetLength() > 0) {
        lines.add(mappingLine('0', mappings, row.headIsSuper));
        lines.add(mappingLine('1', mappings, !row.headIsSuper));
      }
      lines.add("");
    }
  }
}

std::string frameHeadLine(std::string_view frameName) { return "%%1 #" + std::string(frameName); }

std::string frameElementLine(std::string_view name, std::string_view coreType) {
  return "\t%%6 " + std::string(name) + " %%v " + std::string(coreType);
}

std::string memberLine(const TXpNode* lexUnit) {
  const std::string name = xml::attributeText(lexUnit, "name");
  return "\t%%4 " + std::string(lexUnitHeadword(name)) + " %%i " +
         xml::attributeText(lexUnit, "ID");
}

void addLexemeEntryHead(text::TextLines& lines, const TXpNode* lexUnit,
                        std::string_view frameName) {
  const std::string name = xml::attributeText(lexUnit, "name");
  const SourcedDefinition definition = lexUnitDefinition(lexUnit);
  lines.add("%%1 " + std::string(lexUnitHeadword(name)));
  lines.add("\t%%2 " + std::string(partOfSpeechCode(name)));
  lines.add("\t%%d " + definition.text);
  lines.add("\t%%6 frame %%v " + std::string(frameName));
  if (!definition.source.empty()) lines.add("\t%%6 source %%v " + definition.source);
  lines.add("\t%%6 id %%v " + xml::attributeText(lexUnit, "ID"));
}

void addRealizationLines(text::TextLines& lines, const TXpNode* lexEntryRoot) {
  if (!lexEntryRoot) return;
  // "//FERealizations/FERealization" in document order, walked directly: the query's cost per
  // document showed in every run of the dictionaries.
  const TXpNode* top = lexEntryRoot;
  while (top->parentNode()) top = top->parentNode();
  std::string line;
  for (const TXpNode* node = top; node; node = xml::nextInSubtree(node, top)) {
    if (!xml::isElementNamed(node, "FERealization") || !node->parentNode() ||
        !xml::isElementNamed(node->parentNode(), "FERealizations"))
      continue;
    // "./valence-unit", the first. A realization without one still gets its line, with empty
    // pt, gf and fe: the count is kept and the gap stays visible as "()".
    const TXpNode* unit = node->noGetFirstChild();
    while (unit && !xml::isElementNamed(unit, "valence-unit")) unit = unit->noGetNextSibling();
    line.assign("\t%%6 ");
    xml::appendAttributeText(line, unit, "pt");
    line += '(';
    xml::appendAttributeText(line, unit, "gf");
    line += ") %%v ";
    xml::appendAttributeText(line, unit, "fe");
    line += " (";
    xml::appendAttributeText(line, node, "total");
    line += ')';
    lines.add(line);
  }
}

}  // namespace sorvanta::derived
