// The commands of the "Sample Selection" tab: the evaluation sample, its frame files, the
// dictionaries and the preposition study. Each handler reads the controls, runs the command
// of the lower layers and shows its progress in the tab's two counters.
#include <QApplication>
#include <QByteArray>
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
#include <string>
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
#include "shell/CommandProgress.h"
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

// The hourglass for the length of a command that takes no input.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
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
  // The seed repeats the draw: sorvanta sample ... --seed S writes the same five files.
  showOutcome("Select Sample", result.outcome, result.messages.size(), samples::kMessagesFile,
              "seed " + std::to_string(request.seed));
}

void TSVExplorer::LdTrngSetButtonClick() {
  if (!haveDataFolder()) return;
  const samples::TrainingSetLoad load =
      samples::loadTrainingSet(TrainingXpObjModel, DataFolder.path());
  if (!load.loaded) {
    messages_.show(lexicon::kProgramCaption, load.message);
    return;
  }
  for (const text::ShownText& name : load.frameNamesShown) {
    // Shown in full Unicode; the command gets the working text kept beside it.
    auto* item = new QListWidgetItem(toQString(name), TrgFrCheckListBox);
    item->setData(Qt::UserRole, QByteArray::fromStdString(name.working));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}

void TSVExplorer::CrFrameFilesButtonClick() {
  if (!haveDataFolder()) return;
  std::vector<std::string> checked;
  for (int i = 0; i < TrgFrCheckListBox->count(); ++i) {
    const QListWidgetItem* item = TrgFrCheckListBox->item(i);
    if (item->checkState() == Qt::Checked)
      checked.push_back(item->data(Qt::UserRole).toByteArray().toStdString());
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
