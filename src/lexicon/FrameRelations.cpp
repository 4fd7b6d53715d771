#include "lexicon/FrameRelations.h"

#include "lexicon/RelationTypes.h"
#include "lexicon/RelationsIndex.h"

namespace sorvanta::lexicon {

namespace {

// Appends an entry naming the other side of every relation the query selects, if any.
void addEntry(std::vector<RelationEntry>& entries, const xml::TXpNode* relationsRoot,
              std::string_view type, std::string_view frameName, bool superSide,
              std::string_view label) {
  const xml::TXpNodeList found =
      relationsRoot->SelectNodes(relationQuery(type, superSide ? "super" : "sub", frameName));
  if (found.nlGetLength() == 0) return;
  entries.push_back(relationEntry(label, found.nodes(), superSide));
}

}  // namespace

std::string relatedNames(const std::vector<xml::TXpNode*>& relations, bool superSide) {
  const char* other = superSide ? "subFrameName" : "superFrameName";
  std::string names;
  for (size_t i = 0; i < relations.size(); ++i) {
    if (i > 0) names += "; ";
    names += xml::attributeText(relations[i], other);
  }
  return names;
}

RelationEntry relationEntry(std::string_view label, const std::vector<xml::TXpNode*>& relations,
                            bool superSide) {
  const char* other = superSide ? "subFrameName" : "superFrameName";
  RelationEntry entry{std::string(label), {}, {}};
  bool lossy = false;
  for (size_t i = 0; i < relations.size(); ++i) {
    text::ShownText name = xml::attributeShown(relations[i], other);
    if (!name.unicode.empty() && !lossy) {
      lossy = true;
      entry.namesUnicode = text::workingToUtf8(entry.names);
    }
    if (i > 0) {
      entry.names += "; ";
      if (lossy) entry.namesUnicode += "; ";
    }
    if (lossy) entry.namesUnicode += name.utf8();
    entry.names += name.working;
  }
  return entry;
}

std::vector<RelationEntry> frameRelationsByQuery(const xml::TXpNode* relationsRoot,
                                                 std::string_view frameName) {
  std::vector<RelationEntry> entries;
  if (!relationsRoot) return entries;
  for (const RelationType& type : RelationTypeTable) {
    addEntry(entries, relationsRoot, type.name, frameName, true, type.superLabel);
    if (!type.subLabel.empty())
      addEntry(entries, relationsRoot, type.name, frameName, false, type.subLabel);
  }
  return entries;
}

std::vector<RelationEntry> frameRelations(const xml::TXpNode* relationsRoot,
                                          std::string_view frameName) {
  // Same entries as the queries (the index is tested against them), without walking the
  // document once per frame and relation type.
  if (!relationsRoot || !relationsRoot->ownerDocument())
    return frameRelationsByQuery(relationsRoot, frameName);
  return RelationsIndex::of(relationsRoot).entries(frameName);
}

}  // namespace sorvanta::lexicon
