#pragma once
// An index of the frame-relations document that answers a frame's relations without walking
// the document again: built from one walk of each relation type's subtree, it gives exactly
// the entries, names and order of the relation queries.
//
// frameRelations() builds one on first use and keeps it with the document, which drops it
// when it loads again.
#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lexicon/FrameRelations.h"
#include "lexicon/RelationTypes.h"
#include "xml/DocStorage.h"
#include "xml/XpNode.h"

namespace sorvanta::lexicon {

class RelationsIndex : public xml::DerivedData {
 public:
  explicit RelationsIndex(const xml::TXpNode* relationsRoot);
  RelationsIndex(const RelationsIndex&) = delete;
  RelationsIndex& operator=(const RelationsIndex&) = delete;

  const xml::TXpNode* root() const { return root_; }
  // The same entries as the relation queries give for frameName on root().
  std::vector<RelationEntry> entries(std::string_view frameName) const;

  // The index of relationsRoot kept with its document, built on first use.
  static const RelationsIndex& of(const xml::TXpNode* relationsRoot);

 private:
  // The relations of one type and side, by the frame name on that side (UTF-8, as held).
  using BySide = std::unordered_map<std::string_view, std::vector<xml::TXpNode*>>;
  static constexpr size_t kSlots = 2 * RelationTypeTable.size();  // type t: 2t super, 2t+1 sub

  const xml::TXpNode* root_;
  std::array<BySide, kSlots> slots_;
};

// The relations of frameName evaluated with the relation queries, one per type and side, on
// the document: what the index must give.
std::vector<RelationEntry> frameRelationsByQuery(const xml::TXpNode* relationsRoot,
                                                 std::string_view frameName);

// The other side's frame names of relations joined by "; ": "subFrameName" when the selected
// frame is on the super side, else "superFrameName".
std::string relatedNames(const std::vector<xml::TXpNode*>& relations, bool superSide);
// The entry of label for those relations: their names, with the UTF-8 beside when needed.
RelationEntry relationEntry(std::string_view label, const std::vector<xml::TXpNode*>& relations,
                            bool superSide);

}  // namespace sorvanta::lexicon
