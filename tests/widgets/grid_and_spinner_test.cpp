// The multi-line string grid (row minimum, header row, cell addressing, clicks, fitting) and
// the up-down spinner bound to a text box.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "widgets/StringGrid.h"
#include "widgets/UpDown.h"

using sorvanta::widgets::StringGrid;
using sorvanta::widgets::UpDown;

namespace {

TEST(StringGrid, NeverFewerRowsThanItsMinimum) {
  struct Case {
    bool header;
    int requested;
    int expected;
  } cases[] = {{false, 0, 1}, {false, -3, 1}, {false, 1, 1}, {false, 5, 5},
               {true, 0, 2},  {true, 1, 2},   {true, 2, 2},  {true, 4, 4}};
  for (const Case& c : cases) {
    StringGrid grid(2, c.header);
    grid.setGridRowCount(c.requested);
    EXPECT_EQ(grid.gridRowCount(), c.expected) << c.header << " " << c.requested;
  }
}

TEST(StringGrid, HeaderRowIsRowZeroAndSurvivesClearingTheRest) {
  StringGrid grid(2, true);
  grid.setCell(0, 0, "Element");
  grid.setGridRowCount(3);
  grid.setCell(0, 1, "first");
  grid.setCell(1, 2, "second");
  EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), "Element");
  EXPECT_EQ(grid.item(1, 1)->text(), "second");
  grid.clearCells(1);
  EXPECT_EQ(grid.cell(0, 0), "Element");
  EXPECT_EQ(grid.cell(0, 1), "");
  EXPECT_EQ(grid.cell(1, 2), "");
  grid.clearCells();
  EXPECT_EQ(grid.cell(0, 0), "");
}

TEST(StringGrid, CellsOutsideTheGridReadEmptyAndAreNotWritten) {
  StringGrid grid(1, false);
  grid.setCell(0, 1, "beyond");
  grid.setCell(1, 0, "beyond");
  grid.setCell(-1, 0, "beyond");
  EXPECT_EQ(grid.gridRowCount(), 1);
  EXPECT_EQ(grid.columnCount(), 1);
  EXPECT_EQ(grid.cell(0, -1), "");
  EXPECT_EQ(grid.cell(0, 5), "");
  grid.setCell(0, 0, "na\xEFve \x93quoted\x94");
  EXPECT_EQ(grid.cell(0, 0), "na\xEFve \x93quoted\x94");
}

TEST(StringGrid, ShrinkingDropsTheRowsBelow) {
  StringGrid grid(1, false);
  grid.setGridRowCount(3);
  grid.setCell(0, 2, "third");
  grid.setGridRowCount(2);
  grid.setGridRowCount(3);
  EXPECT_EQ(grid.cell(0, 2), "");
}

TEST(StringGrid, FittedRowsGrowWithWrappedText) {
  StringGrid grid(1, false);
  grid.setColumnWidth(0, 120);
  grid.setGridRowCount(2);
  grid.setCell(0, 0, "short");
  grid.setCell(0, 1,
               std::string(40, 'w') + " " + std::string(40, 'w') + " " + std::string(40, 'w'));
  grid.fitRowsToText();
  EXPECT_GT(grid.rowHeight(1), 2 * grid.rowHeight(0));
}

TEST(StringGrid, ClicksReportGridRowsCountingTheHeader) {
  StringGrid grid(2, true);
  grid.setGridRowCount(4);
  grid.resize(300, 200);
  grid.show();
  QSignalSpy left(&grid, &StringGrid::cellClickedAt);
  QSignalSpy right(&grid, &StringGrid::cellRightClicked);
  QSignalSpy popup(&grid, &StringGrid::popupRequested);
  const QPoint second = grid.visualRect(grid.model()->index(1, 1)).center();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, second);
  QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, second);
  ASSERT_EQ(left.size(), 1);
  EXPECT_EQ(left.front().at(0).toInt(), 2);
  EXPECT_EQ(left.front().at(1).toInt(), 1);
  ASSERT_EQ(right.size(), 1);
  EXPECT_EQ(right.front().at(0).toInt(), 2);
  EXPECT_EQ(popup.size(), 1);
  // A right click below the last row opens the menu without naming a cell.
  QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier,
                    QPoint(5, grid.viewport()->height() - 2));
  EXPECT_EQ(right.size(), 1);
  EXPECT_EQ(popup.size(), 2);
}

TEST(UpDown, StepsFromTheBoxWithinTheRange) {
  struct Case {
    bool wrap;
    QString typed;
    int steps;
    QString expected;
  } cases[] = {
      {false, "0", 1, "10"},      {false, "35", 1, "45"},  {false, "995", 1, "1000"},
      {false, "1000", 1, "1000"}, {false, "0", -1, "0"},   {false, "5000", -1, "990"},
      {false, "-20", 1, "10"},    {false, "abc", 1, "10"}, {false, "", -1, "0"},
      {true, "1000", 1, "0"},     {true, "0", -1, "1000"}, {false, "$20", 1, "42"},
  };
  for (const Case& c : cases) {
    QLineEdit edit;
    UpDown spinner(&edit);
    spinner.setRange(0, 1000);
    spinner.setIncrement(10);
    spinner.setWrap(c.wrap);
    spinner.setPosition(0);
    edit.setText(c.typed);
    spinner.step(c.steps);
    EXPECT_EQ(edit.text(), c.expected) << c.typed.toStdString() << " " << c.steps;
    EXPECT_EQ(QString::number(spinner.position()), c.expected);
  }
}

TEST(UpDown, ArrowsAndArrowKeysStep) {
  QLineEdit edit;
  UpDown spinner(&edit);
  spinner.setRange(0, 100);
  spinner.setIncrement(10);
  spinner.setPosition(0);
  spinner.show();
  edit.show();
  QTest::mouseClick(spinner.upButton(), Qt::LeftButton);
  QTest::mouseClick(spinner.upButton(), Qt::LeftButton);
  EXPECT_EQ(edit.text(), "20");
  QTest::keyClick(&edit, Qt::Key_Down);
  EXPECT_EQ(edit.text(), "10");
  // Typing is free: the box keeps text the spinner could not reach.
  edit.setText("12345");
  EXPECT_EQ(edit.text(), "12345");
  EXPECT_EQ(spinner.position(), 10);
}

}  // namespace
