// Ordering the frames list and the lexical-unit list by a column, and the find box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "lexicon/ListSort.h"
#include "text/Errors.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::lexicon;
using sorvanta::text::ConversionError;

namespace {

std::vector<ListRow> rowsOf(const std::vector<std::vector<std::string>>& table) {
  std::vector<ListRow> rows;
  for (const auto& cells : table) rows.push_back({cells, nullptr});
  return rows;
}

std::vector<std::string> column(const std::vector<ListRow>& rows, int c) {
  std::vector<std::string> out;
  for (const ListRow& row : rows) out.emplace_back(row.cell(c));
  return out;
}

const std::vector<std::vector<std::string>> kFrames = {
    {"Abusing", "10", "3", "1", "0"},
    {"abandonment", "9", "12", "2", "100"},
    {"Abandon", "100", "3", "0", "-1"},
    {"zeal", "$8", "1", "0", "0"}};

const std::vector<std::vector<std::string>> kLexUnits = {
    {"run.v", "v", "100", "3", "Self_motion", "12", "SV: go fast"},
    {"ABD.n", "n", "99", "0", "Zoo", "9", "ABD"},
    {"in.prep", "p", "7", "12", "Locative", "12", "abc"},
    {"ab.a", "a", "1000", "2", "abandonment", "100", "No Sorvanta Definition"},
    {"quickly.adv", "d", "8", "0", "Speed", "3", "COD: fast"},
    {"thing.art", "u", "6", "1", "Zoo", "9", "Ab"}};

}  // namespace

TEST(ListSort, FramesColumnsSortAsTextOrIntegers) {
  const struct {
    int column;
    std::vector<std::string> captions;
  } cases[] = {
      {0, {"Abandon", "abandonment", "Abusing", "zeal"}},  // case ignored, prefix first
      {1, {"zeal", "abandonment", "Abusing", "Abandon"}},  // 8, 9, 10, 100
      {2, {"zeal", "Abusing", "Abandon", "abandonment"}},  // ties keep their order
      {4, {"Abandon", "Abusing", "zeal", "abandonment"}}};
  for (const auto& c : cases) {
    std::vector<ListRow> rows = rowsOf(kFrames);
    sortFramesRows(rows, c.column);
    EXPECT_EQ(column(rows, 0), c.captions) << "column " << c.column;
    sortFramesRows(rows, c.column);  // a second click sorts the same way
    EXPECT_EQ(column(rows, 0), c.captions) << "column " << c.column;
  }
}

TEST(ListSort, LexicalUnitColumnsSortByTheirKind) {
  const struct {
    int column;
    std::vector<std::string> sorted;  // the sorted column itself
  } cases[] = {
      {0, {"ab.a", "ABD.n", "in.prep", "quickly.adv", "run.v", "thing.art"}},
      {1, {"a", "d", "n", "p", "u", "v"}},
      {2, {"6", "7", "8", "99", "100", "1000"}},
      {3, {"0", "0", "1", "2", "3", "12"}},
      {4, {"abandonment", "Locative", "Self_motion", "Speed", "Zoo", "Zoo"}},
      {5, {"3", "9", "9", "12", "12", "100"}},
      {6, {"Ab", "abc", "ABD", "COD: fast", "No Sorvanta Definition", "SV: go fast"}}};
  for (const auto& c : cases) {
    std::vector<ListRow> rows = rowsOf(kLexUnits);
    sortLexUnitRows(rows, c.column);
    EXPECT_EQ(column(rows, c.column), c.sorted) << "column " << c.column;
  }
}

TEST(ListSort, CompareFunctionsGiveSignsPerColumnKind) {
  const std::vector<ListRow> lus = rowsOf(kLexUnits);
  EXPECT_EQ(compareLexUnitRows(lus[0], lus[1], 2), 1);   // 100 after 99
  EXPECT_EQ(compareLexUnitRows(lus[1], lus[0], 2), -1);
  EXPECT_EQ(compareLexUnitRows(lus[2], lus[0], 5), 0);   // 12 and 12
  EXPECT_EQ(compareLexUnitRows(lus[0], lus[1], 5), 1);   // 12 after 9, though "12" < "9"
  EXPECT_GT(compareLexUnitRows(lus[0], lus[1], 1), 0);   // "v" after "n"
  EXPECT_LT(compareLexUnitRows(lus[2], lus[1], 6), 0);   // abc before ABD
  EXPECT_EQ(compareLexUnitRows(lus[1], lus[5], 4), 0);   // Zoo and Zoo
  const std::vector<ListRow> frames = rowsOf(kFrames);
  EXPECT_GT(compareFramesRows(frames[0], frames[1], 1), 0);  // 10 after 9
  EXPECT_GT(compareFramesRows(frames[0], frames[1], 0), 0);  // Abusing after abandonment
  EXPECT_EQ(compareFramesRows(frames[0], frames[2], 2), 0);
}

TEST(ListSort, NonIntegerCellThrowsAndLeavesRowsAlone) {
  const struct {
    std::vector<std::vector<std::string>> table;
    int column;
    bool frames;
  } cases[] = {
      {{{"a", "1"}, {"b", "x"}, {"c", "0"}}, 1, true},
      {{{"a", "12"}, {"b", ""}}, 1, true},
      {{{"a", "1"}, {"b", "2"}}, 3, true},  // a cell the rows lack reads as empty text
      {{{"a", "v", "3"}, {"b", "n", "2.5"}}, 2, false},
      {{{"a", "v", "3", "1", "F", "2147483648"}, {"b", "n", "2", "1", "F", "1"}}, 5, false}};
  for (const auto& c : cases) {
    std::vector<ListRow> rows = rowsOf(c.table);
    if (c.frames) {
      EXPECT_THROW(sortFramesRows(rows, c.column), ConversionError);
      EXPECT_THROW(compareFramesRows(rows[0], rows[1], c.column), ConversionError);
    } else {
      EXPECT_THROW(sortLexUnitRows(rows, c.column), ConversionError);
      EXPECT_THROW(compareLexUnitRows(rows[0], rows[1], c.column), ConversionError);
    }
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].cells, c.table[i]);
  }
}

TEST(ListSort, SortingMovesRowsWithTheirFrames) {
  const std::string text = R"(<f><frame name="b" ID="2"/><frame name="a" ID="1"/></f>)";
  sorvanta::xml::TXpObjModel doc;
  doc.LoadMemory(text.data(), text.size());
  FramesIndex index = fillFramesIndex(doc.Document()->docGetDocumentElement());
  sortFramesRows(index.frames, 1);
  ASSERT_EQ(index.frames.size(), 2u);
  for (const ListRow& row : index.frames)
    EXPECT_EQ(sorvanta::xml::attributeText(row.data, "name"), row.caption());
  EXPECT_EQ(index.frames[0].caption(), "a");
}

TEST(FindCaptionPrefix, FirstRowInDisplayOrderIgnoringCase) {
  const std::vector<ListRow> rows =
      rowsOf({{"Run.v"}, {"abide.v"}, {"ABLE.a"}, {"\xC9t\xE9.n"}, {"run.n"}, {"ab"}});
  const struct {
    const char* text;
    std::optional<size_t> row;
  } cases[] = {{"ab", 1},         {"AB", 1},        {"abl", 2},         {"run", 0},
               {"run.n", 4},      {"RUN.N", 4},     {"\xE9T", 3},       {"", std::nullopt},
               {"x", std::nullopt}, {"abide.verb", std::nullopt}, {"ab ", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(findCaptionPrefix(rows, c.text), c.row) << c.text;
  EXPECT_EQ(findCaptionPrefix({}, "a"), std::nullopt);
}
