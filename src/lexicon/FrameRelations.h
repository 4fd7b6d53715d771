#pragma once
// Frame-to-frame relations as the frames view shows them: for one frame, the labelled
// entries of every relation it takes part in.
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::lexicon {

struct RelationEntry {
  std::string label;  // e.g. "Inherits From"
  std::string names;  // the related frames' names joined by "; "
};

// The entries for frameName (working text) in the order of the relation type table, super
// direction before sub; empty when the frame takes part in no relation.
std::vector<RelationEntry> frameRelations(const xml::TXpNode* relationsRoot,
                                          std::string_view frameName);

}  // namespace sorvanta::lexicon
