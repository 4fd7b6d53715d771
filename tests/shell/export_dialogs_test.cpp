// The Tools menu's Export and Split dialogs driven through their controls on a copy of the
// sample release: the files they write equal what `sorvanta export` / `sorvanta split` write for
// the same choices, Cancel (in the dialog or in the status bar) writes nothing, and choices
// that cannot run are refused with a message.
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextDocumentFragment>
#include <QTimer>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "ShellFixture.h"
#include "exports/Split.h"
#include "shell/ExportDialogs.h"
#include "support/CliRun.h"
#include "support/ReleaseCopy.h"

namespace sorvanta::testing {
namespace {

namespace fs = std::filesystem;

class ExportDialogs : public ShellTest {
 protected:
  ExportDialogs() {
    // The index goes into the test's own cache folder; the command line uses the same one.
    if (const char* old = std::getenv("XDG_CACHE_HOME")) oldCache_ = old;
    setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
    storeFolder(release.folder);
    openWindow(elsewhere.path().string() + "/");
  }
  ~ExportDialogs() override {
    window.reset();
    if (oldCache_)
      setenv("XDG_CACHE_HOME", oldCache_->c_str(), 1);
    else
      unsetenv("XDG_CACHE_HOME");
  }
  void SetUp() override { ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString(); }

  // Chooses the Tools menu's entry; fill sets the dialog's controls, then OK is pressed (or
  // Cancel, with cancelInDialog).
  template <class Dialog>
  void run(const char* action, const std::function<void(Dialog&)>& fill, bool cancelInDialog = false) {
    onModal = [&](QDialog& shown) {
      auto* dialog = dynamic_cast<Dialog*>(&shown);
      EXPECT_NE(dialog, nullptr);
      if (!dialog) return int(QDialog::Rejected);
      fill(*dialog);
      const auto button = cancelInDialog ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok;
      QTest::mouseClick(dialog->buttons->button(button), Qt::LeftButton);
      return dialog->result();
    };
    QAction* entry = window->findChild<QAction*>(action);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(window->ToolsMenu->actions().contains(entry));
    entry->trigger();
  }
  // Presses the status bar's Cancel as soon as the command lets events through.
  void cancelWhenRunning() {
    QTimer::singleShot(0, window.get(), [this] {
      cancelShown = !window->CancelButton->isHidden();
      QTest::mouseClick(window->CancelButton, Qt::LeftButton);
    });
  }
  // The status bar's summary as the user reads it (without the folder's link markup).
  QString summary() const {
    return QTextDocumentFragment::fromHtml(window->SummaryLabel->text()).toPlainText();
  }
  std::vector<std::string> frameNames(const shell::ExportDialog& dialog, std::vector<int> rows) {
    std::vector<std::string> names;
    for (int row : rows) names.push_back(dialog.frameList->item(row)->text().toStdString());
    return names;
  }

  TempDir cache;
  SampleReleaseCopy release;
  TempDir out;
  bool cancelShown = false;

 private:
  std::optional<std::string> oldCache_;
};

TEST_F(ExportDialogs, ExportWritesWhatTheCommandLineWrites) {
  struct Case {
    const char* name;
    int format;              // the format box's entry
    std::vector<int> frames;  // rows of the frame list to export; empty: all frames
    const char* cliFormat;
  };
  const Case cases[] = {
      {"all frames as JSON Lines", 0, {}, "jsonl"},
      {"two frames as CoNLL", 1, {2, 0}, "conll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A folder name beyond ASCII shows as written in the status bar.
    const std::string folder = out.file("Ergebnisse-\u00fc");
    fs::create_directories(folder);
    const std::string file = folder + "/window." + c.cliFormat;
    std::vector<std::string> chosen;
    run<shell::ExportDialog>("ExportAction", [&](shell::ExportDialog& dialog) {
      EXPECT_TRUE(dialog.allFramesButton->isChecked());
      EXPECT_GT(dialog.frameList->count(), 2);
      dialog.formatBox->setCurrentIndex(c.format);
      // The list starts with the main window's selected frame selected.
      const std::vector<int> shown = window->FramesListView->selectedRowNumbers();
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_TRUE(dialog.frameList->item(shown[0])->isSelected());
      EXPECT_EQ(dialog.frameList->selectedItems().size(), 1);
      if (!c.frames.empty()) {
        dialog.frameList->clearSelection();
        for (int row : c.frames) {
          QListWidgetItem* item = dialog.frameList->item(row);
          dialog.frameList->scrollToItem(item);
          QTest::mouseClick(dialog.frameList->viewport(), Qt::LeftButton, Qt::ControlModifier,
                            dialog.frameList->visualItemRect(item).center());
        }
        // Picking frames in the list chooses "only the selected frames".
        EXPECT_TRUE(dialog.chosenFramesButton->isChecked());
        chosen = frameNames(dialog, c.frames);
      }
      dialog.fileEdit->setText(QString::fromStdString(file));
    });
    ASSERT_TRUE(fs::exists(file));
    EXPECT_TRUE(summary().contains("Export: 1 file written in " + QString::fromStdString(folder) +
                                  "/; "))
        << summary().toStdString();
    EXPECT_TRUE(summary().contains("annotation sets")) << summary().toStdString();
    EXPECT_TRUE(window->CancelButton->isHidden());
    messages.clear();  // warnings about labels outside their text, as the command line gives

    std::vector<std::string> args = {"export", "--format", c.cliFormat, "--out",
                                     out.file(std::string("cli.") + c.cliFormat)};
    for (const std::string& frame : chosen) args.insert(args.end(), {"--frame", frame});
    const CliOutput cli = runOn(release.folder, args);
    ASSERT_EQ(cli.status, 0) << cli.err;
    const std::string written = readBytes(file);
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(written, readBytes(out.file(std::string("cli.") + c.cliFormat)));
  }
}

TEST_F(ExportDialogs, SplitWritesWhatItsRecordedCommandWrites) {
  const std::string folder = out.file("split");
  QString firstSeed;
  run<shell::SplitDialog>("SplitAction", [&](shell::SplitDialog& dialog) {
    // A random seed is filled in and shown; "New" draws another.
    firstSeed = dialog.seedEdit->text();
    uint64_t seed = 0;
    EXPECT_TRUE(exports::seedNamed(firstSeed.toStdString(), seed)) << firstSeed.toStdString();
    QTest::mouseClick(dialog.newSeedButton, Qt::LeftButton);
    EXPECT_NE(dialog.seedEdit->text(), firstSeed);
    dialog.seedEdit->setText("18446744073709551615");
    dialog.groupingBox->setCurrentIndex(1);  // lexical unit
    dialog.trainRatio->setValue(60);
    dialog.devRatio->setValue(20);
    dialog.testRatio->setValue(20);
    dialog.minAnnotatedBox->setValue(1);
    dialog.formatBox->setCurrentIndex(1);  // CoNLL
    dialog.folderEdit->setText(QString::fromStdString(folder));
  });
  messages.clear();
  EXPECT_TRUE(summary().contains("Split: 4 files written")) << summary().toStdString();
  EXPECT_TRUE(summary().contains("seed 18446744073709551615: train ")) << summary().toStdString();

  const std::vector<std::string> names = {"train.conll", "dev.conll", "test.conll",
                                          "manifest.json"};
  std::vector<std::string> written;
  for (const std::string& name : names) {
    ASSERT_TRUE(fs::exists(folder + "/" + name)) << name;
    written.push_back(readBytes(folder + "/" + name));
  }
  const auto manifest = nlohmann::json::parse(written.back());
  EXPECT_EQ(manifest["parameters"]["by"], "lu");
  EXPECT_EQ(manifest["parameters"]["ratios"], nlohmann::json::array({60, 20, 20}));
  EXPECT_EQ(manifest["parameters"]["min_annotated"], 1);
  EXPECT_EQ(manifest["seed"].get<uint64_t>(), UINT64_MAX);

  // The recorded command, run from a shell into the emptied folder, writes the same bytes.
  auto command = manifest["command_line"].get<std::vector<std::string>>();
  ASSERT_FALSE(command.empty());
  EXPECT_EQ(command.front(), "sorvanta");
  command.erase(command.begin());
  fs::remove_all(folder);
  const CliOutput cli = runCommandLine(command);
  ASSERT_EQ(cli.status, 0) << cli.err;
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(readBytes(folder + "/" + names[i]), written[i]) << names[i];
}

// Cancel in the dialog, or in the status bar while the command runs, writes nothing and
// leaves an older file as it was.
TEST_F(ExportDialogs, CancelWritesNothing) {
  const std::string file = out.write("older.jsonl", "older\n");
  const std::string folder = out.file("split");
  const auto exportFill = [&](shell::ExportDialog& dialog) {
    dialog.fileEdit->setText(QString::fromStdString(file));
  };
  const auto splitFill = [&](shell::SplitDialog& dialog) {
    dialog.folderEdit->setText(QString::fromStdString(folder));
  };
  for (bool inDialog : {true, false}) {
    SCOPED_TRACE(inDialog ? "in the dialog" : "in the status bar");
    window->SummaryLabel->clear();
    const std::pair<const char*, std::function<void()>> runs[] = {
        {"Export", [&] { run<shell::ExportDialog>("ExportAction", exportFill, inDialog); }},
        {"Split", [&] { run<shell::SplitDialog>("SplitAction", splitFill, inDialog); }}};
    for (const auto& [command, start] : runs) {
      cancelShown = false;
      if (!inDialog) cancelWhenRunning();
      start();
      if (inDialog) {
        EXPECT_TRUE(summary().isEmpty()) << summary().toStdString();
      } else {
        EXPECT_TRUE(cancelShown) << command;
        EXPECT_TRUE(summary().startsWith(QString(command) + ": cancelled"))
            << summary().toStdString();
      }
    }
    EXPECT_EQ(readBytes(file), "older\n");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(window->CancelButton->isHidden());
    EXPECT_TRUE(window->MenuBar->isEnabled());
  }
  EXPECT_TRUE(messages.empty());
}

// Choices that cannot run keep the dialog open with a message; nothing is written.
TEST_F(ExportDialogs, ChoicesThatCannotRunAreRefused) {
  const std::string target = out.file("x");
  const std::pair<std::function<void(shell::ExportDialog&)>, const char*> exportCases[] = {
      {[](shell::ExportDialog&) {}, "Choose the file to write."},
      {[](shell::ExportDialog& d) { d.fileEdit->setText("relative.jsonl"); },
       "Give the file to write as a full path."},
      {[&](shell::ExportDialog& d) {
         d.fileEdit->setText(QString::fromStdString(target));
         d.chosenFramesButton->setChecked(true);
         d.frameList->clearSelection();
       },
       "Select the frames to export, or choose all frames."},
  };
  for (const auto& [fill, expected] : exportCases) {
    messages.clear();
    run<shell::ExportDialog>("ExportAction", fill);
    ASSERT_EQ(messages.size(), 1u) << expected;
    EXPECT_EQ(messages[0].first, "Export");
    EXPECT_EQ(messages[0].second.toStdString(), expected);
  }
  const std::pair<std::function<void(shell::SplitDialog&)>, const char*> splitCases[] = {
      {[&](shell::SplitDialog& d) {
         d.folderEdit->setText(QString::fromStdString(target));
         d.seedEdit->setText("18446744073709551616");
       },
       "The seed must be a whole number from 0 to 18446744073709551615."},
      {[&](shell::SplitDialog& d) {
         d.folderEdit->setText(QString::fromStdString(target));
         d.seedEdit->setText("-1");
       },
       "The seed must be a whole number from 0 to 18446744073709551615."},
      {[&](shell::SplitDialog& d) {
         d.folderEdit->setText(QString::fromStdString(target));
         d.trainRatio->setValue(0), d.devRatio->setValue(0), d.testRatio->setValue(0);
       },
       "The ratios must not all be 0."},
      {[&](shell::SplitDialog& d) {
         d.folderEdit->setText(QString::fromStdString(out.write("a-file", "")));
       },
       nullptr},  // message names the file
  };
  for (const auto& [fill, expected] : splitCases) {
    messages.clear();
    run<shell::SplitDialog>("SplitAction", fill);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, "Split");
    if (expected)
      EXPECT_EQ(messages[0].second.toStdString(), expected);
    else
      EXPECT_TRUE(messages[0].second.endsWith("is a file: choose a folder."));
  }
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(summary().isEmpty()) << summary().toStdString();
}

}  // namespace
}  // namespace sorvanta::testing
