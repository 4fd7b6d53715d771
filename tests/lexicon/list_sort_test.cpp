// Ordering the frames list and the lexical-unit list by a column, and the find box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/ListSort.h"
#include "text/Errors.h"

using namespace sorvanta::lexicon;
using sorvanta::text::ConversionError;

namespace {

using Table = std::vector<std::vector<std::string>>;

std::vector<ListRow> rowsOf(const Table& table) {
  std::vector<ListRow> rows;
  for (const auto& cells : table) rows.push_back({cells, nullptr});
  return rows;
}

std::vector<std::string> column(const std::vector<ListRow>& rows, int c) {
  std::vector<std::string> out;
  for (const ListRow& row : rows) out.emplace_back(row.cell(c));
  return out;
}

const Table kFrames = {{"Abusing", "10", "3"},
                       {"abandonment", "9", "12"},
                       {"Abandon", "100", "3"},
                       {"zeal", "$8", "1"}};

const Table kLexUnits = {{"run.v", "v", "100", "3", "Self_motion", "12", "SV: go fast"},
                         {"ABD.n", "n", "99", "0", "Zoo", "9", "ABD"},
                         {"in.prep", "p", "7", "12", "Locative", "12", "abc"},
                         {"ab.a", "a", "1000", "2", "abandonment", "100", "No Definition"},
                         {"quickly.adv", "d", "8", "0", "Speed", "3", "COD: fast"},
                         {"thing.art", "u", "6", "1", "Zoo", "9", "Ab"}};

}  // namespace

TEST(ListSort, FramesColumnsSortAsTextOrIntegers) {
  const std::pair<int, std::vector<std::string>> cases[] = {
      {0, {"Abandon", "abandonment", "Abusing", "zeal"}},   // case ignored, prefix first
      {1, {"zeal", "abandonment", "Abusing", "Abandon"}}};  // 8, 9, 10, 100
  for (const auto& [c, captions] : cases) {
    std::vector<ListRow> rows = rowsOf(kFrames);
    sortFramesRows(rows, c);
    EXPECT_EQ(column(rows, 0), captions) << "column " << c;
  }
  EXPECT_GT(compareFramesRows(rowsOf(kFrames)[0], rowsOf(kFrames)[1], 1), 0);  // 10 after 9
}

TEST(ListSort, LexicalUnitColumnsSortByTheirKind) {
  const std::pair<int, std::vector<std::string>> cases[] = {
      {0, {"ab.a", "ABD.n", "in.prep", "quickly.adv", "run.v", "thing.art"}},
      {1, {"a", "d", "n", "p", "u", "v"}},
      {2, {"6", "7", "8", "99", "100", "1000"}},
      {3, {"0", "0", "1", "2", "3", "12"}},
      {4, {"abandonment", "Locative", "Self_motion", "Speed", "Zoo", "Zoo"}},
      {5, {"3", "9", "9", "12", "12", "100"}},
      {6, {"Ab", "abc", "ABD", "COD: fast", "No Definition", "SV: go fast"}}};
  for (const auto& [c, sorted] : cases) {
    std::vector<ListRow> rows = rowsOf(kLexUnits);
    sortLexUnitRows(rows, c);
    EXPECT_EQ(column(rows, c), sorted) << "column " << c;
  }
  const std::vector<ListRow> rows = rowsOf(kLexUnits);
  EXPECT_EQ(compareLexUnitRows(rows[0], rows[1], 5), 1);  // 12 after 9, though "12" < "9"
  EXPECT_EQ(compareLexUnitRows(rows[2], rows[0], 5), 0);
  EXPECT_LT(compareLexUnitRows(rows[2], rows[1], 6), 0);  // abc before ABD
}

TEST(ListSort, NonIntegerCellThrowsAndLeavesRowsAlone) {
  const std::tuple<Table, int, bool> cases[] = {
      {{{"a", "1"}, {"b", "x"}, {"c", "0"}}, 1, true},
      {{{"a", "1"}, {"b", "2"}}, 3, true},  // a cell the rows lack reads as empty text
      {{{"a", "v", "3", "1", "F", "2147483648"}, {"b", "n", "2", "1", "F", "1"}}, 5, false}};
  for (const auto& [table, c, frames] : cases) {
    std::vector<ListRow> rows = rowsOf(table);
    if (frames) {
      EXPECT_THROW(sortFramesRows(rows, c), ConversionError);
      EXPECT_THROW(compareFramesRows(rows[0], rows[1], c), ConversionError);
    } else {
      EXPECT_THROW(sortLexUnitRows(rows, c), ConversionError);
      EXPECT_THROW(compareLexUnitRows(rows[0], rows[1], c), ConversionError);
    }
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].cells, table[i]);
  }
}

TEST(FindCaptionPrefix, FirstRowInDisplayOrderIgnoringCase) {
  const std::vector<ListRow> rows =
      rowsOf({{"Run.v"}, {"abide.v"}, {"ABLE.a"}, {"\xC9t\xE9.n"}, {"run.n"}, {"ab"}});
  const std::pair<const char*, std::optional<size_t>> cases[] = {
      {"ab", 1},          {"AB", 1},           {"abl", 2},
      {"run", 0},         {"RUN.N", 4},        {"\xE9T", 3},
      {"", std::nullopt}, {"x", std::nullopt}, {"abide.verb", std::nullopt}};
  for (const auto& [text, row] : cases) EXPECT_EQ(findCaptionPrefix(rows, text), row) << text;
}
