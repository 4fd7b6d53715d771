#pragma once
// Copy and export for every list and grid: Ctrl+C copies the selected rows as TSV with a
// header row; "Export as TSV…" / "Export as CSV…" in the context menu write the whole table as
// shown (UTF-8, LF line ends). Tests answer the save dialog through a hook.
#include <QString>
#include <functional>
#include <optional>

#include "text/DelimitedTable.h"

class QTableView;
class QWidget;

namespace sorvanta::widgets {

// The header row, then the rows as shown: every row, or only the selected ones. A view whose
// horizontal header is hidden and whose model gives no header text has no header row.
text::TextTable tableText(const QTableView& view, bool selectedOnly);

// Puts the selected rows (the current row when none is selected) on the clipboard as TSV.
void copySelectedRows(const QTableView& view);

// Contributes the two export actions (children of the view) to the view's context menu.
void addExportActions(QTableView& view);

// Asks where to export (the save dialog) and writes the table there; a file that cannot be
// written is reported in a message box.
void exportTable(QTableView& view, text::Delimited format);

class SaveFileDialog {
 public:
  using Hook = std::function<std::optional<QString>(const QString& title, const QString& filter)>;
  // suggested: the file name the dialog starts with (none when empty).
  static std::optional<QString> execute(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& suggested = QString());
  // Answers every save dialog instead of the user (tests); an empty hook restores the dialog.
  static void setTestHook(Hook hook);
};

}  // namespace sorvanta::widgets
