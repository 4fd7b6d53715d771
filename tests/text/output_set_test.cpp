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

// A file written in pieces, between files added whole: the pieces in order, the files replaced
// in the order opened or added, nothing else left in the folder.
TEST(OutputSet, FileWrittenInPiecesHoldsThemInOrder) {
  TempDir dir;
  std::string expected;
  {
    OutputSet set;
    OutputFile& pieces = set.open(dir.file("pieces.txt"));
    set.add(dir.file("whole.txt"), "whole");
    // Small pieces, one larger than any buffer, one of a single byte, an empty one.
    for (const size_t size : {size_t{10}, size_t{100000}, size_t{700000}, size_t{1}, size_t{0},
                              size_t{300000}, size_t{5000}}) {
      const std::string piece(size, static_cast<char>('a' + expected.size() % 26));
      pieces.write(piece);
      expected += piece;
    }
    EXPECT_EQ(set.targets(),
              (std::vector<std::string>{dir.file("pieces.txt"), dir.file("whole.txt")}));
    set.commit();
  }
  EXPECT_EQ(readBytes(dir.file("pieces.txt")), expected);
  EXPECT_EQ(readBytes(dir.file("whole.txt")), "whole");
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"pieces.txt", "whole.txt"}));
}

// Faults while a file is written in pieces: the error names the file whose write or flush
// failed, the older set stays, no temporary is left.
TEST(OutputSet, FaultWhileWritingInPiecesLeavesTheOlderSet) {
  // The writes: 1 the file added whole; 2 the first two pieces, sent out when the third
  // comes; 3 the third, sent out when the fourth comes; 4 the fourth, too large to be kept.
  // PerFile flushes: 1 the file added whole, 2 the file in pieces when the commit ends it.
  const std::string kB100(100 << 10, 'p'), kB200(200 << 10, 'q'), kB300(300 << 10, 'r');
  struct Case {
    FileFaults faults;
    const char* failing;
  } cases[] = {
      {{.failWrite = 1}, "whole.txt"},   {{.failWrite = 2}, "pieces.txt"},
      {{.failWrite = 3}, "pieces.txt"},  {{.failWrite = 4}, "pieces.txt"},
      {{.failSync = 1}, "whole.txt"},    {{.failSync = 2}, "pieces.txt"},
      {{.failRename = 1}, "pieces.txt"}, {{.failRename = 2}, "whole.txt"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("pieces.txt", "old pieces");
    dir.write("whole.txt", "old whole");
    std::string message;
    {
      ScopedFileFaults armed(c.faults);
      try {
        OutputSet set(OutputSet::Flush::PerFile);
        OutputFile& pieces = set.open(dir.file("pieces.txt"));
        set.add(dir.file("whole.txt"), "whole");
        pieces.write(kB100);
        pieces.write(kB100);
        pieces.write(kB200);
        pieces.write(kB300);
        set.commit();
      } catch (const FileCreateError& error) {
        message = error.what();
      }
    }
    const std::string label = std::to_string(c.faults.failWrite) + " " +
                              std::to_string(c.faults.failSync) + " " +
                              std::to_string(c.faults.failRename);
    EXPECT_EQ(message, "Cannot create file " + dir.file(c.failing)) << label;
    EXPECT_EQ(readBytes(dir.file("pieces.txt")), "old pieces") << label;
    EXPECT_EQ(readBytes(dir.file("whole.txt")), "old whole") << label;
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"pieces.txt", "whole.txt"})) << label;
  }
}

// Sets of many files, committed together: every older file's second name is removed (by
// several threads then), and a rename failing late puts back the targets of its own set only.
TEST(OutputSet, ManySetsCommittedTogetherLeaveOnlyTheirTargets) {
  constexpr int kSets = 40;
  for (const bool failLast : {false, true}) {
    TempDir dir;
    std::vector<std::unique_ptr<OutputSet>> sets;
    for (const char* version : {"old", "new"}) {
      sets.clear();
      std::vector<OutputSet*> pointers;
      for (int s = 0; s < kSets; ++s) {
        sets.push_back(std::make_unique<OutputSet>());
        for (const char* name : kNames)
          sets.back()->add(dir.file(std::to_string(s) + name), std::string(version) + " " + name);
        pointers.push_back(sets.back().get());
      }
      // The renames of the new sets: three per set; the last set's second file fails.
      ScopedFileFaults armed(failLast && std::string(version) == "new"
                                 ? FileFaults{.failRename = 3 * kSets - 1}
                                 : FileFaults{});
      if (failLast && std::string(version) == "new")
        EXPECT_THROW(OutputSet::commitTogether(pointers), FileCreateError);
      else
        OutputSet::commitTogether(pointers);
    }
    EXPECT_EQ(namesIn(dir.path()).size(), size_t{3 * kSets}) << failLast;
    for (int s = 0; s < kSets; ++s) {
      const bool older = failLast && s == kSets - 1;
      for (const char* name : kNames)
        EXPECT_EQ(readBytes(dir.file(std::to_string(s) + name)),
                  std::string(older ? "old " : "new ") + name)
            << s << name;
    }
  }
}
