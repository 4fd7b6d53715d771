#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "lexicon/FramesIndex.h"
#include "samples/SampleRandom.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingTestSets.h"
#include "support/MiniRelease.h"
#include "support/RecordingProgress.h"
#include "text/Errors.h"
#include "text/TextLines.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {
namespace {

using testing::MiniFrame;
using testing::MiniLexUnit;
using testing::MiniSentence;
using testing::plainSentence;
using testing::readBytes;
using testing::TempDir;

// Records the counts as "F<frames completed>" and "S<sentences in frames>".
struct Recorder : text::Progress {
  std::vector<std::string> events;
  void count(std::string_view counter, int64_t value, std::string_view) override {
    events.push_back((counter == kFramesCompletedCounter ? "F" : "S") + std::to_string(value));
  }
};

// A release on disk with its frames document loaded and indexed, and the window's objects.
struct SampleRun {
  TempDir dir;
  std::string folder;
  xml::TXpObjModel frames, training, test, lexUnit;
  lexicon::FramesIndex index;
  Recorder progress;

  explicit SampleRun(const std::vector<MiniFrame>& release)
      : folder(testing::writeMiniRelease(dir, release)) {
    frames.LoadDataSource(folder + "frXML/frames.xml");
    index = lexicon::fillFramesIndex(frames.Document()->docGetDocumentElement());
  }
  SampleResult select(SampleRequest request) {
    return selectSample(request, index.frames, frames.Document()->docGetDocumentElement(), folder,
                        {training, test, lexUnit}, progress);
  }
  std::string file(std::string_view name) { return readBytes(folder + std::string(name)); }
  bool wrote(std::string_view name) { return std::filesystem::exists(folder + std::string(name)); }
  std::vector<std::string> lines(std::string_view name) {
    text::TextLines list;
    list.loadFromFile(folder + std::string(name));
    return list.lines();
  }
};

SampleRequest request(int low, int high, std::string frames, std::string sents, uint32_t seed = 1) {
  SampleRequest r;
  r.low = low;
  r.high = high;
  r.numFramesText = std::move(frames);
  r.numSentsText = std::move(sents);
  r.seed = seed;
  return r;
}

// A frame whose one lexical unit has n plain sentences with IDs first, first + 1, ...
MiniFrame frameWith(const std::string& name, const std::string& id, int n, int first) {
  MiniLexUnit lu{id + "01", name + ".v", n, {}, true};
  for (int i = 0; i < n; ++i) lu.sentences.push_back(plainSentence(std::to_string(first + i)));
  return {name, id, {lu}};
}

// The frame names of the answer lines of a file, in order, one per line.
std::vector<std::string> answerFrames(SampleRun& run, std::string_view file) {
  std::vector<std::string> names;
  for (const std::string& line : run.lines(file)) names.push_back(line.substr(0, line.find('.')));
  return names;
}

TEST(SampleRandom, FollowsTheGeneratorAndDiscardsTheFirstValue) {
  // Worked out by hand from state = state * 22695477 + 1 (mod 2^32), value = bits 16-30.
  SampleRandom random(1);
  EXPECT_EQ(random.state(), 22695478u);  // the discarded value, 346
  EXPECT_EQ(random.next(), 130);         // state 2156045615
  EXPECT_EQ(random.draw(), 82);          // 10982, state 2867233980
  EXPECT_EQ(random.state(), 2867233980u);
  SampleRandom wraps(0xFFFFFFFFu);  // 0xFFFFFFFF * 22695477 + 1 wraps to 4272271820
  EXPECT_EQ(wraps.state(), 4272271820u);
}

TEST(SampleSelection, RangeBoundsAreInclusive) {
  const std::vector<MiniFrame> release = {
      frameWith("Low", "1", 3, 100), frameWith("Mid", "2", 4, 200), frameWith("High", "3", 5, 300)};
  struct Case {
    int low, high;
    std::vector<std::string> processed;
  } cases[] = {{3, 5, {"Low", "Mid", "High"}},
               {4, 4, {"Mid"}},
               {3, 3, {"Low"}},
               {5, 5, {"High"}},
               {4, 5, {"Mid", "High"}}};
  for (const Case& c : cases) {
    SampleRun run(release);
    const SampleResult result = run.select(request(c.low, c.high, "0", "0"));
    ASSERT_TRUE(result.outcome.done()) << c.low << ".." << c.high;
    EXPECT_EQ(result.framesDone, static_cast<int>(c.processed.size()));
    std::vector<std::string> names = answerFrames(run, kTestAnswersFile);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    EXPECT_EQ(names, c.processed) << c.low << ".." << c.high;
  }
}

TEST(SampleSelection, ExcludedFramesAreNeverDrawnButProcessedWithoutADraw) {
  const std::vector<MiniFrame> release = {
      frameWith("A", "139", 2, 100), frameWith("B", "173", 2, 200), frameWith("C", "50", 2, 300),
      frameWith("D", "188", 2, 400)};
  for (uint32_t seed : {1u, 2u, 3u, 99u}) {
    SampleRun run(release);
    ASSERT_TRUE(run.select(request(0, 10, "1", "0", seed)).outcome.done());
    EXPECT_EQ(answerFrames(run, kTestAnswersFile), (std::vector<std::string>{"C", "C"}));
  }
  SampleRun all(release);
  EXPECT_EQ(all.select(request(0, 10, "0", "0")).framesDone, 4);
  EXPECT_EQ(answerFrames(all, kTestAnswersFile),
            (std::vector<std::string>{"A", "A", "B", "B", "C", "C", "D", "D"}));
}

TEST(SampleSelection, AllCandidatesAreDrawnWhenAsManyAreWanted) {
  SampleRun run(
      {frameWith("A", "1", 2, 100), frameWith("B", "2", 2, 200), frameWith("C", "3", 2, 300)});
  const SampleResult result = run.select(request(0, 10, "3", "0"));
  EXPECT_EQ(result.framesDone, 3);
  // AcceptPercent 100 takes every frame in the first walk, whatever is drawn.
  SampleRandom random(1);
  EXPECT_EQ(drawDistinct({1, 2, 3}, 3, random), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(random.state(), [] {
    SampleRandom r(1);
    r.next();
    r.next();
    r.next();
    return r.state();
  }());
}

TEST(SampleSelection, CountsThatCannotFinishTheDrawAreRefusedBeforeAnythingChanges) {
  const std::vector<MiniFrame> release = {frameWith("A", "1", 3, 100),
                                          frameWith("B", "139", 3, 200)};
  struct Case {
    SampleRequest request;
    const char* refusal;
  } cases[] = {
      {request(0, 10, "-1", "0"), "The number of frames to select must not be negative."},
      {request(0, 10, "1", "-2"), "The number of sentences to select must not be negative."},
      {request(0, 10, "2", "0"),
       "Only 1 frames that may be drawn have between 0 and 10 annotated sentences; 2 frames "
       "cannot be selected."},
      {request(4, 10, "0", "0"),
       "No frame that may be drawn has between 4 and 10 annotated sentences; there is nothing "
       "to select from."},
  };
  for (const Case& c : cases) {
    SampleRun run(release);
    run.dir.write("SensSemRolesTrg.xml", "earlier");
    const text::Outcome outcome = run.select(c.request).outcome;
    EXPECT_EQ(outcome.status, text::Outcome::Status::Refused);
    ASSERT_EQ(outcome.notices.size(), 1u);
    EXPECT_EQ(outcome.notices[0].text, c.refusal);
    EXPECT_EQ(outcome.notices[0].caption, "Sorvanta Explorer");
    EXPECT_TRUE(outcome.filesWritten.empty());
    EXPECT_EQ(run.file(kTrainingFile), "earlier");
    EXPECT_FALSE(run.wrote(kMessagesFile));
    EXPECT_TRUE(run.progress.events.empty());
  }
}

// Two frames sharing an ID are one ID for the draw: asking for both used to loop forever.
TEST(SampleSelection, FramesSharingAnIdCountOnceAndTheDrawIsRefusedUpFront) {
  SampleRun run({frameWith("A", "7", 3, 100), frameWith("B", "7", 3, 200)});
  run.dir.write("SensSemRolesTrg.xml", "earlier");
  const text::Outcome outcome = run.select(request(0, 10, "2", "0")).outcome;
  EXPECT_EQ(outcome.status, text::Outcome::Status::Refused);
  ASSERT_EQ(outcome.notices.size(), 1u);
  EXPECT_EQ(outcome.notices[0].text,
            "Only 1 frames that may be drawn (frames sharing an ID count once) have between 0 and "
            "10 annotated sentences; 2 frames cannot be selected.");
  EXPECT_EQ(run.file(kTrainingFile), "earlier");
  // One frame is drawn by its ID, and both frames of that ID are processed.
  EXPECT_TRUE(run.select(request(0, 10, "1", "0")).outcome.done());
  EXPECT_EQ(run.select(request(0, 10, "1", "0")).framesDone, 2);
}

// A draw that cannot finish ends with a message after a bounded number of passes.
TEST(SampleSelection, ADrawThatCannotFinishIsBounded) {
  for (const std::vector<int32_t>& candidates :
       {std::vector<int32_t>{5, 5}, std::vector<int32_t>{1, 2, 2, 2}}) {
    SampleRandom random(3);
    EXPECT_THROW(drawDistinct(candidates, 3, random), text::RuntimeError);
  }
}

TEST(SampleSelection, TextThatIsNotAnIntegerStopsTheRunWithoutWriting) {
  struct Case {
    std::string frames, sents, message;
  } cases[] = {{"", "1", "'' is not a valid integer value"},
               {"1", "two", "'two' is not a valid integer value"}};
  for (const Case& c : cases) {
    SampleRun run({frameWith("A", "1", 3, 100)});
    try {
      run.select(request(0, 10, c.frames, c.sents));
      ADD_FAILURE() << "no error for " << c.frames << "/" << c.sents;
    } catch (const text::ConversionError& error) {
      EXPECT_EQ(error.what(), c.message);
    }
    EXPECT_FALSE(run.wrote(kTrainingFile));
  }
}

TEST(SampleSelection, SufficiencyNeedsOneAndAHalfTimesTheSentences) {
  struct Case {
    int candidates;
    const char* sents;
    bool processed;
  } cases[] = {{14, "10", false}, {15, "10", true}, {2, "2", false},
               {3, "2", true},    {0, "0", true},   {0, "1", false}};
  for (const Case& c : cases) {
    MiniFrame frame = frameWith("F", "1", c.candidates, 100);
    frame.lexUnits[0].annotated = 1;  // the Anns cell only has to lie in the range
    SampleRun run({frame});
    const SampleResult result = run.select(request(0, 10, "0", c.sents));
    EXPECT_EQ(result.framesDone, 1) << c.candidates;
    const std::vector<std::string> expected =
        c.processed
            ? std::vector<std::string>{}
            : std::vector<std::string>{"Frame \"F\" has only " + std::to_string(c.candidates) +
                                       " candidate sentences"};
    EXPECT_EQ(run.lines(kMessagesFile), expected) << c.candidates;
    EXPECT_EQ(result.messages, expected);
    EXPECT_EQ(run.file(kTrainingFile).find("<frame name=\"F\"") != std::string::npos, c.processed);
    const std::vector<std::string> events =
        c.processed ? std::vector<std::string>{"S" + std::to_string(c.candidates), "F1"}
                    : std::vector<std::string>{"F1"};
    EXPECT_EQ(run.progress.events, events);
  }
}

TEST(SampleSelection, NoSentencesToDrawPutsEveryCandidateInTheTestSet) {
  SampleRun run({frameWith("F", "1", 4, 100)});
  run.select(request(0, 10, "0", "0"));
  EXPECT_EQ(run.file(kTrainingFile),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<corpus lang=\"en\">\r\n"
            "  <frame name=\"F\"/>\r\n</corpus>");
  EXPECT_EQ(run.lines(kTestAnswersFile),
            (std::vector<std::string>{"F.100 Agent (0,2)", "F.101 Agent (0,2)", "F.102 Agent (0,2)",
                                      "F.103 Agent (0,2)"}));
  EXPECT_EQ(run.file(kTrainingAnswersFile), "");
  EXPECT_EQ(run.file(kMessagesFile), "");
}

TEST(SampleSelection, SentencesWithoutFramesElementsAreCountedAndLeftOut) {
  MiniFrame frame = frameWith("F", "1", 3, 100);
  for (const char* id : {"7", "8", "9"})
    frame.lexUnits[0].sentences.push_back({id, "No roles here.", "0", "1", {}, true});
  // Not opened: its annotated count is 0.
  frame.lexUnits.push_back({"102", "idle.v", 0, {plainSentence("555")}, true});
  // Annotated, but its file is missing: skipped.
  frame.lexUnits.push_back({"103", "gone.v", 2, {plainSentence("666")}, false});
  SampleRun run({frame});
  run.select(request(0, 10, "0", "1"));
  EXPECT_EQ(run.lines(kMessagesFile),
            (std::vector<std::string>{"Frame \"F\" has 3 sentences without FEs"}));
  std::vector<std::string> all = run.lines(kTrainingAnswersFile);
  for (const std::string& line : run.lines(kTestAnswersFile)) all.push_back(line);
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::string>{"F.100 Agent (0,2)", "F.101 Agent (0,2)",
                                           "F.102 Agent (0,2)"}));
  EXPECT_EQ(run.progress.events, (std::vector<std::string>{"S3", "F1"}));
}

TEST(SampleSelection, ADuplicateSentenceIdFallsOnOneSide) {
  MiniFrame frame = frameWith("F", "1", 2, 100);
  frame.lexUnits.push_back(
      {"102", "other.v", 2, {plainSentence("100"), plainSentence("300")}, true});
  // Candidates 100, 101, 100, 300: three distinct IDs.
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SampleRun run({frame});
    run.select(request(0, 10, "0", "2", seed));
    const std::vector<std::string> training = run.lines(kTrainingAnswersFile);
    const std::vector<std::string> test = run.lines(kTestAnswersFile);
    EXPECT_EQ(training.size() + test.size(), 4u);
    const auto count = [](const std::vector<std::string>& lines) {
      return std::count(lines.begin(), lines.end(), "F.100 Agent (0,2)");
    };
    EXPECT_TRUE(count(training) == 0 || count(test) == 0) << seed;
    EXPECT_EQ(std::set<std::string>(training.begin(), training.end()).size(), 2u) << seed;
  }
}

TEST(SampleSelection, TooFewDistinctSentencesStopTheRunInsteadOfHanging) {
  MiniFrame frame = frameWith("F", "1", 1, 100);
  frame.lexUnits.push_back({"102", "b.v", 1, {plainSentence("100")}, true});
  frame.lexUnits.push_back({"103", "c.v", 1, {plainSentence("100")}, true});
  SampleRun run({frame});
  EXPECT_THROW(run.select(request(0, 10, "0", "2")), text::RuntimeError);
  EXPECT_FALSE(run.wrote(kTrainingFile));
}

TEST(SampleSelection, TestInstancesCarryFrameElementsOnlyWhenAsked) {
  MiniSentence sentence{
      "5",
      "Kim gave Lee a pen.",
      "4",
      "7",
      {{"Donor", "0", "2", ""}, {"Theme", "13", "40", ""}, {"Place", "", "", "INI"}},
      true};
  const std::vector<MiniFrame> release = {{"Giving", "1", {{"11", "give.v", 1, {sentence}, true}}}};
  SampleRun plain(release);
  plain.select(request(0, 10, "0", "0"));
  const std::string instance =
      "    <instance lexunit=\"give.v\" luID=\"11\" sentID=\"5\">\r\n"
      "      <sentence>Kim gave Lee a pen.</sentence>\r\n"
      "      <target start=\"4\" end=\"7\">gave</target>\r\n";
  EXPECT_EQ(plain.file(kTestFile),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<corpus lang=\"en\">\r\n"
            "  <frame name=\"Giving\">\r\n" +
                instance + "    </instance>\r\n  </frame>\r\n</corpus>");
  SampleRun fes(release);
  SampleRequest asked = request(0, 10, "0", "0");
  asked.provideFes = true;
  fes.select(asked);
  EXPECT_EQ(
      fes.file(kTestFile),
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<corpus lang=\"en\">\r\n"
      "  <frame name=\"Giving\">\r\n" +
          instance +
          "      <frame_elements>\r\n"
          "        <frame_element name=\"Donor\" start=\"0\" end=\"2\">Kim</frame_element>\r\n"
          "        <frame_element name=\"Theme\" start=\"13\" end=\"40\">a pen.</frame_element>\r\n"
          "        <frame_element name=\"Place\" start=\"0\" end=\"0\" itype=\"INI\"/>\r\n"
          "      </frame_elements>\r\n    </instance>\r\n  </frame>\r\n</corpus>");
  EXPECT_EQ(fes.file(kTestAnswersFile), "Giving.5 Donor (0,2) Theme (13,40) Place (0,0)\r\n");
  EXPECT_EQ(plain.file(kTestAnswersFile), fes.file(kTestAnswersFile));
}

}  // namespace
}  // namespace sorvanta::samples

namespace sorvanta::samples {
namespace {

TEST(SampleSelection, CancelledBetweenFramesWritesNothing) {
  const std::vector<MiniFrame> release = {frameWith("A", "1", 2, 100), frameWith("B", "2", 2, 200)};
  for (int cancelAfter : {0, 1, 2}) {  // before the first frame, while in it, after it
    SampleRun run(release);
    run.dir.write("SensSemRolesTrg.xml", "earlier");
    testing::RecordingProgress progress(cancelAfter);
    const SampleResult result =
        selectSample(request(0, 10, "0", "0"), run.index.frames,
                     run.frames.Document()->docGetDocumentElement(), run.folder,
                     {run.training, run.test, run.lexUnit}, progress);
    EXPECT_EQ(result.outcome.status, text::Outcome::Status::Cancelled) << cancelAfter;
    EXPECT_TRUE(result.outcome.filesWritten.empty());
    EXPECT_EQ(run.file(kTrainingFile), "earlier");
    EXPECT_FALSE(run.wrote(kTestFile));
    EXPECT_FALSE(run.wrote(kMessagesFile));
  }
}

}  // namespace
}  // namespace sorvanta::samples
