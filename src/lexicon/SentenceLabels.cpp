#include "lexicon/SentenceLabels.h"

#include "text/IntegerText.h"
#include "text/Span.h"
#include "text/WorkingText.h"
#include "xml/XpPath.h"

namespace sorvanta::lexicon {

// Compiled once: they run for every sentence.
const xml::TXpNode* targetLabel(const xml::TXpNode* from) {
  static const xml::XpPath kTarget(".//label[@name='Target']");
  return from ? kTarget.evaluate(from).Item(0) : nullptr;
}

xml::TXpNodeList frameElementLabels(const xml::TXpNode* from) {
  static const xml::XpPath kFrameElements(".//layer[@name='FE']//label");
  return from ? kFrameElements.evaluate(from) : xml::TXpNodeList();
}

std::optional<AnnotatedSentence> findSentenceLabels(const xml::TXpNode* textNode) {
  AnnotatedSentence found;
  found.text = textNode;
  found.sentence = textNode ? textNode->parentNode() : nullptr;
  const xml::TXpNode* layers = found.sentence ? found.sentence->noGetPreviousSibling() : nullptr;
  if (!layers) return std::nullopt;
  found.target = targetLabel(layers);
  if (!found.target) return std::nullopt;
  // label -> labels -> layer -> layer container
  const xml::TXpNode* container = found.target;
  for (int level = 0; level < 3 && container; ++level) container = container->parentNode();
  found.feLabels = frameElementLabels(container);
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

}  // namespace sorvanta::lexicon
