#include "views/FrameElementsView.h"

#include <optional>

#include "views/QueryText.h"

namespace sorvanta::views {

std::string typeLetter(std::string_view coreType) {
  if (coreType.empty()) return {};
  const char first = coreType.front();
  return first == 'C' || first == 'E' || first == 'P' ? std::string(1, first) : std::string();
}

std::vector<FrameElementDefinitionRow> frameElementDefinitions(const xml::TXpNode* framesRoot,
                                                               std::string_view feName) {
  std::vector<FrameElementDefinitionRow> rows;
  const std::optional<std::string> predicate = attributePredicate("name", feName);
  if (!framesRoot || !predicate) return rows;
  for (const xml::TXpNode* fe : framesRoot->SelectNodes("//fe" + *predicate)) {
    const xml::TXpNode* container = fe->parentNode();
    const xml::TXpNode* frame = container ? container->parentNode() : nullptr;
    const xml::TXpNode* definition = fe->noGetFirstChild();
    rows.push_back({std::string(feName), xml::attributeText(frame, "name"),
                    typeLetter(xml::attributeText(fe, "coreType")),
                    definition ? definition->noGetText() : std::string()});
  }
  return rows;
}

}  // namespace sorvanta::views
