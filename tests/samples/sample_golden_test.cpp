#include <gtest/gtest.h>

#include <filesystem>

#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingTestSets.h"
#include "support/ReleaseCopy.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {
namespace {

using testing::readBytes;

// The whole sample release, copied so the run writes into a scratch folder.
struct ReleaseCopy : testing::SampleReleaseCopy {
  xml::TXpObjModel frames, training, test, lexUnit;
  lexicon::FramesIndex index;
  ReleaseCopy() {
    frames.LoadDataSource(folder + "frXML/frames.xml");
    index = lexicon::fillFramesIndex(frames.Document()->docGetDocumentElement());
  }
};

TEST(SampleGolden, WritesTheFiveFilesOfTheSampleRelease) {
  struct Case {
    const char* golden;
    SampleRequest request;
  } cases[] = {
      {"all-frames-2-sentences", {0, 100, "0", "2", false, 7}},
      {"drawn-4-frames-provide-fes", {2, 9, "4", "1", true, 12345}},
  };
  for (const Case& c : cases) {
    ReleaseCopy release;
    const SampleResult result = selectSample(
        c.request, release.index.frames, release.frames.Document()->docGetDocumentElement(),
        release.folder, {release.training, release.test, release.lexUnit}, text::noProgress());
    ASSERT_TRUE(result.outcome.done());
    EXPECT_EQ(result.outcome.filesWritten.size(), 5u);
    for (std::string_view file :
         {kTrainingFile, kTestFile, kTrainingAnswersFile, kTestAnswersFile, kMessagesFile}) {
      const std::string name(file);
      const std::string golden =
          testing::testDataPath("golden/samples/" + std::string(c.golden) + "/" + name);
      ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
      EXPECT_EQ(readBytes(release.folder + name), readBytes(golden)) << c.golden << "/" << name;
    }
  }
}

}  // namespace
}  // namespace sorvanta::samples
