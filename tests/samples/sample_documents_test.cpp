// The window's documents after a sample draw: it parses each annotation document once, yet
// leaves the annotation document as if every read had gone there; the training document holds
// the set. Errors in the documents read stop the run where the writing pass meets them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingTestSets.h"
#include "support/MiniRelease.h"
#include "text/Errors.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {
namespace {

using testing::MiniFrame;
using testing::MiniLexUnit;
using testing::MiniSentence;
using testing::plainSentence;

// Frames whose lexical units each hold one plain sentence; a missing file when id ends in 9.
MiniFrame frameOf(const std::string& name, const std::string& frameId,
                  const std::vector<std::string>& luIds) {
  MiniFrame frame{name, frameId, {}};
  for (const std::string& id : luIds) {
    MiniLexUnit lu{id, "lu" + id + ".v", 1, {plainSentence(id + "00")}, id.back() != '9'};
    frame.lexUnits.push_back(lu);
  }
  return frame;
}

// A mini release and the window's documents, ready for a draw of every frame.
struct Draw {
  explicit Draw(const std::vector<MiniFrame>& miniFrames)
      : folder(testing::writeMiniRelease(dir, miniFrames)) {
    frames.LoadDataSource(folder + "frXML/frames.xml");
    index = lexicon::fillFramesIndex(frames.Document()->docGetDocumentElement());
    request.high = 100;
    request.numFramesText = "0";
  }
  SampleResult run() {
    return selectSample(request, index.frames, frames.Document()->docGetDocumentElement(), folder,
                        {training, test, lexUnit}, text::noProgress());
  }

  testing::TempDir dir;
  std::string folder;
  xml::TXpObjModel frames, training, test, lexUnit;
  lexicon::FramesIndex index;
  SampleRequest request;
};

TEST(SampleSelection, LeavesLoadedTheAnnotationDocumentReadLast) {
  struct Case {
    const char* what;
    std::vector<MiniFrame> frames;
    std::string sentences;
    std::string loaded;  // name of the document element afterwards; empty: none
  } cases[] = {
      {"last unit of the last frame",
       {frameOf("A", "1", {"11", "12"}), frameOf("B", "2", {"21"})},
       "0",
       "lu21.v"},
      {"its file is missing",
       {frameOf("A", "1", {"11"}), frameOf("B", "2", {"21", "29"})},
       "0",
       ""},
      {"a frame without annotated units",
       {frameOf("A", "1", {"11"}), {"B", "2", {}}},
       "0",
       "lu11.v"},
      {"too few sentences: no writing pass", {frameOf("A", "1", {"11", "12"})}, "9", "lu12.v"},
      {"no document read at all", {{"A", "1", {}}}, "0", "earlier.v"},
  };
  for (const Case& c : cases) {
    Draw draw(c.frames);
    const std::string earlier = "<lexunit-annotation name=\"earlier.v\"/>";
    draw.lexUnit.LoadMemory(earlier.data(), earlier.size());
    draw.request.numSentsText = c.sentences;
    draw.run();
    EXPECT_EQ(xml::attributeText(draw.lexUnit.Document()->docGetDocumentElement(), "name"),
              c.loaded)
        << c.what;
  }
}

TEST(SampleSelection, AnErrorLeavesLoadedTheDocumentBeingRead) {
  MiniFrame frame = frameOf("A", "1", {"11", "12", "13"});
  frame.lexUnits[1].sentences[0].id = "1q";  // not an integer: the first pass stops there
  Draw draw({frame});
  draw.request.numSentsText = "0";
  EXPECT_THROW(draw.run(), text::ConversionError);
  EXPECT_EQ(xml::attributeText(draw.lexUnit.Document()->docGetDocumentElement(), "name"),
            "lu12.v");
}

// A label offset that is not an integer stops the run only where the writing pass reads it:
// the target's of a test sentence, a frame element's of any written sentence (its answer
// line), never in a frame the sufficiency test skips. Nothing is written then.
TEST(SampleSelection, AnOffsetThatIsNotAnIntegerStopsTheRunWhereItIsRead) {
  const auto sentence = [](const std::string& id, const std::string& targetStart,
                           const std::string& feEnd) {
    MiniSentence s = plainSentence(id);
    s.targetStart = targetStart;
    s.fes[0].end = feEnd;
    return s;
  };
  const auto unit = [](const std::string& id, std::vector<MiniSentence> sentences) {
    return MiniLexUnit{id, "lu" + id + ".v", 1, std::move(sentences), true};
  };
  // Sentence 100 twice and 200 once: drawing 2 of 3 candidates makes every one training.
  const auto allTraining = [&](const MiniSentence& first) {
    return MiniFrame{"F",
                     "1",
                     {unit("11", {first}), unit("12", {plainSentence("100")}),
                      unit("13", {plainSentence("200")})}};
  };
  const struct Case {
    const char* what;
    MiniFrame frame;
    const char* sentences;
    bool provideFes;
    std::string error;  // empty: the run writes its files
  } cases[] = {
      {"target of a test sentence",
       {"F", "1", {unit("11", {sentence("100", "x", "2")})}},
       "0",
       false,
       "'x' is not a valid integer value"},
      {"frame element of a test sentence",
       {"F", "1", {unit("11", {sentence("100", "4", "y")})}},
       "0",
       false,
       "'y' is not a valid integer value"},
      {"frame element of a test sentence, elements in the set",
       {"F", "1", {unit("11", {sentence("100", "4", "y")})}},
       "0",
       true,
       "'y' is not a valid integer value"},
      {"target before frame element",
       {"F", "1", {unit("11", {sentence("100", "x", "y")})}},
       "0",
       true,
       "'x' is not a valid integer value"},
      {"target of a training sentence", allTraining(sentence("100", "x", "2")), "2", true, ""},
      {"frame element of a training sentence", allTraining(sentence("100", "4", "y")), "2", false,
       "'y' is not a valid integer value"},
      {"frame skipped as too small",
       {"F", "1", {unit("11", {sentence("100", "x", "y")})}},
       "1",
       true,
       ""},
  };
  for (const Case& c : cases) {
    Draw draw({c.frame});
    draw.request.numSentsText = c.sentences;
    draw.request.provideFes = c.provideFes;
    for (const unsigned jobs : {1u, 3u}) {
      draw.request.jobs = jobs;
      std::string error;
      try {
        draw.run();
      } catch (const text::ConversionError& e) {
        error = e.what();
      }
      EXPECT_EQ(error, c.error) << c.what << ", " << jobs << " jobs";
      EXPECT_EQ(std::filesystem::exists(draw.folder + std::string(kTestFile)), c.error.empty())
          << c.what;
    }
  }
}

// Afterwards the training document holds the training set its file holds; the test set is in
// its file only, the test document keeping the empty corpus.
TEST(SampleSelection, TheTrainingDocumentHoldsTheSetTheTestDocumentTheEmptyCorpus) {
  MiniFrame frame{"F", "1", {{"11", "lu11.v", 4, {}, true}}};
  for (int i = 0; i < 6; ++i)
    frame.lexUnits[0].sentences.push_back(plainSentence(std::to_string(100 + i)));
  Draw draw({frame});
  draw.request.numSentsText = "2";
  draw.request.provideFes = true;
  ASSERT_TRUE(draw.run().outcome.done());
  std::string bytes;
  ASSERT_TRUE(draw.training.saveToBytes(bytes));
  EXPECT_EQ(bytes, testing::readBytes(draw.folder + std::string(kTrainingFile)));
  EXPECT_EQ(draw.training.Document()->docGetDocumentElement()->SelectNodes("frame/instance").nlGetLength(),
            2);
  ASSERT_TRUE(draw.test.saveToBytes(bytes));
  EXPECT_EQ(bytes, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<corpus lang=\"en\"/>");
  EXPECT_NE(testing::readBytes(draw.folder + std::string(kTestFile)).find("<sentence>"),
            std::string::npos);
}

}  // namespace
}  // namespace sorvanta::samples
