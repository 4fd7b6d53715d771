// The frame-elements grid: every frame element of one name, its frame, type letter and definition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/FrameElementsView.h"
#include "xml/XpObjModel.h"

using namespace sorvanta;

namespace {

const std::string kFrames =
    "<frames>"
    "<frame name='Motion'><definition/><fes>"
    "<fe name='Agent' coreType='Core'><definition>Who moves.</definition></fe></fes></frame>"
    "<frame name='Eating'><definition/><fes><fe name='Food' coreType='Core'/>"
    "<fe name='Agent' coreType='Extra-Thematic'><definition>Who eats.</definition></fe></fes>"
    "</frame>"
    "<frame name='Resting'><definition/><fes>"
    "<fe name='Agent' coreType='Peripheral'><definition></definition></fe></fes></frame>"
    "<frame name='Lower'><definition/><fes><fe name='Agent' coreType='core'/>"
    "<fe name='Odd'><definition>Odd one.</definition></fe></fes></frame>"
    "<fe name='Odd' coreType='Core'/>"
    "</frames>";

struct FramesDoc {
  xml::TXpObjModel model;
  FramesDoc() { EXPECT_TRUE(model.LoadMemory(kFrames.data(), kFrames.size())); }
  const xml::TXpNode* root() { return model.Document()->docGetDocumentElement(); }
};

std::vector<std::string> flatten(const std::vector<views::FrameElementDefinitionRow>& rows) {
  std::vector<std::string> out;
  for (const auto& row : rows) {
    out.push_back(row.element + "|" + row.frame + "|" + row.type + "|" + row.definition);
  }
  return out;
}

TEST(FrameElementsView, OneRowPerFrameElementOfTheName) {
  FramesDoc doc;
  using Lines = std::vector<std::string>;
  const std::vector<std::pair<std::string, Lines>> cases = {
      // Type letters C, E, P from the first character; a lower-case "core" gives none.
      {"Agent",
       {"Agent|Motion|C|Who moves.", "Agent|Eating|E|Who eats.", "Agent|Resting|P|",
        "Agent|Lower||"}},
      {"Food", {"Food|Eating|C|"}},
      // The second lies directly below the document element, which has no frame above it.
      {"Odd", {"Odd|Lower||Odd one.", "Odd||C|"}},
      {"Nobody", {}},
  };
  for (const auto& [name, lines] : cases) {
    EXPECT_EQ(flatten(views::frameElementDefinitions(doc.root(), name)), lines) << name;
  }
  EXPECT_TRUE(views::frameElementDefinitions(nullptr, "Agent").empty());
}

}  // namespace
