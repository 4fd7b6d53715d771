#include "lexicon/SentenceLabels.h"

#include "text/IntegerText.h"
#include "text/Span.h"
#include "text/WorkingText.h"
#include "xml/XpNode.h"

namespace sorvanta::lexicon {

namespace {

// The element's "name" attribute equals value (a missing attribute reads as empty text).
bool nameIs(const xml::TXpNode* element, std::string_view value) {
  const xml::TXpNamedNodeMap* map = element->attributes();
  const xml::TXpAttribute* name = map ? map->getNamedItemUtf8("name") : nullptr;
  return (name ? name->valueUtf8() : std::string_view()) == value;
}

}  // namespace

// Direct walks, as the path queries ".//label[@name='Target']" (its first node) and
// ".//layer[@name='FE']//label" would give them: they run for every sentence, and a walk
// needs no node lists.
const xml::TXpNode* targetLabel(const xml::TXpNode* from) {
  if (!from) return nullptr;
  for (const xml::TXpNode* node = from->noGetFirstChild(); node; node = xml::nextInSubtree(node, from))
    if (xml::isElementNamed(node, "label") && nameIs(node, "Target")) return node;
  return nullptr;
}

xml::TXpNodeList frameElementLabels(const xml::TXpNode* from) {
  xml::TXpNodeList labels;
  if (!from) return labels;
  // Per FE layer below from, in document order, the labels below it: a layer nested in
  // another gives its labels a second time, as the query does.
  for (const xml::TXpNode* layer = from->noGetFirstChild(); layer; layer = xml::nextInSubtree(layer, from)) {
    if (!xml::isElementNamed(layer, "layer") || !nameIs(layer, "FE")) continue;
    for (const xml::TXpNode* node = layer->noGetFirstChild(); node; node = xml::nextInSubtree(node, layer))
      if (xml::isElementNamed(node, "label")) labels.add(const_cast<xml::TXpNode*>(node));
  }
  return labels;
}

std::vector<const xml::TXpNode*> sentenceTexts(const xml::TXpNode* document) {
  std::vector<const xml::TXpNode*> texts;
  if (!document) return texts;
  for (const xml::TXpNode* node = document->noGetFirstChild(); node; node = xml::nextInSubtree(node, document)) {
    if (!xml::isElementNamed(node, "sentence")) continue;
    for (const xml::TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling())
      if (xml::isElementNamed(child, "text")) texts.push_back(child);
  }
  return texts;
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
