#include "xml/DocStorage.h"

namespace sorvanta::xml {

DocStorage::DocStorage() : document_(this) {}

std::string& DocStorage::adoptBuffer(std::string buffer) {
  buffers_.push_back(std::make_unique<std::string>(std::move(buffer)));
  return *buffers_.back();
}

void DocStorage::clear() {
  document_.firstChild_ = nullptr;
  childLists_.clear();
  index_.clear();
  allElements_.clear();
  indexed_ = false;
  derived_.clear();
  buffers_.clear();
  arena_.clear();
}

const TXpNodeList& DocStorage::childList(const TXpNode* node) {
  auto& slot = childLists_[node];
  if (!slot) {
    slot = std::make_unique<TXpNodeList>();
    for (TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling())
      slot->add(child);
  }
  return *slot;
}

void DocStorage::childAppended(const TXpNode* parent, TXpNode* child) {
  auto it = childLists_.find(parent);
  if (it != childLists_.end()) it->second->add(child);
  derived_.clear();
  if (indexed_) {
    index_.clear();
    allElements_.clear();
    indexed_ = false;
  }
}

DerivedData* DocStorage::findDerived(const void* tag, const TXpNode* node) const {
  auto it = derived_.find({tag, node});
  return it == derived_.end() ? nullptr : it->second.get();
}

DerivedData& DocStorage::storeDerived(const void* tag, const TXpNode* node,
                                      std::unique_ptr<DerivedData> data) {
  auto& slot = derived_[{tag, node}];
  slot = std::move(data);
  return *slot;
}

void DocStorage::buildIndex() {
  // One pre-order walk over the whole document.
  for (const TXpNode* current = document_.noGetFirstChild(); current;
       current = nextInSubtree(current, &document_)) {
    if (!current->isElement()) continue;
    auto* element = const_cast<TXpNode*>(current);
    allElements_.push_back(element);
    index_[current->nameUtf8()].push_back(element);
  }
  indexed_ = true;
}

const std::vector<TXpNode*>& DocStorage::elementsNamed(std::string_view utf8Name) {
  static const std::vector<TXpNode*> none;
  if (!indexed_) buildIndex();
  if (utf8Name == "*") return allElements_;
  auto it = index_.find(utf8Name);
  return it == index_.end() ? none : it->second;
}

size_t DocStorage::memoryUsage() const {
  size_t total = arena_.bytesReserved();
  for (const auto& buffer : buffers_) total += buffer->capacity();
  for (const auto& [node, list] : childLists_) total += sizeof(*list) + list->nodes().capacity() * 8;
  total += allElements_.capacity() * 2 * sizeof(void*);
  return total;
}

}  // namespace sorvanta::xml
