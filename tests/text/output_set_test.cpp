// Data sets replaced as a whole: every fault on the way leaves the older set and no temporaries.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include "support/TempDir.h"
#include "text/Errors.h"
#include "text/FileFaults.h"
#include "text/OutputSet.h"

using namespace sorvanta::text;
using sorvanta::testing::readBytes;
using sorvanta::testing::TempDir;
namespace fs = std::filesystem;

namespace {

const char* const kNames[] = {"train.xml", "test.xml", "answers.txt"};

// The names in the folder, sorted.
std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void writeSet(const TempDir& dir, const std::string& version, OutputSet::Flush flush) {
  OutputSet set(flush);
  for (const char* name : kNames) set.add(dir.file(name), version + " " + name);
  set.commit();
}

}  // namespace

TEST(OutputSet, ReplacesEveryFileAndLeavesNoTemporaries) {
  for (OutputSet::Flush flush :
       {OutputSet::Flush::PerFile, OutputSet::Flush::FileSystem, OutputSet::Flush::None}) {
    TempDir dir;
    writeSet(dir, "old", flush);
    writeSet(dir, "new", flush);
    for (const char* name : kNames) EXPECT_EQ(readBytes(dir.file(name)), std::string("new ") + name);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"answers.txt", "test.xml", "train.xml"}));
  }
}

// Each fault, at each file of the set, with a complete older set or with its middle file
// missing: the older set stays byte for byte, the error names the file, no temporary is left.
TEST(OutputSet, AnyFaultLeavesTheOlderSetAndNoTemporaries) {
  struct Fault {
    const char* what;
    FileFaults faults;
  };
  std::vector<Fault> faults;
  for (int n = 1; n <= 3; ++n) {
    faults.push_back({"write", {.failWrite = n}});
    faults.push_back({"sync", {.failSync = n}});
    faults.push_back({"link", {.failLink = n, .error = EIO}});
    faults.push_back({"rename", {.failRename = n}});
    faults.push_back({"rename EXDEV", {.failRename = n, .error = EXDEV}});
  }
  for (const bool middleMissing : {false, true}) {
    for (const Fault& fault : faults) {
      TempDir dir;
      writeSet(dir, "old", OutputSet::Flush::PerFile);
      if (middleMissing) fs::remove(dir.file(kNames[1]));
      const std::vector<std::string> before = namesIn(dir.path());
      const int n = fault.faults.failWrite + fault.faults.failSync + fault.faults.failLink +
                    fault.faults.failRename;
      const int hitFile = n - 1;  // each file of the set makes one call of each kind
      std::string message;
      {
        ScopedFileFaults armed(fault.faults);
        try {
          writeSet(dir, "new", OutputSet::Flush::PerFile);
        } catch (const FileCreateError& error) {
          message = error.what();
        }
      }
      const std::string label = std::string(fault.what) + " " + std::to_string(n) +
                                (middleMissing ? " (middle file missing)" : "");
      EXPECT_EQ(message, "Cannot create file " + dir.file(kNames[hitFile])) << label;
      EXPECT_EQ(namesIn(dir.path()), before) << label;
      for (int i = 0; i < 3; ++i) {
        if (middleMissing && i == 1) continue;
        EXPECT_EQ(readBytes(dir.file(kNames[i])), std::string("old ") + kNames[i]) << label;
      }
    }
  }
}

TEST(OutputSet, FolderInATargetsPlaceFailsBeforeAnythingChanges) {
  TempDir dir;
  writeSet(dir, "old", OutputSet::Flush::None);
  fs::remove(dir.file(kNames[2]));
  fs::create_directory(dir.file(kNames[2]));
  EXPECT_THROW(writeSet(dir, "new", OutputSet::Flush::None), FileCreateError);
  EXPECT_EQ(readBytes(dir.file(kNames[0])), "old train.xml");
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"answers.txt", "test.xml", "train.xml"}));
}

TEST(OutputSet, UncommittedSetRemovesItsTemporaries) {
  TempDir dir;
  {
    OutputSet set;
    set.add(dir.file("a.txt"), "a");
    set.add(dir.file("b.txt"), "b");
    EXPECT_EQ(namesIn(dir.path()).size(), 2u);  // the two temporaries
    EXPECT_EQ(set.targets(), (std::vector<std::string>{dir.file("a.txt"), dir.file("b.txt")}));
  }
  EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(OutputSet, StaleTemporariesOfDeadProcessesAreRemoved) {
  TempDir dir;
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);  // a process id that no longer runs
  const std::string dead = ".sorvanta-tmp-" + std::to_string(child) + "-3.train.xml";
  const std::string live = ".sorvanta-tmp-" + std::to_string(getppid()) + "-1.train.xml";
  const std::string mine = ".sorvanta-tmp-" + std::to_string(getpid()) + "-9.test.xml";
  for (const std::string& name : {dead, live, mine, std::string(".sorvanta-tmp-x"),
                                  std::string(".train.xml.AbC123")})
    dir.write(name, "left over");

  OutputSet set;  // the first set written into the folder cleans it
  set.add(dir.file("train.xml"), "new");
  set.commit();
  const std::vector<std::string> names = namesIn(dir.path());
  EXPECT_EQ(std::count(names.begin(), names.end(), dead), 0);
  for (const std::string& kept :
       {live, mine, std::string(".sorvanta-tmp-x"), std::string(".train.xml.AbC123")})
    EXPECT_EQ(std::count(names.begin(), names.end(), kept), 1) << kept;
  EXPECT_EQ(removeStaleTemporaries(dir.path().string()), 0u);
}

// A file system without second names (link refused): the set is still written, by plain renames.
TEST(OutputSet, FileSystemWithoutLinksStillReplacesTheSet) {
  TempDir dir;
  writeSet(dir, "old", OutputSet::Flush::None);
  {
    ScopedFileFaults armed({.failLink = 2, .error = EPERM});
    writeSet(dir, "new", OutputSet::Flush::None);
  }
  for (const char* name : kNames) EXPECT_EQ(readBytes(dir.file(name)), std::string("new ") + name);
  EXPECT_EQ(namesIn(dir.path()).size(), 3u);
}
