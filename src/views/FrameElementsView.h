#pragma once
// The "Frame Elements" tab: every frame element of one name across the frames document.
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::views {

// One grid row below the header "Element", "Frame", "Type", "Definition".
struct FrameElementDefinitionRow {
  std::string element;     // the name searched for
  std::string frame;       // "name" of the fe's parent's parent; empty when it has none
  std::string type;        // "C", "E", "P" or empty
  std::string definition;  // text of the fe's first child node; empty when it has none
  // The UTF-8 of the fields above when working text cannot hold it (for the screen); else empty.
  std::string elementUnicode;
  std::string frameUnicode;
  std::string definitionUnicode;
};

// "C", "E" or "P" when coreType starts with that upper-case letter; otherwise empty.
std::string typeLetter(std::string_view coreType);

// One row per "//fe" named feName below framesRoot, in document order; none for a null root.
// feNameUnicode, when given, is the name as the document holds it (UTF-8) for a name working
// text cannot hold: the query then looks for that name, which its "?" marks would not find.
std::vector<FrameElementDefinitionRow> frameElementDefinitions(const xml::TXpNode* framesRoot,
                                                               std::string_view feName,
                                                               std::string_view feNameUnicode = {});

}  // namespace sorvanta::views
