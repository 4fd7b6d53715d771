#pragma once
// The sentence frame-element dialog: the target and every frame-element label of one sentence
// with the part of the sentence each covers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::views {

struct SentenceLabelRow {
  std::string caption;  // "Target" or the frame element's name
  std::string text;     // the covered span of the sentence, or the label's "itype"
  // The label's "start" and "end" (0-based character offsets, both inclusive) for a span;
  // none for a label with an "itype".
  std::optional<int32_t> start;
  std::optional<int32_t> end;
  // The UTF-8 of caption and text when working text cannot hold it (for the screen); else empty.
  std::string captionUnicode;
  std::string textUnicode;
};

struct SentenceFrameElements {
  std::string frame;                   // the lexical unit's frame name
  std::string lexicalUnit;             // the lexical unit's name
  std::string sentenceId;              // the row text between "(" and ")"
  std::string sentence;                // the row text after ") "
  std::vector<SentenceLabelRow> rows;  // "Target" first, then the FE layers' labels in order
  // The UTF-8 of the sentence when working text cannot hold it; else empty. The frame and
  // lexical-unit names come from the caller, who sets theirs.
  std::string sentenceUnicode;
  std::string frameUnicode;
  std::string lexicalUnitUnicode;
};

// The dialog's content for the sentence-grid row rowText, or nothing when the row names no
// sentence (no leading "(", no ")", an empty ID, no sentence of that ID below luRoot) or its
// annotation set has no Target label. Throws text::ConversionError when a "start" or "end"
// it has to read is not an integer.
std::optional<SentenceFrameElements> sentenceFrameElements(const xml::TXpNode* luRoot,
                                                           std::string_view rowText,
                                                           std::string_view frameName,
                                                           std::string_view lexUnitName);

}  // namespace sorvanta::views
