#pragma once
// One row of a report list: the caption and its sub-items as working text, plus the node the
// row stands for (the frames list keeps its frame element there). Cells whose document text
// working text cannot hold keep that text, as UTF-8, for the screen.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/WorkingText.h"

#include "xml/XpNode.h"

namespace sorvanta::lexicon {

struct ListRow {
  ListRow() = default;
  ListRow(std::vector<std::string> cells, const xml::TXpNode* data = nullptr)
      : cells(std::move(cells)), data(data) {}

  std::vector<std::string> cells;  // cell 0 is the caption, cell k the sub-item k - 1
  const xml::TXpNode* data = nullptr;

  // Cell k, or empty text for a cell the row does not have.
  std::string_view cell(int column) const {
    return column >= 0 && static_cast<size_t>(column) < cells.size()
               ? std::string_view(cells[static_cast<size_t>(column)])
               : std::string_view();
  }
  std::string_view caption() const { return cell(0); }

  // Appends a cell: its working text, and its UTF-8 when that says more.
  void addCell(text::ShownText text) {
    if (!text.unicode.empty()) unicode.emplace_back(static_cast<int>(cells.size()), std::move(text.unicode));
    cells.push_back(std::move(text.working));
  }
  // The UTF-8 of cell k when working text cannot hold it, or none.
  const std::string* unicodeCell(int column) const {
    for (const auto& [at, text] : unicode)
      if (at == column) return &text;
    return nullptr;
  }
  // Cell k as the screen shows it, in UTF-8.
  std::string cellUtf8(int column) const {
    const std::string* held = unicodeCell(column);
    return held ? *held : text::workingToUtf8(cell(column));
  }

  // (column, UTF-8) of the cells whose text working text cannot hold; usually none.
  std::vector<std::pair<int, std::string>> unicode;
};

}  // namespace sorvanta::lexicon
