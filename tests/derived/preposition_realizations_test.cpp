// Other syntactic realizations of the frame elements a preposition list names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "derived/OtherRealizations.h"
#include "derived/PrepositionFixture.h"
#include "support/RecordingProgress.h"
#include "text/Errors.h"
#include "text/FileIO.h"
#include "xml/XpObjModel.h"

using namespace sorvanta;
using namespace sorvanta::testing;

namespace {

// A frames document with one frame and its lexical units (ID, annotated count text).
std::string framesDocument(const std::string& frame,
                           const std::vector<std::pair<int, std::string>>& lexUnits) {
  std::string xml = "<frames><frame name=\"" + frame + "\" ID=\"1\"><definition/><fes/><lexunits>";
  for (const auto& [id, annotated] : lexUnits) {
    xml += "<lexunit name=\"u" + std::to_string(id) + ".v\" ID=\"" + std::to_string(id) +
           "\"><definition/><annotation>";
    if (!annotated.empty()) xml += "<annotated>" + annotated + "</annotated>";
    xml += "</annotation></lexunit>";
  }
  return xml + "</lexunits></frame></frames>";
}

// A frame element of a frames document with one annotated lexical unit, "u<id>.v".
std::string annotatedFrame(const std::string& name, int id) {
  const std::string text = std::to_string(id);
  return "<frame name=\"" + name + "\" ID=\"" + text + "\"><lexunits><lexunit name=\"u" + text +
         ".v\" ID=\"" + text + "\"><annotation><annotated>1</annotated></annotation></lexunit>"
         "</lexunits></frame>";
}

// The lines AddFeRealizationLines adds for fe from one subcorpus document, in set order.
std::vector<std::string> realizations(const std::string& document, const std::string& fe) {
  xml::TXpObjModel model;
  EXPECT_TRUE(model.LoadMemory(document.data(), document.size()));
  text::SortedTextLines lines;
  derived::AddFeRealizationLines(model, fe, lines);
  return lines.lines();
}

struct RunOutcome {
  derived::RealizationsResult result;
  std::string output;
};

RunOutcome run(const TempDir& folder, const std::string& framesXml, const std::string& preposition,
               text::Progress& progress = text::noProgress()) {
  xml::TXpObjModel frames;
  frames.LoadMemory(framesXml.data(), framesXml.size());
  xml::TXpObjModel lexUnit;
  RunOutcome run{
      derived::findOtherRealizations(preposition, folderOf(folder),
                                     frames.Document()->docGetDocumentElement(), lexUnit, progress),
      ""};
  run.output = readBytes(folder.file("pp-" + preposition + ".alters.txt"));
  return run;
}

}  // namespace

TEST(TakeWord, SplitsAtSpacesAsTheListLinesNeed) {
  struct Case {
    std::string text;
    std::vector<std::string> words;  // three words
    std::string rest;
  } cases[] = {
      {"Frame Role lu.v V-ppon 1-2", {"Frame", "Role", "lu.v"}, "V-ppon 1-2"},
      {"Frame   Role  lu.v x", {"Frame", "Role", "lu.v"}, "x"},
      {"Frame Role", {"Frame", "", ""}, "Role"},
      {"Frame Role ", {"Frame", "Role", ""}, ""},
      {" Frame Role x", {"", "Frame", "Role"}, "x"},
      {"", {"", "", ""}, ""},
  };
  for (const Case& c : cases) {
    std::string rest = c.text;
    std::vector<std::string> words;
    for (int i = 0; i < 3; ++i) words.push_back(derived::takeWord(rest));
    EXPECT_EQ(words, c.words) << c.text;
    EXPECT_EQ(rest, c.rest) << c.text;
  }
}

TEST(AddFeRealizationLines, BuildsOneLinePerLabel) {
  struct Case {
    const char* what;
    std::string text;
    std::string layers;
    std::string line;
  } cases[] = {
      {"null instantiation", "They talked.", threeLayers(label("Topic", "", "", "INI"), "", ""),
       "F\tTopic\tlu.v\tINI"},
      {"PP of several words", "Talk about the plan.",
       threeLayers(label("Topic", "5", "18"), label("Dep", "5", "18"), label("PP", "5", "18")),
       "F\tTopic\tlu.v\tDep\tPP\tabout"},
      {"PP of one word", "Talk about.",
       threeLayers(label("Topic", "5", "9"), label("Dep", "5", "9"), label("PP", "5", "9")),
       "F\tTopic\tlu.v\tDep\tPP\t"},
      {"no grammatical function", "Talk about it.",
       threeLayers(label("Topic", "5", "12"), "", label("PP", "5", "12")),
       "F\tTopic\tlu.v\tPP\tabout"},
      {"phrase type other than PP", "Talk politics.",
       threeLayers(label("Topic", "5", "12"), label("Obj", "5", "12"), label("NP", "5", "12")),
       "F\tTopic\tlu.v\tObj\tNP"},
      {"start compared as text", "Talk about it.",
       threeLayers(label("Topic", "5", "12"), label("Dep", "05", "12"), label("PP", "5", "12")),
       "F\tTopic\tlu.v\tPP\tabout"},
      {"no layer after the FE layer", "Talk about it.", layer("FE", label("Topic", "5", "12")),
       "F\tTopic\tlu.v"},
      {"itype beside offsets is not read", "Talk about it.",
       threeLayers(label("Topic", "5", "12", "DNI"), label("Dep", "5", "12"), ""),
       "F\tTopic\tlu.v\tDep"},
  };
  for (const Case& c : cases) {
    const std::string document = subcorpusDocument(
        "lu.v", "F", subcorpus("V-ppabout", annotationSet("1", c.text, c.layers)));
    EXPECT_EQ(realizations(document, "Topic"), std::vector<std::string>{c.line}) << c.what;
  }
}

TEST(AddFeRealizationLines, KeepsTheFirstOfLinesEqualButForCaseAndSorts) {
  const auto set = [](const std::string& id, const std::string& text) {
    return annotationSet(
        id, text,
        threeLayers(label("Topic", "0", "12"), label("Dep", "0", "12"), label("PP", "0", "12")));
  };
  const std::string document =
      subcorpusDocument("lu.v", "F",
                        subcorpus("x", set("1", "over the top") + set("2", "About it all") +
                                           set("3", "about it all") + set("4", "Over the top") +
                                           set("5", "_under it")));
  EXPECT_EQ(
      realizations(document, "Topic"),
      (std::vector<std::string>{"F\tTopic\tlu.v\tDep\tPP\tAbout", "F\tTopic\tlu.v\tDep\tPP\tover",
                                "F\tTopic\tlu.v\tDep\tPP\t_under"}));
}

TEST(AddFeRealizationLines, PpOffsetsThatAreNoIntegersStopWithTheConversionError) {
  const std::string document = subcorpusDocument(
      "lu.v", "F",
      subcorpus("x",
                annotationSet("1", "Talk about it.",
                              threeLayers(label("Topic", "5", "z"), "", label("PP", "5", "9")))));
  EXPECT_THROW(realizations(document, "Topic"), text::ConversionError);
}

TEST(OtherRealizations, MessagesInsteadOfRunning) {
  TempDir folder;
  struct Case {
    const char* preposition;
    const char* text;
  } cases[] = {
      {"", "No preposition has been identified."},
      {"into", "Preposition file does not exist."},
      {"../into",
       "Preposition name \"../into\" holds a path separator and cannot name a file in "
       "the data folder."},
  };
  for (const Case& c : cases) {
    RunOutcome result = run(folder, framesDocument("F", {}), c.preposition);
    const text::Outcome& outcome = result.result.outcome;
    EXPECT_EQ(outcome.status, text::Outcome::Status::Refused) << c.preposition;
    ASSERT_EQ(outcome.notices.size(), 1u) << c.preposition;
    EXPECT_EQ(outcome.notices[0].text, c.text);
    EXPECT_EQ(outcome.notices[0].caption, "Preposition Analysis");
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(OtherRealizations, EmptyPrepositionFileGivesAnEmptyOutput) {
  TempDir folder;
  folder.write("pp-on.txt", "");
  folder.write("pp-on.alters.txt", "older");
  RunOutcome result = run(folder, framesDocument("F", {}), "on");
  EXPECT_TRUE(result.result.outcome.done());
  EXPECT_EQ(result.result.outcome.filesWritten,
            std::vector<std::string>{folder.file("pp-on.alters.txt")});
  EXPECT_EQ(result.output, "");
}

TEST(OtherRealizations, WorksEachRunOfOneFramePairOnce) {
  TempDir folder;
  const auto document = [](const std::string& lexUnit, const std::string& phrase) {
    return subcorpusDocument(
        lexUnit, "F",
        subcorpus("V-ppon",
                  annotationSet("1", phrase + " it.",
                                threeLayers(label("Goal", "0", "4") + label("Time", "", "", "INI"),
                                            label("Dep", "0", "4"), label("PP", "0", "4")))));
  };
  writeSubcorpusDocument(folder, 1, document("u1.v", "ON"));
  writeSubcorpusDocument(folder, 2, document("u2.v", "into"));
  writeSubcorpusDocument(folder, 3, document("u3.v", "upon"));  // annotated count 0
  folder.write("pp-on.txt",
               "F\tGoal\tu1.v\tV-ppon\t1-1\r\n"
               "F\tGoal\tu2.v\tV-ppon\t1-1\n"
               "F\tNo instances \tu2.v\tV-ppon\r"
               "Missing\tGoal\tu9.v\tV-ppon\t1-1\r\n"
               "F\tTime\tu1.v\tV-ppon\t1-1\r\n"
               "F\tGoal\tu1.v\tV-ppon\t1-1\r\n");
  RecordingProgress progress;
  RunOutcome result =
      run(folder, framesDocument("F", {{1, "2"}, {2, "x"}, {3, "0"}, {4, "1"}}), "on", progress);
  EXPECT_EQ(progress.values(derived::kListLinesCounter), std::vector<int64_t>{6});
  EXPECT_EQ(progress.values(derived::kNextLineCounter),
            (std::vector<int64_t>{2, 3, 4, 5, 6, 7}));
  // Passes: F/Goal, Missing/Goal, F/Time, F/Goal again; "x" counts as 0, lu4 has no document.
  EXPECT_EQ(result.result.framesWorked, 4u);
  EXPECT_EQ(result.result.documentsRead, 3u);
  EXPECT_EQ(result.output,
            "F\tGoal\tu1.v\tDep\tPP\tON\r\n"
            "F\tTime\tu1.v\tINI\r\n");
}

// Lines from several documents and passes that are equal but for case: the first gathered
// (list order, then the frame's lexical units in order) stays, wherever it sorts.
TEST(OtherRealizations, FirstOfLinesEqualButForCaseStaysAcrossDocuments) {
  TempDir folder;
  const auto document = [](const std::string& lexUnit, const std::string& fe, const std::string& phrase) {
    return subcorpusDocument(
        lexUnit, "F",
        subcorpus("V-ppon", annotationSet("1", phrase + " it.",
                                          threeLayers(label(fe, "0", "4"), label("Dep", "0", "4"),
                                                      label("PP", "0", "4")))));
  };
  writeSubcorpusDocument(folder, 1, document("lu.v", "Goal", "into"));
  writeSubcorpusDocument(folder, 2, document("LU.v", "GOAL", "INTO"));
  writeSubcorpusDocument(folder, 3, document("Lu.v", "Goal", "Onto"));
  folder.write("pp-on.txt", "F\tGoal\tlu.v\tV-ppon\t1-1\nF\tGOAL\tLU.v\tV-ppon\t1-1\n");
  RunOutcome result =
      run(folder, framesDocument("F", {{1, "1"}, {2, "1"}, {3, "1"}}), "on");
  EXPECT_EQ(result.result.framesWorked, 2u);
  EXPECT_EQ(result.output,
            "F\tGoal\tlu.v\tDep\tPP\tinto\r\n"
            "F\tGoal\tLu.v\tDep\tPP\tOnto\r\n");
}

TEST(OtherRealizations, BadPpOffsetWritesNothing) {
  TempDir folder;
  writeSubcorpusDocument(
      folder, 1,
      subcorpusDocument("u1.v", "F",
                        subcorpus("V-ppon", annotationSet("1", "on it.",
                                                          threeLayers(label("Goal", "0", "?"), "",
                                                                      label("PP", "0", "4"))))));
  folder.write("pp-on.txt", "F\tGoal\tu1.v\tV-ppon\t1-1\r\n");
  folder.write("pp-on.alters.txt", "older");
  xml::TXpObjModel frames;
  const std::string framesXml = framesDocument("F", {{1, "1"}});
  frames.LoadMemory(framesXml.data(), framesXml.size());
  xml::TXpObjModel lexUnit;
  EXPECT_THROW(
      derived::findOtherRealizations("on", folderOf(folder),
                                     frames.Document()->docGetDocumentElement(), lexUnit,
                                     text::noProgress()),
      text::ConversionError);
  EXPECT_EQ(readBytes(folder.file("pp-on.alters.txt")), "older");
}

TEST(OtherRealizations, SampleReleaseMatchesGoldenFiles) {
  TempDir folder;
  copySampleRelease(folder);
  xml::TXpObjModel frames;
  ASSERT_TRUE(frames.LoadDataSource(folder.file("frXML/frames.xml")));
  for (const std::string preposition : {"about", "into", "on", "for", "from"}) {
    const std::string list = "pp-" + preposition + ".txt";
    std::filesystem::copy_file(testDataPath("golden/preposition/" + list), folder.file(list));
    xml::TXpObjModel lexUnit;
    derived::findOtherRealizations(preposition, folderOf(folder),
                                   frames.Document()->docGetDocumentElement(), lexUnit,
                                   text::noProgress());
    const std::string name = "pp-" + preposition + ".alters.txt";
    EXPECT_EQ(readBytes(folder.file(name)), readBytes(testDataPath("golden/preposition/" + name)))
        << name;
  }
}

// Thousands of lines, merged in sorted runs while documents are read: of lines equal but for
// case the first gathered still stays, and every PP line takes the first word of its own
// sentence.
TEST(OtherRealizations, ManyLinesKeepTheFirstOfEqualsAndTheirOwnSentences) {
  TempDir folder;
  const int kSets = 5000;
  const auto document = [&](const std::string& lexUnit, const std::string& frame, const std::string& fe,
                            bool upper) {
    std::string sets;
    for (int i = 0; i < kSets; ++i) {
      const std::string word = (upper ? "W" : "w") + std::to_string(kSets - i);
      const std::string end = std::to_string(word.size());  // the span takes the space after
      sets += annotationSet(std::to_string(i + 1), word + " it.",
                            threeLayers(label(fe, "0", end), label("Dep", "0", end), label("PP", "0", end)));
    }
    return subcorpusDocument(lexUnit, frame, subcorpus("V-ppon", sets));
  };
  // Two frames, so the second pass's lines come in a run of their own.
  writeSubcorpusDocument(folder, 1, document("lu.v", "F", "Goal", false));
  writeSubcorpusDocument(folder, 2, document("LU.v", "f", "GOAL", true));
  folder.write("pp-on.txt", "F\tGoal\tlu.v\tV-ppon\t1-1\nG\tGOAL\tLU.v\tV-ppon\t1-1\n");
  RunOutcome result =
      run(folder, "<frames>" + annotatedFrame("F", 1) + annotatedFrame("G", 2) + "</frames>", "on");
  std::vector<std::string> expected;
  for (int i = 1; i <= kSets; ++i) expected.push_back("F\tGoal\tlu.v\tDep\tPP\tw" + std::to_string(i));
  std::sort(expected.begin(), expected.end());
  std::string text;
  for (const std::string& line : expected) text += line + "\r\n";
  EXPECT_EQ(result.result.realizationLines, static_cast<size_t>(kSets));
  EXPECT_EQ(result.output, text);
}

// The frame of a list line is the first frame element of that name in document order, at any
// depth; a name outside ASCII is matched as the document writes it.
TEST(OtherRealizations, FramesAreFoundByNameInDocumentOrder) {
  TempDir folder;
  const auto document = [](const std::string& lexUnit, const std::string& frame) {
    return subcorpusDocument(
        lexUnit, frame,
        subcorpus("V-ppon", annotationSet("1", "on it.",
                                          threeLayers(label("Goal", "0", "1"), label("Dep", "0", "1"),
                                                      label("PP", "0", "1")))));
  };
  writeSubcorpusDocument(folder, 1, document("one.v", "Caf\xC3\xA9"));
  writeSubcorpusDocument(folder, 2, document("two.v", "Caf\xC3\xA9"));
  writeSubcorpusDocument(folder, 3, document("three.v", "Later"));
  const std::string framesXml = "<frames><group>" + annotatedFrame("Caf\xC3\xA9", 1) + "</group>" +
                                annotatedFrame("Caf\xC3\xA9", 2) + annotatedFrame("Later", 3) +
                                "</frames>";
  // The list is working text: "Café" in one byte per character.
  folder.write("pp-on.txt", "Caf\xE9\tGoal\tone.v\tV-ppon\t1-1\nLater\tGoal\tthree.v\tV-ppon\t1-1\n");
  RunOutcome result = run(folder, framesXml, "on");
  EXPECT_EQ(result.result.documentsRead, 2u);
  EXPECT_EQ(result.output,
            "Caf\xE9\tGoal\tone.v\tDep\tPP\t\r\n"
            "Later\tGoal\tthree.v\tDep\tPP\t\r\n");
}
