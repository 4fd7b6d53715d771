// Frame-element lineage: which relations it climbs, the rule at a branch, chains of several
// steps, and cycles that end.
#include <gtest/gtest.h>

#include "graph/FeLineage.h"
#include "graph/GraphFixture.h"
#include "support/TempDir.h"

using namespace sorvanta::graph;
using namespace sorvanta::testing;

namespace {

// Steps as "Type Frame.Element" joined by " | ".
std::string chain(const LoadedGraph& loaded, std::string_view frame, std::string_view element) {
  std::string text;
  for (const LineageStep& step : feLineage(loaded.graph, loaded.id(frame), element)) {
    if (!text.empty()) text += " | ";
    text += std::string(kRelationTypes[step.type]) + " " + loaded.graph.frameName(step.frame) +
            "." + step.element;
  }
  return text;
}

TEST(FeLineage, SampleRelease) {
  auto loaded = graphOfRelease(sampleReleasePath() + "/");
  ASSERT_NE(loaded, nullptr);
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // Two Inheritance parents map Self_mover: the first super frame by name is taken.
      {"Self_motion", "Self_mover", "Inheritance Intentionally_act.Agent"},
      {"Self_motion", "Distance", "Inheritance Motion.Distance"},
      {"Commerce_buy", "Buyer", "Perspective_on Commerce_goods_transfer.Buyer"},
      {"Departing", "Theme", "Subframe Motion.Theme"},
      // Using and Causative_of map elements too, but a lineage does not climb them.
      {"Placing", "Theme", ""},
      {"Motion", "Theme", ""},
      {"Self_motion", "Nothing_maps_me", ""},
  };
  for (const auto& [frame, element, expected] : cases)
    EXPECT_EQ(chain(*loaded, frame, element), expected) << frame << "." << element;
}

TEST(FeLineage, ChainsBranchesAndCycles) {
  const std::string doc = relationsDocument(
      {{"Inheritance", relation("B", "A", {"Y>X"}) + relation("C", "B", {"Z>Y", "Q>Y"}) +
                           relation("Loop2", "Loop1", {"L2>L1"}) +
                           relation("Loop1", "Loop2", {"L1>L2"}) + relation("Self", "Self", {"S>S"})},
       {"Subframe", relation("Aa", "B", {"Sub>Y"})},
       {"Perspective_on", relation("D", "C", {"W>Z"}) + relation("Zz", "B", {"P>Y"})},
       {"Using", relation("U", "A", {"Used>X"})}});
  auto loaded = graphFromText(doc, {"A", "B", "C", "D"});
  ASSERT_NE(loaded, nullptr);
  // At B the element Y maps three ways: Inheritance wins over Perspective_on and Subframe
  // whatever the frame names; within C, the element name Q comes before Z.
  EXPECT_EQ(chain(*loaded, "A", "X"), "Inheritance B.Y | Inheritance C.Q");
  EXPECT_EQ(chain(*loaded, "C", "Z"), "Perspective_on D.W");
  EXPECT_EQ(chain(*loaded, "Loop1", "L1"), "Inheritance Loop2.L2");
  EXPECT_EQ(chain(*loaded, "Self", "S"), "");
  EXPECT_EQ(chain(*loaded, "D", "W"), "");
}

TEST(FeLineage, FrameElementNamesOfAFrameNode) {
  auto loaded = graphOfRelease(sampleReleasePath() + "/");
  ASSERT_NE(loaded, nullptr);
  const sorvanta::xml::TXpNode* frame = loaded->frames.Document()->docGetDocumentElement()->SelectSingleNode(
      "//frame[@name='Commerce_buy']");
  ASSERT_NE(frame, nullptr);
  const std::vector<std::string> names = frameElementNames(frame);
  EXPECT_NE(std::find(names.begin(), names.end(), "Buyer"), names.end());
  EXPECT_TRUE(frameElementNames(nullptr).empty());
}

}  // namespace
