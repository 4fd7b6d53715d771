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
#include <QPushButton>
#include <QTabWidget>
#include <initializer_list>
#include <utility>
#include <vector>

#include "derived/Dictionaries.h"
#include "derived/FrameFiles.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "lexicon/DataFolder.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "shell/SorvantaForm.h"
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
  void repaint(std::initializer_list<QWidget*> controls) {
    if (clock_.elapsed() < kIntervalMs) return;
    for (QWidget* control : controls) control->repaint();
    clock_.restart();
  }

 private:
  static constexpr qint64 kIntervalMs = 40;
  QElapsedTimer clock_;
};

void showCount(QLineEdit* edit, long long count) { edit->setText(QString::number(count)); }

// The hourglass for the length of a command that takes no input.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

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

class SampleCounters : public samples::SampleProgress {
 public:
  SampleCounters(QLineEdit* frames, QLineEdit* sentences) : frames_(frames), sentences_(sentences) {}
  void framesCompleted(int framesDone) override {
    showCount(frames_, framesDone);
    repainter_.repaint({frames_, sentences_});
  }
  void sentencesInFrames(int sentenceTotal) override {
    showCount(sentences_, sentenceTotal);
    repainter_.repaint({frames_, sentences_});
  }

 private:
  QLineEdit* frames_;
  QLineEdit* sentences_;
  Repainter repainter_;
};

class SubcorporaCounter : public derived::SubcorporaProgress {
 public:
  SubcorporaCounter(QLineEdit* tried, QWidget* window) : tried_(tried), window_(window) {}
  void lexUnitTried(int32_t id) override {
    showCount(tried_, id);
    repainter_.repaint({window_});
    QCoreApplication::processEvents();
  }

 private:
  QLineEdit* tried_;
  QWidget* window_;
  Repainter repainter_;
};

class RealizationsCounters : public derived::RealizationsProgress {
 public:
  RealizationsCounters(QLineEdit* lines, QLineEdit* next, QWidget* tab, QWidget* window)
      : lines_(lines), next_(next), tab_(tab), window_(window) {}
  void linesRead(size_t count) override { showCount(lines_, static_cast<long long>(count)); }
  void lineDone(size_t nextLineNumber) override {
    showCount(next_, static_cast<long long>(nextLineNumber));
    repainter_.repaint({tab_, window_});
  }

 private:
  QLineEdit* lines_;
  QLineEdit* next_;
  QWidget* tab_;
  QWidget* window_;
  Repainter repainter_;
};

class DictionaryCounters : public derived::DictionaryProgress {
 public:
  DictionaryCounters(QLineEdit* frames, QLineEdit* lexemes, QWidget* tab, QWidget* window)
      : frames_(frames), lexemes_(lexemes), tab_(tab), window_(window) {}
  void lexUnitStarting() override { repainter_.repaint({tab_, window_}); }
  void lexemeEntriesCompleted(int completed) override { showCount(lexemes_, completed); }
  void framesCompleted(int completed) override { showCount(frames_, completed); }

 private:
  QLineEdit* frames_;
  QLineEdit* lexemes_;
  QWidget* tab_;
  QWidget* window_;
  Repainter repainter_;
};

}  // namespace

std::vector<QWidget*> TSVExplorer::commandControls() const {
  return {FramesListView,   LexUnitListView,    EditLexUnitFind, ComboBoxSubCorp,
          SentAdvStringGrid, FEListView,        SelSampleButton, LdTrngSetButton,
          CrFrameFilesButton, CrDictsButton,    ButtonSelSubCorp, ButtonOthSyn};
}

std::string TSVExplorer::studyFolder() const {
  std::string folder = SettingsHandle ? SettingsHandle->readString(lexicon::kLocationSetting) : "";
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool TSVExplorer::haveDataFolder(const std::string& folder) const {
  if (!folder.empty()) return true;
  // Without it the files would land in whatever folder the program was started from.
  messages_.show(lexicon::kProgramCaption, kNoDataFolder);
  return false;
}

void TSVExplorer::SelSampleButtonClick() {
  if (!haveDataFolder(DataFolder)) return;
  samples::SampleRequest request;
  request.low = LowAnnUpDown->shownPosition();
  request.high = HiAnnUpDown->shownPosition();
  request.numFramesText = toWorking(NumFramesEdit->text());
  request.numSentsText = toWorking(NumSentsEdit->text());
  request.provideFes = ProvAnsCheckBox->isChecked();
  request.seed = SampleSeed();
  WaitCursor busy;
  SampleCounters counters(FrsCompEdit, SentInFrsEdit);
  const samples::SampleResult result = samples::selectSample(
      request, FramesListView->rows(), FramesRoot, DataFolder,
      {TrainingXpObjModel, TestXpObjModel, LexUnitXpObjModel}, &counters);
  if (!result.refusal.empty()) messages_.show(lexicon::kProgramCaption, result.refusal);
}

void TSVExplorer::LdTrngSetButtonClick() {
  if (!haveDataFolder(DataFolder)) return;
  const samples::TrainingSetLoad load = samples::loadTrainingSet(TrainingXpObjModel, DataFolder);
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
  if (!haveDataFolder(DataFolder)) return;
  std::vector<std::string> checked;
  for (int i = 0; i < TrgFrCheckListBox->count(); ++i) {
    const QListWidgetItem* item = TrgFrCheckListBox->item(i);
    if (item->checkState() == Qt::Checked) checked.push_back(toWorking(item->text()));
  }
  WaitCursor busy;
  const std::string refusal = derived::createFrameFiles(
      checked, DataFolder, {TrainingXpObjModel, TestXpObjModel, LexUnitXpObjModel}, nullptr);
  if (!refusal.empty()) messages_.show(lexicon::kProgramCaption, refusal);
}

void TSVExplorer::CrDictsButtonClick() {
  if (!haveDataFolder(DataFolder)) return;
  WaitCursor busy;
  LabelSentsInFrames->setText(toQString(derived::kLexemesInFramesCaption));
  DictionaryCounters counters(FrsCompEdit, SentInFrsEdit, TabSheetSampSel, this);
  derived::createDictionaries(FramesRoot, RelationsRoot, DataFolder,
                              CheckBoxFramesOnly->isChecked(), {DictXpObjModel, XpObjModelLexEnt},
                              &counters);
  // A file that cannot be written ends the command above and leaves the running caption.
  LabelSentsInFrames->setText(toQString(derived::kSentencesInFramesCaption));
}

void TSVExplorer::ButtonSelSubCorpClick() {
  const derived::SubcorporaRequest request{toWorking(LowAnnEdit->text()),
                                           toWorking(HiAnnEdit->text()),
                                           toWorking(EditSynSpec->text()), studyFolder()};
  if (!haveDataFolder(request.folder)) return;
  CommandsPaused paused(commandControls());
  SubcorporaCounter counter(FrsCompEdit, this);
  const derived::SubcorporaResult result =
      derived::selectSubcorpora(request, LexUnitXpObjModel, &counter);
  if (result.refused) messages_.show(result.refused->caption, result.refused->text);
}

void TSVExplorer::ButtonOthSynClick() {
  const std::string folder = studyFolder();
  if (!haveDataFolder(folder)) return;
  WaitCursor busy;
  RealizationsCounters counters(SentInFrsEdit, FrsCompEdit, TabSheetSampSel, this);
  const derived::RealizationsResult result = derived::findOtherRealizations(
      toWorking(EditSynSpec->text()), folder, FramesRoot, LexUnitXpObjModel, &counters);
  if (result.message) messages_.show(result.message->caption, result.message->text);
}

}  // namespace sorvanta::shell
