#pragma once
// The "Search" tab: a query over the release index, its results as a list read in pages, the
// count, and the selected sentence with its target and frame elements marked. The index is
// built or refreshed on a worker thread the first time a release is searched; the window
// stays responsive and the status bar's Cancel stops the build.
#include <QAbstractTableModel>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "index/SearchPager.h"
#include "reports/ReportData.h"
#include "text/Outcome.h"
#include "text/Progress.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTextBrowser;
class QTimer;

namespace sorvanta::shell {

class TSVExplorer;

// The rows of one search, read from the pager a page at a time as the view scrolls.
class SearchResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit SearchResultModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Shows a new search (none: an empty list) and reads its first page.
  void setPager(std::unique_ptr<index::SearchPager> pager);
  void setPageSize(size_t rows) { pageSize_ = rows == 0 ? 1 : rows; }
  size_t pageSize() const { return pageSize_; }
  // Matching rows in all, read or not; 0 without a search.
  int64_t total() const { return pager_ ? pager_->total() : 0; }
  const index::ResultRow* resultAt(int row) const;
  index::SearchTarget target() const {
    return pager_ ? pager_->target() : index::SearchTarget::Sets;
  }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  std::unique_ptr<index::SearchPager> pager_;
  size_t pageSize_ = 500;
};

class SearchTab : public QWidget {
  Q_OBJECT

 public:
  explicit SearchTab(TSVExplorer& window);
  ~SearchTab() override;

  // Runs the query in the box: a malformed query is shown under the box and nothing runs;
  // else the index is brought up to date first (in the background, once per release).
  void runSearch();
  // The selected result's sentence, marked, below the list.
  void showResult(int row);
  // Double-click: the result's lexical unit on the Lexical Units tab (frames: the frame on
  // the Frames tab).
  void goToResult(int row);
  void openLexUnitReport(int row);
  bool indexing() const { return worker_.joinable(); }

  QLineEdit* queryEdit;
  QComboBox* targetBox;  // annotated sentences, frames, lexical units, frame elements
  QPushButton* searchButton;
  QLabel* countLabel;  // the count, the query's error, or what the index build is doing
  QTableView* resultView;
  QTextBrowser* sentenceView;
  SearchResultModel* model;

 signals:
  // A search ended: results shown, or the reason why none are.
  void searchFinished();

 private:
  struct Build;
  void startIndexing(const std::string& releaseFolder);
  void indexingFinished(const std::string& releaseFolder, const std::string& indexFile,
                        const text::Outcome& outcome);
  void runPending();
  void showError(const QString& text);
  void showContextMenu(const QPoint& point);
  std::string releaseFolder() const;

  TSVExplorer& window_;
  std::string indexedFolder_;  // the release whose index is up to date, and the index file
  std::string indexFile_;
  std::optional<std::pair<index::SearchTarget, std::string>> pending_;
  std::unique_ptr<Build> build_;
  std::thread worker_;
  QTimer* progressTimer_;
  // The lexical unit whose annotation the sentence view last read.
  std::optional<reports::LexicalUnitData> shownUnit_;
};

// Adds the Search tab after the designed tabs.
SearchTab* installSearchTab(TSVExplorer& window);

}  // namespace sorvanta::shell
