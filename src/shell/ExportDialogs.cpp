#include "shell/ExportDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <string_view>

#include "lexicon/ListRow.h"
#include "shell/CommandProgress.h"
#include "shell/SorvantaForm.h"
#include "text/WorkingText.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/ModalDialogs.h"
#include "widgets/ReportListView.h"
#include "widgets/TableExport.h"

namespace sorvanta::shell {

namespace {

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string utf8Of(const QString& text) { return text.toUtf8().toStdString(); }

// The format box's entries, in the order of exports::Format.
QComboBox* formatChoice(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItem("JSON Lines (.jsonl)");
  box->addItem("CoNLL (.conll)");
  return box;
}

exports::Format formatAt(const QComboBox* box) {
  return box->currentIndex() == 1 ? exports::Format::Conll : exports::Format::Jsonl;
}

// A path box with a "Browse…" button beside it.
QHBoxLayout* pathRow(QLineEdit* edit, QPushButton* browse) {
  auto* row = new QHBoxLayout;
  row->addWidget(edit, 1);
  row->addWidget(browse);
  return row;
}

QDialogButtonBox* okCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

// A command that writes outside the data folder: its stage and latest count in the status bar,
// with the progress bar and Cancel of every command. Events are let through at every count so
// Cancel answers at once (the counts are per document or lexical unit, not per line).
class StatusBarProgress : public CommandProgress {
 public:
  StatusBarProgress(TSVExplorer& window, std::string_view command)
      : CommandProgress(window, {}, {}, /*letEventsThrough=*/true), command_(utf8(command)) {
    form_.StatusBar->showMessage(command_ + "…");
  }
  ~StatusBarProgress() override { form_.StatusBar->clearMessage(); }

  void stage(std::string_view what) override {
    stage_ = utf8(what);
    form_.StatusBar->showMessage(command_ + ": " + stage_ + "…");
  }
  void count(std::string_view counter, int64_t value, std::string_view item) override {
    form_.StatusBar->showMessage(QString("%1: %2%3 %4").arg(command_,
                                                           stage_.isEmpty() ? "" : stage_ + " — ",
                                                           QString::number(value), utf8(counter)));
    CommandProgress::count(counter, value, item);
  }

 private:
  QString command_, stage_;
};

// The release folder as the exports take it, or empty after telling the user there is none.
std::string releaseFolderOf(const TSVExplorer& window, const char* caption) {
  if (window.DataFolder.empty()) {
    window.messages().show(std::string_view(caption), kNoDataFolder);
    return {};
  }
  return text::workingToUtf8(window.DataFolder.path());
}

// The exports speak UTF-8 (paths, frame names); the window's outcome display takes working
// text, as the other commands give it.
text::Outcome inWorkingText(text::Outcome outcome) {
  for (text::Notice& notice : outcome.notices) {
    notice.caption = text::utf8ToWorking(notice.caption);
    notice.text = text::utf8ToWorking(notice.text);
  }
  for (std::string& file : outcome.filesWritten) file = text::utf8ToWorking(file);
  return outcome;
}

}  // namespace

ExportDialog::ExportDialog(const std::vector<std::string>& frameNames,
                           const std::vector<int>& preselected, const widgets::Messages& messages,
                           QWidget* parent)
    : QDialog(parent), messages_(messages) {
  setWindowTitle("Export Annotation Sets");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  formatBox = formatChoice(this);
  form->addRow("&Format:", formatBox);
  layout->addLayout(form);

  allFramesButton = new QRadioButton("&All frames", this);
  chosenFramesButton = new QRadioButton("Only the frames &selected below", this);
  allFramesButton->setChecked(true);
  layout->addWidget(allFramesButton);
  layout->addWidget(chosenFramesButton);
  frameList = new QListWidget(this);
  frameList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& name : frameNames) frameList->addItem(utf8(name));
  for (int row : preselected)
    if (QListWidgetItem* item = frameList->item(row)) item->setSelected(true);
  layout->addWidget(frameList, 1);
  // Picking frames means exporting only those.
  connect(frameList, &QListWidget::itemPressed, this, [this] { chosenFramesButton->setChecked(true); });

  fileEdit = new QLineEdit(this);
  fileEdit->setPlaceholderText("the file to write");
  browseButton = new QPushButton("&Browse…", this);
  auto* fileForm = new QFormLayout;
  fileForm->addRow("&Write to:", pathRow(fileEdit, browseButton));
  layout->addLayout(fileForm);
  connect(browseButton, &QPushButton::clicked, this, [this] { chooseFile(); });

  buttons = okCancel(this);
  layout->addWidget(buttons);
  resize(460, 520);
}

std::string ExportDialog::problem() const {
  const QString file = fileEdit->text().trimmed();
  if (file.isEmpty()) return "Choose the file to write.";
  if (!QDir::isAbsolutePath(file)) return "Give the file to write as a full path.";
  if (QFileInfo(file).isDir()) return std::string("\"").append(utf8Of(file)).append("\" is a folder: choose a file.");
  if (chosenFramesButton->isChecked() && frameList->selectedItems().isEmpty())
    return "Select the frames to export, or choose all frames.";
  return {};
}

exports::ExportRequest ExportDialog::request(const std::string& releaseFolder) const {
  exports::ExportRequest request;
  request.releaseFolder = releaseFolder;
  request.format = formatAt(formatBox);
  request.outFile = utf8Of(fileEdit->text().trimmed());
  if (chosenFramesButton->isChecked()) {
    // In the list's order, whatever order they were selected in.
    for (int row = 0; row < frameList->count(); ++row)
      if (frameList->item(row)->isSelected())
        request.selection.frames.push_back(utf8Of(frameList->item(row)->text()));
  }
  return request;
}

void ExportDialog::accept() {
  if (const std::string reason = problem(); !reason.empty()) {
    messages_.show(kExportCaption, utf8(reason));
    return;
  }
  QDialog::accept();
}

void ExportDialog::chooseFile() {
  const bool conll = formatAt(formatBox) == exports::Format::Conll;
  const std::optional<QString> chosen = widgets::SaveFileDialog::execute(
      this, "Export Annotation Sets",
      conll ? "CoNLL files (*.conll)" : "JSON Lines files (*.jsonl)");
  if (chosen) fileEdit->setText(*chosen);
}

SplitDialog::SplitDialog(const widgets::Messages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
  setWindowTitle("Split Annotation Sets");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;

  seedEdit = new QLineEdit(this);
  seedEdit->setToolTip("The same release, seed and choices give the same files byte for byte.");
  newSeedButton = new QPushButton("&New", this);
  auto* seedRow = new QHBoxLayout;
  seedRow->addWidget(seedEdit, 1);
  seedRow->addWidget(newSeedButton);
  form->addRow("S&eed:", seedRow);
  connect(newSeedButton, &QPushButton::clicked, this, [this] { drawSeed(); });
  drawSeed();

  groupingBox = new QComboBox(this);
  groupingBox->addItem("Sentence", "sentence");
  groupingBox->addItem("Lexical unit", "lu");
  groupingBox->addItem("Frame", "frame");
  groupingBox->setToolTip("Units that stay whole in one split. Sets sharing a sentence text "
                          "always stay together.");
  form->addRow("&Keep together by:", groupingBox);

  auto ratio = [this](int value) {
    auto* box = new QSpinBox(this);
    box->setRange(0, 1000000);
    box->setValue(value);
    return box;
  };
  trainRatio = ratio(80);
  devRatio = ratio(10);
  testRatio = ratio(10);
  auto* ratios = new QHBoxLayout;
  for (auto [caption, box] : {std::pair{"train", trainRatio}, {"dev", devRatio}, {"test", testRatio}}) {
    ratios->addWidget(new QLabel(caption, this));
    ratios->addWidget(box);
  }
  form->addRow("&Ratios:", ratios);

  minAnnotatedBox = new QSpinBox(this);
  minAnnotatedBox->setRange(0, 999999999);
  minAnnotatedBox->setToolTip("Lexical units with fewer annotation sets are left out.");
  form->addRow("&Minimum annotated:", minAnnotatedBox);

  formatBox = formatChoice(this);
  form->addRow("&Format:", formatBox);

  folderEdit = new QLineEdit(this);
  folderEdit->setPlaceholderText("the folder to write (created when missing)");
  browseButton = new QPushButton("&Browse…", this);
  form->addRow("&Write into:", pathRow(folderEdit, browseButton));
  connect(browseButton, &QPushButton::clicked, this, [this] { chooseFolder(); });
  layout->addLayout(form);

  buttons = okCancel(this);
  layout->addWidget(buttons);
  resize(520, 0);
}

void SplitDialog::drawSeed() {
  seedEdit->setText(QString::number(QRandomGenerator::global()->generate64()));
}

std::string SplitDialog::problem() const {
  uint64_t seed = 0;
  if (!exports::seedNamed(utf8Of(seedEdit->text().trimmed()), seed))
    return "The seed must be a whole number from 0 to 18446744073709551615.";
  if (trainRatio->value() + devRatio->value() + testRatio->value() == 0)
    return "The ratios must not all be 0.";
  const QString folder = folderEdit->text().trimmed();
  if (folder.isEmpty()) return "Choose the folder to write into.";
  if (!QDir::isAbsolutePath(folder)) return "Give the folder to write into as a full path.";
  if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir())
    return std::string("\"").append(utf8Of(folder)).append("\" is a file: choose a folder.");
  return {};
}

exports::SplitRequest SplitDialog::request(const std::string& releaseFolder) const {
  exports::SplitRequest request;
  request.releaseFolder = releaseFolder;
  exports::seedNamed(utf8Of(seedEdit->text().trimmed()), request.seed);
  exports::groupingNamed(utf8Of(groupingBox->currentData().toString()), request.grouping);
  request.ratios = {trainRatio->value(), devRatio->value(), testRatio->value()};
  request.selection.minAnnotated = minAnnotatedBox->value();
  request.format = formatAt(formatBox);
  request.outFolder = utf8Of(folderEdit->text().trimmed());
  // The manifest records the command that repeats this split from a shell.
  request.commandLine = exports::splitCommandLine(request);
  return request;
}

void SplitDialog::accept() {
  if (const std::string reason = problem(); !reason.empty()) {
    messages_.show(kSplitCaption, utf8(reason));
    return;
  }
  QDialog::accept();
}

void SplitDialog::chooseFolder() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, "Write the split into", folderEdit->text());
  if (!chosen.isEmpty()) folderEdit->setText(chosen);
}

void runExportDialog(TSVExplorer& window) {
  if (window.RunningCommand) return;
  const std::string release = releaseFolderOf(window, kExportCaption);
  if (release.empty()) return;
  std::vector<std::string> frames;
  for (const lexicon::ListRow& row : window.FramesListView->rows())
    frames.push_back(row.cellUtf8(0));
  ExportDialog dialog(frames, window.FramesListView->selectedRowNumbers(), window.messages(), &window);
  if (widgets::execModal(dialog) != QDialog::Accepted) return;
  // A hook may answer without pressing OK: the choices are checked here as well.
  if (const std::string reason = dialog.problem(); !reason.empty()) {
    window.messages().show(kExportCaption, utf8(reason));
    return;
  }
  const exports::ExportRequest request = dialog.request(release);
  exports::ExportReport report;
  text::Outcome outcome;
  {
    StatusBarProgress progress(window, kExportCaption);
    outcome = exports::exportAnnotations(request, nullptr, report, progress);
  }
  window.showOutcome(kExportCaption, inWorkingText(outcome), 0, {},
                     std::to_string(report.sets) + " annotation sets");
}

void runSplitDialog(TSVExplorer& window) {
  if (window.RunningCommand) return;
  const std::string release = releaseFolderOf(window, kSplitCaption);
  if (release.empty()) return;
  SplitDialog dialog(window.messages(), &window);
  if (widgets::execModal(dialog) != QDialog::Accepted) return;
  if (const std::string reason = dialog.problem(); !reason.empty()) {
    window.messages().show(kSplitCaption, utf8(reason));
    return;
  }
  const exports::SplitRequest request = dialog.request(release);
  exports::SplitResult result;
  text::Outcome outcome;
  {
    StatusBarProgress progress(window, kSplitCaption);
    outcome = exports::writeSplit(request, result, progress);
  }
  std::string note = "seed " + std::to_string(request.seed);
  for (size_t k = 0; k < exports::kSplitNames.size(); ++k)
    note += std::string(k == 0 ? ": " : ", ") + exports::kSplitNames[k] + " " +
            std::to_string(result.counts[k].sets);
  window.showOutcome(kSplitCaption, inWorkingText(outcome), 0, {}, note + " annotation sets");
}

void installExportDialogs(TSVExplorer& window) {
  struct Entry {
    const char* name;
    const char* caption;
    void (*run)(TSVExplorer&);
  };
  for (const Entry& entry : {Entry{"ExportAction", "&Export Annotation Sets…", runExportDialog},
                             Entry{"SplitAction", "&Split Annotation Sets…", runSplitDialog}}) {
    auto* action = new QAction(entry.caption, &window);
    action->setObjectName(entry.name);
    QObject::connect(action, &QAction::triggered, &window, [&window, run = entry.run] {
      widgets::runGuarded(window.messages(), [&] { run(window); });
    });
    window.addToolsAction(action);
  }
}

}  // namespace sorvanta::shell
