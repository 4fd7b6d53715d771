#include "samples/AnnotatedSentence.h"

#include "text/IntegerText.h"
#include "text/Span.h"
#include "text/WorkingText.h"

namespace sorvanta::samples {

namespace {

// An element named name whose "name" attribute (a missing one reads as empty) equals value;
// the test of a query step name[@name='value'].
bool isNamedElement(const xml::TXpNode* node, const char* name, std::string_view value) {
  if (!isElementNamed(node, name)) return false;
  const xml::TXpAttribute* attribute = node->attributes()->getNamedItemUtf8("name");
  return (attribute ? attribute->valueUtf8() : std::string_view()) == value;
}

// One walk over the subtree of layers (layers excluded) for the first Target label and the
// labels inside FE layers, in document order. Those labels are what frameElementLabels(layers)
// gives unless an FE layer lies inside another one (then nested is set).
struct LayersWalk {
  const xml::TXpNode* target = nullptr;
  xml::TXpNodeList feLabels;
  bool nested = false;
};

LayersWalk walkLayers(const xml::TXpNode* layers) {
  LayersWalk walk;
  const xml::TXpNode* feLayer = nullptr;  // the FE layer the walk is inside, if any
  const xml::TXpNode* node = layers->noGetFirstChild();
  while (node) {
    if (isElementNamed(node, "label")) {
      if (!walk.target && isNamedElement(node, "label", "Target")) walk.target = node;
      if (feLayer) walk.feLabels.add(const_cast<xml::TXpNode*>(node));
    } else if (isNamedElement(node, "layer", "FE")) {
      if (feLayer)
        walk.nested = true;
      else
        feLayer = node;
    }
    if (const xml::TXpNode* child = node->noGetFirstChild()) {
      node = child;
      continue;
    }
    // Up to the next node in document order, leaving the FE layer on the way out of it.
    while (node != layers && !node->noGetNextSibling()) {
      node = node->parentNode();
      if (node == feLayer) feLayer = nullptr;
    }
    if (node == layers) break;
    if (node == feLayer) feLayer = nullptr;
    node = node->noGetNextSibling();
  }
  return walk;
}

// What ".//layer[@name='FE']//label" selects from container: for every FE layer in document
// order, the label elements inside it in document order (a label inside nested FE layers once
// per layer).
xml::TXpNodeList frameElementLabels(const xml::TXpNode* container) {
  xml::TXpNodeList labels;
  for (const xml::TXpNode* layer = container->noGetFirstChild(); layer;
       layer = xml::nextInSubtree(layer, container)) {
    if (!isNamedElement(layer, "layer", "FE")) continue;
    for (const xml::TXpNode* node = layer->noGetFirstChild(); node;
         node = xml::nextInSubtree(node, layer)) {
      if (isElementNamed(node, "label")) labels.add(const_cast<xml::TXpNode*>(node));
    }
  }
  return labels;
}

}  // namespace

// Walks that select what the queries named in the header select, in the same order, without a
// query evaluation per sentence.
std::optional<AnnotatedSentence> findSentenceLabels(const xml::TXpNode* textNode) {
  AnnotatedSentence found;
  found.text = textNode;
  found.sentence = textNode ? textNode->parentNode() : nullptr;
  const xml::TXpNode* layers = found.sentence ? found.sentence->noGetPreviousSibling() : nullptr;
  if (!layers) return std::nullopt;
  LayersWalk walk = walkLayers(layers);
  found.target = walk.target;
  if (!found.target) return std::nullopt;
  // label -> labels -> layer -> layer container, which usually is layers, walked already
  const xml::TXpNode* container = found.target;
  for (int level = 0; level < 3 && container; ++level) container = container->parentNode();
  if (container == layers && !walk.nested)
    found.feLabels = std::move(walk.feLabels);
  else if (container)
    found.feLabels = frameElementLabels(container);
  return found;
}

void forEachSentenceText(const xml::TXpNode* root,
                         const std::function<void(const xml::TXpNode*)>& visit) {
  const xml::TXpDocument* document = root ? root->ownerDocument() : nullptr;
  if (!document) return;
  for (const xml::TXpNode* node = document->noGetFirstChild(); node;
       node = xml::nextInSubtree(node, document)) {
    if (!isElementNamed(node, "sentence")) continue;
    for (const xml::TXpNode* child = node->noGetFirstChild(); child;
         child = child->noGetNextSibling()) {
      if (isElementNamed(child, "text")) visit(child);
    }
  }
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
