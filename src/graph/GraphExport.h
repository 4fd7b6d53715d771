#pragma once
// The graph outputs both front ends offer: what a drawing shows, its bytes in each format,
// saving them, and the warnings about frames the frames document lacks.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graph/GraphText.h"
#include "graph/RelationGraph.h"

namespace sorvanta::graph {

enum class GraphFormat { Tsv, Dot, Svg, Png };

// "tsv", "dot", "svg" or "png".
std::optional<GraphFormat> graphFormatNamed(std::string_view name);
// The format a file name's extension names (letter case ignored), or none.
std::optional<GraphFormat> graphFormatOfFile(std::string_view path);

// The neighbourhood of centre, with centre marked.
GraphSelection neighbourhoodSelection(const RelationGraph& graph, FrameId centre,
                                      const WalkOptions& options);
// Every edge of the chosen types, no centre.
GraphSelection wholeGraphSelection(const RelationGraph& graph, TypeSet types);

// The selection in a format: TSV and DOT text (UTF-8), SVG or PNG from Graphviz. Throws
// text::RuntimeError when Graphviz fails.
std::string graphBytes(const RelationGraph& graph, const GraphSelection& selection,
                       GraphFormat format);
// Writes graphBytes to a working-text path, atomically. Throws text::FileCreateError
// "Cannot create file <path>" when it cannot be written.
void saveGraph(const RelationGraph& graph, const GraphSelection& selection, GraphFormat format,
               std::string_view path);

// One warning (UTF-8) per frame the edges name that the frames document lacks, in name order:
// frame 'Ghost' is named by 2 relations but is not in the frames document
std::vector<std::string> missingFrameWarnings(const RelationGraph& graph,
                                              const std::vector<EdgeId>& edges);

}  // namespace sorvanta::graph
