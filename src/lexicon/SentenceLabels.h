#pragma once
// A sentence's labels in an annotation document, read the one way every command reads them:
// the target is what ".//label[@name='Target']" selects first, the frame-element labels are
// what ".//layer[@name='FE']//label" selects. The browsing view asks from the sentence's
// annotation set; the sample and frame-file commands ask from the element before the
// sentence (the layer container) and from the target's third ancestor.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::lexicon {

// The first Target label below from, or none.
const xml::TXpNode* targetLabel(const xml::TXpNode* from);
// The labels of every FE layer below from, layer by layer, in document order.
xml::TXpNodeList frameElementLabels(const xml::TXpNode* from);
// The "text" children of every "sentence" element below document (the document node),
// sentence by sentence in document order: what "//sentence/text" selects.
std::vector<const xml::TXpNode*> sentenceTexts(const xml::TXpNode* document);

struct AnnotatedSentence {
  const xml::TXpNode* text = nullptr;      // the sentence's "text" element
  const xml::TXpNode* sentence = nullptr;  // its parent
  const xml::TXpNode* target = nullptr;    // the Target label
  xml::TXpNodeList feLabels;               // frame-element labels, document order
};

// The labels of the sentence whose "text" element is textNode; nothing when the sentence has
// no element before it or no Target label there.
std::optional<AnnotatedSentence> findSentenceLabels(const xml::TXpNode* textNode);

// Span text and offsets of a frame-element label: its "itype" with 0 and 0 when it has a
// non-empty one, else the span of sentence from "start" to "end". Throws
// text::ConversionError when an offset it has to read is not an integer.
struct LabelSpan {
  std::string name;
  std::string itype;  // empty unless the label is a null instantiation
  std::string text;   // the covered span; empty for a null instantiation
  int32_t start = 0;
  int32_t end = 0;
};
LabelSpan readLabelSpan(const xml::TXpNode* label, std::string_view sentence);

// The "start" and "end" of a label as integers (throws text::ConversionError).
int32_t labelOffset(const xml::TXpNode* label, std::string_view attribute);

}  // namespace sorvanta::lexicon
