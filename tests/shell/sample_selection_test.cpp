// The "Sample Selection" tab's commands through real clicks on a copy of the sample release:
// the files they write equal those of the command line, their counters and their messages.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <regex>

#include "ShellFixture.h"
#include "derived/FrameFiles.h"
#include "derived/PrepositionSubcorpora.h"
#include "support/ReleaseCopy.h"
#include "text/FolderLock.h"
#include "widgets/UpDown.h"

namespace sorvanta::testing {
namespace {

namespace fs = std::filesystem;

class SampleSelectionTab : public ShellTest {
 protected:
  SampleSelectionTab() {
    storeFolder(copySampleRelease(release));
    openWindow(elsewhere.path().string() + "/");
    window->SampleSeed = [] { return 7u; };
  }
  void SetUp() override { ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString(); }

  shell::TSVExplorer& form() { return *window; }
  void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void type(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void sample(const QString& low, const QString& high, const QString& frames,
              const QString& sentences) {
    type(form().LowAnnEdit, low);
    type(form().HiAnnEdit, high);
    type(form().NumFramesEdit, frames);
    type(form().NumSentsEdit, sentences);
    click(form().SelSampleButton);
  }
  std::vector<QString> listItems() const {
    std::vector<QString> items;
    for (int i = 0; i < window->TrgFrCheckListBox->count(); ++i) {
      const QListWidgetItem* item = window->TrgFrCheckListBox->item(i);
      EXPECT_EQ(item->checkState(), Qt::Unchecked);
      items.push_back(item->text());
    }
    return items;
  }
  void expectGolden(const std::string& golden) {
    for (const auto& entry : fs::directory_iterator(testDataPath(golden))) {
      const std::string name = entry.path().filename().string();
      EXPECT_EQ(readBytes(release.file(name)), readBytes(entry.path().string())) << name;
    }
  }
  // The "name" attributes of the frame elements of a written document, in order.
  std::vector<std::string> frameNamesIn(const std::string& file) {
    const std::string text = readBytes(release.file(file));
    std::vector<std::string> names;
    const std::regex frame("<frame name=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), frame);
         it != std::sregex_iterator(); ++it)
      names.push_back((*it)[1]);
    return names;
  }

  TempDir release;
};

TEST_F(SampleSelectionTab, SampleLoadAndFrameFilesWriteWhatTheCommandLineWrites) {
  sample("0", "100", "0", "2");
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  expectGolden("golden/samples/all-frames-2-sentences");
  // Every frame of the release lies in the range: all are counted.
  EXPECT_EQ(form().FrsCompEdit->text(), "14");
  EXPECT_NE(form().SentInFrsEdit->text(), "0");

  click(form().LdTrngSetButton);
  const std::vector<QString> items = listItems();
  ASSERT_FALSE(items.empty());
  // Loading again appends the names again; ticking every item twice writes the same files.
  click(form().LdTrngSetButton);
  ASSERT_EQ(listItems().size(), 2 * items.size());
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(listItems()[items.size() + i], items[i]);
  for (int i = 0; i < form().TrgFrCheckListBox->count(); ++i)
    form().TrgFrCheckListBox->item(i)->setCheckState(i < int(items.size()) ? Qt::Checked
                                                                           : Qt::Unchecked);
  click(form().CrFrameFilesButton);
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  expectGolden("golden/samples/frame-files-all");
}

TEST_F(SampleSelectionTab, SampleHonoursTheCheckBoxAndTheListOrder) {
  window->SampleSeed = [] { return 12345u; };
  form().ProvAnsCheckBox->setChecked(true);
  sample("2", "9", "4", "1");
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  expectGolden("golden/samples/drawn-4-frames-provide-fes");

  // Frames are processed in the order the list shows, here by name after a header click.
  QHeaderView* header = form().FramesListView->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
  form().ProvAnsCheckBox->setChecked(false);
  sample("0", "100", "0", "0");
  const std::vector<std::string> written = frameNamesIn("SensSemRolesTest.xml");
  ASSERT_GE(written.size(), 2u);
  const auto upper = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  EXPECT_TRUE(std::is_sorted(written.begin(), written.end(),
                             [&](auto& a, auto& b) { return upper(a) < upper(b); }));
}

TEST_F(SampleSelectionTab, CountsThatCannotFinishAreReportedAndWriteNothing) {
  struct Case {
    QString frames, sentences;
    const char* message;
  } cases[] = {
      {"99", "1", nullptr},  // more frames than candidates: the refusal of the draw
      {"-1", "1", nullptr},
      {"", "1", "'' is not a valid integer value"},
      {"1x", "1", "'1x' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    messages.clear();
    sample("0", "100", c.frames, c.sentences);
    ASSERT_EQ(messages.size(), 1u) << c.frames.toStdString();
    EXPECT_EQ(messages[0].first, "Sorvanta Explorer");
    if (c.message) {
      EXPECT_EQ(messages[0].second, c.message);
    }
    EXPECT_FALSE(fs::exists(release.file("SensSemRolesTrg.xml"))) << c.frames.toStdString();
  }
  // Without a training set file nothing is listed, and the user is told which file is missing.
  messages.clear();
  click(form().LdTrngSetButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].second.contains("SensSemRolesTrg.xml"));
  EXPECT_EQ(form().TrgFrCheckListBox->count(), 0);
}

TEST_F(SampleSelectionTab, DictionariesWithAndWithoutTheLexemeDictionary) {
  form().SentInFrsEdit->setText("earlier");
  form().CheckBoxFramesOnly->setChecked(true);
  release.write("svlex.dmp", "older");
  click(form().CrDictsButton);
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  for (const std::string name : {"FrameDict.xml", "frames.dmp"})
    EXPECT_EQ(readBytes(release.file(name)), readBytes(testDataPath("golden/dictionaries/" + name)))
        << name;
  EXPECT_EQ(readBytes(release.file("svlex.dmp")), "older");
  EXPECT_EQ(form().SentInFrsEdit->text(), "earlier");
  EXPECT_EQ(form().FrsCompEdit->text(), "14");

  form().CheckBoxFramesOnly->setChecked(false);
  click(form().CrDictsButton);
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  for (const std::string name : {"FrameDict.xml", "frames.dmp", "svlex.dmp"})
    EXPECT_EQ(readBytes(release.file(name)), readBytes(testDataPath("golden/dictionaries/" + name)))
        << name;
  // The counter is set before each lexical-entry document: the last one leaves 40 - 1.
  EXPECT_EQ(form().SentInFrsEdit->text(), "39");
  EXPECT_EQ(form().LabelSentsInFrames->text(), "Total Number of Sentences in Frames:");
}

TEST_F(SampleSelectionTab, PrepositionStudyWritesTheGoldenFilesAndPausesOtherCommands) {
  type(form().LowAnnEdit, "1000");
  type(form().HiAnnEdit, "2300");
  type(form().EditSynSpec, "into");
  // While the command lets events through, no other command can start.
  std::vector<bool> buttonsEnabled;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    buttonsEnabled.push_back(form().SelSampleButton->isEnabled() ||
                             form().ButtonOthSyn->isEnabled() ||
                             form().FramesListView->isEnabled());
  });
  probe.start(0);
  click(form().ButtonSelSubCorp);
  probe.stop();
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  ASSERT_FALSE(buttonsEnabled.empty());
  EXPECT_EQ(std::count(buttonsEnabled.begin(), buttonsEnabled.end(), true), 0);
  EXPECT_TRUE(form().SelSampleButton->isEnabled());
  EXPECT_TRUE(form().FramesListView->isEnabled());
  EXPECT_EQ(form().FrsCompEdit->text(), "2300");

  click(form().ButtonOthSyn);
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  for (const std::string name : {"pp-into.txt", "pp-into.sents.xml", "pp-into.alters.txt"})
    EXPECT_EQ(readBytes(release.file(name)), readBytes(testDataPath("golden/preposition/" + name)))
        << name;
  // The list's line count, then the number of the line after the last.
  const int lines = form().SentInFrsEdit->text().toInt();
  EXPECT_GT(lines, 0);
  EXPECT_EQ(form().FrsCompEdit->text().toInt(), lines + 1);
}

TEST_F(SampleSelectionTab, PrepositionMessages) {
  struct Case {
    QString preposition;
    QPushButton* shell::TSVExplorer::*button;
    const char* text;  // nullptr: any refusal under the caption
  } cases[] = {
      {"", &shell::TSVExplorer::ButtonOthSyn, "No preposition has been identified."},
      {"over", &shell::TSVExplorer::ButtonOthSyn, "Preposition file does not exist."},
      {"../x", &shell::TSVExplorer::ButtonSelSubCorp, nullptr},
      {"a/b", &shell::TSVExplorer::ButtonOthSyn, nullptr},
  };
  type(form().LowAnnEdit, "1000");
  type(form().HiAnnEdit, "1001");
  for (const Case& c : cases) {
    messages.clear();
    type(form().EditSynSpec, c.preposition);
    click(form().*c.button);
    ASSERT_EQ(messages.size(), 1u) << c.preposition.toStdString();
    EXPECT_EQ(messages[0].first, "Preposition Analysis");
    if (c.text) {
      EXPECT_EQ(messages[0].second, c.text);
    }
  }
  EXPECT_FALSE(fs::exists(release.path().parent_path() / "x.txt"));
  EXPECT_FALSE(fs::exists(release.file("pp-over.alters.txt")));
}

}  // namespace
}  // namespace sorvanta::testing

namespace sorvanta::testing {
namespace {

class CommandGuards : public ShellTest {
 protected:
  CommandGuards() {
    folder = copySampleRelease(release);
    storeFolder(folder);
    openWindow(elsewhere.path().string() + "/");
  }
  TempDir release;
  std::string folder;
};

// While another command holds the data folder the window says so and waits; Cancel ends the
// wait and nothing is written.
TEST_F(CommandGuards, AnotherCommandsLockIsWaitedForAndCancelEndsTheWait) {
  release.write("pp-into.alters.txt", "earlier");
  const text::FolderLock other(folder, text::FolderLock::Wait::No);
  ASSERT_TRUE(other.held());
  window->EditSynSpec->setText("into");
  QString shown;
  bool cancelVisible = false;
  QTimer::singleShot(300, [&] {
    shown = window->StatusBar->currentMessage();
    cancelVisible = !window->CancelButton->isHidden();
    QTest::mouseClick(window->CancelButton, Qt::LeftButton);
  });
  messages.clear();
  QTest::mouseClick(window->ButtonOthSyn, Qt::LeftButton);
  EXPECT_TRUE(shown.startsWith("Another command is writing into")) << shown.toStdString();
  EXPECT_TRUE(cancelVisible);
  EXPECT_TRUE(window->CancelButton->isHidden());
  EXPECT_TRUE(window->ButtonOthSyn->isEnabled());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(readBytes(release.file("pp-into.alters.txt")), "earlier");
}

// Documents skipped because they cannot be read are listed in one summary after the command.
TEST_F(CommandGuards, SkippedDocumentsAreSummarisedAfterTheCommand) {
  release.write("xml/lu1001.xml", "<lexunit-annotation");
  window->LowAnnEdit->setText("1000");
  window->HiAnnEdit->setText("1100");
  window->EditSynSpec->setText("into");
  messages.clear();
  QTest::mouseClick(window->ButtonSelSubCorp, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].second.startsWith("The command finished with 1 warning(s):"))
      << messages[0].second.toStdString();
  EXPECT_TRUE(messages[0].second.contains(QString::fromStdString("Skipped " + folder +
                                                                 "xml/lu1001.xml: ")));
  EXPECT_TRUE(fs::exists(release.file("pp-into.txt")));
}

}  // namespace
}  // namespace sorvanta::testing
