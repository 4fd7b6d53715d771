// The one context menu of a view: contributions in order and separated, filled afresh for the
// row under the pointer, nothing shown when nothing is offered.
#include <gtest/gtest.h>

#include <QAction>
#include <QPointer>
#include <QStandardItemModel>
#include <QTableView>

#include "widgets/ContextMenu.h"
#include "widgets/ReportListView.h"

using sorvanta::widgets::ContextMenu;

namespace {

// The menu's entries as text, a separator as "-".
QStringList entries(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions())
    texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

struct TableFixture {
  TableFixture() : model(3, 1) {
    view.setModel(&model);
    view.resize(200, 200);
  }
  QStandardItemModel model;
  QTableView view;
};

TEST(ContextMenu, OneMenuPerViewWithEveryContributionInOrder) {
  TableFixture table;
  ContextMenu& menu = ContextMenu::of(table.view);
  EXPECT_EQ(&ContextMenu::of(table.view), &menu);
  EXPECT_EQ(table.view.contextMenuPolicy(), Qt::CustomContextMenu);
  std::vector<int> rowsSeen;
  // The whole view's entry is added first but shown after the rows'.
  auto* shared = new QAction("Export", &table.view);
  menu.contribute([shared](QMenu& m, int) { m.addAction(shared); }, ContextMenu::Scope::View);
  menu.contribute([&](QMenu& m, int row) {
    rowsSeen.push_back(row);
    if (row >= 0) m.addAction("Row " + QString::number(row));
  });
  menu.contribute([](QMenu&, int) {});  // offers nothing: no empty section
  ContextMenu::of(table.view).contribute([](QMenu& m, int row) {
    if (row == 2) m.addAction("Only row 2");
  });

  struct Case {
    int row;
    QStringList expected;
  } cases[] = {{1, {"Row 1", "-", "Export"}},
               {-1, {"Export"}},
               {2, {"Row 2", "-", "Only row 2", "-", "Export"}}};
  for (const Case& c : cases) {
    // Filled afresh each time: nothing left over from the previous row.
    EXPECT_TRUE(menu.popupFor(c.row, QPoint(0, 0))) << c.row;
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(entries(menu), c.expected) << c.row;
    menu.close();
  }
  EXPECT_EQ(rowsSeen, (std::vector<int>{1, -1, 2}));

  // The actions a filling made are deleted by the next; the view's own action stays.
  menu.popupFor(0, QPoint(0, 0));
  QPointer<QAction> made = menu.actions().front();
  menu.popupFor(-1, QPoint(0, 0));
  menu.close();
  EXPECT_TRUE(made.isNull());
  EXPECT_EQ(shared->parent(), &table.view);
}

TEST(ContextMenu, RightClickShowsTheRowUnderThePointerAndNothingWhenNothingIsOffered) {
  TableFixture table;
  table.view.show();
  int offered = -2;
  ContextMenu::of(table.view).contribute([&](QMenu& m, int row) {
    offered = row;
    if (row == 1) m.addAction("Only on row 1");
  });
  const QPoint onRow1 = table.view.visualRect(table.model.index(1, 0)).center();
  emit table.view.customContextMenuRequested(onRow1);
  EXPECT_EQ(offered, 1);
  EXPECT_TRUE(ContextMenu::of(table.view).isVisible());
  ContextMenu::of(table.view).close();

  const QPoint belowRows(5, table.view.viewport()->height() - 2);
  emit table.view.customContextMenuRequested(belowRows);
  EXPECT_EQ(offered, -1);
  EXPECT_FALSE(ContextMenu::of(table.view).isVisible());
  EXPECT_FALSE(ContextMenu::of(table.view).popupFor(0, QPoint(0, 0)));
}

TEST(ContextMenu, ListsOfferTheirExportActions) {
  sorvanta::widgets::ReportListView list;
  ContextMenu& menu = ContextMenu::of(list);
  ASSERT_TRUE(menu.popupFor(-1, QPoint(0, 0)));
  EXPECT_EQ(entries(menu), (QStringList{"Export as TSV…", "Export as CSV…"}));
  menu.close();
}

}  // namespace
