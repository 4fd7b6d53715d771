// The Search tab over the sample release: the index built in the background on first use, the
// result list read in pages, the count, malformed queries, the sentence view and navigation.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <cstdlib>

#include "ShellFixture.h"
#include "lexicon/FramesIndex.h"
#include "shell/ReportWindows.h"
#include "shell/SearchTab.h"
#include "widgets/ContextMenu.h"

namespace sorvanta::testing {
namespace {

class SearchTabTest : public ShellTest {
 protected:
  SearchTabTest() {
    // The index goes into the test's own cache folder.
    if (const char* old = std::getenv("XDG_CACHE_HOME")) oldCache_ = old;
    setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
  }
  ~SearchTabTest() override {
    window.reset();  // the tab's worker ends before the cache folder goes
    if (oldCache_)
      setenv("XDG_CACHE_HOME", oldCache_->c_str(), 1);
    else
      unsetenv("XDG_CACHE_HOME");
  }

  shell::SearchTab& openSearchTab() {
    shell::TSVExplorer& form = openSample();
    form.PageControl1->setCurrentWidget(form.SearchPage);
    return *form.SearchPage;
  }

  // Types the query, chooses the target and waits until the search has ended.
  static void search(shell::SearchTab& tab, const QString& query, int target = 0) {
    QSignalSpy finished(&tab, &shell::SearchTab::searchFinished);
    tab.targetBox->setCurrentIndex(target);
    tab.queryEdit->setText(query);
    QTest::keyClick(tab.queryEdit, Qt::Key_Return);
    if (finished.isEmpty()) {
      ASSERT_TRUE(finished.wait(60000)) << query.toStdString();
    }
    EXPECT_FALSE(tab.indexing());
  }

  static std::vector<std::string> column(const shell::SearchTab& tab, int column) {
    std::vector<std::string> cells;
    for (int r = 0; r < tab.model->rowCount(); ++r)
      cells.push_back(tab.model->index(r, column).data().toString().toStdString());
    return cells;
  }

  TempDir cache;

 private:
  std::optional<std::string> oldCache_;
};

TEST_F(SearchTabTest, IsAFifthTabWithTheSyntaxInItsTooltip) {
  shell::TSVExplorer& form = openSample();
  ASSERT_EQ(form.PageControl1->count(), 5);
  EXPECT_EQ(form.PageControl1->widget(4), form.SearchPage);
  EXPECT_EQ(form.PageControl1->tabText(4), "Search");
  EXPECT_EQ(form.size(), QSize(770, 558));
  EXPECT_TRUE(form.SearchPage->queryEdit->toolTip().contains("real:FE.PT.GF"));
  EXPECT_EQ(form.SearchPage->targetBox->count(), 4);
  // Nothing is indexed before the first search.
  EXPECT_FALSE(form.SearchPage->indexing());
  EXPECT_EQ(form.SearchPage->model->rowCount(), 0);
}

TEST_F(SearchTabTest, QueryFillsTheListPageByPage) {
  shell::SearchTab& tab = openSearchTab();
  tab.model->setPageSize(2);
  search(tab, "frame:Self_motion");
  EXPECT_EQ(tab.countLabel->text(), "9 matches");
  EXPECT_EQ(tab.model->total(), 9);
  ASSERT_EQ(tab.model->rowCount(), 2);  // the first page only
  EXPECT_EQ(tab.model->headerData(4, Qt::Horizontal).toString(), "Text");

  int pages = 1;
  while (tab.model->canFetchMore({})) {
    tab.model->fetchMore({});
    ++pages;
    ASSERT_LE(tab.model->rowCount(), 9);
  }
  EXPECT_EQ(pages, 5);
  // Lexical-unit ID, then sentence ID; a sentence shared by two units is a set of each.
  EXPECT_EQ(column(tab, 0), (std::vector<std::string>{"1101", "1101", "1101", "1101", "1102", "1102",
                                                      "1102", "1103", "1103"}));
  EXPECT_EQ(column(tab, 3), (std::vector<std::string>{"500121", "500122", "500123", "500124", "500132",
                                                      "500133", "500150", "500142", "500150"}));
  EXPECT_EQ(column(tab, 2), std::vector<std::string>(9, "Self_motion"));

  // The index is built once; the next search uses it at once.
  tab.model->setPageSize(500);
  search(tab, "frame:Self_motion -lu:walk.v");
  EXPECT_EQ(tab.countLabel->text(), "5 matches");
  EXPECT_EQ(tab.model->rowCount(), 5);
  EXPECT_FALSE(tab.model->canFetchMore({}));
}

TEST_F(SearchTabTest, OtherTargetsAndEmptyResults) {
  shell::SearchTab& tab = openSearchTab();
  const struct {
    QString query;
    int target;
    std::vector<std::string> first, second;
  } cases[] = {
      {"frame:Motion", 1, {"7"}, {"Motion"}},
      {"lu:move.v", 2, {"1001"}, {"move.v"}},
      {"fe:Goal frame:Motion", 3, {"Motion"}, {"Goal"}},
      {"frame:No_such_frame", 0, {}, {}},
  };
  for (const auto& c : cases) {
    search(tab, c.query, c.target);
    EXPECT_EQ(column(tab, 0), c.first) << c.query.toStdString();
    EXPECT_EQ(column(tab, 1), c.second) << c.query.toStdString();
    EXPECT_EQ(tab.model->total(), static_cast<int64_t>(c.first.size()));
  }
  EXPECT_EQ(tab.countLabel->text(), "0 matches");
  EXPECT_TRUE(messages.empty());
}

TEST_F(SearchTabTest, MalformedQueryIsNamedAndRunsNothing) {
  shell::SearchTab& tab = openSearchTab();
  search(tab, "frame:Motion");
  ASSERT_GT(tab.model->rowCount(), 0);
  for (const QString& query : {QString("frame:Motion colour:red"), QString("re:/(unclosed/"),
                               QString("")}) {
    search(tab, query);
    EXPECT_EQ(tab.model->rowCount(), 0) << query.toStdString();
    EXPECT_EQ(tab.model->total(), 0);
    EXPECT_FALSE(tab.countLabel->text().isEmpty());
    EXPECT_FALSE(tab.countLabel->text().contains("matches")) << query.toStdString();
  }
  search(tab, "frame:Motion colour:red");
  EXPECT_TRUE(tab.countLabel->text().contains("colour:red")) << tab.countLabel->text().toStdString();
  EXPECT_TRUE(messages.empty());
}

TEST_F(SearchTabTest, SelectedSentenceIsShownMarked) {
  shell::SearchTab& tab = openSearchTab();
  search(tab, "sentid:500101");
  ASSERT_EQ(tab.model->rowCount(), 1);
  // The first result is selected and shown with its target in bold and its frame elements.
  const QString html = tab.sentenceView->toHtml();
  // Each frame element's name follows its span.
  EXPECT_TRUE(tab.sentenceView->toPlainText().startsWith("The herdTheme moved along the ridgePath"))
      << tab.sentenceView->toPlainText().toStdString();
  EXPECT_TRUE(tab.sentenceView->toPlainText().contains("Goal"));
  EXPECT_TRUE(html.contains("font-weight:700") || html.contains("font-weight:600")) << html.toStdString();
  // Frames have no sentence to show.
  search(tab, "frame:Motion", 1);
  EXPECT_TRUE(tab.sentenceView->toPlainText().isEmpty());
}

TEST_F(SearchTabTest, DoubleClickGoesToTheLexicalUnitOrFrame) {
  shell::SearchTab& tab = openSearchTab();
  shell::TSVExplorer& form = *window;
  search(tab, "lu:stroll.v");
  ASSERT_GT(tab.model->rowCount(), 0);
  const QModelIndex first = tab.model->index(0, 1);
  tab.resultView->scrollTo(first);
  const QPoint at = tab.resultView->visualRect(first).center();
  QTest::mouseClick(tab.resultView->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(tab.resultView->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.LexUnitsTabSheet);
  const auto selected = form.LexUnitListView->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(form.LexUnitListView->rows()[size_t(selected[0].row())].cell(lexicon::kLuId), "1102");

  form.PageControl1->setCurrentWidget(form.SearchPage);
  search(tab, "fe:Agent frame:Intentionally_act", 3);
  ASSERT_EQ(tab.model->rowCount(), 1);
  tab.goToResult(0);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.FramesTabSheet);
  EXPECT_EQ(form.FrameNameEdit->text(), "Intentionally_act");
  EXPECT_TRUE(messages.empty());
}

// Right-clicks the result row and gives the context menu's entries as text.
QStringList resultMenu(shell::SearchTab& tab, int row) {
  const QModelIndex index = tab.model->index(row, 0);
  tab.resultView->scrollTo(index);
  emit tab.resultView->customContextMenuRequested(tab.resultView->visualRect(index).center());
  QStringList entries;
  for (const QAction* action : widgets::ContextMenu::of(*tab.resultView).actions())
    if (!action->isSeparator()) entries << action->text();
  return entries;
}

std::vector<shell::LexUnitReportWindow*> lexUnitReports(const QWidget& owner) {
  std::vector<shell::LexUnitReportWindow*> windows;
  for (QObject* child : owner.children())
    if (auto* window = qobject_cast<shell::LexUnitReportWindow*>(child)) windows.push_back(window);
  return windows;
}

TEST_F(SearchTabTest, ResultMenuOpensTheLexicalUnitReportOfTheSet) {
  shell::SearchTab& tab = openSearchTab();
  search(tab, "lu:stroll.v");
  ASSERT_GE(tab.model->rowCount(), 2);
  // The second result, not the selected first one: the menu acts on the row under the pointer.
  const std::string sentence = tab.model->index(1, 3).data().toString().toStdString();
  EXPECT_TRUE(resultMenu(tab, 1).contains("Lexical Unit Report"));
  auto* open = widgets::ContextMenu::of(*tab.resultView).findChild<QAction*>("LexUnitReportAction");
  ASSERT_NE(open, nullptr);
  open->trigger();
  widgets::ContextMenu::of(*tab.resultView).close();

  const auto windows = lexUnitReports(*window);
  ASSERT_EQ(windows.size(), 1u);
  shell::LexUnitReportWindow& report = *windows.front();
  EXPECT_TRUE(report.isVisible());
  EXPECT_EQ(report.windowTitle(), "Lexical Unit Report: stroll.v (Self_motion)");
  EXPECT_TRUE(report.sentencesView->toPlainText().contains(QString::fromStdString(sentence)))
      << sentence;
  report.close();

  // A frame result names no lexical unit: its menu offers no report, and nothing opens.
  search(tab, "frame:Motion", 1);
  ASSERT_EQ(tab.model->rowCount(), 1);
  EXPECT_FALSE(resultMenu(tab, 0).contains("Lexical Unit Report"));
  EXPECT_EQ(widgets::ContextMenu::of(*tab.resultView).findChild<QAction*>("LexUnitReportAction"),
            nullptr);
  for (const shell::LexUnitReportWindow* other : lexUnitReports(*window))
    EXPECT_FALSE(other->isVisible());
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace sorvanta::testing
