// The main window's way into the "Relations Graph" window: a context menu on the frames list
// (the frame under the pointer) and on the relations grid (the frame shown), the Tools menu
// (the frame selected in the frames list), and selecting in the frames list the frame clicked
// in the graph.
#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include "graph/RelationGraph.h"
#include "shell/RelationsGraphWindow.h"
#include "shell/SorvantaForm.h"
#include "widgets/ContextMenu.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"

namespace sorvanta::shell {

namespace {

constexpr const char* kGraphActionText = "Relations Graph...";
constexpr const char* kGraphActionName = "RelationsGraphMenuAction";

}  // namespace

void TSVExplorer::installRelationsGraphMenus() {
  widgets::ContextMenu::of(*FramesListView).contribute([this](QMenu& menu, int row) {
    if (row < 0 || static_cast<size_t>(row) >= FramesListView->rows().size()) return;
    const std::string frame(FramesListView->rows()[static_cast<size_t>(row)].caption());
    QAction* open = menu.addAction(kGraphActionText);
    open->setObjectName(kGraphActionName);
    connect(open, &QAction::triggered, this, [this, frame] { ShowRelationsGraph(frame); });
  });
  widgets::ContextMenu::of(*Fr2FrAdvStringGrid).contribute([this](QMenu& menu, int) {
    QAction* open = menu.addAction(kGraphActionText);
    open->setObjectName(kGraphActionName);
    connect(open, &QAction::triggered, this,
            [this] { ShowRelationsGraph(widgets::toWorking(FrameNameEdit->text())); });
  });
  auto* toolsAction = new QAction("Relations Graph", this);
  toolsAction->setObjectName("RelationsGraphAction");
  connect(toolsAction, &QAction::triggered, this, [this] {
    if (const lexicon::ListRow* row = FramesListView->singleSelectedRow())
      ShowRelationsGraph(std::string(row->caption()));
  });
  addToolsAction(toolsAction);
}

void TSVExplorer::ShowRelationsGraph(const std::string& frameName) {
  if (frameName.empty()) return;
  if (!relationsGraph_) {
    relationsGraph_ = std::make_unique<RelationsGraphWindow>(this);
    relationsGraph_->onFrameActivated = [this](const std::string& frame) {
      const auto& rows = FramesListView->rows();
      for (size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].caption() != frame) continue;
        FramesListView->selectOnly(static_cast<int>(row));
        FramesListView->scrollRowIntoView(static_cast<int>(row));
        FramesListViewClick();
        return;
      }
    };
  }
  auto relations = std::make_shared<graph::RelationGraph>(
      RelationsRoot, graph::documentFrameNames(FramesListView->rows()));
  if (!relations->findFrame(frameName)) return;
  relationsGraph_->setGraph(std::move(relations));
  // Shown first, so the drawing is fitted to the view's real size.
  relationsGraph_->show();
  relationsGraph_->raise();
  relationsGraph_->showFrame(frameName);
}

}  // namespace sorvanta::shell
