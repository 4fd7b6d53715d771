#pragma once
// The frame-relation graph of a release: one edge per relation type, super frame and sub
// frame, read once from the frame-relations document; the neighbourhood of a frame and the
// whole graph, as lists of edges in one fixed order.
//
//   RelationGraph graph(relationsRoot, frameNames);      // names of the frames document
//   std::optional<FrameId> motion = graph.findFrame("Motion");
//   std::vector<EdgeId> edges = neighbourhood(graph, *motion, {2, allTypes(), Direction::Both});
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "text/WorkingText.h"
#include "xml/XpNode.h"

namespace sorvanta::graph {

// The relation types of the release format, as the relations document spells them. Types of
// other names are not read.
inline constexpr std::array<std::string_view, 12> kRelationTypes = {
    "Inheritance",       "Subframe",     "Using",    "See_also",
    "ReFraming_Mapping", "CoreSet",      "Excludes", "Requires",
    "Inchoative_of",     "Causative_of", "Precedes", "Perspective_on"};
inline constexpr size_t kRelationTypeCount = kRelationTypes.size();

// Index into kRelationTypes of a type name (exact spelling), or none.
std::optional<size_t> relationTypeIndex(std::string_view name);

using TypeSet = std::bitset<kRelationTypeCount>;
inline TypeSet allTypes() { return TypeSet().set(); }

// Up walks from a sub frame to its super frames, down from a super frame to its sub frames.
enum class Direction { Up, Down, Both };

using FrameId = uint32_t;
using EdgeId = uint32_t;

// Pairs a frame element of the super frame with one of the sub frame (working text), with
// the names as the document holds them (UTF-8) for the screen.
struct FeMapping {
  std::string superFe;
  std::string subFe;
  std::string superFeUtf8;
  std::string subFeUtf8;
  bool operator==(const FeMapping&) const = default;
};

struct Edge {
  size_t type = 0;  // index into kRelationTypes
  FrameId superFrame = 0;
  FrameId subFrame = 0;
  // Of every relation element of this type and pair, in document order, each pair once.
  std::vector<FeMapping> feMappings;
};

class RelationGraph {
 public:
  RelationGraph() = default;
  // Reads every relation of a known type below relationsRoot (none when it is null).
  // documentFrames: the frames document's frame names; a frame that only a relation names is
  // kept, and counts as missing.
  RelationGraph(const xml::TXpNode* relationsRoot,
                const std::vector<text::ShownText>& documentFrames);

  size_t frameCount() const { return names_.size(); }
  const std::string& frameName(FrameId frame) const { return names_[frame]; }
  const std::string& frameNameUtf8(FrameId frame) const { return utf8Names_[frame]; }
  // Named by a relation but not by the frames document.
  bool isMissing(FrameId frame) const { return frame >= documentFrames_; }
  // A frame of the frames document or of a relation, by its working-text name.
  std::optional<FrameId> findFrame(std::string_view name) const;

  const std::vector<Edge>& edges() const { return edges_; }
  const Edge& edge(EdgeId id) const { return edges_[id]; }
  // Edges on which the frame is the sub frame (walked up) or the super frame (walked down).
  const std::vector<EdgeId>& edgesUp(FrameId frame) const { return up_[frame]; }
  const std::vector<EdgeId>& edgesDown(FrameId frame) const { return down_[frame]; }

  // True when edge a comes before edge b in the listing order: type name, super frame name,
  // sub frame name, each compared as UTF-8 bytes.
  bool listedBefore(EdgeId a, EdgeId b) const;
  // Sorts edge ids into the listing order.
  void sortForListing(std::vector<EdgeId>& edges) const;

 private:
  // The frame of a name; a new one keeps the UTF-8 it was first met with.
  FrameId intern(std::string working, std::string_view utf8);

  std::vector<std::string> names_;      // working text
  std::vector<std::string> utf8Names_;  // the same names as the documents hold them
  std::vector<uint32_t> nameRank_;      // position of each name in UTF-8 byte order
  std::unordered_map<std::string, FrameId> byName_;  // working text
  size_t documentFrames_ = 0;
  std::vector<Edge> edges_;
  std::vector<std::vector<EdgeId>> up_;
  std::vector<std::vector<EdgeId>> down_;
};

// The frame names of frames-list rows, in their order.
std::vector<text::ShownText> documentFrameNames(const std::vector<lexicon::ListRow>& frames);
std::vector<text::ShownText> documentFrameNames(const lexicon::FramesIndex& index);

struct WalkOptions {
  int depth = 1;  // steps from the centre; 0 gives no edge
  TypeSet types = allTypes();
  Direction direction = Direction::Both;
};

// The edges walked from centre within options.depth steps over the chosen types and
// direction, each once, in listing order. Cycles and self-relations end the walk as usual.
std::vector<EdgeId> neighbourhood(const RelationGraph& graph, FrameId centre,
                                  const WalkOptions& options);
// Every edge of the chosen types, in listing order.
std::vector<EdgeId> allEdges(const RelationGraph& graph, TypeSet types);
// The missing frames that the edges name, in UTF-8 byte order of their names.
std::vector<FrameId> missingFrames(const RelationGraph& graph, const std::vector<EdgeId>& edges);

}  // namespace sorvanta::graph
