#include "widgets/TableExport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>
#include <set>

#include "text/Errors.h"
#include "text/FileIO.h"
#include "widgets/ContextMenu.h"
#include "widgets/Messages.h"
#include "widgets/QtText.h"

namespace sorvanta::widgets {

namespace {

std::string utf8(const QString& shown) {
  const QByteArray bytes = shown.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

SaveFileDialog::Hook& saveHook() {
  static SaveFileDialog::Hook hook;
  return hook;
}

}  // namespace

text::TextTable tableText(const QTableView& view, bool selectedOnly) {
  text::TextTable table;
  const QAbstractItemModel* model = view.model();
  if (!model) return table;
  const int columns = model->columnCount();
  std::vector<std::string> header;
  bool anyHeader = false;
  for (int c = 0; c < columns; ++c) {
    const QString text = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    anyHeader = anyHeader || !text.isEmpty();
    header.push_back(utf8(text));
  }
  if (anyHeader) table.push_back(std::move(header));

  std::vector<int> rows;
  if (selectedOnly && view.selectionModel()) {
    std::set<int> chosen;
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes()) chosen.insert(index.row());
    if (chosen.empty() && view.currentIndex().isValid()) chosen.insert(view.currentIndex().row());
    rows.assign(chosen.begin(), chosen.end());
  } else {
    for (int r = 0; r < model->rowCount(); ++r) rows.push_back(r);
  }
  for (const int r : rows) {
    std::vector<std::string> cells;
    for (int c = 0; c < columns; ++c)
      cells.push_back(utf8(model->data(model->index(r, c), Qt::DisplayRole).toString()));
    table.push_back(std::move(cells));
  }
  return table;
}

void copySelectedRows(const QTableView& view) {
  const std::string tsv = text::delimitedTable(tableText(view, true), text::Delimited::Tsv);
  QApplication::clipboard()->setText(QString::fromUtf8(tsv.data(), qsizetype(tsv.size())));
}

void addExportActions(QTableView& view) {
  auto* tsv = new QAction(QObject::tr("Export as TSV…"), &view);
  auto* csv = new QAction(QObject::tr("Export as CSV…"), &view);
  tsv->setObjectName("ExportTsvAction");
  csv->setObjectName("ExportCsvAction");
  QObject::connect(tsv, &QAction::triggered, &view,
                   [&view] { exportTable(view, text::Delimited::Tsv); });
  QObject::connect(csv, &QAction::triggered, &view,
                   [&view] { exportTable(view, text::Delimited::Csv); });
  ContextMenu::of(view).contribute(
      [tsv, csv](QMenu& menu, int) {
        menu.addAction(tsv);
        menu.addAction(csv);
      },
      ContextMenu::Scope::View);
}

void exportTable(QTableView& view, text::Delimited format) {
  const bool tsv = format == text::Delimited::Tsv;
  const std::optional<QString> chosen =
      SaveFileDialog::execute(&view, tsv ? "Export as TSV" : "Export as CSV",
                              tsv ? "Tab-separated values (*.tsv)" : "Comma-separated values (*.csv)");
  if (!chosen || chosen->isEmpty()) return;
  try {
    text::writeFileAtomically(toWorking(*chosen), text::delimitedTable(tableText(view, false), format));
  } catch (const text::FileCreateError& error) {
    Messages(&view).show(QStringLiteral("Export"), QString::fromUtf8(error.what()));
  }
}

void SaveFileDialog::setTestHook(Hook hook) { saveHook() = std::move(hook); }

std::optional<QString> SaveFileDialog::execute(QWidget* owner, const QString& title,
                                               const QString& filter, const QString& suggested) {
  if (saveHook()) return saveHook()(title, filter);
  const QString chosen = QFileDialog::getSaveFileName(owner, title, suggested, filter);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

}  // namespace sorvanta::widgets
