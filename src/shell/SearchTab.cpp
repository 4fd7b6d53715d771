#include "shell/SearchTab.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "index/ReleaseIndex.h"
#include "index/Sqlite.h"
#include "reports/AnnotationDisplay.h"
#include "reports/HtmlText.h"
#include "reports/Palette.h"
#include "shell/ReportWindows.h"
#include "shell/SorvantaForm.h"
#include "text/WorkingText.h"
#include "widgets/Messages.h"

namespace sorvanta::shell {

namespace {

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr const char* kCaption = "Search";

// The choices of the target box, in its order.
constexpr std::pair<const char*, index::SearchTarget> kTargets[] = {
    {"Annotated sentences", index::SearchTarget::Sets},
    {"Frames", index::SearchTarget::Frames},
    {"Lexical units", index::SearchTarget::LexicalUnits},
    {"Frame elements", index::SearchTarget::FrameElements},
};

// The sentence with its target in bold, for a set the reports cannot show.
std::string plainSentenceHtml(const index::ResultRow& row) {
  const std::string& text = row.cells.back();
  if (!row.targetStart || !row.targetEnd || *row.targetStart < 0 || *row.targetEnd < *row.targetStart)
    return reports::escapeHtml(text);
  const QString whole = utf8(text);
  const QList<uint> codes = whole.toUcs4();
  const auto from = static_cast<qsizetype>(std::min<int64_t>(*row.targetStart, codes.size()));
  const auto to = static_cast<qsizetype>(std::min<int64_t>(*row.targetEnd + 1, codes.size()));
  const auto part = [&](qsizetype a, qsizetype b) {
    return reports::escapeHtml(
        QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.constData()) + a, b - a)
            .toStdString());
  };
  return part(0, from) + "<b>" + part(from, to) + "</b>" + part(to, codes.size());
}

}  // namespace

// The index build on the worker thread: its progress, read by the window on a timer.
struct SearchTab::Build : text::Progress {
  std::atomic<int64_t> documentsRead{0};
  void count(std::string_view /*counter*/, int64_t value, std::string_view /*item*/) override {
    documentsRead.store(value, std::memory_order_relaxed);
  }
};

void SearchResultModel::setPager(std::unique_ptr<index::SearchPager> pager) {
  beginResetModel();
  pager_ = std::move(pager);
  if (pager_) pager_->loadMore(pageSize_);
  endResetModel();
}

const index::ResultRow* SearchResultModel::resultAt(int row) const {
  if (!pager_ || row < 0 || static_cast<size_t>(row) >= pager_->loaded()) return nullptr;
  return &pager_->row(static_cast<size_t>(row));
}

int SearchResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !pager_ ? 0 : static_cast<int>(pager_->loaded());
}

int SearchResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(index::SearchPager::columns(target()).size());
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const {
  const index::ResultRow* row = resultAt(index.row());
  if (!row || index.column() < 0 || static_cast<size_t>(index.column()) >= row->cells.size())
    return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
    return utf8(row->cells[static_cast<size_t>(index.column())]);
  return {};
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  const std::vector<std::string> captions = index::SearchPager::columns(target());
  if (section < 0 || static_cast<size_t>(section) >= captions.size()) return {};
  return utf8(captions[static_cast<size_t>(section)]);
}

bool SearchResultModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && pager_ && pager_->hasMore();
}

void SearchResultModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  const auto first = static_cast<int>(pager_->loaded());
  const auto available = static_cast<size_t>(pager_->total()) - pager_->loaded();
  const auto expected = static_cast<int>(std::min(available, pageSize_));
  // The rows are announced before they are read; a short read (the index changed) resets.
  beginInsertRows({}, first, first + expected - 1);
  const size_t read = pager_->loadMore(pageSize_);
  endInsertRows();
  if (read != static_cast<size_t>(expected)) {
    beginResetModel();
    endResetModel();
  }
}

SearchTab::SearchTab(TSVExplorer& window)
    : QWidget(window.PageControl1), window_(window), build_(nullptr) {
  setObjectName("SearchTabSheet");
  setProperty(kHelpContextProperty, kHelpSearchTab);

  queryEdit = new QLineEdit(this);
  queryEdit->setObjectName("SearchQueryEdit");
  queryEdit->setPlaceholderText("frame:Self_motion fe:Goal walk");
  queryEdit->setToolTip("<pre>" + utf8(index::querySyntaxHelp()).toHtmlEscaped() + "</pre>");
  queryEdit->setClearButtonEnabled(true);
  targetBox = new QComboBox(this);
  targetBox->setObjectName("SearchTargetBox");
  for (const auto& [caption, target] : kTargets) targetBox->addItem(caption);
  searchButton = new QPushButton("Search", this);
  searchButton->setObjectName("SearchButton");
  countLabel = new QLabel(this);
  countLabel->setObjectName("SearchCountLabel");
  countLabel->setWordWrap(true);
  countLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

  model = new SearchResultModel(this);
  resultView = new QTableView(this);
  resultView->setObjectName("SearchResultView");
  resultView->setModel(model);
  resultView->setSelectionBehavior(QAbstractItemView::SelectRows);
  resultView->setSelectionMode(QAbstractItemView::SingleSelection);
  resultView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  resultView->setWordWrap(false);
  resultView->horizontalHeader()->setStretchLastSection(true);
  resultView->verticalHeader()->setDefaultSectionSize(resultView->fontMetrics().height() + 6);
  resultView->setContextMenuPolicy(Qt::CustomContextMenu);
  sentenceView = new QTextBrowser(this);
  sentenceView->setObjectName("SearchSentenceView");
  sentenceView->setOpenLinks(false);

  auto* queryRow = new QHBoxLayout;
  queryRow->addWidget(new QLabel("Find", this));
  queryRow->addWidget(targetBox);
  queryRow->addWidget(new QLabel("matching", this));
  queryRow->addWidget(queryEdit, 1);
  queryRow->addWidget(searchButton);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName("SearchSplitter");
  splitter->addWidget(resultView);
  splitter->addWidget(sentenceView);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(queryRow);
  layout->addWidget(countLabel);
  layout->addWidget(splitter, 1);

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  connect(progressTimer_, &QTimer::timeout, this, [this] {
    if (build_)
      countLabel->setText(QString("Indexing the release: %1 documents read…")
                              .arg(build_->documentsRead.load(std::memory_order_relaxed)));
  });
  connect(searchButton, &QPushButton::clicked, this, [this] { runSearch(); });
  connect(queryEdit, &QLineEdit::returnPressed, this, [this] { runSearch(); });
  connect(resultView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { showResult(current.row()); });
  connect(resultView, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { goToResult(index.row()); });
  connect(resultView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& point) { showContextMenu(point); });
  connect(window_.CancelButton, &QPushButton::clicked, this, [this] {
    if (build_) build_->cancel();
  });
}

SearchTab::~SearchTab() {
  // The build stops between documents and leaves the older index as it was.
  if (worker_.joinable()) {
    build_->cancel();
    worker_.join();
  }
}

std::string SearchTab::releaseFolder() const { return text::workingToUtf8(window_.DataFolder.path()); }

void SearchTab::showError(const QString& text) {
  model->setPager(nullptr);
  sentenceView->clear();
  countLabel->setText(text);
  emit searchFinished();
}

void SearchTab::runSearch() {
  if (window_.DataFolder.empty()) {
    window_.messages().show(std::string_view(kCaption), kNoDataFolder);
    return;
  }
  const index::SearchTarget target = kTargets[std::max(targetBox->currentIndex(), 0)].second;
  const std::string query = queryEdit->text().toStdString();
  // A malformed query is shown at once, before any index work.
  const auto compiled = index::compileQuery(query, target);
  if (const auto* error = std::get_if<index::QueryError>(&compiled)) {
    showError(utf8(error->message));
    return;
  }
  pending_.emplace(target, query);
  const std::string folder = releaseFolder();
  if (folder != indexedFolder_) {
    if (!worker_.joinable()) startIndexing(folder);
    return;  // runs when the build ends
  }
  runPending();
}

void SearchTab::runPending() {
  if (!pending_) return;
  const auto [target, query] = *pending_;
  pending_.reset();
  shownUnit_.reset();
  try {
    auto opened = index::SearchPager::open(indexFile_, target, query);
    if (const auto* error = std::get_if<index::QueryError>(&opened)) {
      showError(utf8(error->message));
      return;
    }
    auto pager = std::make_unique<index::SearchPager>(std::move(std::get<index::SearchPager>(opened)));
    const int64_t total = pager->total();
    model->setPager(std::move(pager));
    sentenceView->clear();
    countLabel->setText(total == 1 ? QString("1 match") : QString("%L1 matches").arg(total));
    resultView->resizeColumnsToContents();
    if (model->rowCount() > 0) {
      resultView->setCurrentIndex(model->index(0, 0));
      showResult(0);
    }
  } catch (const std::exception& error) {
    // The index could not be read (removed or damaged meanwhile): the next search rebuilds it.
    indexedFolder_.clear();
    showError(QString("The release index could not be read: %1").arg(error.what()));
    return;
  }
  emit searchFinished();
}

void SearchTab::startIndexing(const std::string& folder) {
  build_ = std::make_unique<Build>();
  countLabel->setText("Indexing the release…");
  window_.CommandProgressBar->show();
  window_.CancelButton->show();
  window_.CancelButton->setEnabled(true);
  progressTimer_->start();
  worker_ = std::thread([this, folder, build = build_.get()] {
    index::IndexOptions options;
    options.releaseFolder = folder;
    index::IndexReport report;
    text::Outcome outcome;
    try {
      outcome = index::updateIndex(options, report, *build);
    } catch (const std::exception& error) {
      outcome = text::Outcome::refused(kCaption, std::string("The release index could not be built: ") +
                                                     error.what());
    }
    QMetaObject::invokeMethod(
        this, [this, folder, file = report.indexFile, outcome] {
          indexingFinished(folder, file, outcome);
        },
        Qt::QueuedConnection);
  });
}

void SearchTab::indexingFinished(const std::string& folder, const std::string& indexFile,
                                 const text::Outcome& outcome) {
  worker_.join();
  build_.reset();
  progressTimer_->stop();
  if (!window_.RunningCommand) {
    window_.CommandProgressBar->hide();
    window_.CancelButton->hide();
  }
  if (outcome.status == text::Outcome::Status::Cancelled) {
    pending_.reset();
    showError("Indexing cancelled; search again to resume.");
    return;
  }
  if (!outcome.done()) {
    pending_.reset();
    showError(outcome.notices.empty() ? QString("The release index could not be built.")
                                      : utf8(outcome.notices.front().text));
    return;
  }
  indexFile_ = indexFile;
  indexedFolder_ = folder;
  // Another release was opened meanwhile: its index comes next.
  if (releaseFolder() != folder) {
    startIndexing(releaseFolder());
    return;
  }
  runPending();
}

void SearchTab::showResult(int row) {
  const index::ResultRow* result = model->resultAt(row);
  if (!result || model->target() != index::SearchTarget::Sets || !result->luId) {
    sentenceView->clear();
    return;
  }
  try {
    if (!shownUnit_ || shownUnit_->id != *result->luId) {
      shownUnit_.reset();
      index::Database db(indexFile_, index::Database::Mode::ReadOnly);
      shownUnit_ = reports::ReportReader(db).lexicalUnit(*result->luId);
    }
  } catch (const std::exception&) {
    shownUnit_.reset();  // shown without frame elements below
  }
  if (shownUnit_) {
    for (const reports::AnnotationSet& set : shownUnit_->sets) {
      if (set.sentenceKey != result->sentenceId) continue;
      const reports::FeColours colours(shownUnit_->frameFes);
      sentenceView->setHtml(
          utf8(reports::sentenceHtml(reports::buildSentenceDisplay(set), colours)));
      return;
    }
  }
  sentenceView->setHtml(utf8(plainSentenceHtml(*result)));
}

void SearchTab::goToResult(int row) {
  const index::ResultRow* result = model->resultAt(row);
  if (!result) return;
  if (result->luId) {
    if (!window_.selectLexUnitWithId(std::to_string(*result->luId)))
      window_.messages().show(
          QString(kCaption),
          QString("The Lexical Units list holds no lexical unit with ID %1.").arg(*result->luId));
    return;
  }
  if (!result->frame.empty()) window_.selectFrameNamed(text::utf8ToWorking(result->frame));
}

void SearchTab::openLexUnitReport(int row) {
  const index::ResultRow* result = model->resultAt(row);
  if (!result || !result->luId || window_.DataFolder.empty()) return;
  ReportOpener(window_.messages(), &window_).openLexUnit(releaseFolder(), *result->luId);
}

void SearchTab::showContextMenu(const QPoint& point) {
  const int row = resultView->indexAt(point).row();
  const index::ResultRow* result = model->resultAt(row);
  if (!result || !result->luId) return;
  QMenu menu(resultView);
  QAction* open = menu.addAction("Lexical Unit Report");
  QAction* go = menu.addAction("Show on the Lexical Units Tab");
  QAction* chosen = menu.exec(resultView->viewport()->mapToGlobal(point));
  if (chosen == open) openLexUnitReport(row);
  if (chosen == go) goToResult(row);
}

SearchTab* installSearchTab(TSVExplorer& window) {
  auto* tab = new SearchTab(window);
  window.PageControl1->addTab(tab, "Search");
  return tab;
}

}  // namespace sorvanta::shell
