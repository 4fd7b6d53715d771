// The "Relations Graph" window on the sample release: opened from the frames list and the
// relations grid, redrawn by the depth, direction and type controls, clicks on frames and
// relations, zoom, saving, and frames the frames document lacks.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QWheelEvent>

#include "ShellFixture.h"
#include "graph/GraphText.h"
#include "lexicon/FramesIndex.h"
#include "shell/RelationsGraphWindow.h"
#include "widgets/QtText.h"

namespace sorvanta::testing {
namespace {

class RelationsGraph : public ShellTest {
 protected:
  RelationsGraph() : form(openSample()) {}

  // Opens the graph window from the frames list's context menu on the frame's row.
  shell::RelationsGraphWindow* openFromList(const std::string& frame) {
    const int row = rowWhere(form.FramesListView, lexicon::kFrameName, frame);
    EXPECT_GE(row, 0);
    const QModelIndex index = form.FramesListView->model()->index(row, 0);
    form.FramesListView->scrollTo(index);
    emit form.FramesListView->customContextMenuRequested(
        form.FramesListView->visualRect(index).center());
    auto* menu = form.FramesListView->findChild<QMenu*>("ContextMenu");
    EXPECT_NE(menu, nullptr);
    if (!menu) return nullptr;
    EXPECT_TRUE(menu->isVisible());
    auto* open = menu->findChild<QAction*>("RelationsGraphMenuAction");
    EXPECT_NE(open, nullptr);
    menu->close();
    if (!open) return nullptr;
    open->trigger();
    return form.relationsGraphWindow();
  }

  // Where the item standing for a frame lies in the view's viewport.
  static QPoint frameOnScreen(shell::RelationsGraphWindow& graph, const std::string& name) {
    for (QGraphicsItem* item : graph.GraphScene->items()) {
      const auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item);
      if (label && widgets::toWorking(label->text()).starts_with(name))
        return graph.GraphView->mapFromScene(label->parentItem()->sceneBoundingRect().center());
    }
    ADD_FAILURE() << "no item for " << name;
    return {};
  }

  static std::string edgesTsv(const shell::RelationsGraphWindow& graph) {
    return graph::graphTsv(*graph.relationGraph(), graph.selection().edges);
  }

  shell::TSVExplorer& form;
};

TEST_F(RelationsGraph, OpensFromTheFramesListOnTheFrameUnderThePointer) {
  shell::RelationsGraphWindow* graph = openFromList("Cause_motion");
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(graph->isVisible());
  EXPECT_EQ(graph->centreFrame(), "Cause_motion");
  EXPECT_EQ(edgesTsv(*graph),
            "Causative_of\tCause_motion\tMotion\nCoreSet\tCause_motion\tPlacing\n"
            "Using\tCause_motion\tPlacing\nUsing\tMotion\tCause_motion\n");
  // Laid out by Graphviz: one item per frame and per relation, each frame inside the scene.
  EXPECT_EQ(graph->layout().nodes.size(), 3u);
  EXPECT_EQ(graph->layout().edges.size(), 4u);
  EXPECT_EQ(graph->StatusLabel->text(), "3 frames, 4 relations");
  EXPECT_TRUE(messages.empty());
}

TEST_F(RelationsGraph, OpensFromTheRelationsGridOnTheShownFrame) {
  clickRow(form.FramesListView, rowWhere(form.FramesListView, lexicon::kFrameName, "Arriving"));
  ASSERT_EQ(form.FrameNameEdit->text(), "Arriving");
  const QModelIndex cell = form.Fr2FrAdvStringGrid->model()->index(0, 0);
  emit form.Fr2FrAdvStringGrid->customContextMenuRequested(
      form.Fr2FrAdvStringGrid->visualRect(cell).center());
  auto* menu = form.Fr2FrAdvStringGrid->findChild<QMenu*>("ContextMenu");
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  ASSERT_EQ(menu->actions().size(), 1);
  QAction* open = menu->actions().front();
  menu->close();
  open->trigger();
  ASSERT_NE(form.relationsGraphWindow(), nullptr);
  EXPECT_EQ(form.relationsGraphWindow()->centreFrame(), "Arriving");
}

TEST_F(RelationsGraph, OpensFromTheToolsMenuOnTheSelectedFrame) {
  auto* action = form.findChild<QAction*>("RelationsGraphAction");
  ASSERT_NE(action, nullptr);
  EXPECT_TRUE(form.ToolsMenu->actions().contains(action));
  // Without a selected frame there is nothing to centre on.
  form.FramesListView->clearRowSelection();
  action->trigger();
  EXPECT_EQ(form.relationsGraphWindow(), nullptr);
  clickRow(form.FramesListView, rowWhere(form.FramesListView, lexicon::kFrameName, "Placing"));
  action->trigger();
  ASSERT_NE(form.relationsGraphWindow(), nullptr);
  EXPECT_TRUE(form.relationsGraphWindow()->isVisible());
  EXPECT_EQ(form.relationsGraphWindow()->centreFrame(), "Placing");
}

TEST_F(RelationsGraph, DepthDirectionAndTypesRedraw) {
  shell::RelationsGraphWindow* graph = openFromList("Motion");
  ASSERT_NE(graph, nullptr);
  graph->DepthSpin->setValue(2);
  graph->DirectionCombo->setCurrentIndex(2);  // down
  EXPECT_EQ(edgesTsv(*graph),
            std::string("Causative_of\tCause_motion\tMotion\nCoreSet\tCause_motion\tPlacing\n"
                        "CoreSet\tMotion\tMotion\nInchoative_of\tArriving\tLocative_relation\n"
                        "Inheritance\tMotion\tSelf_motion\nPrecedes\tDeparting\tArriving\n"
                        "Subframe\tMotion\tArriving\nSubframe\tMotion\tDeparting\n"
                        "Using\tCause_motion\tPlacing\nUsing\tMotion\tCause_motion\n"));
  for (const char* type : {"CoreSet", "Using", "Precedes", "Inchoative_of", "Causative_of"})
    graph->findChild<QCheckBox*>(QString("TypeCheck_") + type)->setChecked(false);
  EXPECT_EQ(edgesTsv(*graph), "Inheritance\tMotion\tSelf_motion\nSubframe\tMotion\tArriving\n"
                              "Subframe\tMotion\tDeparting\n");
  EXPECT_EQ(graph->layout().edges.size(), 3u);
}

TEST_F(RelationsGraph, ClickingAFrameSelectsItAndRecentres) {
  shell::RelationsGraphWindow* graph = openFromList("Motion");
  ASSERT_NE(graph, nullptr);
  QTest::mouseClick(graph->GraphView->viewport(), Qt::LeftButton, Qt::NoModifier,
                    frameOnScreen(*graph, "Self_motion"));
  EXPECT_EQ(graph->centreFrame(), "Self_motion");
  EXPECT_EQ(form.FrameNameEdit->text(), "Self_motion");
  const lexicon::ListRow* selected = form.FramesListView->singleSelectedRow();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->caption(), "Self_motion");
  EXPECT_EQ(edgesTsv(*graph),
            "Inheritance\tIntentionally_act\tSelf_motion\nInheritance\tMotion\tSelf_motion\n");
}

TEST_F(RelationsGraph, ClickingARelationListsItsMappings) {
  shell::RelationsGraphWindow* graph = openFromList("Commerce_buy");
  ASSERT_NE(graph, nullptr);
  graph->GraphView->resetTransform();  // natural size: the lines are easy to hit
  // The middle of the Perspective_on line.
  QPoint onLine;
  for (QGraphicsItem* item : graph->GraphScene->items()) {
    auto* path = dynamic_cast<QGraphicsPathItem*>(item);
    if (path && path->toolTip() == "Perspective_on")
      onLine = graph->GraphView->mapFromScene(path->path().pointAtPercent(0.5));
  }
  graph->GraphView->centerOn(graph->GraphView->mapToScene(onLine));
  for (QGraphicsItem* item : graph->GraphScene->items()) {
    auto* path = dynamic_cast<QGraphicsPathItem*>(item);
    if (path && path->toolTip() == "Perspective_on")
      onLine = graph->GraphView->mapFromScene(path->path().pointAtPercent(0.5));
  }
  QTest::mouseClick(graph->GraphView->viewport(), Qt::LeftButton, Qt::NoModifier, onLine);
  EXPECT_EQ(graph->centreFrame(), "Commerce_buy");
  ASSERT_EQ(graph->MappingsGrid->rowCount(), 4);
  EXPECT_EQ(graph->MappingsGrid->item(0, 0)->text(), "Buyer");
  EXPECT_EQ(graph->MappingsGrid->item(2, 1)->text(), "Goods");
  EXPECT_TRUE(graph->RelationLabel->text().startsWith("Perspective_on: Commerce_goods_transfer"));
}

TEST_F(RelationsGraph, WheelZoomsAndFitShowsTheWholeGraph) {
  shell::RelationsGraphWindow* graph = openFromList("Motion");
  ASSERT_NE(graph, nullptr);
  const double fitted = graph->GraphView->transform().m11();
  const QPoint middle = graph->GraphView->viewport()->rect().center();
  QWheelEvent wheel(middle, graph->GraphView->viewport()->mapToGlobal(middle), QPoint(),
                    QPoint(0, 240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(graph->GraphView->viewport(), &wheel);
  EXPECT_GT(graph->GraphView->transform().m11(), fitted * 1.3);
  graph->FitButton->click();
  EXPECT_DOUBLE_EQ(graph->GraphView->transform().m11(), fitted);
}

TEST_F(RelationsGraph, SavesInTheFormatOfTheFileName) {
  shell::RelationsGraphWindow* graph = openFromList("Motion");
  ASSERT_NE(graph, nullptr);
  TempDir out;
  const std::pair<std::string, std::string> files[] = {
      {"motion.svg", "<?xml"}, {"motion.png", "\x89PNG"}, {"motion.dot", "digraph"},
      {"motion", "<?xml"}};  // no extension: SVG, named .svg
  for (const auto& [name, start] : files) {
    graph->chooseSaveFile = [&] { return QString::fromStdString(out.file(name)); };
    graph->SaveButton->click();
    const std::string written = out.file(name.find('.') == std::string::npos ? name + ".svg" : name);
    EXPECT_TRUE(readBytes(written).starts_with(start)) << name;
  }
  graph->chooseSaveFile = [&] { return QString::fromStdString(out.file("none/motion.svg")); };
  graph->SaveButton->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].second.startsWith("Cannot create file"));
}

class RelationsGraphMissing : public ShellTest {};

TEST_F(RelationsGraphMissing, FramesTheFramesDocumentLacksAreMarked) {
  TempDir release;
  writeRelease(release,
               "<frames><frame name=\"Here\" ID=\"1\"><definition/><fes/><lexunits/></frame></frames>",
               "<frame-relation-types><frame-relation-type name=\"Using\"><frame-relations>"
               "<frame-relation superFrameName=\"Here\" subFrameName=\"Gone\"/>"
               "</frame-relations></frame-relation-type></frame-relation-types>");
  storeFolder(release.path().string() + "/");
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  form.ShowRelationsGraph("Here");
  shell::RelationsGraphWindow* graph = form.relationsGraphWindow();
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->StatusLabel->text(), "2 frames, 1 relations, 1 not in the frames document");
  bool marked = false;
  for (QGraphicsItem* item : graph->GraphScene->items())
    if (auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item))
      marked |= label->text() == "Gone\n(missing)";
  EXPECT_TRUE(marked);
  // A click on the missing frame re-centres the graph; the frames list has no row to select.
  graph->frameClicked(*graph->relationGraph()->findFrame("Gone"));
  EXPECT_EQ(graph->centreFrame(), "Gone");
  EXPECT_EQ(form.FrameNameEdit->text(), "Here");
}

}  // namespace
}  // namespace sorvanta::testing
