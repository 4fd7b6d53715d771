#pragma once
// Whether a node or one of its ancestors is marked, asked for many nodes of one document: each
// node passed on the way up keeps its answer, so all the climbs together stay linear in the
// document.
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::xml {

class AncestorMemo {
 public:
  // True when `from` or one of its ancestors satisfies marked(node). The marks must not change
  // between calls on one memo.
  template <class Marked>
  bool markedFrom(const TXpNode* from, Marked&& marked) {
    passed_.clear();
    bool found = false;
    for (const TXpNode* up = from; up; up = up->parentNode()) {
      if (marked(up)) {
        found = true;
        break;
      }
      if (auto known = answers_.find(up); known != answers_.end()) {
        found = known->second;
        break;
      }
      passed_.push_back(up);
    }
    for (const TXpNode* node : passed_) answers_.emplace(node, found);
    return found;
  }

  // Nodes with a remembered answer.
  size_t size() const { return answers_.size(); }

 private:
  std::unordered_map<const TXpNode*, bool> answers_;
  std::vector<const TXpNode*> passed_;
};

}  // namespace sorvanta::xml
