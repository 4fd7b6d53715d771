// The report list: sorting through a callback keeps the selection on its rows, clicks are told
// apart from keyboard moves, rows scroll into view only when out of view.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "lexicon/ListSort.h"
#include "text/Errors.h"
#include "widgets/ReportListView.h"

using sorvanta::lexicon::ListRow;
using sorvanta::widgets::ReportListView;

namespace {

// Rows "r<i>" with a descending number in column 1 and a distinct data pointer each.
std::vector<ListRow> numberedRows(int count) {
  static const std::vector<int> anchors(1000);
  std::vector<ListRow> rows;
  for (int i = 0; i < count; ++i) {
    rows.push_back(
        ListRow{{"r" + std::to_string(i), std::to_string(count - i)},
                reinterpret_cast<const sorvanta::xml::TXpNode*>(&anchors[static_cast<size_t>(i)])});
  }
  return rows;
}

struct ListFixture : ::testing::Test {
  ListFixture() {
    view.setColumns({{"Name", 80}, {"Number", 50, Qt::AlignRight}}, true);
    view.resize(200, 120);
    view.show();
  }

  void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QModelIndex index = view.model()->index(row, 0);
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(index).center());
  }

  std::vector<std::string> captions() const {
    std::vector<std::string> shown;
    for (const ListRow& row : view.rows()) shown.emplace_back(row.caption());
    return shown;
  }

  ReportListView view;
};

const auto byNumber = [](std::vector<ListRow>& rows) {
  sorvanta::lexicon::sortFramesRows(rows, 1);
};

TEST_F(ListFixture, SortKeepsSelectedRowsSelectedWithTheirData) {
  view.setRows(numberedRows(30));
  clickRow(3);
  clickRow(7, Qt::ControlModifier);
  const auto* dataOf3 = view.rows()[3].data;
  view.sortRows(byNumber);
  EXPECT_EQ(captions().front(), "r29");
  // Row i moved to 29 - i and kept its data pointer; both stay selected.
  EXPECT_EQ(view.selectedRowNumbers(), (std::vector<int>{22, 26}));
  EXPECT_EQ(view.rows()[26].caption(), "r3");
  EXPECT_EQ(view.rows()[26].data, dataOf3);
  EXPECT_EQ(view.currentIndex().row(), 22);
}

TEST_F(ListFixture, FailingSortLeavesOrderAndSelection) {
  std::vector<ListRow> rows = numberedRows(5);
  rows[4].cells[1] = "five";
  view.setRows(std::move(rows));
  clickRow(1);
  EXPECT_THROW(view.sortRows(byNumber), sorvanta::text::ConversionError);
  EXPECT_EQ(captions(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
  EXPECT_EQ(view.selectedRowNumbers(), std::vector<int>{1});
}

TEST_F(ListFixture, MouseClicksAreSignalledKeyboardMovesAreNot) {
  view.setRows(numberedRows(10));
  QSignalSpy clicks(&view, &ReportListView::mouseClicked);
  clickRow(2);
  ASSERT_EQ(clicks.size(), 1);
  EXPECT_EQ(view.selectedRowNumbers(), std::vector<int>{2});
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(view.selectedRowNumbers(), std::vector<int>{3});
  EXPECT_EQ(clicks.size(), 1);
  QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier,
                    view.visualRect(view.model()->index(4, 0)).center());
  EXPECT_EQ(clicks.size(), 1);
}

TEST_F(ListFixture, SelectOnlyAndSingleSelectedRow) {
  view.setRows(numberedRows(10));
  view.selectOnly(5);
  ASSERT_NE(view.singleSelectedRow(), nullptr);
  EXPECT_EQ(view.singleSelectedRow()->caption(), "r5");
  clickRow(6, Qt::ControlModifier);
  EXPECT_EQ(view.selectedCount(), 2);
  EXPECT_EQ(view.singleSelectedRow(), nullptr);
  view.selectOnly(10);  // outside the list
  EXPECT_EQ(view.selectedCount(), 0);
}

TEST_F(ListFixture, ScrollsOnlyWhenTheRowIsOutOfView) {
  view.setRows(numberedRows(200));
  EXPECT_TRUE(view.isRowVisible(0));
  EXPECT_FALSE(view.isRowVisible(150));
  view.scrollRowIntoView(150);
  EXPECT_TRUE(view.isRowVisible(150));
  const int scrolled = view.verticalScrollBar()->value();
  view.scrollRowIntoView(149);  // already in view: nothing moves
  EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);
}

}  // namespace
