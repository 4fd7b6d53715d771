#include "graph/FeLineage.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "text/WorkingText.h"

namespace sorvanta::graph {

namespace {

// Position of a type in kLineageTypes, or none when a lineage does not climb it.
std::optional<size_t> lineageRank(size_t type) {
  for (size_t rank = 0; rank < kLineageTypes.size(); ++rank)
    if (kRelationTypes[type] == kLineageTypes[rank]) return rank;
  return std::nullopt;
}

struct Candidate {
  size_t rank;
  const Edge* edge;
  const std::string* element;
};

}  // namespace

std::vector<LineageStep> feLineage(const RelationGraph& graph, FrameId frame,
                                   std::string_view element) {
  std::vector<LineageStep> steps;
  if (frame >= graph.frameCount()) return steps;
  std::set<std::pair<FrameId, std::string>> passed{{frame, std::string(element)}};
  std::string current(element);
  while (true) {
    std::optional<Candidate> best;
    for (EdgeId id : graph.edgesUp(frame)) {
      const Edge& edge = graph.edge(id);
      const std::optional<size_t> rank = lineageRank(edge.type);
      if (!rank) continue;
      for (const FeMapping& mapping : edge.feMappings) {
        if (mapping.subFe != current) continue;
        const Candidate candidate{*rank, &edge, &mapping.superFe};
        auto key = [&](const Candidate& c) {
          return std::make_tuple(c.rank, std::string_view(graph.frameNameUtf8(c.edge->superFrame)),
                                 text::workingToUtf8(*c.element));
        };
        if (!best || key(candidate) < key(*best)) best = candidate;
      }
    }
    if (!best) break;
    frame = best->edge->superFrame;
    current = *best->element;
    if (!passed.emplace(frame, current).second) break;
    steps.push_back({best->edge->type, frame, current});
  }
  return steps;
}

std::vector<std::string> frameElementNames(const xml::TXpNode* frame) {
  std::vector<std::string> names;
  if (!frame) return names;
  for (const xml::TXpNode* fe : frame->SelectNodes("./fes/fe"))
    names.push_back(xml::attributeText(fe, "name"));
  return names;
}

}  // namespace sorvanta::graph
