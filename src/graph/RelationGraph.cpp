#include "graph/RelationGraph.h"

#include <algorithm>
#include <deque>
#include <numeric>

#include "lexicon/RelationTypes.h"
#include "text/WorkingText.h"

namespace sorvanta::graph {

using xml::TXpNode;

namespace {

// An attribute's value as held (UTF-8); empty when missing, as the relation queries read it.
std::string_view heldValue(const TXpNode* node, std::string_view name) {
  const xml::TXpNamedNodeMap* map = node->attributes();
  const xml::TXpAttribute* attribute = map ? map->getNamedItemUtf8(name) : nullptr;
  return attribute ? attribute->valueUtf8() : std::string_view();
}

// Calls visit for every fe-relation element below relation, in document order.
template <class Visit>
void forEachFeRelation(const TXpNode* relation, Visit&& visit) {
  const TXpNode* node = relation->noGetFirstChild();
  while (node) {
    if (node->isElement() && node->nameUtf8() == "fe-relation") visit(node);
    if (const TXpNode* child = node->noGetFirstChild()) {
      node = child;
      continue;
    }
    while (node && node != relation && !node->noGetNextSibling()) node = node->parentNode();
    if (!node || node == relation) break;
    node = node->noGetNextSibling();
  }
}

// Position of each type in the byte order of the type names.
std::array<uint8_t, kRelationTypeCount> typeRanks() {
  std::array<size_t, kRelationTypeCount> order;
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [](size_t a, size_t b) { return kRelationTypes[a] < kRelationTypes[b]; });
  std::array<uint8_t, kRelationTypeCount> rank{};
  for (size_t i = 0; i < order.size(); ++i) rank[order[i]] = static_cast<uint8_t>(i);
  return rank;
}

const std::array<uint8_t, kRelationTypeCount> kTypeRank = typeRanks();

}  // namespace

std::optional<size_t> relationTypeIndex(std::string_view name) {
  for (size_t t = 0; t < kRelationTypes.size(); ++t)
    if (kRelationTypes[t] == name) return t;
  return std::nullopt;
}

FrameId RelationGraph::intern(std::string working, std::string_view utf8) {
  auto [it, added] = byName_.try_emplace(working, static_cast<FrameId>(names_.size()));
  if (added) {
    names_.push_back(std::move(working));
    utf8Names_.emplace_back(utf8);
    up_.emplace_back();
    down_.emplace_back();
  }
  return it->second;
}

RelationGraph::RelationGraph(const TXpNode* relationsRoot,
                             const std::vector<text::ShownText>& documentFrames) {
  for (const text::ShownText& name : documentFrames) intern(name.working, name.utf8());
  documentFrames_ = names_.size();
  if (relationsRoot) {
    // One edge per type and pair of frames; a repeated relation adds its mappings to it.
    std::unordered_map<uint64_t, EdgeId> byPair;
    for (size_t type = 0; type < kRelationTypes.size(); ++type) {
      byPair.clear();
      const xml::TXpNodeList relations =
          relationsRoot->SelectNodes(lexicon::relationQuery(kRelationTypes[type]));
      for (const TXpNode* relation : relations) {
        const std::string_view superName = heldValue(relation, "superFrameName");
        const std::string_view subName = heldValue(relation, "subFrameName");
        const FrameId super = intern(text::utf8ToWorking(superName), superName);
        const FrameId sub = intern(text::utf8ToWorking(subName), subName);
        const uint64_t key = uint64_t{super} << 32 | sub;
        auto [it, added] = byPair.try_emplace(key, static_cast<EdgeId>(edges_.size()));
        if (added) {
          edges_.push_back({type, super, sub, {}});
          up_[sub].push_back(it->second);
          down_[super].push_back(it->second);
        }
        std::vector<FeMapping>& mappings = edges_[it->second].feMappings;
        forEachFeRelation(relation, [&](const TXpNode* pair) {
          text::ShownText super = xml::attributeShown(pair, "superFEName");
          text::ShownText sub = xml::attributeShown(pair, "subFEName");
          std::string superUtf8 = super.utf8();
          std::string subUtf8 = sub.utf8();
          FeMapping mapping{std::move(super.working), std::move(sub.working),
                            std::move(superUtf8), std::move(subUtf8)};
          if (std::find(mappings.begin(), mappings.end(), mapping) == mappings.end())
            mappings.push_back(std::move(mapping));
        });
      }
    }
  }
  std::vector<FrameId> order(names_.size());
  std::iota(order.begin(), order.end(), FrameId{0});
  std::sort(order.begin(), order.end(),
            [&](FrameId a, FrameId b) { return utf8Names_[a] < utf8Names_[b]; });
  nameRank_.resize(names_.size());
  for (size_t i = 0; i < order.size(); ++i) nameRank_[order[i]] = static_cast<uint32_t>(i);
}

std::optional<FrameId> RelationGraph::findFrame(std::string_view name) const {
  const auto found = byName_.find(std::string(name));
  if (found == byName_.end()) return std::nullopt;
  return found->second;
}

bool RelationGraph::listedBefore(EdgeId a, EdgeId b) const {
  const Edge& x = edges_[a];
  const Edge& y = edges_[b];
  if (x.type != y.type) return kTypeRank[x.type] < kTypeRank[y.type];
  if (x.superFrame != y.superFrame) return nameRank_[x.superFrame] < nameRank_[y.superFrame];
  return nameRank_[x.subFrame] < nameRank_[y.subFrame];
}

void RelationGraph::sortForListing(std::vector<EdgeId>& edges) const {
  std::sort(edges.begin(), edges.end(), [this](EdgeId a, EdgeId b) { return listedBefore(a, b); });
}

std::vector<text::ShownText> documentFrameNames(const std::vector<lexicon::ListRow>& frames) {
  std::vector<text::ShownText> names;
  names.reserve(frames.size());
  for (const lexicon::ListRow& row : frames) {
    const std::string* unicode = row.unicodeCell(lexicon::kFrameName);
    names.push_back({std::string(row.cell(lexicon::kFrameName)), unicode ? *unicode : std::string()});
  }
  return names;
}

std::vector<text::ShownText> documentFrameNames(const lexicon::FramesIndex& index) {
  return documentFrameNames(index.frames);
}

std::vector<EdgeId> neighbourhood(const RelationGraph& graph, FrameId centre,
                                  const WalkOptions& options) {
  std::vector<EdgeId> result;
  if (centre >= graph.frameCount() || options.depth <= 0) return result;
  // Steps from the centre of each frame reached; frames are expanded once, so cycles end.
  std::unordered_map<FrameId, int> reached{{centre, 0}};
  std::vector<bool> taken(graph.edges().size(), false);
  std::deque<FrameId> queue{centre};
  const bool up = options.direction != Direction::Down;
  const bool down = options.direction != Direction::Up;
  auto walk = [&](const std::vector<EdgeId>& edges, bool towardsSuper, int steps) {
    for (EdgeId id : edges) {
      const Edge& edge = graph.edge(id);
      if (!options.types.test(edge.type)) continue;
      if (!taken[id]) {
        taken[id] = true;
        result.push_back(id);
      }
      const FrameId next = towardsSuper ? edge.superFrame : edge.subFrame;
      if (reached.try_emplace(next, steps).second && steps < options.depth) queue.push_back(next);
    }
  };
  while (!queue.empty()) {
    const FrameId frame = queue.front();
    queue.pop_front();
    const int steps = reached.at(frame) + 1;
    if (up) walk(graph.edgesUp(frame), true, steps);
    if (down) walk(graph.edgesDown(frame), false, steps);
  }
  graph.sortForListing(result);
  return result;
}

std::vector<EdgeId> allEdges(const RelationGraph& graph, TypeSet types) {
  std::vector<EdgeId> result;
  for (EdgeId id = 0; id < graph.edges().size(); ++id)
    if (types.test(graph.edge(id).type)) result.push_back(id);
  graph.sortForListing(result);
  return result;
}

std::vector<FrameId> missingFrames(const RelationGraph& graph, const std::vector<EdgeId>& edges) {
  std::vector<FrameId> missing;
  for (EdgeId id : edges) {
    for (FrameId frame : {graph.edge(id).superFrame, graph.edge(id).subFrame})
      if (graph.isMissing(frame)) missing.push_back(frame);
  }
  std::sort(missing.begin(), missing.end(), [&](FrameId a, FrameId b) {
    return graph.frameNameUtf8(a) < graph.frameNameUtf8(b);
  });
  missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
  return missing;
}

}  // namespace sorvanta::graph
