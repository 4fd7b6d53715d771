#pragma once
// The lineage of a frame element: the chain of elements it maps to, step by step, up the
// Inheritance, Perspective_on and Subframe relations (the fe-relation pairs of each edge).
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "graph/RelationGraph.h"

namespace sorvanta::graph {

// The relation types a lineage climbs, in the order that breaks ties at a branch.
inline constexpr std::array<std::string_view, 3> kLineageTypes = {"Inheritance", "Perspective_on",
                                                                  "Subframe"};

struct LineageStep {
  size_t type = 0;       // index into kRelationTypes
  FrameId frame = 0;     // the super frame reached
  std::string element;   // its frame element (working text)
};

// The chain from frame element `element` (working text) of `frame` upwards; empty when it maps
// to nothing. Where the element maps to several super elements, the step taken is the first
// by type (kLineageTypes order), then super frame name, then super element name (UTF-8 byte
// order). The chain ends before a frame element it has already passed, so cycles end.
std::vector<LineageStep> feLineage(const RelationGraph& graph, FrameId frame,
                                   std::string_view element);

// The names of the frame elements of a frame node of the frames document (the "fe" children
// of its "fes" child), working text, in document order.
std::vector<std::string> frameElementNames(const xml::TXpNode* frame);

}  // namespace sorvanta::graph
