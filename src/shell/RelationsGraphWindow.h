#pragma once
// The "Relations Graph" window: a frame's neighbourhood in the frame-relation graph, laid out
// by Graphviz and drawn as items of a QGraphicsScene. The wheel zooms, dragging pans, "Fit"
// shows it whole; the depth, the direction and the relation types choose what is drawn.
// Clicking a frame re-centres the graph on it and tells the main window; clicking a relation
// lists its frame-element mappings. "Save..." writes SVG, PNG or DOT.
#include <QGraphicsView>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "graph/GraphText.h"
#include "graph/GraphvizLayout.h"
#include "graph/RelationGraph.h"
#include "widgets/Messages.h"

class QCheckBox;
class QComboBox;
class QGraphicsScene;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace sorvanta::shell {

// The graph's view: wheel zoom around the pointer, hand-drag panning, and clicks on items
// (a press and release without dragging) reported with the item under the pointer.
class RelationsGraphView : public QGraphicsView {
  Q_OBJECT

 public:
  using QGraphicsView::QGraphicsView;

 signals:
  void itemClicked(QGraphicsItem* item);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPoint pressedAt_;
};

class RelationsGraphWindow : public QWidget {
  Q_OBJECT

 public:
  explicit RelationsGraphWindow(QWidget* parent = nullptr);
  ~RelationsGraphWindow() override;

  // The graph the window draws from; the drawing is cleared.
  void setGraph(std::shared_ptr<const graph::RelationGraph> graph);
  const graph::RelationGraph* relationGraph() const { return graph_.get(); }
  // Centres the drawing on a frame (working text) and draws it; false when the graph does
  // not know the frame (nothing changes then).
  bool showFrame(const std::string& frameName);
  // The frame at the centre (working text); empty before the first frame.
  std::string centreFrame() const;

  // Handlers: what the controls and clicks call.
  void redraw();
  void frameClicked(graph::FrameId frame);
  void relationClicked(graph::EdgeId edge);
  void fitGraph();
  // Writes the drawing to path (working text) in the format its extension names: .svg, .png,
  // .dot or .gv, .tsv; without one, as SVG with ".svg" appended.
  void saveAs(const std::string& path);
  void SaveButtonClick();

  // Called with the frame name (working text) when a frame of the drawing is clicked.
  std::function<void(const std::string&)> onFrameActivated;
  // Asks for the file to save to; empty: cancelled. Tests replace it.
  std::function<QString()> chooseSaveFile;

  // What is drawn, for the window's tests.
  const graph::GraphSelection& selection() const { return selection_; }
  const graph::GraphLayout& layout() const { return layout_; }

  RelationsGraphView* GraphView;
  QGraphicsScene* GraphScene;
  QSpinBox* DepthSpin;
  QComboBox* DirectionCombo;
  std::array<QCheckBox*, graph::kRelationTypeCount> TypeChecks{};
  QPushButton* FitButton;
  QPushButton* SaveButton;
  QLabel* StatusLabel;
  QLabel* RelationLabel;
  QTableWidget* MappingsGrid;

 private:
  void buildControls();
  graph::WalkOptions walkOptions() const;
  void drawLayout();
  void itemClicked(QGraphicsItem* item);

  widgets::Messages messages_;
  std::shared_ptr<const graph::RelationGraph> graph_;
  std::optional<graph::FrameId> centre_;
  graph::GraphSelection selection_;
  graph::GraphLayout layout_;
};

}  // namespace sorvanta::shell
