// What surrounds the designed controls of the main window: the menu bar, the status bar, the
// keyboard shortcuts, opening another release, navigation between frames and lexical units,
// and the window's size, splitters and column widths kept in the settings store.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QStringList>
#include <QTabWidget>
#include <QUrl>
#include <sstream>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "shell/SorvantaForm.h"
#include "text/FileIO.h"
#include "text/OutcomeSummary.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"

namespace sorvanta::shell {

using widgets::toQString;
using widgets::toWorking;

namespace {

// The designed size: at it (or below) every control keeps its designed widths.
constexpr int kDesignedWidth = 770;
constexpr int kDesignedHeight = 558;
constexpr int kTabShortcuts = 5;

// Settings keys of the window's state, beside the data folder.
constexpr std::string_view kGeometryKey = "Window/Geometry";
constexpr std::string_view kSplitterKey = "Window/Splitter/";
constexpr std::string_view kColumnsKey = "Window/Columns/";

template <class Handler>
auto guarded(TSVExplorer* form, Handler handler) {
  return [form, handler] { widgets::runGuarded(form->messages(), [&] { handler(); }); };
}

std::string joinWidths(const std::vector<int>& widths) {
  std::string joined;
  for (const int width : widths) {
    if (!joined.empty()) joined += ',';
    joined += std::to_string(width);
  }
  return joined;
}

std::vector<int> splitWidths(const std::string& joined) {
  std::vector<int> widths;
  std::stringstream in(joined);
  std::string item;
  while (std::getline(in, item, ',')) {
    try {
      widths.push_back(std::stoi(item));
    } catch (const std::exception&) {
      return {};  // a damaged entry: the designed widths stay
    }
  }
  return widths;
}

QString htmlEscaped(std::string_view working) { return toQString(working).toHtmlEscaped(); }

}  // namespace

void TSVExplorer::buildMenuBar() {
  MenuBar = new QMenuBar(this);
  MenuBar->setObjectName("MenuBar");
  // Mnemonics that the designed buttons (&Help, &Feedback, &About) do not use.
  FileMenu = MenuBar->addMenu("Fi&le");
  OpenReleaseAction = FileMenu->addAction("&Open Release…");
  OpenReleaseAction->setShortcut(QKeySequence::Open);
  RecentMenu = FileMenu->addMenu("&Recent Releases");
  RecentMenu->setObjectName("RecentMenu");
  FileMenu->addSeparator();
  QuitAction = FileMenu->addAction("&Quit");
  QuitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  ViewMenu = MenuBar->addMenu("&View");
  for (int i = 0; i < kTabShortcuts; ++i) {
    QAction* action = ViewMenu->addAction(QString("Tab %1").arg(i + 1));
    action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + i)));
    connect(action, &QAction::triggered, this, [this, i] {
      if (i < PageControl1->count()) PageControl1->setCurrentIndex(i);
    });
    TabActions.push_back(action);
  }
  ViewMenu->addSeparator();
  BackAction = ViewMenu->addAction("&Back");
  BackAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  ForwardAction = ViewMenu->addAction("&Forward");
  ForwardAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  BackAction->setEnabled(false);
  ForwardAction->setEnabled(false);

  ToolsMenu = MenuBar->addMenu("&Tools");
  ToolsMenu->menuAction()->setVisible(false);

  HelpMenu = MenuBar->addMenu("Hel&p");
  connect(HelpMenu->addAction("Help &Contents"), &QAction::triggered, this,
          guarded(this, [this] { ButtonHelpClick(); }));
  connect(HelpMenu->addAction("Send &Feedback"), &QAction::triggered, this,
          guarded(this, [this] { ButtonFeedbackClick(); }));
  connect(HelpMenu->addAction("&About"), &QAction::triggered, this,
          guarded(this, [this] { ButtonAboutClick(); }));

  // Shortcuts work whichever control has the focus, with the menu bar shown or not.
  addActions({OpenReleaseAction, QuitAction, BackAction, ForwardAction});
  for (QAction* action : TabActions) addAction(action);

  RelatedFramesMenu = new QMenu(this);
  RelatedFramesMenu->setObjectName("RelatedFramesMenu");
}

void TSVExplorer::buildStatusBar() {
  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(true);
  ReleaseLabel = new QLabel(StatusBar);
  ReleaseLabel->setObjectName("ReleaseLabel");
  SummaryLabel = new QLabel(StatusBar);
  SummaryLabel->setObjectName("SummaryLabel");
  SummaryLabel->setTextFormat(Qt::RichText);
  SummaryLabel->setOpenExternalLinks(true);
  SummaryLabel->setTextInteractionFlags(Qt::TextBrowserInteraction);
  CommandProgressBar = new QProgressBar(StatusBar);
  CommandProgressBar->setObjectName("CommandProgressBar");
  CommandProgressBar->setRange(0, 0);  // the commands report counts, not shares of a total
  CommandProgressBar->setMaximumWidth(160);
  CancelButton = new QPushButton("Cancel", StatusBar);
  CancelButton->setObjectName("CancelButton");
  OpenReleaseButton = new QPushButton("Open Release…", StatusBar);
  OpenReleaseButton->setObjectName("OpenReleaseButton");
  StatusBar->addWidget(ReleaseLabel);
  StatusBar->addWidget(SummaryLabel, 1);
  StatusBar->addPermanentWidget(OpenReleaseButton);
  StatusBar->addPermanentWidget(CommandProgressBar);
  StatusBar->addPermanentWidget(CancelButton);
  CommandProgressBar->hide();
  CancelButton->hide();
  OpenReleaseButton->hide();
}

void TSVExplorer::connectFrameHandlers() {
  connect(OpenReleaseAction, &QAction::triggered, this, guarded(this, [this] { OpenReleaseClick(); }));
  connect(OpenReleaseButton, &QPushButton::clicked, this, guarded(this, [this] { OpenReleaseClick(); }));
  connect(QuitAction, &QAction::triggered, this, &QWidget::close);
  connect(RecentMenu, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
  connect(ViewMenu, &QMenu::aboutToShow, this, [this] {
    for (int i = 0; i < kTabShortcuts; ++i) {
      const bool present = i < PageControl1->count();
      TabActions[size_t(i)]->setVisible(present);
      if (present) TabActions[size_t(i)]->setText(PageControl1->tabText(i));
    }
  });
  connect(BackAction, &QAction::triggered, this,
          guarded(this, [this] { goInHistory(HistoryStep::Back); }));
  connect(ForwardAction, &QAction::triggered, this,
          guarded(this, [this] { goInHistory(HistoryStep::Forward); }));
  connect(CancelButton, &QPushButton::clicked, this, [this] {
    if (RunningCommand) RunningCommand->cancel();
  });

  // A selection moved by the keyboard shows as a click would, once the keys pause; Enter at once.
  const std::pair<widgets::ReportListView*, void (TSVExplorer::*)()> lists[] = {
      {FramesListView, &TSVExplorer::FramesListViewClick},
      {LexUnitListView, &TSVExplorer::LexUnitListViewClick},
      {FEListView, &TSVExplorer::FEListViewClick}};
  for (const auto& [list, handler] : lists) {
    connect(list, &widgets::ReportListView::keyboardSettled, this,
            guarded(this, [this, h = handler] { (this->*h)(); }));
    connect(list, &widgets::ReportListView::enterPressed, this,
            guarded(this, [this, h = handler] { (this->*h)(); }));
  }
  connect(Fr2FrAdvStringGrid, &widgets::StringGrid::cellActivated, this, [this](int row, int column) {
    widgets::runGuarded(messages_, [&] { Fr2FrAdvStringGridActivate(row, column); });
  });
  connect(FEDefsAdvStringGrid, &widgets::StringGrid::cellActivated, this, [this](int row, int column) {
    widgets::runGuarded(messages_, [&] { FEDefsAdvStringGridActivate(row, column); });
  });
}

void TSVExplorer::addToolsAction(QAction* action) {
  ToolsMenu->addAction(action);
  addAction(action);  // its shortcut works without opening the menu
  ToolsMenu->menuAction()->setVisible(true);
}

// Releases.

void TSVExplorer::fillRecentMenu() {
  RecentMenu->clear();
  if (!SettingsHandle) SettingsHandle = std::make_unique<settings::QtSettingsStore>();
  const std::vector<std::string> recent = lexicon::recentReleases(*SettingsHandle);
  if (recent.empty()) RecentMenu->addAction("(none)")->setEnabled(false);
  for (const std::string& folder : recent) {
    QAction* action = RecentMenu->addAction(toQString(folder));
    connect(action, &QAction::triggered, this,
            guarded(this, [this, folder] { openRelease(lexicon::ReleaseFolder(folder)); }));
  }
}

void TSVExplorer::OpenReleaseClick() {
  const std::optional<QString> chosen = SVOpenDialog.execute(this);
  if (!chosen) return;
  const std::optional<lexicon::ReleaseFolder> folder =
      lexicon::releaseOfFramesFile(toWorking(*chosen));
  if (!folder || folder->empty()) {
    messages_.show(toQString(lexicon::kProgramCaption),
                   "\"" + *chosen + "\" is not the frames document of a release. Choose the "
                   "file frames.xml in the folder frXML of a release folder.");
    return;
  }
  openRelease(*folder);
}

void TSVExplorer::openRelease(const lexicon::ReleaseFolder& folder) {
  if (!text::fileExists(folder.frames())) {
    messages_.show(toQString(lexicon::kProgramCaption),
                   "The frames document \"" + toQString(folder.frames()) +
                       "\" does not exist. The release shown stays open.");
    return;
  }
  clearReleaseViews();
  DataFolder = lexicon::ReleaseFolder();
  if (!loadFramesDocument(folder.frames(), "No release is open now: choose another one.")) {
    offerOpenRelease();
    return;
  }
  DataFolder = folder;
  if (!SettingsHandle) SettingsHandle = std::make_unique<settings::QtSettingsStore>();
  lexicon::rememberRelease(*SettingsHandle, DataFolder);
  showLoadedRelease();
}

void TSVExplorer::clearReleaseViews() {
  FramesRoot = nullptr;
  RelationsRoot = nullptr;
  FramesListView->setRows({});
  LexUnitListView->setRows({});
  FEListView->setRows({});
  NumFrEdit->clear();
  AnnTotEdit->clear();
  NumFEsEdit->clear();
  FrameNameEdit->clear();
  EditLexUnitFind->blockSignals(true);
  EditLexUnitFind->clear();
  EditLexUnitFind->blockSignals(false);
  ComboBoxSubCorp->clear();
  SentAdvStringGrid->clearCells();
  SentAdvStringGrid->setGridRowCount(1);
  FEDefsAdvStringGrid->clearCells(1);
  FEDefsAdvStringGrid->setGridRowCount(2);
  TrgFrCheckListBox->clear();
  SelectedSentenceRow = -1;
  shownFrame_ = {};
  shownLexUnit_ = {};
  history_.clear();
  updateHistoryActions();
  SummaryLabel->clear();
}

void TSVExplorer::offerOpenRelease() {
  closeSplash();
  ReleaseLabel->setText("No release is open. Choose File › Open Release… (Ctrl+O).");
  OpenReleaseButton->show();
}

void TSVExplorer::showReleaseStatus() {
  OpenReleaseButton->hide();
  ReleaseLabel->setText(QString("%1 — %2 frames, %3 lexical units, %4 annotated sentences")
                            .arg(toQString(DataFolder.path()))
                            .arg(FramesListView->rows().size())
                            .arg(LexUnitListView->rows().size())
                            .arg(AnnTotEdit->text()));
}

void TSVExplorer::showOutcome(std::string_view command, const text::Outcome& outcome,
                              size_t messageLines, std::string_view messagesFile,
                              std::string_view note) const {
  QStringList warnings;
  for (const text::Notice& notice : outcome.notices) {
    if (notice.severity == text::Severity::Error) messages_.show(notice.caption, notice.text);
    if (notice.severity == text::Severity::Warning) warnings << toQString(notice.text);
  }
  if (!warnings.isEmpty()) {
    // One summary for all warnings (a damaged release may name hundreds of documents).
    constexpr int kListed = 20;
    QString shown = outcome.status == text::Outcome::Status::Done
                        ? QString("The command finished with %1 warning(s):\n\n")
                        : QString("%1 warning(s):\n\n");
    shown = shown.arg(warnings.size());
    shown += warnings.mid(0, kListed).join("\n");
    if (warnings.size() > kListed)
      shown += QString("\n... and %1 more.").arg(warnings.size() - kListed);
    messages_.show(toQString(lexicon::kProgramCaption), shown);
  }
  text::OutcomeSummary summary =
      text::summarizeOutcome(command, outcome, messageLines, messagesFile);
  if (outcome.done() && !note.empty()) summary.text += "; " + std::string(note);
  QString shown = htmlEscaped(summary.text);
  if (!summary.folder.empty()) {
    const QString folder = htmlEscaped(summary.folder);
    const QString link = QUrl::fromLocalFile(toQString(summary.folder)).toString(QUrl::FullyEncoded);
    shown.replace(folder, QString("<a href=\"%1\">%2</a>").arg(link.toHtmlEscaped(), folder));
  }
  SummaryLabel->setText(shown);
}

// Navigation.

bool TSVExplorer::selectFrameNamed(std::string_view name) {
  const int row = FramesListView->rowWhere(0, name);
  if (row < 0) {
    SummaryLabel->setText("No frame named \"" + htmlEscaped(name) + "\" in this release.");
    return false;
  }
  FramesListView->selectOnly(row);
  FramesListView->scrollRowIntoView(row);
  FramesListViewClick();
  PageControl1->setCurrentWidget(FramesTabSheet);
  return true;
}

bool TSVExplorer::selectLexUnitWithId(std::string_view id) {
  const int row = LexUnitListView->rowWhere(lexicon::kLuId, id);
  if (row < 0) return false;
  LexUnitListView->selectOnly(row);
  LexUnitListView->scrollRowIntoView(row);
  LexUnitListViewClick();
  PageControl1->setCurrentWidget(LexUnitsTabSheet);
  return true;
}

void TSVExplorer::noteVisit(views::Visit::Kind kind, std::string_view key) {
  if (navigating_ || key.empty()) return;
  history_.visit({kind, std::string(key)});
  updateHistoryActions();
}

void TSVExplorer::goInHistory(HistoryStep step) {
  const std::optional<views::Visit> visit =
      step == HistoryStep::Back ? history_.back() : history_.forward();
  if (!visit) return;
  navigating_ = true;
  if (visit->kind == views::Visit::Kind::Frame) {
    selectFrameNamed(visit->key);
  } else {
    selectLexUnitWithId(visit->key);
  }
  navigating_ = false;
  updateHistoryActions();
}

void TSVExplorer::updateHistoryActions() {
  BackAction->setEnabled(history_.canGoBack());
  ForwardAction->setEnabled(history_.canGoForward());
}

void TSVExplorer::Fr2FrAdvStringGridActivate(int row, int /*column*/) {
  const std::vector<std::string> names = views::relatedFrameNames(Fr2FrAdvStringGrid->cell(1, row));
  if (names.size() == 1) {
    selectFrameNamed(names.front());
    return;
  }
  if (names.empty()) return;
  // The menu shows the names as the grid does; choosing one selects it by working text.
  const std::vector<std::string> shown =
      views::relatedFrameNames(Fr2FrAdvStringGrid->cellUtf8(1, row));
  RelatedFramesMenu->clear();
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const QString label =
        shown.size() == names.size() ? QString::fromStdString(shown[i]) : toQString(name);
    connect(RelatedFramesMenu->addAction(label), &QAction::triggered, this,
            guarded(this, [this, name] { selectFrameNamed(name); }));
  }
  const QModelIndex cell = Fr2FrAdvStringGrid->model()->index(Fr2FrAdvStringGrid->tableRowOf(row), 1);
  RelatedFramesMenu->popup(
      Fr2FrAdvStringGrid->viewport()->mapToGlobal(Fr2FrAdvStringGrid->visualRect(cell).center()));
}

void TSVExplorer::FEDefsAdvStringGridActivate(int row, int /*column*/) {
  if (row < 1) return;  // the header line
  const std::string frame = FEDefsAdvStringGrid->cell(1, row);
  if (!frame.empty()) selectFrameNamed(frame);
}

// Size, splitters and column widths.

bool TSVExplorer::growing() const {
  return width() > kDesignedWidth || height() > kDesignedHeight;
}

void TSVExplorer::applyGrowing() {
  const bool grow = growing();
  for (widgets::ReportListView* list : {FramesListView, LexUnitListView, FEListView})
    list->setGrowing(grow);
  for (widgets::StringGrid* grid :
       {FEAdvStringGrid, Fr2FrAdvStringGrid, SentAdvStringGrid, FEDefsAdvStringGrid})
    grid->setGrowing(grow);
}

void TSVExplorer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  applyGrowing();
}

void TSVExplorer::restoreWindowState() {
  const settings::QtSettingsStore store;
  const std::string geometry = store.readString(kGeometryKey);
  if (!geometry.empty()) restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
  for (QSplitter* splitter : {MainSplitter, FramesTabSplitter, LexUnitsTabSplitter, FETabSplitter}) {
    const std::string state =
        store.readString(std::string(kSplitterKey) + splitter->objectName().toStdString());
    if (!state.empty()) splitter->restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
  }
  for (widgets::ReportListView* list : {FramesListView, LexUnitListView, FEListView}) {
    const std::vector<int> widths = splitWidths(
        store.readString(std::string(kColumnsKey) + list->objectName().toStdString()));
    if (!widths.empty()) list->setBaseWidths(widths);
  }
}

void TSVExplorer::saveWindowState() const {
  settings::QtSettingsStore store;
  store.writeString(kGeometryKey, saveGeometry().toBase64().toStdString());
  for (QSplitter* splitter : {MainSplitter, FramesTabSplitter, LexUnitsTabSplitter, FETabSplitter})
    store.writeString(std::string(kSplitterKey) + splitter->objectName().toStdString(),
                      splitter->saveState().toBase64().toStdString());
  for (widgets::ReportListView* list : {FramesListView, LexUnitListView, FEListView}) {
    std::vector<int> widths = list->columnWidths();
    // A stretched last column follows the window: its designed width stays the base.
    if (list->growing() && !widths.empty()) widths.back() = 0;
    store.writeString(std::string(kColumnsKey).append(list->objectName().toStdString()),
                      joinWidths(widths));
  }
}

}  // namespace sorvanta::shell
