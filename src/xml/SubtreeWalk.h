#pragma once
// A walk over a subtree in document order without recursion, so any depth is fine.
#include "xml/XpNode.h"

namespace sorvanta::xml {

// enter(node) on the way down, leave(node) once all of node's descendants are done; root is
// entered first and left last.
template <class Enter, class Leave>
void walkSubtree(const TXpNode* root, Enter&& enter, Leave&& leave) {
  const TXpNode* current = root;
  enter(current);
  for (;;) {
    if (const TXpNode* child = current->noGetFirstChild()) {
      current = child;
      enter(current);
      continue;
    }
    for (;;) {
      leave(current);
      if (current == root) return;
      if (const TXpNode* sibling = current->noGetNextSibling()) {
        current = sibling;
        enter(current);
        break;
      }
      current = current->parentNode();
    }
  }
}

}  // namespace sorvanta::xml
