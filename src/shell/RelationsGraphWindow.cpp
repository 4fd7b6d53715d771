#include "shell/RelationsGraphWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "graph/GraphExport.h"
#include "graph/GraphStyle.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/QtText.h"

namespace sorvanta::shell {

using widgets::toQString;
using widgets::toWorking;

namespace {

// Item data: what an item stands for, and its frame or edge id.
constexpr int kKindKey = 0;
constexpr int kIdKey = 1;
enum ItemKind { kFrameItem = 1, kRelationItem = 2 };

QColor colourOf(std::string_view hex) { return QColor(QString::fromLatin1(hex.data(), int(hex.size()))); }

QPen edgePen(size_t type) {
  const graph::EdgeStyle& style = graph::kEdgeStyles[type];
  QPen pen(colourOf(style.colour), style.line == graph::LineStyle::Bold ? 2.4 : 1.2);
  if (style.line == graph::LineStyle::Dashed) pen.setStyle(Qt::DashLine);
  if (style.line == graph::LineStyle::Dotted) pen.setStyle(Qt::DotLine);
  return pen;
}

// A relation's path that is easy to hit: clicks within a few points of the line count.
class RelationItem : public QGraphicsPathItem {
 public:
  using QGraphicsPathItem::QGraphicsPathItem;
  QPainterPath shape() const override {
    QPainterPathStroker stroker;
    stroker.setWidth(8);
    return stroker.createStroke(path());
  }
};

// A small picture of a type's line for the legend.
QPixmap legendSample(size_t type) {
  QPixmap pixmap(36, 12);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(edgePen(type));
  painter.drawLine(2, 6, 28, 6);
  painter.setBrush(painter.pen().color());
  painter.drawPolygon(QPolygonF({QPointF(34, 6), QPointF(27, 2.5), QPointF(27, 9.5)}));
  return pixmap;
}

}  // namespace

void RelationsGraphView::wheelEvent(QWheelEvent* event) {
  const double factor = std::pow(1.0015, event->angleDelta().y());
  setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
  scale(factor, factor);
  event->accept();
}

void RelationsGraphView::mousePressEvent(QMouseEvent* event) {
  pressedAt_ = event->pos();
  QGraphicsView::mousePressEvent(event);
}

void RelationsGraphView::mouseReleaseEvent(QMouseEvent* event) {
  QGraphicsView::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  if ((event->pos() - pressedAt_).manhattanLength() > 4) return;  // a drag that panned
  emit itemClicked(itemAt(event->pos()));
}

RelationsGraphWindow::RelationsGraphWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(this) {
  setObjectName("RelationsGraphWindow");
  setWindowTitle("Relations Graph");
  buildControls();
  chooseSaveFile = [this] {
    return QFileDialog::getSaveFileName(this, "Save Relations Graph", QString(),
                                        "SVG drawing (*.svg);;PNG picture (*.png);;"
                                        "Graphviz DOT (*.dot *.gv);;Edge list (*.tsv)");
  };
  auto guarded = [this](auto handler) {
    return [this, handler](auto&&...) { widgets::runGuarded(messages_, [&] { (this->*handler)(); }); };
  };
  connect(DepthSpin, &QSpinBox::valueChanged, this, guarded(&RelationsGraphWindow::redraw));
  connect(DirectionCombo, &QComboBox::currentIndexChanged, this,
          guarded(&RelationsGraphWindow::redraw));
  for (QCheckBox* check : TypeChecks)
    connect(check, &QCheckBox::toggled, this, guarded(&RelationsGraphWindow::redraw));
  connect(FitButton, &QPushButton::clicked, this, guarded(&RelationsGraphWindow::fitGraph));
  connect(SaveButton, &QPushButton::clicked, this,
          guarded(&RelationsGraphWindow::SaveButtonClick));
  connect(GraphView, &RelationsGraphView::itemClicked, this, [this](QGraphicsItem* item) {
    widgets::runGuarded(messages_, [&] { itemClicked(item); });
  });
}

RelationsGraphWindow::~RelationsGraphWindow() = default;

void RelationsGraphWindow::buildControls() {
  GraphScene = new QGraphicsScene(this);
  GraphView = new RelationsGraphView(GraphScene, this);
  GraphView->setObjectName("GraphView");
  GraphView->setDragMode(QGraphicsView::ScrollHandDrag);
  GraphView->setRenderHint(QPainter::Antialiasing);
  GraphView->setMinimumSize(480, 360);

  DepthSpin = new QSpinBox(this);
  DepthSpin->setObjectName("DepthSpin");
  DepthSpin->setRange(1, 9);
  DepthSpin->setValue(1);
  DirectionCombo = new QComboBox(this);
  DirectionCombo->setObjectName("DirectionCombo");
  DirectionCombo->addItems({"Both directions", "Up (super frames)", "Down (sub frames)"});
  FitButton = new QPushButton("Fit", this);
  FitButton->setObjectName("FitButton");
  SaveButton = new QPushButton("Save...", this);
  SaveButton->setObjectName("SaveButton");
  StatusLabel = new QLabel(this);
  StatusLabel->setObjectName("StatusLabel");

  auto* top = new QHBoxLayout();
  top->addWidget(new QLabel("Depth:", this));
  top->addWidget(DepthSpin);
  top->addWidget(DirectionCombo);
  top->addWidget(StatusLabel, 1);
  top->addWidget(FitButton);
  top->addWidget(SaveButton);

  // The type check boxes double as the legend: each shows its type's line.
  auto* types = new QGridLayout();
  for (size_t t = 0; t < graph::kRelationTypeCount; ++t) {
    const QString name = QString::fromLatin1(graph::kRelationTypes[t].data(),
                                              int(graph::kRelationTypes[t].size()));
    auto* check = new QCheckBox(name, this);
    check->setObjectName("TypeCheck_" + name);
    check->setChecked(true);
    check->setIcon(QIcon(legendSample(t)));
    check->setIconSize(QSize(36, 12));
    TypeChecks[t] = check;
    types->addWidget(check, int(t), 0);
  }
  auto* missing = new QLabel(this);
  missing->setText(QString("<span style='color:%1'>Dashed red frame: %2 (not in the frames "
                           "document)</span>")
                       .arg(colourOf(graph::kMissingColour).name(),
                            QString::fromLatin1(graph::kMissingMark.data())));
  missing->setWordWrap(true);
  types->addWidget(missing, int(graph::kRelationTypeCount), 0);

  RelationLabel = new QLabel("Click a relation to see its frame-element mappings.", this);
  RelationLabel->setObjectName("RelationLabel");
  RelationLabel->setWordWrap(true);
  MappingsGrid = new QTableWidget(0, 2, this);
  MappingsGrid->setObjectName("MappingsGrid");
  MappingsGrid->setHorizontalHeaderLabels({"Super frame element", "Sub frame element"});
  MappingsGrid->horizontalHeader()->setStretchLastSection(true);
  MappingsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);

  auto* side = new QWidget(this);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addLayout(types);
  sideLayout->addWidget(RelationLabel);
  sideLayout->addWidget(MappingsGrid, 1);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(GraphView);
  splitter->addWidget(side);
  splitter->setStretchFactor(0, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(splitter, 1);
  resize(1000, 640);
}

void RelationsGraphWindow::setGraph(std::shared_ptr<const graph::RelationGraph> graph) {
  graph_ = std::move(graph);
  centre_.reset();
  selection_ = {};
  layout_ = {};
  GraphScene->clear();
  MappingsGrid->setRowCount(0);
}

bool RelationsGraphWindow::showFrame(const std::string& frameName) {
  if (!graph_) return false;
  const std::optional<graph::FrameId> frame = graph_->findFrame(frameName);
  if (!frame) return false;
  centre_ = frame;
  redraw();
  return true;
}

std::string RelationsGraphWindow::centreFrame() const {
  return graph_ && centre_ ? graph_->frameName(*centre_) : std::string();
}

graph::WalkOptions RelationsGraphWindow::walkOptions() const {
  graph::WalkOptions options;
  options.depth = DepthSpin->value();
  options.direction = DirectionCombo->currentIndex() == 1   ? graph::Direction::Up
                      : DirectionCombo->currentIndex() == 2 ? graph::Direction::Down
                                                            : graph::Direction::Both;
  options.types.reset();
  for (size_t t = 0; t < TypeChecks.size(); ++t) options.types.set(t, TypeChecks[t]->isChecked());
  return options;
}

void RelationsGraphWindow::redraw() {
  if (!graph_ || !centre_) return;
  selection_ = graph::neighbourhoodSelection(*graph_, *centre_, walkOptions());
  layout_ = graph::layoutDot(graph::graphDot(*graph_, selection_, {false}));
  setWindowTitle("Relations Graph - " + QString::fromStdString(graph_->frameNameUtf8(*centre_)));
  const size_t missing = graph::missingFrames(*graph_, selection_.edges).size();
  QString status = QString("%1 frames, %2 relations").arg(layout_.nodes.size()).arg(selection_.edges.size());
  if (missing > 0) status += QString(", %1 not in the frames document").arg(missing);
  StatusLabel->setText(status);
  drawLayout();
  fitGraph();
}

void RelationsGraphWindow::drawLayout() {
  GraphScene->clear();
  MappingsGrid->setRowCount(0);
  // Graphviz's y grows upwards, the scene's downwards.
  const double height = layout_.height;
  auto at = [height](const graph::LayoutPoint& p) { return QPointF(p.x, height - p.y); };
  for (const graph::LayoutEdge& drawn : layout_.edges) {
    const graph::Edge& edge = graph_->edge(drawn.edge);
    QPainterPath path;
    if (drawn.path.empty()) continue;
    path.moveTo(at(drawn.path[0]));
    for (size_t i = 1; i + 2 < drawn.path.size(); i += 3)
      path.cubicTo(at(drawn.path[i]), at(drawn.path[i + 1]), at(drawn.path[i + 2]));
    const QPen pen = edgePen(edge.type);
    if (drawn.arrowTip) {
      // A head from the end of the path to the tip Graphviz left room for.
      const QPointF tip = at(*drawn.arrowTip);
      const QPointF base = path.currentPosition();
      const QPointF along = tip - base;
      const double length = std::hypot(along.x(), along.y());
      if (length > 0.1) {
        const QPointF side(-along.y() / length * 3.5, along.x() / length * 3.5);
        QPainterPath head;
        head.addPolygon(QPolygonF({tip, base + side, base - side, tip}));
        auto* headItem = GraphScene->addPath(head, QPen(pen.color(), 1), QBrush(pen.color()));
        headItem->setData(kKindKey, kRelationItem);
        headItem->setData(kIdKey, drawn.edge);
      }
    }
    auto* item = new RelationItem(path);
    item->setPen(pen);
    item->setToolTip(QString::fromLatin1(graph::kRelationTypes[edge.type].data()));
    item->setData(kKindKey, kRelationItem);
    item->setData(kIdKey, drawn.edge);
    GraphScene->addItem(item);
  }
  QFont font;
  font.setPointSizeF(9);
  for (const graph::LayoutNode& node : layout_.nodes) {
    const bool missing = graph_->isMissing(node.frame);
    const bool centre = centre_ && *centre_ == node.frame;
    QPainterPath box;
    const QPointF middle = at(node.centre);
    box.addRoundedRect(QRectF(middle.x() - node.width / 2, middle.y() - node.height / 2,
                              node.width, node.height),
                       6, 6);
    QPen pen(missing ? colourOf(graph::kMissingColour) : QColor(Qt::black), centre ? 2 : 1);
    if (missing) pen.setStyle(Qt::DashLine);
    auto* item = GraphScene->addPath(box, pen,
                                     centre ? QBrush(colourOf(graph::kCentreFill)) : QBrush(Qt::white));
    item->setData(kKindKey, kFrameItem);
    item->setData(kIdKey, node.frame);
    QString text = QString::fromStdString(graph_->frameNameUtf8(node.frame));
    if (missing) text += "\n" + QString::fromLatin1(graph::kMissingMark.data());
    auto* label = new QGraphicsSimpleTextItem(text, item);
    label->setFont(font);
    if (missing) label->setBrush(colourOf(graph::kMissingColour));
    const QRectF bounds = label->boundingRect();
    label->setPos(middle - QPointF(bounds.width() / 2, bounds.height() / 2));
  }
  GraphScene->setSceneRect(QRectF(-8, -8, layout_.width + 16, layout_.height + 16));
}

void RelationsGraphWindow::fitGraph() {
  if (GraphScene->items().isEmpty()) return;
  GraphView->fitInView(GraphScene->sceneRect(), Qt::KeepAspectRatio);
  // Small graphs are not blown up beyond their natural size.
  if (GraphView->transform().m11() > 1.5) GraphView->setTransform(QTransform::fromScale(1.5, 1.5));
}

void RelationsGraphWindow::itemClicked(QGraphicsItem* item) {
  while (item && !item->data(kKindKey).isValid()) item = item->parentItem();
  if (!item) return;
  const auto id = item->data(kIdKey).toUInt();
  if (item->data(kKindKey).toInt() == kFrameItem)
    frameClicked(id);
  else
    relationClicked(id);
}

void RelationsGraphWindow::frameClicked(graph::FrameId frame) {
  if (!graph_ || frame >= graph_->frameCount()) return;
  centre_ = frame;
  redraw();
  if (onFrameActivated) onFrameActivated(graph_->frameName(frame));
}

void RelationsGraphWindow::relationClicked(graph::EdgeId id) {
  if (!graph_ || id >= graph_->edges().size()) return;
  const graph::Edge& edge = graph_->edge(id);
  RelationLabel->setText(QString("%1: %2 \u2192 %3 (%4 mappings)")
                             .arg(QString::fromLatin1(graph::kRelationTypes[edge.type].data()),
                                  QString::fromStdString(graph_->frameNameUtf8(edge.superFrame)),
                                  QString::fromStdString(graph_->frameNameUtf8(edge.subFrame)))
                             .arg(edge.feMappings.size()));
  MappingsGrid->setRowCount(int(edge.feMappings.size()));
  for (size_t i = 0; i < edge.feMappings.size(); ++i) {
    const graph::FeMapping& mapping = edge.feMappings[i];
    MappingsGrid->setItem(int(i), 0,
                          new QTableWidgetItem(QString::fromStdString(mapping.superFeUtf8)));
    MappingsGrid->setItem(int(i), 1, new QTableWidgetItem(QString::fromStdString(mapping.subFeUtf8)));
  }
}

void RelationsGraphWindow::saveAs(const std::string& path) {
  if (!graph_ || !centre_) return;
  std::string target = path;
  std::optional<graph::GraphFormat> format = graph::graphFormatOfFile(target);
  if (!format) {
    target += ".svg";
    format = graph::GraphFormat::Svg;
  }
  graph::saveGraph(*graph_, selection_, *format, target);
}

void RelationsGraphWindow::SaveButtonClick() {
  const QString file = chooseSaveFile ? chooseSaveFile() : QString();
  if (file.isEmpty()) return;
  saveAs(toWorking(file));
}

}  // namespace sorvanta::shell
