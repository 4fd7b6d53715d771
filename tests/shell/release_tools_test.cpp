// "Check Release" and "Compare with Release…" on the sample release: the findings and changes
// in the table, counts per code, filtering, sorting, and a double-click that shows the frame
// or lexical unit in the main window.
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <cstdlib>
#include <fstream>

#include "ShellFixture.h"
#include "shell/ReleaseFindingsWindow.h"
#include "support/ReleaseCopy.h"

namespace sorvanta::testing {
namespace {

class ReleaseToolsTest : public ShellTest {
 protected:
  ReleaseToolsTest() { setenv("XDG_CACHE_HOME", cache.path().c_str(), 1); }
  ~ReleaseToolsTest() override { unsetenv("XDG_CACHE_HOME"); }

  // The findings window the main window opened last, once its work is done.
  shell::ReleaseFindingsWindow* finishedWindow() {
    const auto windows = window->findChildren<shell::ReleaseFindingsWindow*>();
    if (windows.isEmpty()) return nullptr;
    shell::ReleaseFindingsWindow* found = windows.back();
    EXPECT_TRUE(QTest::qWaitFor([found] { return !found->running(); }, 120000));
    return found;
  }

  // A shortcut reaches only the active window.
  static void pressShortcut(QWidget& form, Qt::Key key) {
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, key, Qt::ControlModifier | Qt::ShiftModifier);
  }

  static QString cell(QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
  }

  static void doubleClickRow(QTableView* table, int row) {
    const QModelIndex index = table->model()->index(row, 0);
    table->scrollTo(index);
    const QPoint at = table->visualRect(index).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }

  TempDir cache;
};

TEST_F(ReleaseToolsTest, CheckReleaseListsFindingsCountsAndGoesToTheFrame) {
  shell::TSVExplorer& form = openSample();
  pressShortcut(form, Qt::Key_K);
  shell::ReleaseFindingsWindow* found = finishedWindow();
  ASSERT_NE(found, nullptr);
  QTableView* table = found->table();
  ASSERT_EQ(table->model()->rowCount(), 3);
  EXPECT_EQ(cell(table, 0, 1), "outside-windows-1252");
  EXPECT_EQ(found->statusLabel()->text(), "0 errors, 3 warnings");
  ASSERT_EQ(found->countsTable()->model()->rowCount(), 1);
  EXPECT_EQ(cell(found->countsTable(), 0, 0), "outside-windows-1252");
  EXPECT_EQ(cell(found->countsTable(), 0, 1), "3");

  // Sorting by the location column, descending, then filtering down to one frame's row.
  table->sortByColumn(3, Qt::DescendingOrder);
  EXPECT_GE(cell(table, 0, 3), cell(table, 1, 3));
  found->filterEdit()->setText("locative_RELATION");
  ASSERT_EQ(table->model()->rowCount(), 1);
  EXPECT_NE(cell(table, 0, 3).indexOf("Locative_relation"), -1);

  form.PageControl1->setCurrentWidget(form.FETabSheet);
  doubleClickRow(table, 0);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.FramesTabSheet);
  EXPECT_EQ(form.FrameNameEdit->text(), "Locative_relation");
}

TEST_F(ReleaseToolsTest, CompareWithReleaseShowsChangesAndGoesToTheLexicalUnit) {
  shell::TSVExplorer& form = openSample();
  SampleReleaseCopy older;
  std::string frames = older.file("frXML/frames.xml");
  const std::string from = "<annotated>3</annotated>";
  frames.replace(frames.find(from), from.size(), "<annotated>2</annotated>");  // lexical unit 1001
  std::ofstream(older.folder + "frXML/frames.xml", std::ios::binary | std::ios::trunc) << frames;

  form.ChooseOtherRelease = [&] { return older.folder; };
  pressShortcut(form, Qt::Key_D);
  shell::ReleaseFindingsWindow* found = finishedWindow();
  ASSERT_NE(found, nullptr);
  QTableView* table = found->table();
  ASSERT_EQ(table->model()->rowCount(), 1);
  EXPECT_EQ(cell(table, 0, 0), "annotation-count-changed");
  EXPECT_EQ(cell(table, 0, 1), "1001");
  EXPECT_EQ(cell(table, 0, 2), "2");
  EXPECT_EQ(cell(table, 0, 3), "3");
  EXPECT_EQ(found->statusLabel()->text(), "1 changes");

  doubleClickRow(table, 0);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.LexUnitsTabSheet);
  const lexicon::ListRow* shown = form.LexUnitListView->singleSelectedRow();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->cell(2), "1001");

  // Against itself: nothing; a cancelled choice opens no window.
  form.ChooseOtherRelease = [] { return sampleFolder(); };
  form.CompareWithReleaseClick();
  shell::ReleaseFindingsWindow* same = finishedWindow();
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(same->table()->model()->rowCount(), 0);
  EXPECT_EQ(same->statusLabel()->text(), "No differences");
  const auto before = form.findChildren<shell::ReleaseFindingsWindow*>().size();
  form.ChooseOtherRelease = [] { return std::string(); };
  form.CompareWithReleaseClick();
  EXPECT_EQ(form.findChildren<shell::ReleaseFindingsWindow*>().size(), before);
}

TEST_F(ReleaseToolsTest, AReleaseThatCannotBeReadIsSaidInTheWindow) {
  shell::TSVExplorer& form = openSample();
  TempDir empty;
  form.ChooseOtherRelease = [&] { return empty.path().string(); };
  form.CompareWithReleaseClick();
  shell::ReleaseFindingsWindow* found = finishedWindow();
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->table()->model()->rowCount(), 0);
  EXPECT_FALSE(found->statusLabel()->text().isEmpty());
  EXPECT_NE(found->statusLabel()->text(), "No differences");
}

}  // namespace
}  // namespace sorvanta::testing
