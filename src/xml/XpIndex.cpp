#include "xml/XpIndex.h"

#include <algorithm>
#include <cstring>

namespace sorvanta::xml {

namespace {

std::string_view attributeValue(const TXpNode* element, std::string_view attribute) {
  const TXpAttribute* found = element->attributes()->getNamedItemUtf8(attribute);
  return found ? found->valueUtf8() : std::string_view();
}

}  // namespace

ElementIndex::ElementIndex(const TXpDocument& document) : document_(document) {
  // One pre-order walk without recursion; an element's subtree ends when the walk leaves it.
  size_t lastGroup = 0;  // names come in runs: the group of the element before is tried first
  const auto enter = [this, &lastGroup](const TXpNode* node) {
    if (!node->isElement()) return;
    auto* element = const_cast<TXpNode*>(node);
    element->order_ = static_cast<uint32_t>(all_.size());
    all_.push_back(element);
    ends_.push_back(0);
    if (lastGroup >= groups_.size() || !isElementNamed(element, groups_[lastGroup].name))
      lastGroup = groupOf(element);
    groups_[lastGroup].elements.push_back(element);
  };
  const auto leave = [this](const TXpNode* node) {
    if (node->isElement()) ends_[node->order_] = static_cast<uint32_t>(all_.size());
  };
  const TXpNode* node = document.noGetFirstChild();
  if (!node) return;
  enter(node);
  for (;;) {
    if (const TXpNode* child = node->noGetFirstChild()) {
      enter(node = child);
      continue;
    }
    for (;;) {
      leave(node);
      if (const TXpNode* sibling = node->noGetNextSibling()) {
        enter(node = sibling);
        break;
      }
      node = node->parentNode();
      if (node == &document) return;
    }
  }
}

size_t ElementIndex::groupOf(const TXpNode* element) {
  if (auto it = groupByName_.find(element->nameUtf8()); it != groupByName_.end()) return it->second;
  groups_.push_back({element->nameCString(), {}});
  groupByName_.emplace(element->nameUtf8(), groups_.size() - 1);
  return groups_.size() - 1;
}

const ElementIndex::Nodes& ElementIndex::named(std::string_view utf8Name) const {
  static const Nodes none;
  if (utf8Name == "*") return all_;
  auto it = groupByName_.find(utf8Name);
  return it == groupByName_.end() ? none : groups_[it->second].elements;
}

const ElementIndex::Nodes* ElementIndex::namedWithValue(std::string_view utf8Name,
                                                        std::string_view attribute,
                                                        std::string_view value) {
  // Element names hold no NUL, so name NUL attribute keys the pair unambiguously.
  std::string key;
  key.reserve(utf8Name.size() + 1 + attribute.size());
  key.append(utf8Name).push_back('\0');
  key.append(attribute);
  ValueMap& map = valueMaps_[key];
  if (++map.asked < 2) return nullptr;
  if (map.asked == 2)
    for (TXpNode* element : named(utf8Name))
      map.byValue[attributeValue(element, attribute)].push_back(element);
  static const Nodes none;
  auto it = map.byValue.find(value);
  return it == map.byValue.end() ? &none : &it->second;
}

std::span<TXpNode* const> ElementIndex::inside(const Nodes& list, const TXpNode* node) const {
  if (node == &document_) return list;
  const uint32_t from = node->order_;
  const uint32_t to = ends_[from];
  const auto first = std::upper_bound(list.begin(), list.end(), from,
                                      [](uint32_t n, const TXpNode* e) { return n < e->order_; });
  const auto last = std::lower_bound(first, list.end(), to,
                                     [](const TXpNode* e, uint32_t n) { return e->order_ < n; });
  return {first, last};
}

size_t ElementIndex::memoryUsage() const {
  size_t total = all_.capacity() * sizeof(TXpNode*) + ends_.capacity() * sizeof(uint32_t);
  for (const NameGroup& group : groups_) total += group.elements.capacity() * sizeof(TXpNode*);
  for (const auto& [key, map] : valueMaps_)
    for (const auto& [value, list] : map.byValue) total += list.capacity() * sizeof(TXpNode*);
  return total;
}

}  // namespace sorvanta::xml
