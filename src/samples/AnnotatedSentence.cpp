#include "samples/AnnotatedSentence.h"

#include "text/IntegerText.h"
#include "text/Span.h"

namespace sorvanta::samples {

std::optional<AnnotatedSentence> findSentenceLabels(const xml::TXpNode* textNode) {
  AnnotatedSentence found;
  found.text = textNode;
  found.sentence = textNode ? textNode->parentNode() : nullptr;
  const xml::TXpNode* layers = found.sentence ? found.sentence->noGetPreviousSibling() : nullptr;
  if (!layers) return std::nullopt;
  found.target = layers->SelectNodes(".//label[@name='Target']").Item(0);
  if (!found.target) return std::nullopt;
  // label -> labels -> layer -> layer container
  const xml::TXpNode* container = found.target;
  for (int level = 0; level < 3 && container; ++level) container = container->parentNode();
  if (container) found.feLabels = container->SelectNodes(".//layer[@name='FE']//label");
  return found;
}

int32_t labelOffset(const xml::TXpNode* label, std::string_view attribute) {
  return text::strToInt(xml::attributeText(label, attribute));
}

LabelSpan readLabelSpan(const xml::TXpNode* label, std::string_view sentence) {
  LabelSpan span;
  span.name = xml::attributeText(label, "name");
  span.itype = xml::attributeText(label, "itype");
  if (span.itype.empty()) {
    span.start = labelOffset(label, "start");
    span.end = labelOffset(label, "end");
    span.text = text::spanOf(sentence, span.start, span.end);
  }
  return span;
}

}  // namespace sorvanta::samples
