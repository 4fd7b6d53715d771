#include "lexicon/RelationsIndex.h"

#include "text/WorkingText.h"

namespace sorvanta::lexicon {

using xml::TXpNode;

namespace {

// Tells the relations index apart from other data kept with a document.
const char kDerivedTag = 0;

// An attribute's value as held (UTF-8); empty text when missing, as the query predicate reads it.
std::string_view heldValue(const TXpNode* node, std::string_view name) {
  const xml::TXpNamedNodeMap* map = node->attributes();
  const xml::TXpAttribute* attribute = map ? map->getNamedItemUtf8(name) : nullptr;
  return attribute ? attribute->valueUtf8() : std::string_view();
}

}  // namespace

RelationsIndex::RelationsIndex(const TXpNode* relationsRoot) : root_(relationsRoot) {
  if (!root_) return;
  for (size_t t = 0; t < RelationTypeTable.size(); ++t) {
    const RelationType& type = RelationTypeTable[t];
    // The relation queries select a subsequence of this list, in its order.
    const xml::TXpNodeList all = root_->SelectNodes(relationQuery(type.name));
    for (TXpNode* relation : all) {
      slots_[2 * t][heldValue(relation, "superFrameName")].push_back(relation);
      if (!type.subLabel.empty())
        slots_[2 * t + 1][heldValue(relation, "subFrameName")].push_back(relation);
    }
  }
}

const RelationsIndex& RelationsIndex::of(const TXpNode* relationsRoot) {
  xml::DocStorage& storage = relationsRoot->ownerDocument()->storage();
  if (auto* kept = storage.findDerived(&kDerivedTag, relationsRoot))
    return static_cast<const RelationsIndex&>(*kept);
  return static_cast<const RelationsIndex&>(storage.storeDerived(
      &kDerivedTag, relationsRoot, std::make_unique<RelationsIndex>(relationsRoot)));
}

std::vector<RelationEntry> RelationsIndex::entries(std::string_view frameName) const {
  // A double quote ends the query's literal early; only the query itself says what it selects.
  if (frameName.find('"') != std::string_view::npos) return frameRelationsByQuery(root_, frameName);
  std::vector<RelationEntry> result;
  if (!root_) return result;
  const std::string key = text::workingToUtf8(frameName);
  for (size_t slot = 0; slot < kSlots; ++slot) {
    const auto found = slots_[slot].find(key);
    if (found == slots_[slot].end()) continue;
    const RelationType& type = RelationTypeTable[slot / 2];
    const bool superSide = slot % 2 == 0;
    result.push_back(
        relationEntry(superSide ? type.superLabel : type.subLabel, found->second, superSide));
  }
  return result;
}

}  // namespace sorvanta::lexicon
