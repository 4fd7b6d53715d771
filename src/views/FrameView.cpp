#include "views/FrameView.h"

namespace sorvanta::views {

namespace {

// Text of node's first child node; empty when node or the child is missing.
std::string firstChildText(const xml::TXpNode* node) {
  const xml::TXpNode* child = node ? node->noGetFirstChild() : nullptr;
  return child ? child->noGetText() : std::string();
}

// Child nodes of node's child at index; an empty list when either is missing.
const xml::TXpNodeList& childrenOfChild(const xml::TXpNode* node, int index) {
  static const xml::TXpNodeList none;
  const xml::TXpNode* child = node ? node->childNodes().Item(index) : nullptr;
  return child ? child->childNodes() : none;
}

}  // namespace

FrameView frameView(const xml::TXpNode* frame, const xml::TXpNode* relationsRoot) {
  FrameView view;
  view.name = xml::attributeText(frame, "name");
  view.description = firstChildText(frame);

  for (const xml::TXpNode* fe : childrenOfChild(frame, 1)) {
    std::string name = xml::attributeText(fe, "name");
    std::string coreType = xml::attributeText(fe, "coreType");
    view.elements.push_back(
        {name + " (" + coreType + ")", firstChildText(fe), std::move(name), std::move(coreType)});
  }

  const xml::TXpNodeList& lexUnits = childrenOfChild(frame, 2);
  for (int i = 0; i < lexUnits.nlGetLength(); ++i) {
    if (i > 0) view.lexemes += "; ";
    view.lexemeNames.push_back(xml::attributeText(lexUnits.Item(i), "name"));
    view.lexemes += view.lexemeNames.back();
  }

  if (frame && relationsRoot) view.relations = lexicon::frameRelations(relationsRoot, view.name);
  if (view.relations.empty()) view.relations.push_back({"None", ""});
  return view;
}

}  // namespace sorvanta::views
