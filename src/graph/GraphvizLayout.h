#pragma once
// Layout and drawing by Graphviz (gvc + cgraph; the engine the DOT text names, else dot): DOT text rendered
// to SVG or PNG bytes, or laid out into positions the window draws from. One process-wide
// Graphviz context serves every call; calls are serialised, as Graphviz is not reentrant.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graph/RelationGraph.h"

namespace sorvanta::graph {

// "svg" or "png": the bytes Graphviz draws for dot. Throws text::RuntimeError with
// Graphviz's message when the text cannot be read, laid out or rendered in that format.
std::string renderDot(std::string_view dot, std::string_view format);

// Positions in points, y growing upwards as in Graphviz; (0, 0) is the lower left corner.
struct LayoutPoint {
  double x = 0;
  double y = 0;
};

struct LayoutNode {
  FrameId frame = 0;
  LayoutPoint centre;
  double width = 0;
  double height = 0;
};

struct LayoutEdge {
  EdgeId edge = 0;
  // A cubic Bezier path: a start point, then three points per segment.
  std::vector<LayoutPoint> path;
  // Where the arrow head at the sub frame ends, when Graphviz drew one.
  std::optional<LayoutPoint> arrowTip;
};

struct GraphLayout {
  double width = 0;
  double height = 0;
  std::vector<LayoutNode> nodes;
  std::vector<LayoutEdge> edges;
};

// Lays out DOT text written by graphDot (nodes "f<frame>", edges "e<edge>"); elements without
// such an id (the legend) are left out. Throws text::RuntimeError as renderDot does.
GraphLayout layoutDot(std::string_view dot);

}  // namespace sorvanta::graph
