// Files that form one data set are replaced together: a fault while one is being replaced
// leaves the whole older set, and no temporary, in the data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "derived/Dictionaries.h"
#include "derived/FrameFiles.h"
#include "derived/PrepositionSubcorpora.h"
#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "samples/TrainingTestSets.h"
#include "support/TempDir.h"
#include "text/Errors.h"
#include "text/FileFaults.h"
#include "text/OutputSet.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {
namespace {

using testing::readBytes;
namespace fs = std::filesystem;

struct ReleaseCopy {
  testing::TempDir dir;
  std::string folder = dir.path().string() + "/";
  xml::TXpObjModel frames, relations, first, second, third;
  ReleaseCopy() {
    fs::copy(testing::sampleReleasePath(), dir.path(), fs::copy_options::recursive);
    frames.LoadDataSource(folder + "frXML/frames.xml");
    relations.LoadDataSource(folder + "frXML/frRelation.xml");
  }
  const xml::TXpNode* framesRoot() { return frames.Document()->docGetDocumentElement(); }
  // Marks each file as older output, so a file a run replaced is told from one it left.
  void markOlder(const std::vector<std::string>& names) {
    for (const std::string& name : names) dir.write(name, "older " + name);
  }
  bool hasTemporaries() const {
    for (const auto& entry : fs::directory_iterator(dir.path()))
      if (entry.path().filename().string().starts_with(text::kTemporaryPrefix)) return true;
    return false;
  }
};

std::vector<std::string> names(std::initializer_list<std::string_view> files) {
  return {files.begin(), files.end()};
}

// Runs the command with the given rename failing; it must throw "Cannot create file".
void runFailing(int failRename, const std::function<void()>& command) {
  text::ScopedFileFaults faults({.failRename = failRename});
  EXPECT_THROW(command(), text::FileCreateError);
}

TEST(DataSetFaults, FailedRenameInTheMiddleLeavesTheWholeOlderSet) {
  struct Case {
    const char* command;
    std::vector<std::string> files;
    std::function<void(ReleaseCopy&)> run;
  } cases[] = {
      {"sample",
       names({samples::kTrainingFile, samples::kTestFile, samples::kTrainingAnswersFile,
              samples::kTestAnswersFile, samples::kMessagesFile}),
       [](ReleaseCopy& release) {
         const lexicon::FramesIndex index = lexicon::fillFramesIndex(release.framesRoot());
         samples::selectSample({0, 100, "0", "1", false, 7}, index.frames, release.framesRoot(),
                               release.folder, {release.first, release.second, release.third},
                               text::noProgress());
       }},
      {"dictionaries", names({kFrameDictFile, kFramesDumpFile, kLexemesDumpFile}),
       [](ReleaseCopy& release) {
         createDictionaries(release.framesRoot(),
                            release.relations.Document()->docGetDocumentElement(), release.folder,
                            false, {release.first, release.second}, text::noProgress());
       }},
      {"subcorpora", names({"pp-into.sents.xml", "pp-into.txt"}),
       [](ReleaseCopy& release) {
         selectSubcorpora({"1000", "2300", "into", release.folder}, release.first,
                          text::noProgress());
       }},
  };
  for (Case& c : cases) {
    ReleaseCopy release;
    release.markOlder(c.files);
    runFailing(2, [&] { c.run(release); });
    for (const std::string& name : c.files)
      EXPECT_EQ(readBytes(release.folder + name), "older " + name) << c.command;
    EXPECT_FALSE(release.hasTemporaries()) << c.command;
  }
}

// Frames finished before the failure keep their new files; the failing frame keeps its older three.
TEST(DataSetFaults, FrameFilesKeepFinishedFramesAndTheFailingFramesOlderFiles) {
  ReleaseCopy release;
  fs::copy_file(
      testing::testDataPath("golden/samples/all-frames-2-sentences/SensSemRolesTrg.xml"),
      release.folder + "SensSemRolesTrg.xml");
  const samples::TrainingSetLoad load = samples::loadTrainingSet(release.first, release.folder);
  ASSERT_TRUE(load.loaded) << load.message;
  ASSERT_GE(load.frameNames.size(), 2u);
  const std::vector<std::string> frames(load.frameNames.begin(), load.frameNames.begin() + 2);
  std::vector<std::string> files;
  for (const std::string& frame : frames)
    for (const char* suffix : {".eval", ".trec", ".out"}) files.push_back(frame + suffix);
  release.markOlder(files);

  runFailing(5, [&] {  // the second file of the second frame
    createFrameFiles(frames, release.folder, {release.first, release.second, release.third},
                     text::noProgress());
  });
  const std::string golden = testing::testDataPath("golden/samples/frame-files-all/");
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(readBytes(release.folder + files[i]), readBytes(golden + files[i])) << files[i];
  for (size_t i = 3; i < 6; ++i)
    EXPECT_EQ(readBytes(release.folder + files[i]), "older " + files[i]) << files[i];
  EXPECT_FALSE(release.hasTemporaries());
}

// The frames' sets and the test document are committed together, the test document last: its
// failing rename leaves every frame's new files and the older test document.
TEST(DataSetFaults, FrameFilesFailingTestDocumentKeepsTheFramesFiles) {
  ReleaseCopy release;
  fs::copy_file(testing::testDataPath("golden/samples/all-frames-2-sentences/SensSemRolesTrg.xml"),
                release.folder + "SensSemRolesTrg.xml");
  const samples::TrainingSetLoad load = samples::loadTrainingSet(release.first, release.folder);
  ASSERT_TRUE(load.loaded) << load.message;
  std::vector<std::string> files;
  for (const std::string& frame : load.frameNames)
    for (const char* suffix : {".eval", ".trec", ".out"}) files.push_back(frame + suffix);
  release.markOlder(files);
  release.markOlder({std::string(kTrainingTestFile)});

  runFailing(static_cast<int>(files.size()) + 1, [&] {
    createFrameFiles(load.frameNames, release.folder,
                     {release.first, release.second, release.third}, text::noProgress());
  });
  const std::string golden = testing::testDataPath("golden/samples/frame-files-all/");
  for (const std::string& file : files)
    EXPECT_EQ(readBytes(release.folder + file), readBytes(golden + file)) << file;
  EXPECT_EQ(readBytes(release.folder + std::string(kTrainingTestFile)),
            "older " + std::string(kTrainingTestFile));
  EXPECT_FALSE(release.hasTemporaries());
}

}  // namespace
}  // namespace sorvanta::derived
