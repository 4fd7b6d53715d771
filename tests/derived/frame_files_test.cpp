#include <gtest/gtest.h>

#include <filesystem>

#include "derived/FrameFiles.h"
#include "samples/TrainingSetLoad.h"
#include "support/MiniRelease.h"
#include "support/ReleaseCopy.h"
#include "text/Errors.h"
#include "text/MessageText.h"

namespace sorvanta::derived {
namespace {

using testing::MiniLexUnit;
using testing::MiniSentence;
using testing::readBytes;

TEST(FrameFiles, FormatSpanLineAndTargetMarks) {
  EXPECT_EQ(FormatSpanLine("Target", "gave", 4, 7), "Target: gave (4,7)");
  EXPECT_EQ(FormatSpanLine("Role2", "Type1", 0, 0), "Role2: Type1 (0,0)");
  struct Case {
    long long start, end;
    const char* marked;
  } cases[] = {
      {4, 7, "She <tag>gave</> him a book."},   {0, 2, "<tag>She</> gave him a book."},
      {15, 19, "She gave him a <tag>book.</>"},  // ends at the last character
      {15, 40, "She gave him a <tag>book.</>"},  // end past the text: at its end
      {-3, 2, "<tag>She</> gave him a book."},   // negative start: the beginning
      {30, 40, "She gave him a book.</><tag>"},  // both past the end
      {5, 2, "She</<tag>> gave him a book."},    // end before start: "</>" goes in first, at 3
  };
  for (const Case& c : cases)
    EXPECT_EQ(markTarget("She gave him a book.", c.start, c.end), c.marked)
        << c.start << "," << c.end;
}

// A data folder with annotation documents and a hand-written training set, loaded as the
// "Load Training Set" button does.
struct FrameFilesRun {
  testing::TempDir dir;
  std::string folder;
  xml::TXpObjModel training, test, lexUnit;
  std::vector<std::string> names;

  FrameFilesRun(const std::vector<MiniLexUnit>& lexUnits, const std::string& corpus) {
    folder = testing::writeMiniRelease(dir, {{"F", "1", lexUnits}});
    dir.write("SensSemRolesTrg.xml", corpus);
    names = samples::loadTrainingSet(training, folder).frameNames;
  }
  // The refusal's text, or empty text when the files were written.
  std::string create(const std::vector<std::string>& checked) {
    const text::Outcome outcome =
        createFrameFiles(checked, folder, {training, test, lexUnit}, text::noProgress());
    EXPECT_EQ(outcome.done(), outcome.notices.empty());
    return outcome.done() ? std::string() : outcome.notices.front().text;
  }
  std::string file(const std::string& name) { return readBytes(folder + name); }
};

std::string instance(const char* lu, const char* sentence) {
  return std::string("<instance lexunit=\"x\" luID=\"") + lu + "\" sentID=\"" + sentence + "\"/>";
}

const std::vector<MiniLexUnit> kUnits = {
    {"10",
     "give.v",
     2,
     {{"1",
       "She gave him a book.",
       "4",
       "7",
       {{"Role1", "0", "2", ""}, {"Role2", "", "", "Type1"}}},
      {"2", "Give it.", "0", "3", {{"Theme", "5", "6", ""}}},
      {"2", "Give it back.", "5", "6", {}}},
     true},
    {"20", "hand.v", 1, {{"3", "Hand it over.", "0", "3", {}}}, true},
    {"30", "lost.v", 1, {}, false},
};

TEST(FrameFiles, WritesTheThreeFilesOfATickedFrame) {
  FrameFilesRun run(kUnits, "<corpus><frame name=\"F\">" + instance("10", "1") +
                                instance("10", "2") + instance("20", "3") + instance("10", "1") +
                                instance("10", "9") + instance("30", "4") + "</frame></corpus>");
  ASSERT_EQ(run.names, std::vector<std::string>{"F"});
  EXPECT_EQ(run.create(run.names), "");
  // A, A, B, A, A, C: a line per change of lexical unit; C's file is missing (no name).
  EXPECT_EQ(run.file("F.trec"), "give.v\r\nhand.v\r\ngive.v\r\n\r\n");
  EXPECT_EQ(run.file("F.eval"),
            "F.1\r\nShe <tag>gave</> him a book.\r\n\r\n"
            "F.2\r\n<tag>Give</> it.\r\n\r\nGive <tag>it</> back.\r\n\r\n"  // one ID, two sentences
            "F.3\r\n<tag>Hand</> it over.\r\n\r\n"
            "F.1\r\nShe <tag>gave</> him a book.\r\n\r\n"
            "F.9\r\n"    // not found
            "F.4\r\n");  // file missing
  const std::string firstBlock =
      "F.1\r\nShe gave him a book.\r\nTarget: gave (4,7)\r\nRole1: She (0,2)\r\n"
      "Role2: Type1 (0,0)\r\n\r\n";
  EXPECT_EQ(run.file("F.out"),
            firstBlock +
                "F.2\r\nGive it.\r\nTarget: Give (0,3)\r\nTheme: it (5,6)\r\n\r\n"
                "Give it back.\r\nTarget: it (5,6)\r\n\r\n"
                "F.3\r\nHand it over.\r\nTarget: Hand (0,3)\r\n\r\n" +
                firstBlock + "F.9\r\nF.4\r\n");
  const std::string test = run.file("SensSemRolesTrgTest.xml");
  size_t instances = 0;
  for (size_t at = test.find("<instance "); at != std::string::npos;
       at = test.find("<instance ", at + 1))
    ++instances;
  EXPECT_EQ(instances, 5u);  // 1, 2 twice, 3, 1 again; 9 and 4 give none
  EXPECT_NE(test.find("<instance lexunit=\"hand.v\" luID=\"20\" sentID=\"3\">\r\n"
                      "      <sentence>Hand it over.</sentence>\r\n"
                      "      <target start=\"0\" end=\"3\">Hand</target>\r\n    </instance>"),
            std::string::npos);
}

TEST(FrameFiles, OnlyTickedFramesAreWrittenAndATwiceTickedOneTwice) {
  const std::string corpus =
      "<corpus><frame name=\"F\">" + instance("10", "1") + "</frame><frame name=\"G\"/></corpus>";
  FrameFilesRun none(kUnits, corpus);
  EXPECT_EQ(none.create({}), "");
  EXPECT_EQ(none.file("SensSemRolesTrgTest.xml"),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<corpus lang=\"en\"/>");
  EXPECT_FALSE(std::filesystem::exists(none.folder + "F.eval"));

  FrameFilesRun twice(kUnits, corpus);
  EXPECT_EQ(twice.create({"G", "F", "F", "Absent"}), "");
  EXPECT_EQ(twice.file("G.eval"), "");
  EXPECT_EQ(twice.file("Absent.trec"), "");
  EXPECT_EQ(twice.file("F.trec"), "give.v\r\n");
  const std::string test = twice.file("SensSemRolesTrgTest.xml");
  EXPECT_NE(test.find("  <frame name=\"G\"/>\r\n  <frame name=\"F\">"), std::string::npos);
  EXPECT_NE(test.find("  </frame>\r\n  <frame name=\"F\">"), std::string::npos);
  EXPECT_NE(test.find("  <frame name=\"Absent\"/>\r\n</corpus>"), std::string::npos);
}

TEST(FrameFiles, NamesThatWouldWriteOutsideTheFolderAreRefusedBeforeAnything) {
  const std::vector<std::string> names = {"../F", "a/b", "a\\b", "..", "F\x01", "F\n"};
  for (const std::string& name : names) {
    FrameFilesRun run(kUnits, "<corpus><frame name=\"F\"/></corpus>");
    run.dir.write("SensSemRolesTrgTest.xml", "earlier");
    const std::string refusal = run.create({"F", name});
    EXPECT_EQ(refusal.rfind("Frame name " + text::quotedText(name) + " holds ", 0), 0u) << refusal;
    EXPECT_EQ(run.file("SensSemRolesTrgTest.xml"), "earlier");
    EXPECT_FALSE(std::filesystem::exists(run.folder + "F.eval"));
  }
}

TEST(FrameFiles, AnOffsetThatIsNotAnIntegerStopsBeforeTheFrameIsWritten) {
  std::vector<MiniLexUnit> units = kUnits;
  units[1].sentences[0].targetEnd = "3x";
  FrameFilesRun run(units, "<corpus><frame name=\"E\">" + instance("10", "1") +
                               "</frame><frame name=\"F\">" + instance("20", "3") +
                               "</frame></corpus>");
  EXPECT_THROW(
      {
        try {
          run.create({"E", "F"});
        } catch (const text::ConversionError& error) {
          EXPECT_STREQ(error.what(), "'3x' is not a valid integer value");
          throw;
        }
      },
      text::ConversionError);
  EXPECT_EQ(run.file("E.trec"), "give.v\r\n");
  EXPECT_FALSE(std::filesystem::exists(run.folder + "F.eval"));
  EXPECT_FALSE(std::filesystem::exists(run.folder + "SensSemRolesTrgTest.xml"));
}

TEST(FrameFilesGolden, EveryFrameOfTheSampleTrainingSet) {
  testing::TempDir dir;
  const std::string folder = testing::copySampleRelease(dir);
  std::filesystem::copy_file(
      testing::testDataPath("golden/samples/all-frames-2-sentences/SensSemRolesTrg.xml"),
      folder + "SensSemRolesTrg.xml");
  xml::TXpObjModel training, test, lexUnit;
  const samples::TrainingSetLoad load = samples::loadTrainingSet(training, folder);
  ASSERT_TRUE(load.loaded) << load.message;
  ASSERT_TRUE(
      createFrameFiles(load.frameNames, folder, {training, test, lexUnit}, text::noProgress())
          .done());
  const std::string golden = testing::testDataPath("golden/samples/frame-files-all/");
  size_t compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(golden)) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(readBytes(folder + name), readBytes(entry.path().string())) << name;
    ++compared;
  }
  EXPECT_EQ(compared, load.frameNames.size() * 3 + 1);
}

}  // namespace
}  // namespace sorvanta::derived
