#pragma once
// The graph as text: TSV edge lists and Graphviz DOT, both UTF-8 with LF line ends.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graph/RelationGraph.h"

namespace sorvanta::graph {

// What one drawing shows: its edges (listing order) and, for a neighbourhood, its centre.
struct GraphSelection {
  std::vector<EdgeId> edges;
  std::optional<FrameId> centre;
};

// The frames a selection draws: the centre and every frame its edges name, each once, in
// UTF-8 byte order of their names.
std::vector<FrameId> selectionFrames(const RelationGraph& graph, const GraphSelection& selection);

// One line per edge: "Type<TAB>Super frame<TAB>Sub frame".
std::string graphTsv(const RelationGraph& graph, const std::vector<EdgeId>& edges);

struct DotOptions {
  bool legend = true;  // a cluster showing each drawn type's edge style and the missing mark
};

// Drawings of up to this many frames are laid out in ranks (Graphviz dot, super frames above
// their sub frames); larger ones by force placement (sfdp, straight edges), which stays fast
// for the whole release where ranked layout takes minutes.
inline constexpr size_t kLayeredFrameLimit = 150;

// A directed graph, edges from super frame to sub frame, styled per type (GraphStyle.h); the
// centre is filled, missing frames are drawn dashed in red with "(missing)" under the name.
// Nodes carry id "f<frame>" and edges id "e<edge>", which SVG output keeps.
std::string graphDot(const RelationGraph& graph, const GraphSelection& selection,
                     const DotOptions& options = {});

// A DOT double-quoted string of UTF-8 text: quotes and backslashes escaped.
std::string dotQuoted(std::string_view utf8);

}  // namespace sorvanta::graph
