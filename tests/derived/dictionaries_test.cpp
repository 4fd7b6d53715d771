// "Create Dictionaries" on small in-memory documents: the three files, the progress calls,
// missing and unreadable lexical entries, frames only.
#include "derived/Dictionaries.h"
#include "derived/OtherRealizations.h"
#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingTestSets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/RecordingProgress.h"
#include "support/TempDir.h"

namespace sorvanta::derived {
namespace {

using testing::readBytes;

const char kFrames[] = R"(<frames>
  <frame name="Empty"/>
  <frame name="Loc"><fes><fe name="Fig" coreType="Core"/><fe name="Gr"/></fes><lexunits>
    <lexunit name="in.prep" ID="7"><definition>COD: within</definition></lexunit>
    <lexunit name="e.g..adv" ID="8"><definition>SV: to give</definition></lexunit>
    <lexunit name="by.prep" ID="9"><definition>a COD: b</definition></lexunit>
    <lexunit/></lexunits></frame></frames>)";
// Loc is the super frame of two Using relations, one without frame-element mappings.
const char kRelations[] = R"(<t><frame-relation-type name="Using"><frame-relations>
  <frame-relation superFrameName="Loc" subFrameName="Put"/>
  <frame-relation superFrameName="Loc" subFrameName="Arr"><fe-relation superFEName="Fig"
    subFEName="Thm"/><fe-relation superFEName="Gr" subFEName="Gl"/></frame-relation>
  </frame-relations></frame-relation-type><frame-relation-type name="Inchoative_of">
  <frame-relation superFrameName="Arr" subFrameName="Loc"><fe-relation superFEName="Thm"/>
  </frame-relation></frame-relation-type><frame-relation-type name="See_also">
  <frame-relation superFrameName="Loc" subFrameName="Put"/></frame-relation-type></t>)";
const char kLexEntry7[] = R"(<e><FERealization total="9"/><FERealizations>
  <FERealization total="25"><valence-unit fe="R1" pt="P1" gf="G1"/><valence-unit fe="X"/>
  </FERealization><FERealization total="2"><valence-unit fe="Fig" pt="NP"/></FERealization>
  <FERealization total="1"><other/></FERealization></FERealizations>
  <deeper><FERealizations><FERealization total="3"><valence-unit fe="Café" pt="PP"/>
  </FERealization></FERealizations></deeper></e>)";

// The counts reported, "f<frames completed>" and "e<lexeme entries completed>" in order.
std::string calls(const testing::RecordingProgress& progress) {
  std::string calls;
  for (const testing::RecordingProgress::Count& count : progress.counts)
    calls += (count.counter == kDictionaryFramesCounter ? "f" : "e") +
             std::to_string(count.value) + " ";
  return calls;
}

struct DictionaryRun {
  testing::TempDir dir;
  std::string folder = dir.path().string() + "/";
  xml::TXpObjModel frames, relations, dictionary, lexEntry;
  testing::RecordingProgress progress;
  DictionaryRun() {
    frames.LoadMemory(kFrames, sizeof kFrames - 1);
    relations.LoadMemory(kRelations, sizeof kRelations - 1);
    std::filesystem::create_directories(dir.path() / "leXML");
    dir.write("leXML/le7.xml", kLexEntry7);
    dir.write("leXML/le9.xml", "<e><FERealizations>");  // unreadable; le8.xml is missing
  }
  DictionaryResult create(bool framesOnly) {
    return createDictionaries(frames.Document()->docGetDocumentElement(),
                              relations.Document()->docGetDocumentElement(), folder, framesOnly,
                              {dictionary, lexEntry}, progress);
  }
  std::string file(std::string_view name) { return readBytes(folder + std::string(name)); }
};

const std::string kFramesDump =
    "%%1 #Empty\r\n\t%%2 nil\r\n\r\n"  // no relations, FEs or lexical units: three lines
    "%%1 #Loc\r\n\t%%2 nil\r\n\t%%5 IS_USED_BY %%k #Put %%k #Arr\r\n"
    "\t%%5 HAS_INCHOATIVE %%k #Arr\r\n"
    "\t%%6 Fig %%v Core\r\n\t%%6 Gr %%v \r\n"
    "\t%%4 in %%i 7\r\n\t%%4 e %%i 8\r\n\t%%4 by %%i 9\r\n\t%%4  %%i \r\n\r\n"
    "%%1 @PutUSESLoc\r\n\t%%2 nil\r\n\r\n"
    "%%1 @ArrUSESLoc\r\n\t%%2 nil\r\n\t%%6 0 %%v Thm Gl\r\n\t%%6 1 %%v Fig Gr\r\n\r\n"
    "%%1 @ArrINCH_OFLoc\r\n\t%%2 nil\r\n\t%%6 0 %%v Thm\r\n\t%%6 1 %%v \r\n\r\n";

TEST(Dictionaries, WritesTheThreeFilesWithEntriesForMissingLexicalEntries) {
  DictionaryRun run;
  const DictionaryResult result = run.create(false);
  EXPECT_EQ(result.frames, 2);
  EXPECT_EQ(result.lexemeEntries, 4);
  EXPECT_EQ(result.missingLexEntries, 3);
  EXPECT_EQ(calls(run.progress), "f1 e0 e1 e2 e3 f2 ");
  EXPECT_EQ(run.file(kFramesDumpFile), kFramesDump);
  EXPECT_EQ(run.file(kLexemesDumpFile),
            "%%1 in\r\n\t%%2 prp\r\n\t%%d within\r\n\t%%6 frame %%v Loc\r\n"
            "\t%%6 source %%v COD\r\n\t%%6 id %%v 7\r\n"
            "\t%%6 P1(G1) %%v R1 (25)\r\n\t%%6 NP() %%v Fig (2)\r\n\t%%6 () %%v  (1)\r\n"
            "\t%%6 PP() %%v Caf\xE9 (3)\r\n\r\n"
            "%%1 e\r\n\t%%2 nil\r\n\t%%d to give\r\n\t%%6 frame %%v Loc\r\n"
            "\t%%6 source %%v SV\r\n\t%%6 id %%v 8\r\n\r\n"
            "%%1 by\r\n\t%%2 prp\r\n\t%%d a COD: b\r\n\t%%6 frame %%v Loc\r\n\t%%6 id %%v 9\r\n\r\n"
            "%%1 \r\n\t%%2 nil\r\n\t%%d \r\n\t%%6 frame %%v Loc\r\n\t%%6 id %%v \r\n\r\n");
  const std::string dictionary =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<frames>\r\n  <frame name=\"Empty\"/>\r\n"
      "  <frame name=\"Loc\">\r\n    <fe name=\"Fig\" coreType=\"Core\"/>\r\n"
      "    <fe name=\"Gr\" coreType=\"\"/>\r\n  </frame>\r\n</frames>";
  EXPECT_EQ(run.file(kFrameDictFile), dictionary);
  // A second run rebuilds the dictionary from the template rather than adding to it.
  run.create(false);
  EXPECT_EQ(run.file(kFrameDictFile), dictionary);
}

TEST(Dictionaries, FramesOnlyReadsNoLexicalEntryAndLeavesTheLexemeFile) {
  DictionaryRun run;
  run.dir.write(std::string(kLexemesDumpFile), "older");
  run.lexEntry.LoadMemory("<kept/>", 7);
  const DictionaryResult result = run.create(true);
  EXPECT_EQ(result.lexemeEntries, 0);
  EXPECT_EQ(calls(run.progress), "f1 f2 ");
  EXPECT_EQ(run.file(kFramesDumpFile), kFramesDump);
  EXPECT_EQ(run.file(kLexemesDumpFile), "older");
  EXPECT_EQ(run.lexEntry.Document()->docGetDocumentElement()->nodeName(), "kept");
}

// Without a loaded frames document, or with one that holds no frame, the commands that derive
// files from it refuse and keep the earlier files (they used to write empty ones).
TEST(DerivedCommands, RefuseWithoutFrames) {
  xml::TXpObjModel frameless;
  ASSERT_TRUE(frameless.LoadMemory("<frames><frame-list/></frames>", 30));
  const struct {
    const xml::TXpNode* root;
    std::string_view message;
  } documents[] = {{nullptr, lexicon::kFramesNotLoaded},
                   {frameless.Document()->docGetDocumentElement(), lexicon::kNoFrameInDocument}};
  for (const auto& d : documents) {
    DictionaryRun run;
    for (const std::string_view name :
         {kFrameDictFile, kFramesDumpFile, kLexemesDumpFile, std::string_view("pp-in.alters.txt")})
      run.dir.write(std::string(name), "earlier");
    run.dir.write("pp-in.txt", "Motion\tGoal\tgo.v\tV-ppin\t8-4\r\n");
    xml::TXpObjModel training, test, lexUnit;
    const text::Outcome outcomes[] = {
        createDictionaries(d.root, nullptr, run.folder, false, {run.dictionary, run.lexEntry},
                           text::noProgress())
            .outcome,
        findOtherRealizations("in", run.folder, d.root, lexUnit, text::noProgress()).outcome,
        samples::selectSample({0, 100, "0", "1", false, 7}, {}, d.root, run.folder,
                              {training, test, lexUnit}, text::noProgress())
            .outcome};
    for (const text::Outcome& outcome : outcomes) {
      EXPECT_EQ(outcome.status, text::Outcome::Status::Refused);
      ASSERT_EQ(outcome.notices.size(), 1u);
      EXPECT_EQ(outcome.notices[0].text, d.message);
      EXPECT_TRUE(outcome.filesWritten.empty());
    }
    for (const std::string_view name :
         {kFrameDictFile, kFramesDumpFile, kLexemesDumpFile, std::string_view("pp-in.alters.txt")})
      EXPECT_EQ(run.file(name), "earlier") << name;
    EXPECT_FALSE(std::filesystem::exists(run.folder + std::string(samples::kTrainingFile)));
  }
}

}  // namespace
}  // namespace sorvanta::derived
