#pragma once
// One row of a report list: the caption and its sub-items as working text, plus the node the
// row stands for (the frames list keeps its frame element there).
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::lexicon {

struct ListRow {
  std::vector<std::string> cells;  // cell 0 is the caption, cell k the sub-item k - 1
  const xml::TXpNode* data = nullptr;

  // Cell k, or empty text for a cell the row does not have.
  std::string_view cell(int column) const {
    return column >= 0 && static_cast<size_t>(column) < cells.size()
               ? std::string_view(cells[static_cast<size_t>(column)])
               : std::string_view();
  }
  std::string_view caption() const { return cell(0); }
};

}  // namespace sorvanta::lexicon
