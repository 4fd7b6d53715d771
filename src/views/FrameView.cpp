#include "views/FrameView.h"

namespace sorvanta::views {

namespace {

// Text of node's first child node; empty when node or the child is missing.
text::ShownText firstChildText(const xml::TXpNode* node) {
  return xml::textShown(node ? node->noGetFirstChild() : nullptr);
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
  text::ShownText name = xml::attributeShown(frame, "name");
  view.name = std::move(name.working);
  view.nameUnicode = std::move(name.unicode);
  text::ShownText description = firstChildText(frame);
  view.description = std::move(description.working);
  view.descriptionUnicode = std::move(description.unicode);

  for (const xml::TXpNode* fe : childrenOfChild(frame, 1)) {
    text::ShownText feName = xml::attributeShown(fe, "name");
    std::string coreType = xml::attributeText(fe, "coreType");
    text::ShownText definition = firstChildText(fe);
    std::string shownName =
        feName.unicode.empty() ? std::string() : feName.unicode + " (" + text::workingToUtf8(coreType) + ")";
    view.elements.push_back({feName.working + " (" + coreType + ")", std::move(definition.working),
                             std::move(feName.working), std::move(coreType), std::move(shownName),
                             std::move(definition.unicode)});
  }

  // The UTF-8 of the lexemes is built only once a name needs it.
  bool lexemesLose = false;
  std::string lexemesUtf8;
  const xml::TXpNodeList& lexUnits = childrenOfChild(frame, 2);
  for (int i = 0; i < lexUnits.nlGetLength(); ++i) {
    text::ShownText lexeme = xml::attributeShown(lexUnits.Item(i), "name");
    if (!lexeme.unicode.empty() && !lexemesLose) {
      lexemesLose = true;
      lexemesUtf8 = text::workingToUtf8(view.lexemes);
    }
    if (i > 0) {
      view.lexemes += "; ";
      if (lexemesLose) lexemesUtf8 += "; ";
    }
    if (lexemesLose) lexemesUtf8 += lexeme.utf8();
    view.lexemeNames.push_back(std::move(lexeme.working));
    view.lexemes += view.lexemeNames.back();
  }
  if (lexemesLose) view.lexemesUnicode = std::move(lexemesUtf8);

  if (frame && relationsRoot) view.relations = lexicon::frameRelations(relationsRoot, view.name);
  if (view.relations.empty()) view.relations.push_back({"None", "", ""});
  return view;
}

}  // namespace sorvanta::views
