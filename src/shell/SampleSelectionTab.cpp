// The commands of the "Sample Selection" tab: the evaluation sample, its frame files, the
// dictionaries and the preposition study. Each handler reads the controls, runs the command
// of the lower layers and shows its progress in the tab's two counters.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QTabWidget>
#include <QThread>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "derived/Dictionaries.h"
#include "derived/FrameFiles.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "samples/TrainingTestSets.h"
#include "shell/SorvantaForm.h"
#include "text/FolderLock.h"
#include "text/Progress.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"
#include "widgets/UpDown.h"

namespace sorvanta::shell {

using widgets::toQString;
using widgets::toWorking;

namespace {

// Repaints controls at once, since long commands do not return to the event loop; at most
// every few hundredths of a second, as repainting the whole window for each of thousands of
// items would cost more than the work itself.
class Repainter {
 public:
  Repainter() { clock_.start(); }
  // True when it repainted.
  bool repaint(const std::vector<QWidget*>& controls) {
    if (clock_.elapsed() < kIntervalMs) return false;
    for (QWidget* control : controls) control->repaint();
    clock_.restart();
    return true;
  }

 private:
  static constexpr qint64 kIntervalMs = 40;
  QElapsedTimer clock_;
};

// The hourglass for the length of a command that takes no input.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

// Disables the controls that start commands while a command lets events through, so no command
// runs inside another; each control gets its former state back afterwards.
class CommandsPaused {
 public:
  explicit CommandsPaused(std::vector<QWidget*> controls) {
    for (QWidget* control : controls) {
      paused_.emplace_back(control, control->isEnabled());
      control->setEnabled(false);
    }
  }
  ~CommandsPaused() {
    for (const auto& [control, wasEnabled] : paused_) control->setEnabled(wasEnabled);
  }
  CommandsPaused(const CommandsPaused&) = delete;
  CommandsPaused& operator=(const CommandsPaused&) = delete;

 private:
  std::vector<std::pair<QWidget*, bool>> paused_;
};

namespace {

// Every command's progress in the window: each counter the command reports is shown in the
// tab's edit that the command designs for it (counters without one are not shown), the given
// controls are repainted, and waiting events are let through — at every count for a command
// designed so, else every few hundredths of a second — so the status bar's Cancel button
// works. For its lifetime the status bar shows a progress bar with Cancel, and the menu bar
// and the controls that start commands are disabled.
class CommandProgress : public text::Progress {
 public:
  struct Counter {
    std::string_view name;
    QLineEdit* edit;
  };
  CommandProgress(TSVExplorer& form, std::vector<Counter> counters,
                  std::vector<QWidget*> repainted, bool letEventsThrough = false)
      : form_(form),
        counters_(std::move(counters)),
        repainted_(std::move(repainted)),
        letEventsThrough_(letEventsThrough),
        paused_(pausedControls(form)) {
    form_.RunningCommand = this;
    form_.CommandProgressBar->show();
    form_.CancelButton->show();
    form_.CancelButton->setEnabled(true);
  }
  ~CommandProgress() override {
    form_.RunningCommand = nullptr;
    form_.CommandProgressBar->hide();
    form_.CancelButton->hide();
  }
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

  void count(std::string_view counter, int64_t value, std::string_view /*item*/) override {
    for (const Counter& shown : counters_)
      if (shown.name == counter) shown.edit->setText(QString::number(value));
    if (letEventsThrough_) {
      repainter_.repaint(repainted_);
      QCoreApplication::processEvents();
    } else if (repainter_.repaint(repainted_)) {
      QCoreApplication::processEvents();
    }
  }

 private:
  static std::vector<QWidget*> pausedControls(const TSVExplorer& form) {
    std::vector<QWidget*> controls = form.commandControls();
    controls.push_back(form.MenuBar);
    return controls;
  }

  TSVExplorer& form_;
  std::vector<Counter> counters_;
  std::vector<QWidget*> repainted_;
  bool letEventsThrough_;
  Repainter repainter_;
  CommandsPaused paused_;
};

}  // namespace

// The data folder's lock for the whole run of a command that writes there (its CommandProgress
// already shows Cancel and pauses the other commands). While another command (this program's or
// another's) writes there, the status bar says so and it waits, letting events through, until
// the lock is free or Cancel is pressed.
class FolderWriteLock {
 public:
  FolderWriteLock(TSVExplorer& form, text::Progress& progress) : form_(form) {
    for (bool told = false; !progress.cancelled();) {
      lock_ =
          std::make_unique<text::FolderLock>(form_.DataFolder.path(), text::FolderLock::Wait::No);
      if (lock_->held() || !lock_->busy()) break;
      if (!told) {
        form_.StatusBar->showMessage(widgets::toQString(lock_->message()));
        told = true;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, kWaitStepMs);
      QThread::msleep(kWaitStepMs);
    }
    form_.StatusBar->clearMessage();
    if (lock_ && !lock_->held() && !lock_->busy())
      form_.messages_.show(lexicon::kProgramCaption, lock_->message());
  }
  FolderWriteLock(const FolderWriteLock&) = delete;
  FolderWriteLock& operator=(const FolderWriteLock&) = delete;

  // False when the command must not run: the folder cannot be locked, or the wait was
  // cancelled.
  bool locked() const { return lock_ && lock_->held(); }

 private:
  static constexpr int kWaitStepMs = 50;
  TSVExplorer& form_;
  std::unique_ptr<text::FolderLock> lock_;
};

std::vector<QWidget*> TSVExplorer::commandControls() const {
  return {FramesListView,     LexUnitListView, EditLexUnitFind,  ComboBoxSubCorp,
          SentAdvStringGrid,  FEListView,      SelSampleButton,  LdTrngSetButton,
          CrFrameFilesButton, CrDictsButton,   ButtonSelSubCorp, ButtonOthSyn};
}

bool TSVExplorer::haveDataFolder() const {
  if (!DataFolder.empty()) return true;
  // Without it the files would land in whatever folder the program was started from.
  messages_.show(lexicon::kProgramCaption, kNoDataFolder);
  return false;
}

void TSVExplorer::SelSampleButtonClick() {
  if (!haveDataFolder()) return;
  samples::SampleRequest request;
  request.low = LowAnnUpDown->shownPosition();
  request.high = HiAnnUpDown->shownPosition();
  request.numFramesText = toWorking(NumFramesEdit->text());
  request.numSentsText = toWorking(NumSentsEdit->text());
  request.provideFes = ProvAnsCheckBox->isChecked();
  request.seed = SampleSeed();
  WaitCursor busy;
  CommandProgress progress(*this, {{samples::kFramesCompletedCounter, FrsCompEdit},
                            {samples::kSentencesInFramesCounter, SentInFrsEdit}},
                           {FrsCompEdit, SentInFrsEdit});
  const FolderWriteLock lock(*this, progress);
  if (!lock.locked()) return;
  const samples::SampleResult result = samples::selectSample(
      request, FramesListView->rows(), FramesRoot, DataFolder.path(),
      {TrainingXpObjModel, TestXpObjModel, LexUnitXpObjModel}, progress);
  showOutcome("Select Sample", result.outcome, result.messages.size(), samples::kMessagesFile);
}

void TSVExplorer::LdTrngSetButtonClick() {
  if (!haveDataFolder()) return;
  const samples::TrainingSetLoad load =
      samples::loadTrainingSet(TrainingXpObjModel, DataFolder.path());
  if (!load.loaded) {
    messages_.show(lexicon::kProgramCaption, load.message);
    return;
  }
  for (const std::string& name : load.frameNames) {
    auto* item = new QListWidgetItem(toQString(name), TrgFrCheckListBox);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}

void TSVExplorer::CrFrameFilesButtonClick() {
  if (!haveDataFolder()) return;
  std::vector<std::string> checked;
  for (int i = 0; i < TrgFrCheckListBox->count(); ++i) {
    const QListWidgetItem* item = TrgFrCheckListBox->item(i);
    if (item->checkState() == Qt::Checked) checked.push_back(toWorking(item->text()));
  }
  WaitCursor busy;
  CommandProgress progress(*this, {}, {});
  const FolderWriteLock lock(*this, progress);
  if (!lock.locked()) return;
  showOutcome("Create Frame Files", derived::createFrameFiles(checked, DataFolder.path(),
                                        {TrainingXpObjModel, TestXpObjModel, LexUnitXpObjModel},
                                        progress));
}

void TSVExplorer::CrDictsButtonClick() {
  if (!haveDataFolder()) return;
  // Without a frames document the command refuses; without relations it asks first.
  if (lexicon::framesDocumentProblem(FramesRoot).empty() && !RelationsRoot &&
      !messages_.ask(lexicon::kProgramCaption, kWriteWithoutRelations))
    return;
  WaitCursor busy;
  CommandProgress progress(*this, {{derived::kDictionaryFramesCounter, FrsCompEdit},
                            {derived::kLexemesInFramesCaption, SentInFrsEdit}},
                           {TabSheetSampSel, this});
  const FolderWriteLock lock(*this, progress);
  if (!lock.locked()) return;
  LabelSentsInFrames->setText(toQString(derived::kLexemesInFramesCaption));
  const derived::DictionaryResult result = derived::createDictionaries(
      FramesRoot, RelationsRoot, DataFolder.path(), CheckBoxFramesOnly->isChecked(),
      {DictXpObjModel, XpObjModelLexEnt}, progress);
  // A file that cannot be written ends the command above and leaves the running caption.
  LabelSentsInFrames->setText(toQString(derived::kSentencesInFramesCaption));
  showOutcome("Create Dictionaries", result.outcome);
}

void TSVExplorer::ButtonSelSubCorpClick() {
  if (!haveDataFolder()) return;
  const derived::SubcorporaRequest request{toWorking(LowAnnEdit->text()),
                                           toWorking(HiAnnEdit->text()),
                                           toWorking(EditSynSpec->text()), DataFolder.path()};
  CommandProgress progress(*this, {{derived::kLexUnitTriedCounter, FrsCompEdit}}, {this},
                           /*letEventsThrough=*/true);
  const FolderWriteLock lock(*this, progress);
  if (!lock.locked()) return;
  showOutcome("Select Subcorpora",
              derived::selectSubcorpora(request, LexUnitXpObjModel, progress).outcome);
}

void TSVExplorer::ButtonOthSynClick() {
  if (!haveDataFolder()) return;
  WaitCursor busy;
  CommandProgress progress(*this, {{derived::kListLinesCounter, SentInFrsEdit},
                                   {derived::kNextLineCounter, FrsCompEdit}},
                           {TabSheetSampSel, this});
  const FolderWriteLock lock(*this, progress);
  if (!lock.locked()) return;
  showOutcome("Other Syntactic Realizations",
              derived::findOtherRealizations(toWorking(EditSynSpec->text()), DataFolder.path(),
                                             FramesRoot, LexUnitXpObjModel, progress)
                  .outcome);
}

}  // namespace sorvanta::shell
