#include "samples/AnnotatedSentence.h"

#include "text/IntegerText.h"
#include "text/Span.h"
#include "text/WorkingText.h"
#include "xml/XpPath.h"

namespace sorvanta::samples {

std::optional<AnnotatedSentence> findSentenceLabels(const xml::TXpNode* textNode) {
  // Compiled once: they run for every sentence.
  static const xml::XpPath kTarget(".//label[@name='Target']");
  static const xml::XpPath kFrameElements(".//layer[@name='FE']//label");
  AnnotatedSentence found;
  found.text = textNode;
  found.sentence = textNode ? textNode->parentNode() : nullptr;
  const xml::TXpNode* layers = found.sentence ? found.sentence->noGetPreviousSibling() : nullptr;
  if (!layers) return std::nullopt;
  found.target = kTarget.evaluate(layers).Item(0);
  if (!found.target) return std::nullopt;
  // label -> labels -> layer -> layer container
  const xml::TXpNode* container = found.target;
  for (int level = 0; level < 3 && container; ++level) container = container->parentNode();
  if (container) found.feLabels = kFrameElements.evaluate(container);
  return found;
}

int32_t labelOffset(const xml::TXpNode* label, std::string_view attribute) {
  const xml::TXpNamedNodeMap* map = label ? label->attributes() : nullptr;
  const xml::TXpAttribute* item = map ? map->GetNamedItem(attribute) : nullptr;
  if (!item) return text::strToInt("");
  // ASCII reads the same as working text, so only other values need converting.
  const std::string_view value = item->valueUtf8();
  return text::isAscii(value) ? text::strToInt(value) : text::strToInt(item->nodeValue());
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
