// The commands that parse documents on worker threads write the same bytes with one worker as
// with four, on a generated release large enough that documents finish out of order.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "derived/Dictionaries.h"
#include "derived/FrameFiles.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "support/TempDir.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {
namespace {

using testing::readBytes;
using testing::TempDir;

struct GeneratedRelease {
  TempDir dir;
  std::string folder;
  xml::TXpObjModel frames, relations;
  lexicon::FramesIndex index;
  GeneratedRelease() {
    tools::GeneratorOptions options;
    options.frames = 40;
    options.seed = 11;
    tools::writeReleaseFolder(tools::generateReleaseModel(options), dir.path().string());
    folder = dir.path().string() + "/";
    EXPECT_TRUE(frames.LoadDataSource(lexicon::framesDocumentPath(folder)));
    EXPECT_TRUE(relations.LoadDataSource(lexicon::relationsDocumentPath(folder)));
    index = lexicon::fillFramesIndex(framesRoot());
  }
  const xml::TXpNode* framesRoot() { return frames.Document()->docGetDocumentElement(); }
};

// Runs a command with the given jobs and returns the bytes of every file it wrote, by path.
using Command = std::function<text::Outcome(GeneratedRelease&, unsigned jobs)>;

std::map<std::string, std::string> outputsOf(GeneratedRelease& release, const Command& command,
                                             unsigned jobs) {
  const text::Outcome outcome = command(release, jobs);
  EXPECT_TRUE(outcome.done());
  std::map<std::string, std::string> files;
  for (const std::string& path : outcome.filesWritten) files[path] = readBytes(path);
  return files;
}

TEST(Jobs, OneWorkerAndFourWriteTheSameBytes) {
  GeneratedRelease release;
  const auto sample = [](bool provideFes) -> Command {
    return [provideFes](GeneratedRelease& r, unsigned jobs) {
      samples::SampleRequest request{0, 32767, "0", "2", provideFes, 20240611, jobs};
      xml::TXpObjModel training, test, lexUnit;
      return samples::selectSample(request, r.index.frames, r.framesRoot(), r.folder,
                                   {training, test, lexUnit}, text::noProgress())
          .outcome;
    };
  };
  // After the sample, whose training set it loads.
  const Command frameFiles = [](GeneratedRelease& r, unsigned jobs) {
    xml::TXpObjModel training, test, lexUnit;
    const samples::TrainingSetLoad load = samples::loadTrainingSet(training, r.folder);
    EXPECT_GT(load.frameNames.size(), 10u);
    return createFrameFiles(load.frameNames, r.folder, {training, test, lexUnit},
                            text::noProgress(), jobs);
  };
  const Command subcorpora = [](GeneratedRelease& r, unsigned jobs) {
    xml::TXpObjModel lexUnit;
    return selectSubcorpora({"1", "99999", "with", r.folder, jobs}, lexUnit, text::noProgress())
        .outcome;
  };
  const Command realizations = [](GeneratedRelease& r, unsigned jobs) {
    xml::TXpObjModel lexUnit;
    return findOtherRealizations("with", r.folder, r.framesRoot(), lexUnit, text::noProgress(),
                                 jobs)
        .outcome;
  };
  const Command dictionaries = [](GeneratedRelease& r, unsigned jobs) {
    xml::TXpObjModel dictionary, lexEntry;
    return createDictionaries(r.framesRoot(), r.relations.Document()->docGetDocumentElement(),
                              r.folder, false, {dictionary, lexEntry}, text::noProgress(), jobs)
        .outcome;
  };
  // In this order: the realizations read the list the subcorpora write.
  const struct {
    const char* what;
    Command command;
  } cases[] = {{"sample", sample(false)},
               {"sample with frame elements", sample(true)},
               {"subcorpora", subcorpora},
               {"realizations", realizations},
               {"dictionaries", dictionaries}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::map<std::string, std::string> one = outputsOf(release, c.command, 1);
    const std::map<std::string, std::string> four = outputsOf(release, c.command, 4);
    ASSERT_FALSE(one.empty());
    size_t bytes = 0;
    for (const auto& [path, content] : one) bytes += content.size();
    EXPECT_GT(bytes, 1000u) << "too small a run to tell anything";
    EXPECT_EQ(one, four);
  }
}

// The window's subcorpora and frame files leave the document they read last in the model they
// were given, whichever worker parsed it.
TEST(Jobs, TheLastDocumentReadStaysInTheGivenModel) {
  GeneratedRelease release;
  for (const unsigned jobs : {1u, 4u}) {
    SCOPED_TRACE(jobs);
    xml::TXpObjModel lexUnit;
    ASSERT_TRUE(
        selectSubcorpora({"1", "99999", "with", release.folder, jobs}, lexUnit, text::noProgress())
            .outcome.done());
    const xml::TXpNode* root = lexUnit.Document()->docGetDocumentElement();
    ASSERT_NE(root, nullptr);
    const std::vector<int32_t> ids = lexicon::subcorpusDocumentIds(release.folder, 1, 99999);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(xml::attributeText(root, "ID"), std::to_string(ids.back()));
  }
  xml::TXpObjModel training, test, sampleLexUnit;
  ASSERT_TRUE(samples::selectSample({0, 32767, "0", "2", false, 7, 1}, release.index.frames,
                                    release.framesRoot(), release.folder,
                                    {training, test, sampleLexUnit}, text::noProgress())
                  .outcome.done());
  const samples::TrainingSetLoad load = samples::loadTrainingSet(training, release.folder);
  ASSERT_GT(load.frameNames.size(), 2u);
  // The unit of the last instance of the last frame is the last one loaded.
  const xml::TXpNodeList instances = training.Document()->docGetDocumentElement()->SelectNodes(
      "frame[@name='" + load.frameNames.back() + "']/instance");
  ASSERT_GT(instances.nlGetLength(), 0);
  const std::string lastUnit =
      xml::attributeText(instances.Item(instances.nlGetLength() - 1), "luID");
  for (const unsigned jobs : {1u, 4u}) {
    SCOPED_TRACE(jobs);
    xml::TXpObjModel lexUnit;
    ASSERT_TRUE(createFrameFiles(load.frameNames, release.folder, {training, test, lexUnit},
                                 text::noProgress(), jobs)
                    .done());
    const xml::TXpNode* root = lexUnit.Document()->docGetDocumentElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(xml::attributeText(root, "ID"), lastUnit);
  }
}

}  // namespace
}  // namespace sorvanta::derived
