// sorvanta dictionaries on a copy of the sample release, against the golden files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/ReleaseCopy.h"
#include "support/TempDir.h"

using sorvanta::testing::readBytes;
using sorvanta::testing::TempDir;
using sorvanta::testing::testDataPath;

namespace {

struct ReleaseCopy : sorvanta::testing::SampleReleaseCopy {
  sorvanta::testing::CliOutput run(std::vector<std::string> args) {
    return sorvanta::testing::runOn(folder, std::move(args));
  }
  void expectGolden(std::initializer_list<const char*> names) {
    for (const char* name : names)
      EXPECT_EQ(file(name), readBytes(testDataPath("golden/dictionaries/") + name)) << name;
  }
};

TEST(DictionaryCommand, FramesOnlyThenAllWriteTheGoldenFiles) {
  ReleaseCopy release;
  release.dir.write("svlex.dmp", "older\r\n");
  auto result = release.run({"dictionaries", "--frames-only"});
  EXPECT_EQ(result.status, 0) << result.err;
  release.expectGolden({"FrameDict.xml", "frames.dmp"});
  EXPECT_EQ(release.file("svlex.dmp"), "older\r\n");

  result = release.run({"dictionaries"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("Frames completed:\t14\nLexeme entries:\t40\n"
                            "Without lexical entry:\t21\n"),
            std::string::npos)
      << result.out;
  release.expectGolden({"FrameDict.xml", "frames.dmp", "svlex.dmp"});
}

TEST(DictionaryCommand, WrongCommandLinesAndFailuresWriteNothing) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* err;  // start of the error output
  } cases[] = {
      {{"dictionaries", "--all"}, 2, "sorvanta dictionaries: unexpected argument '--all'"},
      {{"dictionaries"}, 1, "sorvanta: Cannot create file "},  // FrameDict.xml is a folder
  };
  for (const auto& c : cases) {
    ReleaseCopy release;
    std::filesystem::create_directory(release.dir.path() / "FrameDict.xml");
    const auto result = release.run(c.args);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    EXPECT_FALSE(std::filesystem::exists(release.dir.file("frames.dmp")));
  }
}

}  // namespace
