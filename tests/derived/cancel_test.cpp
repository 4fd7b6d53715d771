// Every derived command polls the cancel flag between items: cancelled, it leaves the older
// outputs as they were (the frame files keep the frames done before the cancel).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "derived/Dictionaries.h"
#include "derived/FrameFiles.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "support/RecordingProgress.h"
#include "support/ReleaseCopy.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {
namespace {

using testing::RecordingProgress;
using testing::SampleReleaseCopy;

struct Documents {
  xml::TXpObjModel frames, relations, first, second, third;
  explicit Documents(const std::string& folder) {
    frames.LoadDataSource(folder + "frXML/frames.xml");
    relations.LoadDataSource(folder + "frXML/frRelation.xml");
  }
  const xml::TXpNode* framesRoot() { return frames.Document()->docGetDocumentElement(); }
};

using CommandRun = std::function<text::Outcome(const std::string& folder, Documents& documents,
                                        text::Progress& progress)>;

const CommandRun kDictionaries = [](const std::string& folder, Documents& d, text::Progress& progress) {
  return createDictionaries(d.framesRoot(), d.relations.Document()->docGetDocumentElement(),
                            folder, false, {d.first, d.second}, progress)
      .outcome;
};
const CommandRun kSubcorpora = [](const std::string& folder, Documents& d, text::Progress& progress) {
  return selectSubcorpora({"1000", "2300", "into", folder}, d.first, progress).outcome;
};
const CommandRun kRealizations = [](const std::string& folder, Documents& d, text::Progress& progress) {
  return findOtherRealizations("into", folder, d.framesRoot(), d.first, progress).outcome;
};
const CommandRun kFrameFiles = [](const std::string& folder, Documents& d, text::Progress& progress) {
  const samples::TrainingSetLoad load = samples::loadTrainingSet(d.first, folder);
  EXPECT_TRUE(load.loaded) << load.message;
  return createFrameFiles(load.frameNames, folder, {d.first, d.second, d.third}, progress);
};

TEST(Cancel, LeavesTheOlderOutputsAsTheyWere) {
  const struct {
    const char* what;
    const CommandRun* run;
    int cancelAfter;                   // counts reported before the flag is set
    std::vector<std::string> outputs;  // written beforehand, unchanged afterwards
    std::vector<std::string> written;  // replaced before the cancel
  } cases[] = {
      {"dictionaries", &kDictionaries, 0, {"FrameDict.xml", "frames.dmp", "svlex.dmp"}, {}},
      {"dictionaries, midway", &kDictionaries, 5, {"FrameDict.xml", "frames.dmp", "svlex.dmp"}, {}},
      {"subcorpora", &kSubcorpora, 0, {"pp-into.txt", "pp-into.sents.xml"}, {}},
      // Counted per subcorpus document visited (the range holds 20 of them).
      {"subcorpora, midway", &kSubcorpora, 10, {"pp-into.txt", "pp-into.sents.xml"}, {}},
      {"realizations, midway", &kRealizations, 2, {"pp-into.alters.txt"}, {}},
      {"frame files", &kFrameFiles, 0, {"SensSemRolesTrgTest.xml", "Chatter.eval"}, {}},
      {"frame files, after one frame",
       &kFrameFiles,
       1,
       {"SensSemRolesTrgTest.xml", "Chatter.eval"},
       {"Motion.eval", "Motion.trec", "Motion.out"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SampleReleaseCopy release;
    // The inputs of the realizations and the frame files.
    std::filesystem::copy_file(testing::testDataPath("golden/preposition/pp-into.txt"),
                               release.folder + "pp-into.txt");
    std::filesystem::copy_file(
        testing::testDataPath("golden/samples/all-frames-2-sentences/SensSemRolesTrg.xml"),
        release.folder + "SensSemRolesTrg.xml");
    for (const std::string& name : c.outputs)
      if (name != "pp-into.txt") release.dir.write(name, "older");
    const std::string listBefore = release.file("pp-into.txt");

    Documents documents(release.folder);
    RecordingProgress progress(c.cancelAfter);
    const text::Outcome outcome = (*c.run)(release.folder, documents, progress);
    EXPECT_EQ(outcome.status, text::Outcome::Status::Cancelled);
    // Polled before each item: nothing more is counted once an item ends with the flag set
    // (a frame of the dictionaries counts its lexical units).
    if (c.cancelAfter == 0 || c.run != &kDictionaries) {
      EXPECT_EQ(static_cast<int>(progress.counts.size()), c.cancelAfter);
    }
    for (const std::string& name : c.outputs)
      EXPECT_EQ(release.file(name), name == "pp-into.txt" ? listBefore : "older") << name;
    std::vector<std::string> written;
    for (const std::string& name : c.written) written.push_back(release.folder + name);
    EXPECT_EQ(outcome.filesWritten, written);
  }
}

// A damaged annotation document is named once in a warning by the sample and the frame files
// (they used to skip it silently and report success).
TEST(SkippedDocuments, AreNamedInWarnings) {
  SampleReleaseCopy release;
  std::filesystem::copy_file(
      testing::testDataPath("golden/samples/all-frames-2-sentences/SensSemRolesTrg.xml"),
      release.folder + "SensSemRolesTrg.xml");
  const std::string damaged = release.folder + "luXML/lu1001.xml";
  release.dir.write("luXML/lu1001.xml", "<lexunit-annotation name=\"walk.v\"><sentence>");
  Documents documents(release.folder);
  const lexicon::FramesIndex index = lexicon::fillFramesIndex(documents.framesRoot());
  // The frame files first: the sample replaces the training set they read.
  const text::Outcome outcomes[] = {
      kFrameFiles(release.folder, documents, text::noProgress()),
      samples::selectSample({0, 1000, "0", "1", false, 7}, index.frames, documents.framesRoot(),
                            release.folder, {documents.first, documents.second, documents.third},
                            text::noProgress())
          .outcome};
  for (const text::Outcome& outcome : outcomes) {
    SCOPED_TRACE(&outcome == &outcomes[0] ? "frame files" : "sample");
    EXPECT_TRUE(outcome.done());
    ASSERT_EQ(outcome.warningCount(), 1);
    EXPECT_EQ(outcome.notices[0].text.rfind("Skipped " + damaged + ": ", 0), 0u)
        << outcome.notices[0].text;
    EXPECT_FALSE(outcome.filesWritten.empty());
  }
}

}  // namespace
}  // namespace sorvanta::derived
