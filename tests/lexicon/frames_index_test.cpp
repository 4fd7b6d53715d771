// Filling the frames index: rows, counts, totals, the frame-element tally and the
// part-of-speech letters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::lexicon;

namespace {

using Table = std::vector<std::vector<std::string>>;

// Two frames sharing Agent, an empty frame, and lexical units with a missing count, a
// non-integer count, a first child without text and no child at all.
const char kFrames[] = R"(<frames>
<frame name="Motion" ID="7"><definition>Something moves.</definition>
  <fes><fe name="Time"><d>When.</d></fe><fe name="Agent"><d>Who.</d></fe></fes>
  <lexunits>
    <lexunit name="go.v" ID="101"><definition>COD: move along</definition>
      <annotation><annotated>12</annotated><total>40</total></annotation></lexunit>
    <lexunit name="in.prep" ID="102"><definition/>
      <annotation><annotated>12a</annotated></annotation></lexunit>
    <lexunit name="caf&#xE9;.n" ID="103"><definition>SV: a place</definition><annotation/>
    </lexunit>
    <lexunit name="bare.adv" ID="104"/></lexunits></frame>
<frame name="Empty" ID="9"><definition>Nothing.</definition><fes/><lexunits/></frame>
<group><frame name="Giving" ID="10"><definition>Someone gives.</definition>
  <fes><fe name="manner"><d>How.</d></fe><fe name="Agent"><d>Giver.</d></fe></fes>
  <lexunits><lexunit name="give.v" ID="201"><definition>COD: hand over</definition>
    <annotation><annotated>3</annotated></annotation></lexunit></lexunits></frame></group>
</frames>)";

Table cellsOf(const std::vector<ListRow>& rows) {
  Table table;
  for (const ListRow& row : rows) table.push_back(row.cells);
  return table;
}

FramesIndex indexOf(sorvanta::xml::TXpObjModel& doc, std::string_view text) {
  doc.LoadMemory(text.data(), text.size());
  return fillFramesIndex(doc.Document()->docGetDocumentElement());
}

}  // namespace

TEST(FramesIndex, RowsCountsAndTotals) {
  sorvanta::xml::TXpObjModel doc;
  const FramesIndex index = indexOf(doc, kFrames);
  EXPECT_EQ(cellsOf(index.frames), (Table{{"Motion", "7", "2", "4", "12"},
                                          {"Empty", "9", "0", "0", "0"},
                                          {"Giving", "10", "2", "1", "3"}}));
  EXPECT_EQ(cellsOf(index.lexUnits),
            (Table{{"go.v", "v", "101", "12", "Motion", "7", "COD: move along"},
                   {"in.prep", "p", "102", "0", "Motion", "7", "No Sorvanta Definition"},
                   {"caf\xE9.n", "n", "103", "0", "Motion", "7", "SV: a place"},
                   {"bare.adv", "d", "104", "0", "Motion", "7", "No Sorvanta Definition"},
                   {"give.v", "v", "201", "3", "Giving", "10", "COD: hand over"}}));
  // Byte order: upper case before lower case.
  EXPECT_EQ(cellsOf(index.frameElements), (Table{{"Agent", "2"}, {"Time", "1"}, {"manner", "1"}}));
  EXPECT_EQ(index.numFrames, 3);
  EXPECT_EQ(index.annotatedTotal, 15);
  EXPECT_EQ(index.numFrameElements, 3);
  EXPECT_EQ(index.firstFrameRow, std::optional<size_t>(0));
}

TEST(FramesIndex, NoFrameGivesEmptyListsAndNoFirstRow) {
  for (const char* text : {"<frames/>", "<frames><other/></frames>", "not xml at all"}) {
    sorvanta::xml::TXpObjModel doc;
    const FramesIndex index = indexOf(doc, text);
    EXPECT_TRUE(index.frames.empty() && index.lexUnits.empty() && index.frameElements.empty())
        << text;
    EXPECT_EQ(index.numFrames + index.annotatedTotal + index.numFrameElements, 0) << text;
    EXPECT_FALSE(index.firstFrameRow.has_value()) << text;
  }
}

TEST(PartOfSpeechLetter, FollowsTheSuffixAfterTheLastDot) {
  const struct {
    const char* name;
    char letter;
  } cases[] = {{"give.v", 'v'}, {"in.prep", 'p'}, {"quickly.adv", 'd'}, {"the.art", 'u'},
               {"a.b.n", 'n'},  {"run.V", 'u'},   {"big.a", 'a'},       {"trailing.", 'u'},
               {"nodot", 'u'},  {"prep", 'p'},    {"adv", 'd'},         {"n", 'n'},
               {"", 'u'},       {"x.prep.", 'u'}, {"give up.v", 'v'},   {".adv", 'd'}};
  for (const auto& c : cases) EXPECT_EQ(partOfSpeechLetter(c.name), c.letter) << c.name;
}
