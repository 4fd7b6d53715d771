#include "widgets/ReportListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <unordered_map>

#include "widgets/QtText.h"
#include "widgets/TableExport.h"

namespace sorvanta::widgets {

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportListModel::setColumns(std::vector<ReportColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  endResetModel();
}

void ReportListModel::setRows(std::vector<lexicon::ListRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void ReportListModel::appendRow(lexicon::ListRow row) {
  const int at = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), at, at);
  rows_.push_back(std::move(row));
  endInsertRows();
}

void ReportListModel::clear() { setRows({}); }

namespace {

// Identity of a row across moves: the storage of its cells travels with it.
const void* rowIdentity(const lexicon::ListRow& row) {
  return row.cells.empty() ? nullptr : static_cast<const void*>(row.cells.data());
}

// Ends a layout change however the sort leaves, so the view never stays in the middle of one.
class LayoutChange {
 public:
  explicit LayoutChange(ReportListModel& model) : model_(model) {
    emit model_.layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  }
  ~LayoutChange() { emit model_.layoutChanged({}, QAbstractItemModel::VerticalSortHint); }
  LayoutChange(const LayoutChange&) = delete;
  LayoutChange& operator=(const LayoutChange&) = delete;

 private:
  ReportListModel& model_;
};

// Width that shows the longest cells of column uncut. Only the longest few cells are measured:
// a list holds up to tens of thousands of rows, and the longest text is nearly always widest.
int widestCellWidth(const std::vector<lexicon::ListRow>& rows, int column, const QFontMetrics& font) {
  size_t longest = 0;
  for (const lexicon::ListRow& row : rows) longest = std::max(longest, row.cell(column).size());
  if (longest == 0) return 0;
  const size_t threshold = longest - std::min<size_t>(longest, 3);
  int widest = 0;
  int measured = 0;
  for (const lexicon::ListRow& row : rows) {
    const std::string_view cell = row.cell(column);
    if (cell.size() < threshold || cell.size() == 0) continue;
    widest = std::max(widest, font.horizontalAdvance(cellText(row, column)));
    if (++measured == 64) break;
  }
  return widest;
}

}  // namespace

void ReportListModel::sortRows(const std::function<void(std::vector<lexicon::ListRow>&)>& sorter) {
  LayoutChange change(*this);
  // The selection model turns its selection into persistent indexes in layoutAboutToBeChanged.
  const QModelIndexList before = persistentIndexList();
  std::vector<const void*> identities;
  identities.reserve(static_cast<size_t>(before.size()));
  for (const QModelIndex& index : before)
    identities.push_back(rowIdentity(rows_[static_cast<size_t>(index.row())]));

  sorter(rows_);
  if (before.isEmpty()) return;

  std::unordered_map<const void*, int> rowOf;
  rowOf.reserve(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i)
    rowOf.emplace(rowIdentity(rows_[i]), static_cast<int>(i));
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i) {
    auto found = rowOf.find(identities[static_cast<size_t>(i)]);
    after.push_back(found == rowOf.end() || identities[static_cast<size_t>(i)] == nullptr
                        ? QModelIndex()
                        : index(found->second, before[i].column()));
  }
  changePersistentIndexList(before, after);
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size()) return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
    return cellText(rows_[static_cast<size_t>(index.row())], index.column());
  if (role == Qt::TextAlignmentRole && static_cast<size_t>(index.column()) < columns_.size())
    return QVariant::fromValue(columns_[static_cast<size_t>(index.column())].alignment |
                               Qt::AlignVCenter);
  return {};
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      static_cast<size_t>(section) >= columns_.size())
    return {};
  const ReportColumn& column = columns_[static_cast<size_t>(section)];
  if (role == Qt::DisplayRole) return column.header;
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(column.alignment | Qt::AlignVCenter);
  return {};
}

ReportListView::ReportListView(QWidget* parent)
    : QTableView(parent), model_(new ReportListModel(this)), settle_(new QTimer(this)) {
  setModel(model_);
  // Tab leaves the list for the next control.
  setTabKeyNavigation(false);
  settle_->setSingleShot(true);
  settle_->setInterval(150);
  connect(settle_, &QTimer::timeout, this, &ReportListView::keyboardSettled);
  connect(model_, &QAbstractItemModel::modelReset, this, &ReportListView::fitColumns);
  addExportActions(*this);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setSortingEnabled(false);  // the owner sorts through its compare, on a header click
  verticalHeader()->hide();
  // Fixed row heights keep filling and scrolling independent of the row count.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setMinimumSectionSize(8);  // narrow designed columns such as "P"
  // The selection stays visible when the list loses the focus.
  QPalette shown = palette();
  shown.setColor(QPalette::Inactive, QPalette::Highlight,
                 shown.color(QPalette::Active, QPalette::Highlight));
  shown.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 shown.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(shown);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportListView::headerClicked);
}

void ReportListView::setColumns(std::vector<ReportColumn> columns, bool multiSelection) {
  setSelectionMode(multiSelection ? QAbstractItemView::ExtendedSelection
                                  : QAbstractItemView::SingleSelection);
  model_->setColumns(std::move(columns));
  fitColumns();
}

void ReportListView::setGrowing(bool growing) {
  if (growing == growing_) return;
  growing_ = growing;
  fitColumns();
}

void ReportListView::setBaseWidths(const std::vector<int>& widths) {
  std::vector<ReportColumn> columns = model_->columns();
  if (widths.size() != columns.size()) return;
  for (size_t i = 0; i < columns.size(); ++i)
    if (widths[i] > 0) columns[i].width = widths[i];
  model_->setColumns(std::move(columns));
  fitColumns();
}

std::vector<int> ReportListView::columnWidths() const {
  std::vector<int> widths;
  for (int c = 0; c < model_->columnCount(); ++c) widths.push_back(columnWidth(c));
  return widths;
}

void ReportListView::fitColumns() {
  const std::vector<ReportColumn>& columns = model_->columns();
  const int count = static_cast<int>(columns.size());
  horizontalHeader()->setStretchLastSection(growing_);
  const int cap = std::max(viewport()->width() * 2 / 3, 60);
  for (int c = 0; c < count; ++c) {
    const ReportColumn& column = columns[static_cast<size_t>(c)];
    const int base = column.width >= 0 ? column.width : horizontalHeader()->defaultSectionSize();
    int width = base;
    if (growing_ || (column.alignment & Qt::AlignRight)) {
      const int measured = widestCellWidth(model_->rows(), c, fontMetrics());
      // Cell margins on both sides, as the view draws them.
      const int widest = measured > 0 ? measured + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8 : 0;
      width = std::max(base, growing_ && !(column.alignment & Qt::AlignRight)
                                 ? std::min(widest, cap)
                                 : widest);
    }
    if (!(growing_ && c == count - 1)) setColumnWidth(c, width);
  }
}

void ReportListView::setSettleDelay(int milliseconds) { settle_->setInterval(milliseconds); }

int ReportListView::rowWhere(int column, std::string_view value) const {
  const std::vector<lexicon::ListRow>& rows = model_->rows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].cell(column) == value) return static_cast<int>(i);
  return -1;
}

std::vector<int> ReportListView::selectedRowNumbers() const {
  std::vector<int> rows;
  if (!selectionModel()) return rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int ReportListView::selectedCount() const {
  return selectionModel() ? static_cast<int>(selectionModel()->selectedRows().size()) : 0;
}

const lexicon::ListRow* ReportListView::singleSelectedRow() const {
  const std::vector<int> selected = selectedRowNumbers();
  if (selected.size() != 1) return nullptr;
  return &model_->rows()[static_cast<size_t>(selected.front())];
}

void ReportListView::selectOnly(int row) {
  if (row < 0 || row >= model_->rowCount()) {
    clearRowSelection();
    return;
  }
  const QModelIndex index = model_->index(row, 0);
  selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ReportListView::clearRowSelection() {
  if (selectionModel()) selectionModel()->clearSelection();
}

void ReportListView::scrollRowIntoView(int row) {
  // Right after a fill the scroll range is not laid out yet; scrolling needs it.
  executeDelayedItemsLayout();
  if (row < 0 || row >= model_->rowCount() || isRowVisible(row)) return;
  scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
}

bool ReportListView::isRowVisible(int row) const {
  if (row < 0 || row >= model_->rowCount()) return false;
  const int top = rowViewportPosition(row);
  return top < viewport()->height() && top + rowHeight(row) > 0;
}

void ReportListView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copySelectedRows(*this);
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    settle_->stop();
    emit enterPressed();
    return;
  }
  const QModelIndex before = currentIndex();
  const std::vector<int> selectedBefore = selectedRowNumbers();
  QTableView::keyPressEvent(event);
  if (currentIndex() != before || selectedRowNumbers() != selectedBefore) settle_->start();
}

void ReportListView::mouseReleaseEvent(QMouseEvent* event) {
  settle_->stop();
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint()))
    emit mouseClicked();
}

}  // namespace sorvanta::widgets
