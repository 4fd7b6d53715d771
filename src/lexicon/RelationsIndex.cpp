#include "lexicon/RelationsIndex.h"

#include <algorithm>
#include <mutex>

#include "text/WorkingText.h"

namespace sorvanta::lexicon {

using xml::TXpNode;

namespace {

// Live indexes, most recent last. Lookups hold the lock while they read an index, so an
// index is never destroyed under a reader.
std::mutex registryMutex;
std::vector<const RelationsIndex*> registry;

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
  const std::lock_guard lock(registryMutex);
  registry.push_back(this);
}

RelationsIndex::~RelationsIndex() {
  if (!root_) return;
  const std::lock_guard lock(registryMutex);
  std::erase(registry, this);
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
    result.push_back({std::string(superSide ? type.superLabel : type.subLabel),
                      relatedNames(found->second, superSide)});
  }
  return result;
}

std::optional<std::vector<RelationEntry>> RelationsIndex::answerRegistered(
    const TXpNode* relationsRoot, std::string_view frameName) {
  if (!relationsRoot) return std::nullopt;
  const std::lock_guard lock(registryMutex);
  const auto found = std::find_if(registry.rbegin(), registry.rend(), [&](const auto* index) {
    return index->root() == relationsRoot;
  });
  if (found == registry.rend()) return std::nullopt;
  return (*found)->entries(frameName);
}

}  // namespace sorvanta::lexicon
