#pragma once
// The "Frames" tab: what its five controls show for one frame.
#include <string>
#include <vector>

#include "lexicon/FrameRelations.h"
#include "xml/XpNode.h"

namespace sorvanta::views {

// Fields named ...Unicode hold the document's UTF-8 of the field before them when working text
// cannot hold it, for the screen; they are empty otherwise.

// One row of the frame-element grid.
struct FrameElementRow {
  std::string nameAndType;  // "Agent (Core)"
  std::string definition;   // text of the fe's first child node, unchanged
  std::string name;         // the fe's "name" and "coreType", apart
  std::string coreType;
  std::string nameAndTypeUnicode;
  std::string definitionUnicode;
};

struct FrameView {
  std::string name;                       // the frame's "name" attribute
  std::string description;                // text of the frame's first child node
  std::vector<FrameElementRow> elements;  // one per child node of child 1; may be empty
  std::string lexemes;                    // "name" of each child node of child 2, "; " between
  std::vector<std::string> lexemeNames;   // the same names, one by one
  // The relation entries of the frame, or the single row ("None", "") when it has none.
  std::vector<lexicon::RelationEntry> relations;
  std::string nameUnicode;
  std::string descriptionUnicode;
  std::string lexemesUnicode;
};

// Reads the frame's nodes and its relations afresh. A frame lacking a child, an attribute or
// the frame itself (nullptr) shows empty text there; no relations document counts as none.
FrameView frameView(const xml::TXpNode* frame, const xml::TXpNode* relationsRoot);

}  // namespace sorvanta::views
