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

TEST(FrameElementDefinitions, ANameWorkingTextCannotHoldIsFoundByItsDocumentText) {
  const std::string frames =
      "<frames><frame name='\xCE\xB2_decay'><fes><fe name='\xCE\xB2_particle' coreType='Core'>"
      "<definition>The electron (\xCE\xB2\xE2\x81\xBB).</definition></fe></fes></frame>"
      "<frame name='Odd'><fes><fe name='?_particle' coreType='Peripheral'/></fes></frame></frames>";
  sorvanta::xml::TXpObjModel doc;
  ASSERT_TRUE(doc.LoadMemory(frames.data(), frames.size()));
  const sorvanta::xml::TXpNode* root = doc.Document()->docGetDocumentElement();
  // The working-text name finds only the name that really is "?_particle".
  const auto plain = sorvanta::views::frameElementDefinitions(root, "?_particle");
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0].frame, "Odd");
  const auto found =
      sorvanta::views::frameElementDefinitions(root, "?_particle", "\xCE\xB2_particle");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].element, "?_particle");
  EXPECT_EQ(found[0].elementUnicode, "\xCE\xB2_particle");
  EXPECT_EQ(found[0].frame, "?_decay");
  EXPECT_EQ(found[0].frameUnicode, "\xCE\xB2_decay");
  EXPECT_EQ(found[0].type, "C");
  EXPECT_EQ(found[0].definition, "The electron (?" "?).");
  EXPECT_EQ(found[0].definitionUnicode, "The electron (\xCE\xB2\xE2\x81\xBB).");
}
