// The main window's release tools: the release check and the comparison with another
// release, each in a ReleaseFindingsWindow whose double-clicks come back here.
#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QTabWidget>

#include "shell/ReleaseFindingsWindow.h"
#include "shell/SorvantaForm.h"
#include "text/WorkingText.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"

namespace sorvanta::shell {

void TSVExplorer::connectReleaseTools() {
  if (!ChooseOtherRelease)
    ChooseOtherRelease = [this] {
      return QFileDialog::getExistingDirectory(this, tr("Compare with Release"))
          .toUtf8()
          .toStdString();
    };
  auto* check = new QAction(tr("&Check Release"), this);
  check->setShortcut(QKeySequence(tr("Ctrl+Shift+K")));
  connect(check, &QAction::triggered, this, &TSVExplorer::CheckReleaseClick);
  addToolsAction(check);
  auto* compare = new QAction(tr("Compare with &Release\u2026"), this);
  compare->setShortcut(QKeySequence(tr("Ctrl+Shift+D")));
  connect(compare, &QAction::triggered, this, &TSVExplorer::CompareWithReleaseClick);
  addToolsAction(compare);
}

namespace {

// Routes a findings window's double-clicks to the main window.
void followFrom(ReleaseFindingsWindow* window, TSVExplorer* form) {
  QObject::connect(window, &ReleaseFindingsWindow::frameWanted, form, [form](const QString& name) {
    form->showFrameNamed(text::utf8ToWorking(name.toUtf8().toStdString()));
  });
  QObject::connect(window, &ReleaseFindingsWindow::lexUnitWanted, form,
                   [form](qint64 id) { form->showLexUnitWithId(id); });
  window->show();
}

}  // namespace

void TSVExplorer::CheckReleaseClick() {
  if (DataFolder.empty()) return;  // no release loaded: nothing to check
  followFrom(openCheckWindow(text::workingToUtf8(DataFolder.path()), this), this);
}

void TSVExplorer::CompareWithReleaseClick() {
  if (DataFolder.empty()) return;
  const std::string other = ChooseOtherRelease();
  if (other.empty()) return;
  // The chosen release is the old one: the table lists what the loaded release changed.
  followFrom(openDiffWindow(other, text::workingToUtf8(DataFolder.path()), this), this);
}

bool TSVExplorer::showFrameNamed(const std::string& name) {
  const std::vector<lexicon::ListRow>& rows = FramesListView->rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].caption() != name) continue;
    FramesListView->selectOnly(static_cast<int>(i));
    FramesListView->scrollRowIntoView(static_cast<int>(i));
    FramesListViewClick();
    PageControl1->setCurrentWidget(FramesTabSheet);
    activateWindow();
    return true;
  }
  return false;
}

bool TSVExplorer::showLexUnitWithId(int64_t id) {
  const std::string wanted = std::to_string(id);
  const std::vector<lexicon::ListRow>& rows = LexUnitListView->rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].cell(2) != wanted) continue;  // cell 2: LU-ID
    LexUnitListView->selectOnly(static_cast<int>(i));
    LexUnitListView->scrollRowIntoView(static_cast<int>(i));
    LexUnitListViewClick();
    PageControl1->setCurrentWidget(LexUnitsTabSheet);
    activateWindow();
    return true;
  }
  return false;
}

}  // namespace sorvanta::shell
