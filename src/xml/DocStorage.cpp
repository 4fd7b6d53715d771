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
  index_.reset();
  walked_ = 0;
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
  index_.reset();
  walked_ = 0;
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

ElementIndex& DocStorage::index() {
  if (!index_) index_ = std::make_unique<ElementIndex>(document_);
  return *index_;
}

size_t DocStorage::memoryUsage() const {
  size_t total = arena_.bytesReserved();
  for (const auto& buffer : buffers_) total += buffer->capacity();
  for (const auto& [node, list] : childLists_)
    total += sizeof(*list) + list->nodes().capacity() * 8;
  if (index_) total += index_->memoryUsage();
  return total;
}

}  // namespace sorvanta::xml
