#include "lexicon/ListSort.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "text/IntegerText.h"
#include "text/TextLines.h"

namespace sorvanta::lexicon {

using text::compareTextIgnoreCase;
using text::strToInt;

CellKind framesColumnKind(int column) { return column == 0 ? CellKind::Text : CellKind::Integer; }

CellKind lexUnitColumnKind(int column) {
  return column == 2 || column == 3 || column == 5 ? CellKind::Integer : CellKind::Text;
}

namespace {

int compareIntegers(std::string_view a, std::string_view b) {
  const int32_t x = strToInt(a);
  const int32_t y = strToInt(b);
  return x == y ? 0 : (x < y ? -1 : 1);
}

int compareByKind(const ListRow& a, const ListRow& b, int column, CellKind kind) {
  return kind == CellKind::Integer ? compareIntegers(a.cell(column), b.cell(column))
                                   : compareTextIgnoreCase(a.cell(column), b.cell(column));
}

// Moves rows into the order given by the row numbers in order.
template <class Keyed>
void reorder(std::vector<ListRow>& rows, const std::vector<Keyed>& order) {
  std::vector<ListRow> sorted;
  sorted.reserve(rows.size());
  for (const Keyed& item : order) sorted.push_back(std::move(rows[item.second]));
  rows.swap(sorted);
}

// Keys are taken (and integers converted) for every row before the first row moves, so a
// conversion failure leaves rows untouched. Ties fall back to the row number: a stable order.
void sortByColumn(std::vector<ListRow>& rows, int column, CellKind kind) {
  const size_t n = rows.size();
  if (kind == CellKind::Integer) {
    std::vector<std::pair<int32_t, size_t>> keyed;
    keyed.reserve(n);
    for (size_t i = 0; i < n; ++i) keyed.emplace_back(strToInt(rows[i].cell(column)), i);
    std::sort(keyed.begin(), keyed.end());
    reorder(rows, keyed);
    return;
  }
  std::vector<std::pair<std::string_view, size_t>> keyed;
  keyed.reserve(n);
  for (size_t i = 0; i < n; ++i) keyed.emplace_back(rows[i].cell(column), i);
  std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
    const int order = compareTextIgnoreCase(x.first, y.first);
    return order != 0 ? order < 0 : x.second < y.second;
  });
  reorder(rows, keyed);
}

// Upper-case form of a Windows-1252 letter; other bytes unchanged.
unsigned char foldCase(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<unsigned char>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<unsigned char>(b - 0x20);
  switch (b) {
    case 0x9A:  // s caron
    case 0x9C:  // oe ligature
    case 0x9E:  // z caron
      return static_cast<unsigned char>(b - 0x10);
    case 0xFF:  // y diaeresis
      return 0x9F;
    default:
      return b;
  }
}

}  // namespace

int compareFramesRows(const ListRow& a, const ListRow& b, int sortColumn) {
  return compareByKind(a, b, sortColumn, framesColumnKind(sortColumn));
}

int compareLexUnitRows(const ListRow& a, const ListRow& b, int sortColumn) {
  return compareByKind(a, b, sortColumn, lexUnitColumnKind(sortColumn));
}

void sortFramesRows(std::vector<ListRow>& rows, int sortColumn) {
  sortByColumn(rows, sortColumn, framesColumnKind(sortColumn));
}

void sortLexUnitRows(std::vector<ListRow>& rows, int sortColumn) {
  sortByColumn(rows, sortColumn, lexUnitColumnKind(sortColumn));
}

bool captionBeginsWith(std::string_view caption, std::string_view prefix) {
  if (prefix.size() > caption.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (foldCase(caption[i]) != foldCase(prefix[i])) return false;
  }
  return true;
}

std::optional<size_t> findCaptionPrefix(const std::vector<ListRow>& rows, std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (captionBeginsWith(rows[i].caption(), text)) return i;
  }
  return std::nullopt;
}

}  // namespace sorvanta::lexicon
