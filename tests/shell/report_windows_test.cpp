// The report windows over the sample release.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <cstdlib>

#include "shell/ReportWindows.h"
#include "support/TempDir.h"
#include "widgets/Messages.h"

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

}  // namespace
}  // namespace sorvanta::testing
