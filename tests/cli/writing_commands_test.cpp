// The command line's guards around commands that write into the data folder: missing relations,
// releases without frames, skipped documents and --strict, the folder's lock and --no-wait,
// cancelling by signal, and queries that cannot be read or run.
#include <gtest/gtest.h>

#include <signal.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/CliRun.h"
#include "support/ReleaseCopy.h"
#include "support/TempDir.h"
#include "text/FolderLock.h"

namespace sorvanta::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// No file in the folder but the ones it held before (no output, no temporary).
std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WritingCommands, DictionariesWithoutRelationsNeedConsent) {
  SampleReleaseCopy release;
  std::filesystem::remove(release.folder + "frXML/frRelation.xml");
  release.dir.write("FrameDict.xml", "earlier");
  const CliOutput refused = runOn(release.folder, {"dictionaries"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, "--allow-missing-relations")) << refused.err;
  EXPECT_EQ(release.file("FrameDict.xml"), "earlier");
  EXPECT_FALSE(std::filesystem::exists(release.folder + "frames.dmp"));

  const CliOutput allowed = runOn(release.folder, {"dictionaries", "--allow-missing-relations"});
  EXPECT_EQ(allowed.status, 0) << allowed.err;
  EXPECT_TRUE(contains(allowed.err, "written without relations")) << allowed.err;
  EXPECT_TRUE(contains(allowed.err, "sorvanta: 1 warning\n")) << allowed.err;
  EXPECT_NE(release.file("FrameDict.xml"), "earlier");
}

// A frames document holding no frame: the derived commands refuse instead of writing empty files.
TEST(WritingCommands, ReleaseWithoutFramesIsRefused) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "frXML");
  dir.write("frXML/frames.xml", "<frames/>");
  dir.write("frXML/frRelation.xml", "<frameRelations/>");
  dir.write("pp-in.txt", "Motion\tGoal\tgo.v\tV-ppin\t8-4\r\n");
  dir.write("SensSemRolesTrg.xml", "<corpus><frame name=\"Motion\"/></corpus>");
  const std::string folder = folderOf(dir);
  const std::vector<std::string> before = namesIn(folder);
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"dictionaries"},
        {"sample", "--low", "0", "--high", "9", "--frames", "0", "--sentences", "1"},
        {"realizations", "--preposition", "in"},
        {"frame-files", "--all"}}) {
    const CliOutput run = runOn(folder, command);
    EXPECT_EQ(run.status, 1) << command[0];
    EXPECT_TRUE(contains(run.err, "holds no frame")) << command[0] << ": " << run.err;
  }
  EXPECT_EQ(namesIn(folder), before);
}

// A damaged subcorpus document is named, counted in the closing line, and fails with --strict.
TEST(WritingCommands, SkippedDocumentsAreWarnings) {
  SampleReleaseCopy release;
  release.dir.write("xml/lu1001.xml", "<lexunit-annotation name=");  // truncated
  release.dir.write("xml/lu1002.xml", "");                           // empty
  const std::vector<std::string> subcorpora = {"subcorpora", "--low", "1000", "--high", "1100",
                                               "--preposition", "into"};
  const CliOutput lenient = runOn(release.folder, subcorpora);
  EXPECT_EQ(lenient.status, 0) << lenient.err;
  EXPECT_TRUE(contains(lenient.err, "Skipped " + release.folder + "xml/lu1001.xml: "))
      << lenient.err;
  EXPECT_TRUE(contains(lenient.err, "Skipped " + release.folder + "xml/lu1002.xml: "));
  EXPECT_TRUE(contains(lenient.err, "sorvanta: 2 warnings\n"));
  std::vector<std::string> strict = subcorpora;
  strict.push_back("--strict");
  const CliOutput failed = runOn(release.folder, strict);
  EXPECT_EQ(failed.status, 1);
  EXPECT_TRUE(contains(failed.err, "--strict")) << failed.err;
}

// Another command holds the folder: --no-wait refuses; waiting ends with SIGINT as cancelled.
TEST(WritingCommands, TheFolderLockWaitsOrRefuses) {
  SampleReleaseCopy release;
  release.dir.write("pp-into.alters.txt", "earlier");
  const text::FolderLock other(release.folder, text::FolderLock::Wait::No);
  ASSERT_TRUE(other.held());
  const CliOutput refused =
      runOn(release.folder, {"realizations", "--preposition", "into", "--no-wait"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, "Another command is writing into")) << refused.err;

  std::thread interrupt([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(::getpid(), SIGINT);
  });
  const CliOutput cancelled = runOn(release.folder, {"realizations", "--preposition", "into"});
  interrupt.join();
  EXPECT_EQ(cancelled.status, 130) << cancelled.err;
  EXPECT_TRUE(contains(cancelled.err, "Another command is writing into")) << cancelled.err;
  EXPECT_EQ(release.file("pp-into.alters.txt"), "earlier");
}

TEST(WritingCommands, QueriesThatCannotBeReadOrRun) {
  TempDir dir;
  std::string nested;
  for (int i = 0; i < 6000; ++i) nested += "<a>";
  for (int i = 0; i < 6000; ++i) nested += "</a>";
  const std::string file = dir.write("deep.xml", nested);
  const CliOutput unreadable = runCommandLine({"query", file, "//a[@"});
  EXPECT_EQ(unreadable.status, 2);
  EXPECT_TRUE(contains(unreadable.err, "cannot read the expression")) << unreadable.err;
  // Every a below every a: 18 million entries, beyond the work budget.
  const CliOutput stopped = runCommandLine({"query", file, "//a//a", "--count"});
  EXPECT_EQ(stopped.status, 1);
  EXPECT_TRUE(contains(stopped.err, "work budget")) << stopped.err;
  EXPECT_EQ(stopped.out, "");
  const CliOutput fine = runCommandLine({"query", file, "//a", "--count"});
  EXPECT_EQ(fine.status, 0);
  EXPECT_EQ(fine.out, "6000\n");
}

}  // namespace
}  // namespace sorvanta::testing
