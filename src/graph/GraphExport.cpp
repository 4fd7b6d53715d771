#include "graph/GraphExport.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "graph/GraphvizLayout.h"
#include "text/FileIO.h"

namespace sorvanta::graph {

std::optional<GraphFormat> graphFormatNamed(std::string_view name) {
  if (name == "tsv") return GraphFormat::Tsv;
  if (name == "dot") return GraphFormat::Dot;
  if (name == "svg") return GraphFormat::Svg;
  if (name == "png") return GraphFormat::Png;
  return std::nullopt;
}

std::optional<GraphFormat> graphFormatOfFile(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
    return std::nullopt;
  std::string extension(path.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "gv") return GraphFormat::Dot;
  return graphFormatNamed(extension);
}

GraphSelection neighbourhoodSelection(const RelationGraph& graph, FrameId centre,
                                      const WalkOptions& options) {
  return {neighbourhood(graph, centre, options), centre};
}

GraphSelection wholeGraphSelection(const RelationGraph& graph, TypeSet types) {
  return {allEdges(graph, types), std::nullopt};
}

std::string graphBytes(const RelationGraph& graph, const GraphSelection& selection,
                       GraphFormat format) {
  switch (format) {
    case GraphFormat::Tsv:
      return graphTsv(graph, selection.edges);
    case GraphFormat::Dot:
      return graphDot(graph, selection);
    case GraphFormat::Svg:
      return renderDot(graphDot(graph, selection), "svg");
    case GraphFormat::Png:
      return renderDot(graphDot(graph, selection), "png");
  }
  return {};
}

void saveGraph(const RelationGraph& graph, const GraphSelection& selection, GraphFormat format,
               std::string_view path) {
  text::writeFileAtomically(path, graphBytes(graph, selection, format));
}

std::vector<std::string> missingFrameWarnings(const RelationGraph& graph,
                                              const std::vector<EdgeId>& edges) {
  std::unordered_map<FrameId, int> relations;
  for (EdgeId id : edges) {
    const Edge& edge = graph.edge(id);
    if (graph.isMissing(edge.superFrame)) ++relations[edge.superFrame];
    if (edge.subFrame != edge.superFrame && graph.isMissing(edge.subFrame)) ++relations[edge.subFrame];
  }
  std::vector<std::string> warnings;
  for (FrameId frame : missingFrames(graph, edges)) {
    const int count = relations[frame];
    warnings.push_back("frame '" + graph.frameNameUtf8(frame) + "' is named by " +
                       std::to_string(count) + (count == 1 ? " relation" : " relations") +
                       " but is not in the frames document");
  }
  return warnings;
}

}  // namespace sorvanta::graph
