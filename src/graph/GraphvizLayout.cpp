#include "graph/GraphvizLayout.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <charconv>
#include <memory>
#include <mutex>

#include "text/Errors.h"

namespace sorvanta::graph {

namespace {

std::mutex graphvizMutex;
// Graphviz's messages of the call under way.
std::string graphvizMessages;

int collectMessage(char* message) {
  graphvizMessages += message;
  return 0;
}

struct ContextDeleter {
  void operator()(GVC_t* context) const { gvFreeContext(context); }
};

// The context, created on first use (it loads the plugin list once) and freed at exit.
GVC_t* context() {
  static std::unique_ptr<GVC_t, ContextDeleter> kept([] {
    agseterrf(collectMessage);
    agseterr(AGERR);  // warnings (fonts, sizes) are not failures
    return gvContext();
  }());
  return kept.get();
}

[[noreturn]] void fail(std::string_view what) {
  std::string message = "Graphviz " + std::string(what);
  while (!graphvizMessages.empty() && (graphvizMessages.back() == '\n')) graphvizMessages.pop_back();
  if (!graphvizMessages.empty()) message += ": " + graphvizMessages;
  throw text::RuntimeError(message);
}

// A graph read from DOT text and laid out by dot; layout and graph freed together.
class LaidOutGraph {
 public:
  explicit LaidOutGraph(std::string_view dot) {
    graphvizMessages.clear();
    // The context first: it sets up the defaults (such as a node's label being its name)
    // that a graph read before it would lack.
    GVC_t* gvc = context();
    const std::string text(dot);  // agmemread needs the terminating NUL
    graph_ = agmemread(text.c_str());
    if (!graph_) fail("cannot read the graph");
    // The engine the text names ("layout"), else dot.
    const char* engine = agget(graph_, const_cast<char*>("layout"));
    if (!engine || !*engine) engine = "dot";
    if (gvLayout(gvc, graph_, engine) != 0) {
      agclose(graph_);
      fail("cannot lay out the graph");
    }
  }
  ~LaidOutGraph() {
    gvFreeLayout(context(), graph_);
    agclose(graph_);
  }
  LaidOutGraph(const LaidOutGraph&) = delete;
  LaidOutGraph& operator=(const LaidOutGraph&) = delete;
  Agraph_t* get() const { return graph_; }

 private:
  Agraph_t* graph_ = nullptr;
};

// The number after the letter of an id "f12" / "e7", or none for other ids.
std::optional<uint32_t> idNumber(void* object, char letter) {
  char* value = agget(object, const_cast<char*>("id"));
  if (!value || value[0] != letter) return std::nullopt;
  const std::string_view digits(value + 1);
  uint32_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
    return std::nullopt;
  return number;
}

LayoutPoint point(pointf p, const boxf& box) { return {p.x - box.LL.x, p.y - box.LL.y}; }

}  // namespace

std::string renderDot(std::string_view dot, std::string_view format) {
  std::lock_guard lock(graphvizMutex);
  LaidOutGraph graph(dot);
  char* data = nullptr;
  unsigned int length = 0;
  const std::string formatName(format);
  if (gvRenderData(context(), graph.get(), formatName.c_str(), &data, &length) != 0 || !data) {
    if (data) gvFreeRenderData(data);
    fail("cannot draw the graph as " + formatName);
  }
  std::string bytes(data, length);
  gvFreeRenderData(data);
  return bytes;
}

GraphLayout layoutDot(std::string_view dot) {
  std::lock_guard lock(graphvizMutex);
  LaidOutGraph laidOut(dot);
  Agraph_t* graph = laidOut.get();
  const boxf box = GD_bb(graph);
  GraphLayout layout;
  layout.width = box.UR.x - box.LL.x;
  layout.height = box.UR.y - box.LL.y;
  for (Agnode_t* node = agfstnode(graph); node; node = agnxtnode(graph, node)) {
    if (const auto frame = idNumber(node, 'f')) {
      layout.nodes.push_back({*frame, point(ND_coord(node), box), ND_width(node) * 72.0,
                              ND_height(node) * 72.0});
    }
    for (Agedge_t* edge = agfstout(graph, node); edge; edge = agnxtout(graph, edge)) {
      const auto id = idNumber(edge, 'e');
      const splines* spline = ED_spl(edge);
      if (!id || !spline) continue;
      LayoutEdge drawn{*id, {}, std::nullopt};
      for (int b = 0; b < spline->size; ++b) {
        const bezier& curve = spline->list[b];
        for (int i = 0; i < curve.size; ++i) drawn.path.push_back(point(curve.list[i], box));
        if (curve.eflag) drawn.arrowTip = point(curve.ep, box);
      }
      layout.edges.push_back(std::move(drawn));
    }
  }
  return layout;
}

}  // namespace sorvanta::graph
