#pragma once
// A grid of multi-line text cells addressed as (column, row), never fewer than one row.
// With a fixed header row, row 0 is the header line above the scrolling rows.
#include <QPoint>
#include <QTableWidget>
#include <string>
#include <string_view>

namespace sorvanta::widgets {

class StringGrid : public QTableWidget {
  Q_OBJECT

 public:
  // columns: number of columns; fixedHeaderRow: whether row 0 is a fixed header.
  StringGrid(int columns, bool fixedHeaderRow, QWidget* parent = nullptr);

  // Empties every cell from firstRow on (a header row is only emptied when firstRow is 0).
  void clearCells(int firstRow = 0);
  // Rows counted with the header row; a request below the minimum (one row, two with a header)
  // gives the minimum.
  void setGridRowCount(int rows);
  int gridRowCount() const;
  // Working-text cell content; a cell outside the grid reads as empty and is not written.
  void setCell(int column, int row, std::string_view text);
  // The same cell showing unicode (the document's UTF-8) when it is not empty; cell() still
  // reads it back as working text.
  void setCell(int column, int row, std::string_view text, std::string_view unicode);
  std::string cell(int column, int row) const;
  // The cell as shown, in UTF-8.
  std::string cellUtf8(int column, int row) const;
  // Row heights fitted to the wrapped text of their cells.
  void fitRowsToText();
  // The table row showing grid row `row` (0 for the first row below a header).
  int tableRowOf(int gridRow) const { return gridRow - headerRows_; }
  // While growing, the last column stretches to the grid's edge and rows refit their text;
  // otherwise the columns keep the widths they were given.
  void setGrowing(bool growing);

 signals:
  // A press of the left button on a cell, with the grid row (header counted) and column.
  void cellClickedAt(int row, int column);
  // A press of the right button on a cell.
  void cellRightClicked(int row, int column);
  // A press of the right button anywhere in the grid, where the pop-up menu opens.
  void popupRequested(const QPoint& globalPosition);
  // A double-click on a cell, or Enter on the current cell.
  void cellActivated(int row, int column);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The item of a cell (the header item on a header row); none outside the grid.
  const QTableWidgetItem* itemAt(int column, int row) const;

  int headerRows_;
  bool growing_ = false;
};

}  // namespace sorvanta::widgets
