// The report windows over the sample release.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <cstdlib>

#include "shell/ReportWindows.h"
#include "support/CliRun.h"
#include "support/TempDir.h"
#include "widgets/Messages.h"
#include "widgets/ModalDialogs.h"
#include "widgets/TableExport.h"

namespace sorvanta::testing {
namespace {

class ReportWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    // The index goes into the test's own cache folder.
    const char* old = std::getenv("XDG_CACHE_HOME");
    if (old) oldCache_ = old;
    hadCache_ = old != nullptr;
    setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
    widgets::Messages::setTestHook([this](const QString&, const QString& text) {
      shown.push_back(text.toStdString());
    });
  }
  void TearDown() override {
    widgets::Messages::setTestHook({});
    widgets::SaveFileDialog::setTestHook({});
    widgets::setModalHook({});
    if (hadCache_)
      setenv("XDG_CACHE_HOME", oldCache_.c_str(), 1);
    else
      unsetenv("XDG_CACHE_HOME");
  }
  TempDir cache;
  QWidget owner;
  widgets::Messages messages{&owner};
  std::vector<std::string> shown;

 private:
  std::string oldCache_;
  bool hadCache_ = false;
};

TEST_F(ReportWindows, LexicalUnitReportFiltersBySubcorpus) {
  shell::ReportOpener opener(messages, &owner);
  shell::LexUnitReportWindow* window = opener.openLexUnit(sampleReleasePath(), 1301);
  ASSERT_NE(window, nullptr) << (shown.empty() ? "" : shown.front());
  EXPECT_EQ(window->windowTitle().toStdString(), "Lexical Unit Report: put.v (Placing)");
  // (all) and the three subcorpora of put.v's sets.
  ASSERT_EQ(window->subcorpusBox->count(), 4);
  const auto lines = [&] { return window->reportText().count('\n'); };
  EXPECT_EQ(lines(), 6);  // three sets, two lines each
  window->showSubcorpus(2);
  EXPECT_EQ(lines(), 2);
  EXPECT_TRUE(window->reportText().startsWith("500162\t"));
  EXPECT_TRUE(window->sentencesView->toPlainText().contains("500162"));
  EXPECT_FALSE(window->sentencesView->toPlainText().contains("500161"));
  window->tabs->setCurrentWidget(window->valenceView);
  EXPECT_TRUE(window->reportText().startsWith("FE\tAnnotated\tPT\tGF\tTotal\nAgent\t3\tCNI"));
  EXPECT_TRUE(window->valenceView->toPlainText().contains("VPto(Dep)"));
  window->close();

  EXPECT_EQ(opener.openLexUnit(sampleReleasePath(), 4242), nullptr);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("4242"), std::string::npos);
}

TEST_F(ReportWindows, FrameReportOpensUnitsAndRelatedFrames) {
  shell::ReportOpener opener(messages, &owner);
  shell::FrameReportWindow* window = opener.openFrame(sampleReleasePath(), "Self_motion");
  ASSERT_NE(window, nullptr) << (shown.empty() ? "" : shown.front());
  EXPECT_EQ(window->lexUnitTable->rowCount(), 5);
  EXPECT_TRUE(window->definitionView->toPlainText().contains("Self_mover"));
  ASSERT_GT(window->relationTable->rowCount(), 0);

  // Double-click on walk.v opens its report; on a relation, the other frame's report.
  emit window->lexUnitTable->cellDoubleClicked(0, 0);
  emit window->relationTable->cellDoubleClicked(0, 0);
  int lexUnitWindows = 0, frameWindows = 0;
  for (QObject* child : owner.children()) {
    lexUnitWindows += qobject_cast<shell::LexUnitReportWindow*>(child) != nullptr;
    frameWindows += qobject_cast<shell::FrameReportWindow*>(child) != nullptr;
  }
  EXPECT_EQ(lexUnitWindows, 1);
  EXPECT_EQ(frameWindows, 2);
  EXPECT_TRUE(shown.empty());
}

// Clicks the window's button with the caption.
void clickButton(QWidget& window, const QString& caption) {
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->text() == caption) return button->click();
  ADD_FAILURE() << "no button " << caption.toStdString();
}

TEST_F(ReportWindows, SaveAsHtmlWritesThePageTheCommandLineWrites) {
  shell::ReportOpener opener(messages, &owner);
  const struct {
    const char* what;
    std::function<QWidget*()> open;
    std::vector<std::string> report;
  } cases[] = {
      {"lexical unit", [&] { return opener.openLexUnit(sampleReleasePath(), 1301); },
       {"--lu", "1301"}},
      {"frame", [&] { return opener.openFrame(sampleReleasePath(), "Self_motion"); },
       {"--frame", "Self_motion"}},
  };
  TempDir out;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QWidget* window = c.open();
    ASSERT_NE(window, nullptr) << (shown.empty() ? "" : shown.front());
    const std::string fromCli = (out.path() / "cli.html").string();
    std::vector<std::string> args = {"report"};
    args.insert(args.end(), c.report.begin(), c.report.end());
    args.insert(args.end(), {"--out", fromCli});
    const CliOutput cli = runOn(sampleReleasePath(), args);
    ASSERT_EQ(cli.status, 0) << cli.err;

    // A name beyond ASCII, as the save dialog may give it.
    const std::string saved = (out.path() / "r\xc3\xa9sum\xc3\xa9.html").string();
    std::vector<QString> titles;
    widgets::SaveFileDialog::setTestHook([&](const QString& title, const QString&) {
      titles.push_back(title);
      return std::optional<QString>(QString::fromStdString(saved));
    });
    clickButton(*window, "Save as HTML…");
    ASSERT_EQ(titles, std::vector<QString>{"Save as HTML"});
    EXPECT_EQ(readBytes(saved), readBytes(fromCli));
    EXPECT_TRUE(shown.empty());

    // Cancelled: nothing written. A folder that does not exist: a message, no file.
    std::filesystem::remove(saved);
    widgets::SaveFileDialog::setTestHook([](const QString&, const QString&) {
      return std::optional<QString>();
    });
    clickButton(*window, "Save as HTML…");
    EXPECT_FALSE(std::filesystem::exists(saved));
    const std::string missing = (out.path() / "no-folder" / "page.html").string();
    widgets::SaveFileDialog::setTestHook([&](const QString&, const QString&) {
      return std::optional<QString>(QString::fromStdString(missing));
    });
    clickButton(*window, "Save as HTML…");
    EXPECT_FALSE(std::filesystem::exists(missing));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("Cannot create file"), std::string::npos) << shown[0];
    shown.clear();
    window->close();
  }
}

TEST_F(ReportWindows, PrintAsksThroughTheModalHook) {
  shell::ReportOpener opener(messages, &owner);
  shell::LexUnitReportWindow* window = opener.openLexUnit(sampleReleasePath(), 1301);
  ASSERT_NE(window, nullptr) << (shown.empty() ? "" : shown.front());
  std::vector<std::string> dialogs;
  widgets::setModalHook([&](QDialog& dialog) {
    dialogs.push_back(dialog.inherits("QAbstractPrintDialog") ? "print" : "other");
    return int(QDialog::Rejected);
  });
  clickButton(*window, "Print…");
  EXPECT_EQ(dialogs, std::vector<std::string>{"print"});
  EXPECT_TRUE(shown.empty());
  window->close();
}

}  // namespace
}  // namespace sorvanta::testing
