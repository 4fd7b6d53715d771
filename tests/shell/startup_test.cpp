// Start-up: which data folder wins, what is remembered, both messages, and the failures that
// leave the window without data.
#include "settings/QtSettingsStore.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QLineEdit>
#include <QPushButton>

#include "ShellFixture.h"
#include "shell/SVEAbout.h"

namespace sorvanta::testing {
namespace {

const char* const kOneFrame =
    "<frames><frame name=\"Solo\" ID=\"1\"><definition>Alone.</definition><fes/>"
    "<lexunits/></frame></frames>";

// The visible about boxes: the splash when start-up left it on screen.
int visibleSplashes() {
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<shell::TAboutBox*>(top) && top->isVisible()) ++count;
  }
  return count;
}

using StartUp = ShellTest;

TEST_F(StartUp, ExecutableFolderHoldingTheReleaseWinsAndIsRemembered) {
  storeFolder("/some/older/folder/");
  shell::TSVExplorer& form = openWindow(sampleFolder());
  EXPECT_TRUE(dialogs.empty());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(storedFolder(), sampleFolder());
  EXPECT_EQ(form.DataFolder.path(), sampleFolder());
  EXPECT_EQ(form.NumFrEdit->text(), "14");
  EXPECT_EQ(form.FramesListView->selectedRowNumbers(), std::vector<int>{0});
  EXPECT_EQ(form.FrameNameEdit->text(), "Motion");
  EXPECT_NE(form.RelationsRoot, nullptr);
  EXPECT_EQ(visibleSplashes(), 0);
}

TEST_F(StartUp, StoredFolderIsUsedUncheckedAndLeftAlone) {
  shell::TSVExplorer& form = openSample();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(storedFolder(), sampleFolder());
  EXPECT_EQ(form.DataFolder.path(), sampleFolder());
  EXPECT_EQ(form.AnnTotEdit->text(), "52");
  EXPECT_EQ(form.NumFEsEdit->text(), "32");
  EXPECT_EQ(form.LexUnitListView->rowCountShown(), 40);
}

TEST_F(StartUp, ChosenFramesFileGivesTheReleaseFolder) {
  nextFileName = QString::fromStdString(sampleFolder() + "frXML/frames.xml");
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].first, "Sorvanta Location");
  EXPECT_EQ(dialogs[0].second, "Sorvanta Frames File (frames.xml)");
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(storedFolder(), sampleFolder());
  EXPECT_EQ(form.DataFolder.path(), sampleFolder());
  EXPECT_EQ(form.FrameNameEdit->text(), "Motion");
}

TEST_F(StartUp, DialogAnswersThatStopStartUp) {
  struct Case {
    std::optional<QString> answer;
    std::string_view message;
  } cases[] = {
      {std::nullopt, lexicon::kLocateFramesMessage},
      {QString::fromStdString(sampleFolder() + "FRXML/frames.xml"), lexicon::kLocateFrXmlMessage},
      {"/data/release/frames.xml", lexicon::kLocateFrXmlMessage},
  };
  for (const Case& c : cases) {
    messages.clear();
    nextFileName = c.answer;
    shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, "Sorvanta Explorer");
    EXPECT_EQ(messages[0].second, QString::fromUtf8(c.message.data(), qsizetype(c.message.size())));
    EXPECT_EQ(storedFolder(), "");
    EXPECT_EQ(form.FramesListView->rowCountShown(), 0);
    EXPECT_EQ(form.NumFrEdit->text(), "");
    // The splash goes; the window offers to open a release instead.
    EXPECT_EQ(visibleSplashes(), 0);
    EXPECT_FALSE(form.OpenReleaseButton->isHidden());
    form.close();
  }
}

TEST_F(StartUp, WithoutDataEveryButtonStillWorks) {
  nextFileName = std::nullopt;
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  messages.clear();
  QString aboutComments;
  onModal = [&](QDialog& dialog) {
    aboutComments = dialog.findChild<QLabel*>("Comments")->text();
    return int(QDialog::Accepted);
  };
  QTest::mouseClick(form.ButtonAbout, Qt::LeftButton);
  EXPECT_EQ(aboutComments, shell::kMakerAddress);
  QTest::mouseClick(form.ButtonHelp, Qt::LeftButton);
  QTest::mouseClick(form.SelSampleButton, Qt::LeftButton);
  EXPECT_EQ(messages.size(), 1u);
  // Browsing commands find no rows and change nothing.
  form.FramesListViewClick();
  form.LexUnitListViewClick();
  form.FEListViewClick();
  form.MenuItemShowFEsClick();
  EXPECT_EQ(form.FrameNameEdit->text(), "");
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(StartUp, WithoutDataNoCommandWritesIntoTheExecutablesFolder) {
  nextFileName = std::nullopt;
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  EXPECT_TRUE(form.DataFolder.empty());
  for (QPushButton* button : {form.CrDictsButton, form.SelSampleButton, form.ButtonSelSubCorp,
                              form.ButtonOthSyn, form.CrFrameFilesButton}) {
    messages.clear();
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, shell::kNoDataFolder);
  }
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST_F(StartUp, FramesDocumentWithoutFramesSelectsNothing) {
  writeRelease(elsewhere, "<frames release=\"empty\"/>", "<frameRelations/>");
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(form.FramesListView->rowCountShown(), 0);
  EXPECT_EQ(form.FramesListView->selectedCount(), 0);
  EXPECT_EQ(form.NumFrEdit->text(), "0");
  EXPECT_EQ(form.FrameNameEdit->text(), "");
  EXPECT_EQ(visibleSplashes(), 0);
}

TEST_F(StartUp, UnreadableDocumentsAreNamedInAMessage) {
  struct Case {
    std::optional<std::string> frames;  // none: no frames document at all
    std::optional<std::string> relations;
    std::string named;  // the file the message names
    bool framesShown;
  } cases[] = {
      {std::nullopt, "<frameRelations/>", "frXML/frames.xml", false},
      {"<frames><frame name=\"Cut\"", "<frameRelations/>", "frXML/frames.xml", false},
      {kOneFrame, std::nullopt, "frXML/frRelation.xml", true},
      {kOneFrame, "<frameRelations>", "frXML/frRelation.xml", true},
  };
  for (const Case& c : cases) {
    TempDir release;
    std::filesystem::create_directories(release.path() / "frXML");
    if (c.frames) release.write("frXML/frames.xml", *c.frames);
    if (c.relations) release.write("frXML/frRelation.xml", *c.relations);
    const std::string folder = release.path().string() + "/";
    storeFolder(folder);
    messages.clear();
    shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
    ASSERT_EQ(messages.size(), 1u) << c.named;
    EXPECT_TRUE(messages[0].second.contains(QString::fromStdString(folder + c.named)))
        << messages[0].second.toStdString();
    EXPECT_EQ(visibleSplashes(), 0);
    EXPECT_EQ(form.FrameNameEdit->text(), c.framesShown ? "Solo" : "");
    if (c.framesShown) {
      EXPECT_EQ(form.RelationsRoot, nullptr);
      EXPECT_EQ(form.Fr2FrAdvStringGrid->cell(0, 0), "None");
    }
  }
}

// A stored folder whose frames document cannot be read: no data folder is open, so the commands
// that derive files from it refuse, and the earlier outputs stay (they used to be replaced by
// empty files).
TEST_F(StartUp, WithoutTheFramesDocumentNoCommandReplacesEarlierOutputs) {
  const std::vector<std::string> outputs = {"FrameDict.xml", "frames.dmp", "svlex.dmp",
                                            "pp-into.alters.txt", "SensSemRolesTrg.xml"};
  for (const std::optional<std::string>& frames :
       {std::optional<std::string>(), std::optional<std::string>("<frames><frame name=")}) {
    TempDir release;
    writeRelease(release, frames.value_or(""), "<frameRelations/>");
    if (!frames) std::filesystem::remove(release.path() / "frXML/frames.xml");
    for (const std::string& name : outputs) release.write(name, "earlier");
    release.write("pp-into.txt", "Motion\tGoal\tgo.v\tV-ppinto\t8-4\r\n");
    storeFolder(release.path().string() + "/");
    shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
    form.EditSynSpec->setText("into");
    form.NumFramesEdit->setText("1");
    form.NumSentsEdit->setText("0");
    for (QPushButton* button : {form.CrDictsButton, form.SelSampleButton, form.ButtonOthSyn}) {
      messages.clear();
      QTest::mouseClick(button, Qt::LeftButton);
      ASSERT_EQ(messages.size(), 1u) << button->text().toStdString();
      EXPECT_EQ(messages[0].second.toStdString(), shell::kNoDataFolder);
    }
    EXPECT_EQ(modalCount, 0);  // no question about the relations either
    for (const std::string& name : outputs)
      EXPECT_EQ(readBytes(release.file(name)), "earlier") << name;
  }
}

// Without a relations document the dictionaries are written only when the user agrees.
TEST_F(StartUp, DictionariesWithoutRelationsAskFirst) {
  for (const bool agree : {false, true}) {
    TempDir release;
    writeRelease(release, kOneFrame, std::nullopt);
    release.write("FrameDict.xml", "earlier");
    storeFolder(release.path().string() + "/");
    shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
    QString question;
    onModal = [&](QDialog& dialog) {
      question = dialog.findChild<QLabel*>("qt_msgbox_label")->text();
      return int(agree ? QMessageBox::Yes : QMessageBox::No);
    };
    messages.clear();
    QTest::mouseClick(form.CrDictsButton, Qt::LeftButton);
    EXPECT_EQ(question.toStdString(), shell::kWriteWithoutRelations);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(readBytes(release.file("FrameDict.xml")) == "earlier", !agree);
    EXPECT_EQ(std::filesystem::exists(release.path() / "frames.dmp"), agree);
  }
}

TEST(SettingsLocation, EnvironmentVariableMovesTheStore) {
  TempDir folder;
  qputenv(settings::kSettingsDirVariable, QByteArray::fromStdString(folder.path().string()));
  settings::redirectSettingsFromEnvironment();
  qunsetenv(settings::kSettingsDirVariable);
  settings::QtSettingsStore().writeString("SVLoc", "/r/");
  // The value went into the folder named by the variable, in the format scripts/run writes.
  const std::string written = readBytes(folder.file("Quendry/XML.conf"));
  EXPECT_NE(written.find("[General]"), std::string::npos);
  EXPECT_NE(written.find("SVLoc=/r/"), std::string::npos);
}

TEST(SettingsLocation, ReadsTheQuotedValueScriptsRunWrites) {
  TempDir folder;
  std::filesystem::create_directories(folder.path() / "Quendry");
  folder.write("Quendry/XML.conf", "[General]\nSVLoc=\"/home/a b/rel, one/\"\n");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(folder.path().string()));
  EXPECT_EQ(settings::QtSettingsStore().readString("SVLoc"), "/home/a b/rel, one/");
}

}  // namespace
}  // namespace sorvanta::testing
