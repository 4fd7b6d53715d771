// The window around the designed controls, driven by real key and mouse events: keyboard
// moves, tab shortcuts, opening releases, copy and export, navigation, growing columns and the
// remembered window state.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <fstream>
#include <sstream>

#include "ShellFixture.h"
#include "shell/SearchTab.h"
#include "support/ReleaseCopy.h"
#include "lexicon/FramesIndex.h"
#include "widgets/TableExport.h"

namespace sorvanta::testing {
namespace {

const char* const kTwoFrames =
    "<frames><frame name=\"Very_long_frame_name_for_wide_columns\" ID=\"54321\">"
    "<definition>Long.</definition><fes/><lexunits/></frame>"
    "<frame name=\"Short\" ID=\"7\"><definition>Brief.</definition><fes/><lexunits/></frame>"
    "</frames>";

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class Window : public ShellTest {
 protected:
  ~Window() override { widgets::SaveFileDialog::setTestHook({}); }

  // The sample window, active, with the frames list focused on its first row.
  shell::TSVExplorer& activeSample() {
    shell::TSVExplorer& form = openSample();
    QApplication::setActiveWindow(&form);
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    return form;
  }
  static QString frameNameAt(const shell::TSVExplorer& form, int row) {
    return QString::fromStdString(std::string(form.FramesListView->rows()[size_t(row)].caption()));
  }
};

TEST_F(Window, KeyboardMovesShowTheRowOnceTheKeysPause) {
  shell::TSVExplorer& form = activeSample();
  clickRow(form.FramesListView, 0);
  ASSERT_EQ(form.FrameNameEdit->text(), frameNameAt(form, 0));
  form.FramesListView->setFocus();
  // Three quick moves: the view waits, then shows the row the keys stopped on.
  for (int i = 0; i < 3; ++i) QTest::keyClick(form.FramesListView, Qt::Key_Down);
  EXPECT_EQ(form.FrameNameEdit->text(), frameNameAt(form, 0));
  QTRY_COMPARE_WITH_TIMEOUT(form.FrameNameEdit->text(), frameNameAt(form, 3), 2000);
  QTest::keyClick(form.FramesListView, Qt::Key_Home);
  QTRY_COMPARE_WITH_TIMEOUT(form.FrameNameEdit->text(), frameNameAt(form, 0), 2000);

  // The lexical units: Enter shows the moved-to row at once.
  form.PageControl1->setCurrentWidget(form.LexUnitsTabSheet);
  clickRow(form.LexUnitListView, 0);
  form.LexUnitListView->setFocus();
  QTest::keyClick(form.LexUnitListView, Qt::Key_Down);
  QTest::keyClick(form.LexUnitListView, Qt::Key_Return);
  EXPECT_EQ(form.EditLexUnitFind->text().toStdString(), form.LexUnitListView->rows()[1].caption());
}

TEST_F(Window, TabLeavesTheListAndControlDigitsChooseTheTab) {
  shell::TSVExplorer& form = activeSample();
  form.FramesListView->setFocus();
  QTest::keyClick(form.FramesListView, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), form.FramesListView);
  EXPECT_FALSE(form.FramesListView->tabKeyNavigation());
  EXPECT_FALSE(form.SentAdvStringGrid->tabKeyNavigation());
  const std::pair<Qt::Key, QWidget*> cases[] = {{Qt::Key_2, form.LexUnitsTabSheet},
                                                {Qt::Key_3, form.FETabSheet},
                                                {Qt::Key_4, form.TabSheetSampSel},
                                                {Qt::Key_1, form.FramesTabSheet}};
  for (const auto& [key, page] : cases) {
    QTest::keyClick(&form, key, Qt::ControlModifier);
    EXPECT_EQ(form.PageControl1->currentWidget(), page);
  }
  // Ctrl+5: the Search tab after the designed four.
  QTest::keyClick(&form, Qt::Key_5, Qt::ControlModifier);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.SearchPage);
}

TEST_F(Window, OpenReleaseReloadsAndRemembersTheRelease) {
  shell::TSVExplorer& form = activeSample();
  TempDir other;
  writeRelease(other, kTwoFrames, "<frameRelations/>");
  const std::string otherFolder = other.path().string() + "/";

  nextFileName = QString::fromStdString(otherFolder + "frXML/frames.xml");
  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(form.DataFolder.path(), otherFolder);
  EXPECT_EQ(form.FramesListView->rowCountShown(), 2);
  EXPECT_EQ(form.NumFrEdit->text(), "2");
  EXPECT_EQ(form.LexUnitListView->rowCountShown(), 0);
  EXPECT_EQ(storedFolder(), otherFolder);
  EXPECT_TRUE(form.ReleaseLabel->text().startsWith(QString::fromStdString(otherFolder)));
  EXPECT_EQ(lexicon::recentReleases(settings::QtSettingsStore()),
            (std::vector<std::string>{otherFolder, sampleFolder()}));

  // A file that is no release's frames document, and a release without one: nothing changes.
  const std::pair<QString, const char*> refused[] = {
      {"/tmp/elsewhere/frames.xml", "is not the frames document of a release"},
      {QString::fromStdString(elsewhere.path().string() + "/frXML/frames.xml"), "does not exist"}};
  for (const auto& [answer, said] : refused) {
    messages.clear();
    nextFileName = answer;
    form.OpenReleaseAction->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].second.contains(said)) << messages[0].second.toStdString();
    EXPECT_EQ(form.DataFolder.path(), otherFolder);
    EXPECT_EQ(form.FramesListView->rowCountShown(), 2);
  }

  // The recent releases menu reopens the sample.
  form.RecentMenu->aboutToShow();
  ASSERT_GE(form.RecentMenu->actions().size(), 2);
  form.RecentMenu->actions()[1]->trigger();
  EXPECT_EQ(form.DataFolder.path(), sampleFolder());
  EXPECT_EQ(form.FrameNameEdit->text(), "Motion");
}

TEST_F(Window, StartUpWithoutReleaseOffersToOpenOne) {
  nextFileName = std::nullopt;
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  ASSERT_EQ(messages.size(), 1u);
  ASSERT_FALSE(form.OpenReleaseButton->isHidden());
  nextFileName = QString::fromStdString(sampleFolder() + "frXML/frames.xml");
  QTest::mouseClick(form.OpenReleaseButton, Qt::LeftButton);
  EXPECT_EQ(form.DataFolder.path(), sampleFolder());
  EXPECT_GT(form.FramesListView->rowCountShown(), 0);
  EXPECT_TRUE(form.OpenReleaseButton->isHidden());
}

TEST_F(Window, ControlCCopiesSelectedRowsWithHeader) {
  shell::TSVExplorer& form = activeSample();
  clickRow(form.FramesListView, 0);
  clickRow(form.FramesListView, 2, Qt::ControlModifier);
  form.FramesListView->setFocus();
  QTest::keyClick(form.FramesListView, Qt::Key_C, Qt::ControlModifier);
  const auto& rows = form.FramesListView->rows();
  std::string expected = "Frame\tID\tFEs\tLUs\tAnns\n";
  for (const size_t r : {size_t(0), size_t(2)}) {
    for (int c = 0; c < 5; ++c) expected += std::string(rows[r].cell(c)) + (c < 4 ? "\t" : "\n");
  }
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
}

TEST_F(Window, ExportWritesTheWholeListAsShown) {
  shell::TSVExplorer& form = activeSample();
  TempDir out;
  QString asked;
  widgets::SaveFileDialog::setTestHook([&](const QString& title, const QString&) {
    asked = title;
    return QString::fromStdString((out.path() / "elements.csv").string());
  });
  QAction* csv = form.FEListView->findChild<QAction*>("ExportCsvAction");
  ASSERT_NE(csv, nullptr);
  csv->trigger();
  EXPECT_EQ(asked, "Export as CSV");
  const std::string written = readFile(out.path() / "elements.csv");
  EXPECT_TRUE(written.starts_with("Frame Element,Number\n")) << written;
  EXPECT_EQ(size_t(std::count(written.begin(), written.end(), '\n')),
            form.FEListView->rows().size() + 1);

  // A folder that cannot take the file: a message, nothing else.
  widgets::SaveFileDialog::setTestHook(
      [&](const QString&, const QString&) { return QString("/no/such/folder/x.tsv"); });
  form.FEListView->findChild<QAction*>("ExportTsvAction")->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].second.contains("Cannot create file"));
}

TEST_F(Window, RelatedFramesOpenAndBackForwardRetraceThem) {
  shell::TSVExplorer& form = activeSample();
  // The first frame with a relation naming exactly one frame.
  int start = -1;
  std::string related;
  for (size_t r = 0; r < form.FramesListView->rows().size() && start < 0; ++r) {
    clickRow(form.FramesListView, int(r));
    for (int g = 0; g < form.Fr2FrAdvStringGrid->gridRowCount(); ++g) {
      const auto names = views::relatedFrameNames(form.Fr2FrAdvStringGrid->cell(1, g));
      if (names.size() == 1 && form.FramesListView->rowWhere(0, names[0]) >= 0) {
        start = int(r);
        related = names[0];
        const QModelIndex index = form.Fr2FrAdvStringGrid->model()->index(g, 1);
        form.Fr2FrAdvStringGrid->scrollTo(index);
        QTest::mouseDClick(form.Fr2FrAdvStringGrid->viewport(), Qt::LeftButton, Qt::NoModifier,
                           form.Fr2FrAdvStringGrid->visualRect(index).center());
        break;
      }
    }
  }
  ASSERT_GE(start, 0) << "the sample release has no relation to follow";
  const QString startName = frameNameAt(form, start);
  EXPECT_EQ(form.FrameNameEdit->text().toStdString(), related);
  EXPECT_EQ(form.FramesListView->singleSelectedRow()->caption(), related);

  QTest::keyClick(&form, Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(form.FrameNameEdit->text(), startName);
  QTest::keyClick(&form, Qt::Key_Right, Qt::AltModifier);
  EXPECT_EQ(form.FrameNameEdit->text().toStdString(), related);
  EXPECT_FALSE(form.ForwardAction->isEnabled());

  // Enter on a row of the frame-element definitions opens that row's frame.
  form.PageControl1->setCurrentWidget(form.FETabSheet);
  clickRow(form.FEListView, 0);
  const std::string frame = form.FEDefsAdvStringGrid->cell(1, 1);
  ASSERT_FALSE(frame.empty());
  form.FEDefsAdvStringGrid->setFocus();
  form.FEDefsAdvStringGrid->setCurrentCell(0, 0);
  QTest::keyClick(form.FEDefsAdvStringGrid, Qt::Key_Return);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.FramesTabSheet);
  EXPECT_EQ(form.FrameNameEdit->text().toStdString(), frame);
}

TEST_F(Window, ColumnsFitValuesAndGrowWithTheWindow) {
  writeRelease(elsewhere, kTwoFrames, "<frameRelations/>");
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  widgets::ReportListView* list = form.FramesListView;
  const QFontMetrics font = list->fontMetrics();
  // Designed size: the name column keeps its width, the five-digit ID fits.
  EXPECT_FALSE(form.growing());
  EXPECT_EQ(list->columnWidth(0), 150);
  EXPECT_GE(list->columnWidth(1), std::max(50, font.horizontalAdvance("54321")));

  form.resize(1600, 1000);
  QApplication::processEvents();
  EXPECT_TRUE(form.growing());
  EXPECT_GT(list->columnWidth(0), font.horizontalAdvance("Very_long_frame_name_for_wide_columns"));
  int used = 0;
  for (int c = 0; c < 5; ++c) used += list->columnWidth(c);
  EXPECT_GE(used, list->viewport()->width() - 1);  // the last column reaches the edge

  form.resize(770, 558);
  QApplication::processEvents();
  EXPECT_EQ(list->columnWidth(0), 150);
  EXPECT_EQ(list->columnWidth(4), 100);
}

TEST_F(Window, StatusBarSaysWhatACommandWroteAndWhere) {
  SampleReleaseCopy copy;
  storeFolder(copy.folder);
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  EXPECT_TRUE(form.ReleaseLabel->text().startsWith(QString::fromStdString(copy.folder) + " — 14 frames"));
  form.PageControl1->setCurrentWidget(form.TabSheetSampSel);
  QTest::mouseClick(form.CrDictsButton, Qt::LeftButton);
  const QString summary = form.SummaryLabel->text();
  EXPECT_TRUE(summary.startsWith("Create Dictionaries: 3 files written in <a href=\"file://"))
      << summary.toStdString();
  EXPECT_TRUE(summary.contains(QString::fromStdString(copy.folder) + "</a>")) << summary.toStdString();
  // The progress bar and Cancel show only while the command runs.
  EXPECT_TRUE(form.CommandProgressBar->isHidden());
  EXPECT_TRUE(form.CancelButton->isHidden());
  EXPECT_TRUE(form.MenuBar->isEnabled());
  EXPECT_EQ(form.RunningCommand, nullptr);
}

TEST_F(Window, SizeSplittersAndWidthsAreRemembered) {
  shell::TSVExplorer& form = openSample();
  form.resize(1000, 700);
  form.MainSplitter->setSizes({300, 300});
  form.FramesListView->setColumnWidth(0, 222);
  const QList<int> splitter = form.MainSplitter->sizes();
  form.close();
  shell::TSVExplorer& again = openSample();
  EXPECT_EQ(again.size(), QSize(1000, 700));
  EXPECT_EQ(again.MainSplitter->sizes(), splitter);
  EXPECT_GE(again.FramesListView->columnWidth(0), 222);
}

}  // namespace
}  // namespace sorvanta::testing
