#include "shell/ReleaseFindingsWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "index/ReleaseIndex.h"
#include "quality/Check.h"
#include "quality/Diff.h"

namespace sorvanta::shell {

namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Progress of the worker: each new stage is posted to the window's status line.
class WindowProgress : public text::Progress {
 public:
  explicit WindowProgress(QLabel* status) : status_(status) {}
  void stage(std::string_view what) override {
    QMetaObject::invokeMethod(
        status_.data(), [status = status_, text = fromUtf8(what) + QStringLiteral("…")] {
          if (status) status->setText(text);
        },
        Qt::QueuedConnection);
  }

 private:
  QPointer<QLabel> status_;
};

// A cell whose sort key (role UserRole + 1) is its number when it holds one, else its text.
QStandardItem* cellItem(const QString& text) {
  auto* item = new QStandardItem(text);
  bool number = false;
  const qlonglong value = text.toLongLong(&number);
  item->setData(number ? QVariant(value) : QVariant(text), Qt::UserRole + 1);
  item->setEditable(false);
  return item;
}

}  // namespace

ReleaseFindingsWindow::ReleaseFindingsWindow(const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window),
      filter_(new QLineEdit),
      status_(new QLabel),
      busy_(new QProgressBar),
      table_(new QTableView),
      countsTable_(new QTableView),
      rows_(new QStandardItemModel(this)),
      counts_(new QStandardItemModel(this)),
      proxy_(new QSortFilterProxyModel(this)) {
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
  resize(980, 560);
  filter_->setPlaceholderText(tr("Filter: rows holding this text (any column)"));
  filter_->setClearButtonEnabled(true);
  busy_->setRange(0, 0);  // busy indicator: the work reports stages, not a fraction
  busy_->setMaximumWidth(160);
  busy_->hide();

  proxy_->setSourceModel(rows_);
  proxy_->setFilterKeyColumn(-1);
  proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
  proxy_->setSortRole(Qt::UserRole + 1);
  table_->setModel(proxy_);
  countsTable_->setModel(counts_);
  for (QTableView* view : {table_, countsTable_}) {
    view->setSortingEnabled(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
  }
  countsTable_->setMaximumWidth(320);

  auto* top = new QHBoxLayout;
  top->addWidget(filter_, 1);
  top->addWidget(status_);
  top->addWidget(busy_);
  auto* splitter = new QSplitter;
  splitter->addWidget(countsTable_);
  splitter->addWidget(table_);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(splitter, 1);

  connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
  connect(table_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { rowActivated(proxy_->mapToSource(index).row()); });
  // A double-click on a code shows only its rows.
  connect(countsTable_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    filter_->setText(counts_->item(index.row(), 0)->text());
  });
}

ReleaseFindingsWindow::~ReleaseFindingsWindow() {
  if (progress_) progress_->cancel();
  if (worker_.joinable()) worker_.join();
}

void ReleaseFindingsWindow::start(Work work) {
  if (running_) return;
  if (worker_.joinable()) worker_.join();
  running_ = true;
  busy_->show();
  status_->setText(tr("Working…"));
  progress_ = std::make_unique<WindowProgress>(status_);
  worker_ = std::thread([this, work = std::move(work), progress = progress_.get()] {
    Result result;
    try {
      result = work(*progress);
    } catch (const std::exception& error) {
      result = Result{};
      result.error = fromUtf8(error.what());
    }
    // Queued to the window's thread; dropped by Qt when the window is gone by then.
    QMetaObject::invokeMethod(this, [this, result = std::move(result)] { showResult(result); },
                              Qt::QueuedConnection);
  });
}

void ReleaseFindingsWindow::showResult(const Result& result) {
  running_ = false;
  busy_->hide();
  data_ = result.rows;
  rows_->clear();
  counts_->clear();
  if (!result.error.isEmpty()) {
    status_->setText(result.error);
    emit workFinished();
    return;
  }
  rows_->setHorizontalHeaderLabels(result.headers);
  for (const Row& row : result.rows) {
    QList<QStandardItem*> items;
    for (const QString& cell : row.cells) items.append(cellItem(cell));
    rows_->appendRow(items);
  }
  counts_->setHorizontalHeaderLabels({tr("Code"), tr("Count")});
  for (const auto& [code, count] : result.counts)
    counts_->appendRow({cellItem(code), cellItem(QString::number(count))});
  table_->resizeColumnsToContents();
  countsTable_->resizeColumnsToContents();
  status_->setText(result.summary);
  emit workFinished();
}

void ReleaseFindingsWindow::rowActivated(int sourceRow) {
  if (sourceRow < 0 || static_cast<size_t>(sourceRow) >= data_.size()) return;
  const Row& row = data_[static_cast<size_t>(sourceRow)];
  if (row.luId != 0)
    emit lexUnitWanted(row.luId);
  else if (!row.frame.isEmpty())
    emit frameWanted(row.frame);
}

ReleaseFindingsWindow* openCheckWindow(const std::string& releaseFolder, QWidget* parent) {
  auto* window = new ReleaseFindingsWindow(
      ReleaseFindingsWindow::tr("Check Release — %1").arg(fromUtf8(releaseFolder)), parent);
  window->start([releaseFolder](text::Progress& progress) {
    index::IndexOptions options;
    options.releaseFolder = releaseFolder;
    quality::CheckResult check;
    ReleaseFindingsWindow::Result result;
    const text::Outcome outcome = quality::checkRelease(options, check, progress);
    if (!outcome.done()) {
      result.error = outcome.notices.empty() ? QStringLiteral("The check did not run.")
                                             : fromUtf8(outcome.notices.front().text);
      return result;
    }
    result.headers = {QStringLiteral("Severity"), QStringLiteral("Code"), QStringLiteral("Document"),
                      QStringLiteral("Location"), QStringLiteral("Message")};
    for (const quality::Finding& finding : check.findings)
      result.rows.push_back({{fromUtf8(quality::severityName(finding.severity)), fromUtf8(finding.code),
                              fromUtf8(finding.document), fromUtf8(finding.location), fromUtf8(finding.message)},
                             fromUtf8(finding.code), fromUtf8(finding.frame), finding.luId});
    for (const quality::CodeCount& count : check.counts)
      result.counts.emplace_back(fromUtf8(count.code), count.count);
    result.summary = QStringLiteral("%1 errors, %2 warnings").arg(check.errors).arg(check.warnings);
    return result;
  });
  return window;
}

ReleaseFindingsWindow* openDiffWindow(const std::string& oldFolder, const std::string& newFolder,
                                      QWidget* parent) {
  auto* window = new ReleaseFindingsWindow(
      ReleaseFindingsWindow::tr("Compare with Release — %1 → %2").arg(fromUtf8(oldFolder), fromUtf8(newFolder)),
      parent);
  window->start([oldFolder, newFolder](text::Progress& progress) {
    index::IndexOptions oldRelease, newRelease;
    oldRelease.releaseFolder = oldFolder;
    newRelease.releaseFolder = newFolder;
    quality::DiffResult diff;
    ReleaseFindingsWindow::Result result;
    const text::Outcome outcome = quality::diffReleases(oldRelease, newRelease, diff, progress);
    if (!outcome.done()) {
      result.error = outcome.notices.empty() ? QStringLiteral("The comparison did not run.")
                                             : fromUtf8(outcome.notices.front().text);
      return result;
    }
    result.headers = {QStringLiteral("Code"), QStringLiteral("Key"), QStringLiteral("Old value"),
                      QStringLiteral("New value")};
    for (const quality::Change& change : diff.changes)
      result.rows.push_back({{fromUtf8(change.code), fromUtf8(change.key), fromUtf8(change.oldValue),
                              fromUtf8(change.newValue)},
                             fromUtf8(change.code), fromUtf8(change.frame), change.luId});
    for (const auto& [code, count] : diff.counts)
      if (count > 0) result.counts.emplace_back(fromUtf8(code), count);
    result.summary = diff.changes.empty() ? QStringLiteral("No differences")
                                          : QStringLiteral("%1 changes").arg(diff.changes.size());
    return result;
  });
  return window;
}

}  // namespace sorvanta::shell
