#include "graph/GraphText.h"

#include <algorithm>

#include "graph/GraphStyle.h"

namespace sorvanta::graph {

namespace {

const char* const kFont = "DejaVu Sans";

void appendNode(std::string& dot, const RelationGraph& graph, FrameId frame, bool centre) {
  const std::string& name = graph.frameNameUtf8(frame);
  dot.append("  ").append(dotQuoted(name)).append(" [id=\"f").append(std::to_string(frame));
  dot.push_back('"');
  if (centre) dot.append(", style=\"rounded,filled,bold\", fillcolor=\"").append(kCentreFill).append("\"");
  if (graph.isMissing(frame)) {
    dot.append(centre ? ", color=\"" : ", style=\"rounded,dashed\", color=\"")
        .append(kMissingColour)
        .append("\", fontcolor=\"")
        .append(kMissingColour)
        .append("\", label=");
    // "\n" is Graphviz's centred line break inside a label.
    std::string label = dotQuoted(name);
    label.insert(label.size() - 1, std::string("\\n") + std::string(kMissingMark));
    dot.append(label).append(", tooltip=\"not in the frames document\"");
  }
  dot.append("];\n");
}

void appendEdgeStyle(std::string& dot, size_t type) {
  const EdgeStyle& style = kEdgeStyles[type];
  dot.append("color=\"").append(style.colour).append("\", style=").append(dotLineStyle(style.line));
  dot.append(", arrowhead=").append(style.arrowhead);
}

// Node names for the legend that no drawn frame has.
std::string legendPrefix(const RelationGraph& graph, const std::vector<FrameId>& frames) {
  // Underscores before "legend " until no frame name starts with the prefix (counted, then
  // built once: inserting at the front trips a false overlap warning of GCC 12 at -O3).
  size_t underscores = 0;
  std::string prefix = "legend ";
  while (std::any_of(frames.begin(), frames.end(), [&](FrameId frame) {
    return graph.frameNameUtf8(frame).starts_with(prefix);
  }))
    prefix = std::string(++underscores, '_').append("legend ");
  return prefix;
}

void appendLegend(std::string& dot, const RelationGraph& graph, const GraphSelection& selection,
                  const std::vector<FrameId>& frames) {
  TypeSet drawn;
  for (EdgeId id : selection.edges) drawn.set(graph.edge(id).type);
  const bool anyMissing =
      std::any_of(frames.begin(), frames.end(), [&](FrameId f) { return graph.isMissing(f); });
  if (drawn.none() && !anyMissing) return;
  const std::string prefix = legendPrefix(graph, frames);
  dot.append("  subgraph cluster_legend {\n    label=\"Legend\";\n    style=rounded;\n"
             "    color=\"#999999\";\n    fontsize=10;\n"
             "    node [shape=point, width=0.06, color=\"#999999\"];\n"
             "    edge [fontsize=9];\n");
  for (size_t type = 0; type < kRelationTypeCount; ++type) {
    if (!drawn.test(type)) continue;
    const std::string from = dotQuoted(prefix + std::to_string(type) + " from");
    const std::string to = dotQuoted(prefix + std::to_string(type) + " to");
    dot.append("    ").append(from).append(" -> ").append(to).append(" [label=");
    dot.append(dotQuoted(kRelationTypes[type])).append(", ");
    appendEdgeStyle(dot, type);
    dot.append("];\n");
  }
  if (anyMissing) {
    dot.append("    ").append(dotQuoted(prefix + "missing"));
    dot.append(" [shape=box, width=0.75, style=\"rounded,dashed\", color=\"")
        .append(kMissingColour)
        .append("\", fontcolor=\"")
        .append(kMissingColour)
        .append("\", fontsize=9, label=\"missing frame\"];\n");
  }
  dot.append("  }\n");
}

}  // namespace

std::vector<FrameId> selectionFrames(const RelationGraph& graph, const GraphSelection& selection) {
  std::vector<FrameId> frames;
  if (selection.centre) frames.push_back(*selection.centre);
  for (EdgeId id : selection.edges) {
    frames.push_back(graph.edge(id).superFrame);
    frames.push_back(graph.edge(id).subFrame);
  }
  std::sort(frames.begin(), frames.end(), [&](FrameId a, FrameId b) {
    return graph.frameNameUtf8(a) < graph.frameNameUtf8(b);
  });
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

std::string graphTsv(const RelationGraph& graph, const std::vector<EdgeId>& edges) {
  std::string tsv;
  tsv.reserve(edges.size() * 48);
  for (EdgeId id : edges) {
    const Edge& edge = graph.edge(id);
    tsv.append(kRelationTypes[edge.type]).push_back('\t');
    tsv.append(graph.frameNameUtf8(edge.superFrame)).push_back('\t');
    tsv.append(graph.frameNameUtf8(edge.subFrame)).push_back('\n');
  }
  return tsv;
}

std::string dotQuoted(std::string_view utf8) {
  std::string quoted;
  quoted.reserve(utf8.size() + 2);
  quoted.push_back('"');
  for (char c : utf8) {
    if (c == '"' || c == '\\') quoted.push_back('\\');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

std::string graphDot(const RelationGraph& graph, const GraphSelection& selection,
                     const DotOptions& options) {
  const std::vector<FrameId> frames = selectionFrames(graph, selection);
  std::string dot;
  dot.reserve(256 + frames.size() * 48 + selection.edges.size() * 120);
  dot.append("digraph \"frame relations\" {\n  charset=\"UTF-8\";\n");
  if (frames.size() > kLayeredFrameLimit)
    dot.append("  layout=sfdp;\n  overlap=prism;\n  outputorder=edgesfirst;\n");
  else
    dot.append("  rankdir=TB;\n");
  dot.append("  fontname=\"").append(kFont).append("\";\n");
  dot.append("  node [shape=box, style=rounded, fontname=\"").append(kFont).append("\", fontsize=11];\n");
  dot.append("  edge [fontname=\"").append(kFont).append("\", fontsize=9];\n");
  for (FrameId frame : frames)
    appendNode(dot, graph, frame, selection.centre && *selection.centre == frame);
  for (EdgeId id : selection.edges) {
    const Edge& edge = graph.edge(id);
    dot.append("  ").append(dotQuoted(graph.frameNameUtf8(edge.superFrame))).append(" -> ");
    dot.append(dotQuoted(graph.frameNameUtf8(edge.subFrame))).append(" [id=\"e");
    dot.append(std::to_string(id)).append("\", ");
    appendEdgeStyle(dot, edge.type);
    dot.append(", tooltip=").append(dotQuoted(kRelationTypes[edge.type])).append("];\n");
  }
  if (options.legend) appendLegend(dot, graph, selection, frames);
  dot.append("}\n");
  return dot;
}

}  // namespace sorvanta::graph
