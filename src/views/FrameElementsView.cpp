#include "views/FrameElementsView.h"

#include <optional>

#include "views/QueryText.h"
#include "xml/XpPath.h"

namespace sorvanta::views {

std::string typeLetter(std::string_view coreType) {
  if (coreType.empty()) return {};
  const char first = coreType.front();
  return first == 'C' || first == 'E' || first == 'P' ? std::string(1, first) : std::string();
}

std::vector<FrameElementDefinitionRow> frameElementDefinitions(const xml::TXpNode* framesRoot,
                                                               std::string_view feName,
                                                               std::string_view feNameUnicode) {
  std::vector<FrameElementDefinitionRow> rows;
  const bool byUnicode = !feNameUnicode.empty();
  const std::optional<std::string> predicate =
      attributePredicate("name", byUnicode ? feNameUnicode : feName);
  if (!framesRoot || !predicate) return rows;
  const xml::TXpNodeList found = byUnicode ? xml::selectNodesUtf8(framesRoot, "//fe" + *predicate)
                                           : framesRoot->SelectNodes("//fe" + *predicate);
  for (const xml::TXpNode* fe : found) {
    const xml::TXpNode* container = fe->parentNode();
    const xml::TXpNode* frame = container ? container->parentNode() : nullptr;
    const xml::TXpNode* definition = fe->noGetFirstChild();
    text::ShownText frameName = xml::attributeShown(frame, "name");
    text::ShownText text = xml::textShown(definition);
    rows.push_back({std::string(feName), std::move(frameName.working),
                    typeLetter(xml::attributeText(fe, "coreType")), std::move(text.working),
                    xml::attributeShown(fe, "name").unicode, std::move(frameName.unicode),
                    std::move(text.unicode)});
  }
  return rows;
}

}  // namespace sorvanta::views
