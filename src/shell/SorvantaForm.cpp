#include "shell/SorvantaForm.h"

#include <QAction>
#include <QByteArray>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/LexUnitDocument.h"
#include "lexicon/ListSort.h"
#include "shell/ExportDialogs.h"
#include "shell/RelationsGraphWindow.h"
#include "shell/ReportWindows.h"
#include "shell/SearchTab.h"
#include "shell/SVEAbout.h"
#include "shell/SentFrames.h"
#include "views/FrameElementsView.h"
#include "views/FrameView.h"
#include "views/SentenceFrameElements.h"
#include "views/SentencesView.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/HelpViewer.h"
#include "widgets/ModalDialogs.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"
#include "widgets/UpDown.h"

namespace sorvanta::shell {

using widgets::toQString;
using widgets::toWorking;

namespace {

// A slot that runs a handler through the application's error display.
template <class... Args>
auto command(TSVExplorer* form, void (TSVExplorer::*handler)(Args...)) {
  return [form, handler](Args... args) {
    widgets::runGuarded(form->messages(), [&] { (form->*handler)(args...); });
  };
}

int gridRows(size_t count) { return static_cast<int>(std::max<size_t>(count, 1)); }

// A choice shown in full Unicode that keeps both its texts, to be found again by them.
constexpr int kUnicodeRole = Qt::UserRole + 1;

void addShownItem(QComboBox* box, const text::ShownText& entry) {
  box->addItem(toQString(entry), QByteArray::fromStdString(entry.working));
  box->setItemData(box->count() - 1, QByteArray::fromStdString(entry.unicode), kUnicodeRole);
}

text::ShownText currentShownItem(const QComboBox* box) {
  return {box->currentData().toByteArray().toStdString(),
          box->currentData(kUnicodeRole).toByteArray().toStdString()};
}

}  // namespace

TSVExplorer::TSVExplorer(QWidget* parent)
    : QWidget(parent),
      SVOpenDialog(toQString(lexicon::kChooserTitle), toQString(lexicon::kChooserFilterCaption)),
      messages_(this),
      executableFolder_(toWorking(QCoreApplication::applicationDirPath()) + "/") {
  TrainingXpObjModel.FormattedOutput = true;
  TestXpObjModel.FormattedOutput = true;
  DictXpObjModel.FormattedOutput = true;
  buildControls();
  connectHandlers();
  connectFrameHandlers();
  installReportWindows(*this);
  installExportDialogs(*this);
  SearchPage = installSearchTab(*this);
  if (const QScreen* shownOn = screen())
    move(shownOn->availableGeometry().center() - rect().center());
  restoreWindowState();
}

TSVExplorer::~TSVExplorer() = default;

void TSVExplorer::connectHandlers() {
  connect(FramesListView, &widgets::ReportListView::mouseClicked, this,
          command(this, &TSVExplorer::FramesListViewClick));
  connect(FramesListView, &widgets::ReportListView::headerClicked, this,
          command(this, &TSVExplorer::FramesListViewColumnClick));
  connect(LexUnitListView, &widgets::ReportListView::mouseClicked, this,
          command(this, &TSVExplorer::LexUnitListViewClick));
  connect(LexUnitListView, &widgets::ReportListView::headerClicked, this,
          command(this, &TSVExplorer::LexUnitListViewColumnClick));
  connect(EditLexUnitFind, &QLineEdit::textChanged, this,
          command(this, &TSVExplorer::EditLexUnitFindChange));
  connect(ComboBoxSubCorp, &QComboBox::activated, this,
          command(this, &TSVExplorer::ComboBoxSubCorpChange));
  connect(SentAdvStringGrid, &widgets::StringGrid::cellClickedAt, this,
          command(this, &TSVExplorer::SentAdvStringGridClickCell));
  connect(SentAdvStringGrid, &widgets::StringGrid::cellRightClicked, this,
          command(this, &TSVExplorer::SentAdvStringGridRightClickCell));
  connect(SentAdvStringGrid, &widgets::StringGrid::popupRequested, PopupMenuSentView,
          [this](const QPoint& at) { PopupMenuSentView->popup(at); });
  connect(MenuItemShowFEs, &QAction::triggered, this,
          command(this, &TSVExplorer::MenuItemShowFEsClick));
  connect(FEListView, &widgets::ReportListView::mouseClicked, this,
          command(this, &TSVExplorer::FEListViewClick));
  connectReleaseTools();
  const std::pair<QPushButton*, void (TSVExplorer::*)()> buttons[] = {
      {SelSampleButton, &TSVExplorer::SelSampleButtonClick},
      {LdTrngSetButton, &TSVExplorer::LdTrngSetButtonClick},
      {CrFrameFilesButton, &TSVExplorer::CrFrameFilesButtonClick},
      {CrDictsButton, &TSVExplorer::CrDictsButtonClick},
      {ButtonSelSubCorp, &TSVExplorer::ButtonSelSubCorpClick},
      {ButtonOthSyn, &TSVExplorer::ButtonOthSynClick},
      {ButtonHelp, &TSVExplorer::ButtonHelpClick},
      {ButtonFeedback, &TSVExplorer::ButtonFeedbackClick},
      {ButtonAbout, &TSVExplorer::ButtonAboutClick},
  };
  for (const auto& [control, handler] : buttons)
    connect(control, &QPushButton::clicked, this, command(this, handler));
  widgets::installHelpShortcut(this);
  installRelationsGraphMenus();
}

void TSVExplorer::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  widgets::runGuarded(messages_, [this] { FormShow(); });
}

void TSVExplorer::closeEvent(QCloseEvent* event) {
  // A running command lets events through; it is cancelled and ends before the window does.
  if (RunningCommand) {
    RunningCommand->cancel();
    event->ignore();
    return;
  }
  saveWindowState();
  QWidget::closeEvent(event);
  // A splash left by a start-up that stopped goes with the window, so the program can end.
  closeSplash();
}

// Frames view.

void TSVExplorer::FramesListViewClick() {
  const lexicon::ListRow* row = FramesListView->singleSelectedRow();
  if (!row) return;
  const views::FrameView view = views::frameView(row->data, RelationsRoot);
  FrameNameEdit->setText(toQString(view.name, view.nameUnicode));
  FrDefMemo->setPlainText(toQString(view.description, view.descriptionUnicode));

  FEAdvStringGrid->clearCells();
  FEAdvStringGrid->setGridRowCount(gridRows(view.elements.size()));
  FEAdvStringGrid->setColumnWidth(1, 244);
  for (size_t i = 0; i < view.elements.size(); ++i) {
    const views::FrameElementRow& element = view.elements[i];
    FEAdvStringGrid->setCell(0, static_cast<int>(i), element.nameAndType, element.nameAndTypeUnicode);
    FEAdvStringGrid->setCell(1, static_cast<int>(i), element.definition, element.definitionUnicode);
  }
  FEAdvStringGrid->fitRowsToText();

  LexemeMemo->setPlainText(toQString(view.lexemes, view.lexemesUnicode));
  noteVisit(views::Visit::Kind::Frame, view.name);

  Fr2FrAdvStringGrid->clearCells();
  Fr2FrAdvStringGrid->setGridRowCount(gridRows(view.relations.size()));
  for (size_t k = 0; k < view.relations.size(); ++k) {
    Fr2FrAdvStringGrid->setCell(0, static_cast<int>(k), view.relations[k].label);
    Fr2FrAdvStringGrid->setCell(1, static_cast<int>(k), view.relations[k].names,
                                view.relations[k].namesUnicode);
  }
  Fr2FrAdvStringGrid->fitRowsToText();
}

void TSVExplorer::FramesListViewColumnClick(int column) {
  SortColumn = column;
  // Orders as FramesListViewCompare does, converting each integer cell once.
  FramesListView->sortRows(
      [this](std::vector<lexicon::ListRow>& rows) { lexicon::sortFramesRows(rows, SortColumn); });
}

int TSVExplorer::FramesListViewCompare(const lexicon::ListRow& row1,
                                       const lexicon::ListRow& row2) const {
  return lexicon::compareFramesRows(row1, row2, SortColumn);
}

// Lexical units and their sentences.

void TSVExplorer::LexUnitListViewClick() {
  const lexicon::ListRow* selected = LexUnitListView->singleSelectedRow();
  if (!selected) return;
  const lexicon::ListRow row = *selected;
  SelectedSentenceRow = -1;
  EditLexUnitFind->setText(widgets::cellText(row, lexicon::kLuName));
  showLexUnit(row);
  noteVisit(views::Visit::Kind::LexUnit, row.cell(lexicon::kLuId));
}

void TSVExplorer::LexUnitListViewColumnClick(int column) {
  SortColumn = column;
  // Orders as LexUnitListViewCompare does, converting each integer cell once.
  LexUnitListView->sortRows(
      [this](std::vector<lexicon::ListRow>& rows) { lexicon::sortLexUnitRows(rows, SortColumn); });
}

int TSVExplorer::LexUnitListViewCompare(const lexicon::ListRow& row1,
                                        const lexicon::ListRow& row2) const {
  return lexicon::compareLexUnitRows(row1, row2, SortColumn);
}

void TSVExplorer::EditLexUnitFindChange() {
  const std::optional<size_t> found =
      lexicon::findCaptionPrefix(LexUnitListView->rows(), toWorking(EditLexUnitFind->text()));
  if (found) LexUnitListView->scrollRowIntoView(static_cast<int>(*found));
}

void TSVExplorer::showLexUnit(const lexicon::ListRow& row) {
  const lexicon::AnnotationLoad load = lexicon::loadLexUnitAnnotation(
      ShownLexUnitXpObjModel, DataFolder.path(), row.cell(lexicon::kLuId));
  const auto shownCell = [&row](int column) {
    const std::string* unicode = row.unicodeCell(column);
    return text::ShownText{std::string(row.cell(column)), unicode ? *unicode : std::string()};
  };
  shownFrame_ = shownCell(lexicon::kLuFrameName);
  shownLexUnit_ = shownCell(lexicon::kLuName);
  const xml::TXpNode* root =
      load.loaded ? ShownLexUnitXpObjModel.Document()->docGetDocumentElement() : nullptr;
  showSentenceRows(views::sentenceRowsShown(root));
  ComboBoxSubCorp->clear();
  for (const text::ShownText& entry : views::subcorpusEntriesShown(root))
    addShownItem(ComboBoxSubCorp, entry);
  ComboBoxSubCorp->setCurrentIndex(-1);
  if (!load.loaded) messages_.show(lexicon::kProgramCaption, load.message);
}

void TSVExplorer::showSentenceRows(const std::vector<text::ShownText>& rows) {
  SentAdvStringGrid->clearCells();
  SentAdvStringGrid->setGridRowCount(gridRows(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i)
    SentAdvStringGrid->setCell(0, static_cast<int>(i), rows[i].working, rows[i].unicode);
  SentAdvStringGrid->fitRowsToText();
}

void TSVExplorer::ComboBoxSubCorpChange() {
  if (ComboBoxSubCorp->currentIndex() < 0) return;
  showSentenceRows(
      views::subcorpusSentenceRowsShown(ShownLexUnitXpObjModel.Document()->docGetDocumentElement(),
                                   currentShownItem(ComboBoxSubCorp)));
}

void TSVExplorer::SentAdvStringGridClickCell(int row, int /*column*/) { SelectedSentenceRow = row; }

void TSVExplorer::SentAdvStringGridRightClickCell(int row, int /*column*/) {
  SelectedSentenceRow = row;
}

void TSVExplorer::MenuItemShowFEsClick() {
  if (!LexUnitListView->singleSelectedRow()) return;
  std::optional<views::SentenceFrameElements> content = views::sentenceFrameElements(
      ShownLexUnitXpObjModel.Document()->docGetDocumentElement(),
      SentAdvStringGrid->cell(0, SelectedSentenceRow), shownFrame_.working, shownLexUnit_.working);
  // No clicked row, a row naming no sentence, or no Target label: nothing to show.
  if (!content) return;
  content->frameUnicode = shownFrame_.unicode;
  content->lexicalUnitUnicode = shownLexUnit_.unicode;
  TFormSentFEs dialog(this);
  dialog.fill(*content);
  widgets::execModal(dialog);
}

// Frame elements view.

void TSVExplorer::FEListViewClick() {
  const lexicon::ListRow* row = FEListView->singleSelectedRow();
  if (!row) return;
  const std::vector<views::FrameElementDefinitionRow> found =
      views::frameElementDefinitions(FramesRoot, row->caption(),
                                     row->unicodeCell(0) ? *row->unicodeCell(0) : std::string());
  FEDefsAdvStringGrid->clearCells(1);
  FEDefsAdvStringGrid->setGridRowCount(1 + gridRows(found.size()));
  for (size_t i = 0; i < found.size(); ++i) {
    const int gridRow = static_cast<int>(i) + 1;
    FEDefsAdvStringGrid->setCell(0, gridRow, found[i].element, found[i].elementUnicode);
    FEDefsAdvStringGrid->setCell(1, gridRow, found[i].frame, found[i].frameUnicode);
    FEDefsAdvStringGrid->setCell(2, gridRow, found[i].type);
    FEDefsAdvStringGrid->setCell(3, gridRow, found[i].definition, found[i].definitionUnicode);
  }
  FEDefsAdvStringGrid->fitRowsToText();
}

// Help, feedback and about.

void TSVExplorer::ButtonHelpClick() { widgets::HelpViewer::instance(this).showContents(); }

void TSVExplorer::ButtonFeedbackClick() {
  widgets::HelpViewer::instance(this).showContext(kHelpFeedback);
}

void TSVExplorer::ButtonAboutClick() {
  TAboutBox about(nullptr);
  about.Comments->setText(kMakerAddress);
  widgets::execModal(about);
}

}  // namespace sorvanta::shell
