// Filling the frames index: rows, counts, totals, the frame-element tally and the
// part-of-speech letters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::lexicon;
using sorvanta::xml::TXpObjModel;

namespace {

using Cells = std::vector<std::string>;

// Two frames sharing Agent, one frame without anything, and lexical units covering a missing
// count, a non-integer count, a first child without text and no child at all.
const char kFrames[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<frames>
  <frame name="Motion" ID="7">
    <definition>Something moves.</definition>
    <fes>
      <fe name="Time" coreType="Peripheral"><definition>When.</definition></fe>
      <fe name="Agent" coreType="Core"><definition>Who.</definition></fe>
    </fes>
    <lexunits>
      <lexunit name="go.v" ID="101"><definition>COD: move along</definition>
        <annotation><annotated>12</annotated><total>40</total></annotation></lexunit>
      <lexunit name="in.prep" ID="102"><definition/>
        <annotation><annotated>12a</annotated></annotation></lexunit>
      <lexunit name="caf&#xE9;.n" ID="103"><definition>SV: a place</definition>
        <annotation/></lexunit>
      <lexunit name="bare.adv" ID="104"/>
    </lexunits>
  </frame>
  <frame name="Empty" ID="9"><definition>Nothing here.</definition><fes/><lexunits/></frame>
  <frame name="Giving" ID="10">
    <definition>Someone gives.</definition>
    <fes>
      <fe name="manner" coreType="Peripheral"><definition>How.</definition></fe>
      <fe name="Agent" coreType="Core"><definition>Giver.</definition></fe>
    </fes>
    <lexunits>
      <lexunit name="give.v" ID="201"><definition>COD: hand over</definition>
        <annotation><annotated>3</annotated></annotation></lexunit>
    </lexunits>
  </frame>
</frames>)";

struct Loaded {
  TXpObjModel model;
  FramesIndex index;
  explicit Loaded(std::string_view text) {
    model.LoadMemory(text.data(), text.size());
    index = fillFramesIndex(model.Document()->docGetDocumentElement());
  }
};

}  // namespace

TEST(FramesIndex, FramesRowsCarryCountsAndTheirFrame) {
  Loaded doc(kFrames);
  const FramesIndex& index = doc.index;
  const std::vector<Cells> expected = {
      {"Motion", "7", "2", "4", "12"}, {"Empty", "9", "0", "0", "0"}, {"Giving", "10", "2", "1", "3"}};
  ASSERT_EQ(index.frames.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(index.frames[i].cells, expected[i]) << i;
    ASSERT_NE(index.frames[i].data, nullptr);
    EXPECT_EQ(sorvanta::xml::attributeText(index.frames[i].data, "name"), expected[i][0]);
  }
  EXPECT_EQ(index.numFrames, 3);
  EXPECT_EQ(index.annotatedTotal, 15);
  EXPECT_EQ(index.firstFrameRow, std::optional<size_t>(0));
}

TEST(FramesIndex, LexicalUnitRowsInFrameOrder) {
  Loaded doc(kFrames);
  const std::vector<Cells> expected = {
      {"go.v", "v", "101", "12", "Motion", "7", "COD: move along"},
      {"in.prep", "p", "102", "0", "Motion", "7", "No Sorvanta Definition"},
      {"caf\xE9.n", "n", "103", "0", "Motion", "7", "SV: a place"},
      {"bare.adv", "d", "104", "0", "Motion", "7", "No Sorvanta Definition"},
      {"give.v", "v", "201", "3", "Giving", "10", "COD: hand over"}};
  ASSERT_EQ(doc.index.lexUnits.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(doc.index.lexUnits[i].cells, expected[i]);
}

TEST(FramesIndex, FrameElementNamesTalliedInByteOrder) {
  Loaded doc(kFrames);
  const std::vector<Cells> expected = {{"Agent", "2"}, {"Time", "1"}, {"manner", "1"}};
  ASSERT_EQ(doc.index.frameElements.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(doc.index.frameElements[i].cells, expected[i]);
  EXPECT_EQ(doc.index.numFrameElements, 3);
}

TEST(FramesIndex, NoFrameGivesEmptyListsAndNoFirstRow) {
  for (const char* text : {"<frames/>", "<frames><other/></frames>", "not xml at all"}) {
    Loaded doc(text);
    EXPECT_TRUE(doc.index.frames.empty()) << text;
    EXPECT_TRUE(doc.index.lexUnits.empty()) << text;
    EXPECT_TRUE(doc.index.frameElements.empty()) << text;
    EXPECT_EQ(doc.index.annotatedTotal, 0) << text;
    EXPECT_FALSE(doc.index.firstFrameRow.has_value()) << text;
  }
}

TEST(FramesIndex, NestedFramesAreFoundAnywhere) {
  Loaded doc(R"(<release><group><frame name="Inner" ID="1"><d/><fes/><lexunits>
      <lexunit name="x.a" ID="5"><d>t</d><annotation><annotated>-2</annotated></annotation>
      </lexunit></lexunits></frame></group></release>)");
  ASSERT_EQ(doc.index.frames.size(), 1u);
  EXPECT_EQ(doc.index.frames[0].cells, (Cells{"Inner", "1", "0", "1", "-2"}));
  EXPECT_EQ(doc.index.annotatedTotal, -2);
}

TEST(PartOfSpeechLetter, FollowsTheSuffixAfterTheLastDot) {
  const struct {
    const char* name;
    char letter;
  } cases[] = {{"give.v", 'v'},  {"in.prep", 'p'}, {"quickly.adv", 'd'}, {"the.art", 'u'},
               {"a.b.n", 'n'},   {"run.V", 'u'},   {"big.a", 'a'},       {"trailing.", 'u'},
               {"nodot", 'u'},   {"prep", 'p'},    {"adv", 'd'},         {"n", 'n'},
               {"", 'u'},        {"x.prep.", 'u'}, {"give up.v", 'v'},   {".adv", 'd'}};
  for (const auto& c : cases) EXPECT_EQ(partOfSpeechLetter(c.name), c.letter) << c.name;
}
