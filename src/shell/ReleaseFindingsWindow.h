#pragma once
// "Check Release" and "Compare with Release…": a separate window showing the release check's
// findings or the release diff's changes in a sortable, filterable table, with the count per
// code beside it. The work (quality::checkRelease, quality::diffReleases) runs on a worker
// thread; the window shows its stage meanwhile and fills the tables when it is done. A
// double-click on a row asks the main window to show the frame or lexical unit concerned.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "text/Progress.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace sorvanta::shell {

class ReleaseFindingsWindow : public QWidget {
  Q_OBJECT

 public:
  // One row of the table, with what it concerns (empty frame / 0 when nothing).
  struct Row {
    QStringList cells;
    QString code;
    QString frame;  // UTF-8 name as the release holds it
    qint64 luId = 0;
  };
  // What the work gives back: the table, the counts per code, or an error.
  struct Result {
    QStringList headers;
    std::vector<Row> rows;
    std::vector<std::pair<QString, qint64>> counts;
    QString summary;
    QString error;  // set when the work was refused; the rest is then empty
  };
  using Work = std::function<Result(text::Progress& progress)>;

  explicit ReleaseFindingsWindow(const QString& title, QWidget* parent = nullptr);
  ~ReleaseFindingsWindow() override;  // cancels the work and waits for it

  // Runs work on a worker thread; the tables are filled when it returns.
  void start(Work work);
  bool running() const { return running_; }

  QTableView* table() const { return table_; }
  QTableView* countsTable() const { return countsTable_; }
  QLineEdit* filterEdit() const { return filter_; }
  QLabel* statusLabel() const { return status_; }

 signals:
  void frameWanted(const QString& frameName);
  void lexUnitWanted(qint64 luId);
  void workFinished();

 private:
  void showResult(const Result& result);
  void rowActivated(int sourceRow);

  QLineEdit* filter_;
  QLabel* status_;
  QProgressBar* busy_;
  QTableView* table_;
  QTableView* countsTable_;
  QStandardItemModel* rows_;
  QStandardItemModel* counts_;
  QSortFilterProxyModel* proxy_;
  std::vector<Row> data_;
  std::unique_ptr<text::Progress> progress_;
  std::thread worker_;
  bool running_ = false;
};

// The check of the release in releaseFolder (UTF-8 path), started in a new window.
ReleaseFindingsWindow* openCheckWindow(const std::string& releaseFolder, QWidget* parent = nullptr);
// The changes from the release in oldFolder to the one in newFolder, started in a new window.
ReleaseFindingsWindow* openDiffWindow(const std::string& oldFolder, const std::string& newFolder,
                                      QWidget* parent = nullptr);

}  // namespace sorvanta::shell
