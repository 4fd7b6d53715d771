#include "widgets/StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "widgets/QtText.h"
#include "widgets/TableExport.h"

namespace sorvanta::widgets {

StringGrid::StringGrid(int columns, bool fixedHeaderRow, QWidget* parent)
    : QTableWidget(parent), headerRows_(fixedHeaderRow ? 1 : 0) {
  setColumnCount(std::max(columns, 1));
  QTableWidget::setRowCount(1);
  setWordWrap(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Tab leaves the grid for the next control.
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  horizontalHeader()->setVisible(fixedHeaderRow);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setMinimumSectionSize(8);
  if (fixedHeaderRow) {
    for (int c = 0; c < columnCount(); ++c) setHorizontalHeaderItem(c, new QTableWidgetItem());
  }
}

void StringGrid::clearCells(int firstRow) {
  firstRow = std::max(firstRow, 0);
  if (firstRow < headerRows_) {
    for (int c = 0; c < columnCount(); ++c) {
      if (QTableWidgetItem* item = horizontalHeaderItem(c)) item->setText(QString());
    }
  }
  const int from = std::max(tableRowOf(firstRow), 0);
  if (from == 0) {
    clearContents();
    return;
  }
  for (int r = from; r < rowCount(); ++r) {
    for (int c = 0; c < columnCount(); ++c) delete takeItem(r, c);
  }
}

void StringGrid::setGridRowCount(int rows) {
  QTableWidget::setRowCount(std::max(rows - headerRows_, 1));
}

int StringGrid::gridRowCount() const { return rowCount() + headerRows_; }

void StringGrid::setCell(int column, int row, std::string_view text) {
  setCell(column, row, text, {});
}

void StringGrid::setCell(int column, int row, std::string_view text, std::string_view unicode) {
  if (column < 0 || column >= columnCount() || row < 0 || row >= gridRowCount()) return;
  const QString shown = toQString(text, unicode);
  if (row < headerRows_) {
    horizontalHeaderItem(column)->setText(shown);
    return;
  }
  const int tableRow = tableRowOf(row);
  if (QTableWidgetItem* existing = item(tableRow, column)) {
    existing->setText(shown);
    return;
  }
  setItem(tableRow, column, new QTableWidgetItem(shown));
}

const QTableWidgetItem* StringGrid::itemAt(int column, int row) const {
  if (column < 0 || column >= columnCount() || row < 0 || row >= gridRowCount()) return nullptr;
  return row < headerRows_ ? horizontalHeaderItem(column) : item(tableRowOf(row), column);
}

std::string StringGrid::cell(int column, int row) const {
  const QTableWidgetItem* found = itemAt(column, row);
  return found ? toWorking(found->text()) : std::string();
}

std::string StringGrid::cellUtf8(int column, int row) const {
  const QTableWidgetItem* found = itemAt(column, row);
  return found ? found->text().toStdString() : std::string();
}

void StringGrid::fitRowsToText() { resizeRowsToContents(); }

void StringGrid::mousePressEvent(QMouseEvent* event) {
  QTableWidget::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  const int tableRow = rowAt(at.y());
  const int column = columnAt(at.x());
  const bool onCell = tableRow >= 0 && column >= 0;
  if (event->button() == Qt::LeftButton && onCell) {
    emit cellClickedAt(tableRow + headerRows_, column);
  } else if (event->button() == Qt::RightButton) {
    if (onCell) emit cellRightClicked(tableRow + headerRows_, column);
    emit popupRequested(viewport()->mapToGlobal(at));
  }
}

}  // namespace sorvanta::widgets

namespace sorvanta::widgets {

void StringGrid::setGrowing(bool growing) {
  if (growing == growing_) return;
  growing_ = growing;
  horizontalHeader()->setStretchLastSection(growing);
  if (!growing) return;
  fitRowsToText();
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableWidget::mouseDoubleClickEvent(event);
  const QPoint at = event->position().toPoint();
  const int tableRow = rowAt(at.y());
  const int column = columnAt(at.x());
  if (event->button() == Qt::LeftButton && tableRow >= 0 && column >= 0)
    emit cellActivated(tableRow + headerRows_, column);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copySelectedRows(*this);
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      currentIndex().isValid()) {
    emit cellActivated(currentIndex().row() + headerRows_, currentIndex().column());
    return;
  }
  QTableWidget::keyPressEvent(event);
}

void StringGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  // Wrapped text takes another height when the stretched column changes width.
  if (growing_) fitRowsToText();
}

}  // namespace sorvanta::widgets
