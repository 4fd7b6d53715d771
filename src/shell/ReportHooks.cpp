// The report windows' entries in the main window: double-click on a lexical unit, and the
// context menus of the lexical-unit list ("Lexical Unit Report") and the frames list ("Frame
// Report"). The lists' designed click behaviour is left as it is.
#include <QAction>
#include <QMenu>

#include "lexicon/ListRow.h"
#include "shell/ReportWindows.h"
#include "shell/SorvantaForm.h"
#include "text/WorkingText.h"
#include "widgets/ContextMenu.h"
#include "widgets/Messages.h"
#include "widgets/ReportListView.h"

namespace sorvanta::shell {

namespace {

constexpr int kLexUnitIdColumn = 2;  // "LU-ID"

const lexicon::ListRow* rowAt(const widgets::ReportListView* list, int row) {
  if (row < 0 || row >= static_cast<int>(list->rows().size())) return nullptr;
  return &list->rows()[static_cast<size_t>(row)];
}

// The release folder as a file-system path, or empty after telling the user there is none.
std::string releaseFolder(const TSVExplorer& window) {
  if (window.DataFolder.empty()) window.messages().show(std::string_view("Reports"), kNoDataFolder);
  return text::workingToUtf8(window.DataFolder.path());
}

void openLexUnitReport(TSVExplorer& window, const lexicon::ListRow* row) {
  if (!row) return;
  const std::string id(row->cell(kLexUnitIdColumn));
  char* end = nullptr;
  const long long value = std::strtoll(id.c_str(), &end, 10);
  if (id.empty() || *end != '\0') return;
  const std::string folder = releaseFolder(window);
  if (!folder.empty()) ReportOpener(window.messages(), &window).openLexUnit(folder, value);
}

void openFrameReport(TSVExplorer& window, const lexicon::ListRow* row) {
  if (!row) return;
  const std::string folder = releaseFolder(window);
  if (!folder.empty())
    ReportOpener(window.messages(), &window).openFrame(folder, row->cellUtf8(0));
}

}  // namespace

void installReportWindows(TSVExplorer& window) {
  widgets::ReportListView* units = window.LexUnitListView;
  widgets::ReportListView* frames = window.FramesListView;
  QObject::connect(units, &QAbstractItemView::doubleClicked, &window,
                   [&window, units](const QModelIndex& index) {
                     openLexUnitReport(window, rowAt(units, index.row()));
                   });
  widgets::ContextMenu::of(*units).contribute([&window, units](QMenu& menu, int row) {
    const lexicon::ListRow* unit = rowAt(units, row);
    if (!unit) return;
    QAction* open = menu.addAction("Lexical Unit Report");
    open->setObjectName("LexUnitReportAction");
    QObject::connect(open, &QAction::triggered, &window,
                     [&window, chosen = *unit] { openLexUnitReport(window, &chosen); });
  });
  widgets::ContextMenu::of(*frames).contribute([&window, frames](QMenu& menu, int row) {
    const lexicon::ListRow* frame = rowAt(frames, row);
    if (!frame) return;
    QAction* open = menu.addAction("Frame Report");
    open->setObjectName("FrameReportAction");
    QObject::connect(open, &QAction::triggered, &window,
                     [&window, chosen = *frame] { openFrameReport(window, &chosen); });
  });
}

}  // namespace sorvanta::shell
