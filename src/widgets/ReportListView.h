#pragma once
// A list with report columns over rows of working text: a thin table model over a vector of
// rows, so a release's 13,000 lexical units fill and sort without delay.
#include <QAbstractTableModel>
#include <QString>
#include <QTableView>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "lexicon/ListRow.h"

class QTimer;

namespace sorvanta::widgets {

struct ReportColumn {
  QString header;
  int width = -1;  // -1 keeps the view's default width
  Qt::Alignment alignment = Qt::AlignLeft;
};

class ReportListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ReportListModel(QObject* parent = nullptr);

  void setColumns(std::vector<ReportColumn> columns);
  const std::vector<ReportColumn>& columns() const { return columns_; }

  void setRows(std::vector<lexicon::ListRow> rows);
  const std::vector<lexicon::ListRow>& rows() const { return rows_; }
  void appendRow(lexicon::ListRow row);
  void clear();

  // Reorders the rows with sorter; persistent indexes (the view's selection and current row)
  // follow their rows. sorter must move rows, never copy them: a row is recognised after the
  // sort by the storage of its cells. When sorter throws, rows keep their places.
  void sortRows(const std::function<void(std::vector<lexicon::ListRow>&)>& sorter);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<ReportColumn> columns_;
  std::vector<lexicon::ListRow> rows_;
};

class ReportListView : public QTableView {
  Q_OBJECT

 public:
  explicit ReportListView(QWidget* parent = nullptr);

  // Headers, widths and alignment; multiSelection allows extended (control/shift) selection.
  void setColumns(std::vector<ReportColumn> columns, bool multiSelection);
  ReportListModel& listModel() { return *model_; }
  const ReportListModel& listModel() const { return *model_; }

  void setRows(std::vector<lexicon::ListRow> rows) { model_->setRows(std::move(rows)); }
  const std::vector<lexicon::ListRow>& rows() const { return model_->rows(); }
  int rowCountShown() const { return model_->rowCount(); }

  // The first row whose cell in column equals value, or -1.
  int rowWhere(int column, std::string_view value) const;
  // Selected rows in display order.
  std::vector<int> selectedRowNumbers() const;
  int selectedCount() const;
  // The one selected row, or none when no row or several rows are selected.
  const lexicon::ListRow* singleSelectedRow() const;
  // Selects row alone (a row outside the list clears the selection) and makes it current.
  void selectOnly(int row);
  void clearRowSelection();

  void sortRows(const std::function<void(std::vector<lexicon::ListRow>&)>& sorter) {
    model_->sortRows(sorter);
  }
  // Scrolls the list so that row is visible; a partly visible row is enough.
  void scrollRowIntoView(int row);
  // True when some part of row lies inside the viewport.
  bool isRowVisible(int row) const;

  // Column widths. The base widths are the designed ones (or those the user left); right-
  // aligned columns (IDs and counts) never get narrower than their widest value. While
  // growing, every column fits its widest value (up to two thirds of the list) and the last
  // one stretches to the list's edge. Applied again after each fill.
  void setGrowing(bool growing);
  bool growing() const { return growing_; }
  void setBaseWidths(const std::vector<int>& widths);
  std::vector<int> columnWidths() const;
  void fitColumns();

  // How long the keys must pause before a keyboard move counts (keyboardSettled).
  void setSettleDelay(int milliseconds);

 signals:
  // A mouse click with the left button anywhere in the list, after the selection changed.
  // Moving the selection with the keyboard does not emit it.
  void mouseClicked();
  void headerClicked(int column);
  // The selection moved by the keyboard (arrows, Home/End, page keys, type-ahead) and the keys
  // have paused since: one signal for a run of moves.
  void keyboardSettled();
  // Enter or Return pressed on the list.
  void enterPressed();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ReportListModel* model_;
  QTimer* settle_;
  bool growing_ = false;
};

}  // namespace sorvanta::widgets
