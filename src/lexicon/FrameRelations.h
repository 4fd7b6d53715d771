#pragma once
// Frame-to-frame relations as the frames view shows them: for one frame, the labelled
// entries of every relation it takes part in.
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::lexicon {

struct RelationEntry {
  RelationEntry(std::string label = {}, std::string names = {}, std::string namesUnicode = {})
      : label(std::move(label)), names(std::move(names)), namesUnicode(std::move(namesUnicode)) {}

  std::string label;  // e.g. "Inherits From"
  std::string names;  // the related frames' names joined by "; "
  // The names' UTF-8 when working text cannot hold one of them (for the screen); else empty.
  std::string namesUnicode;
};

// The entries for frameName (working text) in the order of the relation type table, super
// direction before sub; empty when the frame takes part in no relation.
std::vector<RelationEntry> frameRelations(const xml::TXpNode* relationsRoot,
                                          std::string_view frameName);

}  // namespace sorvanta::lexicon
