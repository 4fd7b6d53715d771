// sorvanta subcorpora | realizations on a copy of the sample release.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/ReleaseCopy.h"
#include "support/TempDir.h"

using sorvanta::testing::readBytes;
using sorvanta::testing::sampleReleasePath;
using sorvanta::testing::TempDir;
using sorvanta::testing::testDataPath;

using Output = sorvanta::testing::CliOutput;
using sorvanta::testing::copySampleRelease;
using sorvanta::testing::runOn;

TEST(PrepositionCommands, WriteTheGoldenFilesIntoTheDataFolder) {
  TempDir folder;
  const std::string data = copySampleRelease(folder);
  Output select =
      runOn(data, {"subcorpora", "--preposition", "into", "--low", "1000", "--high", "2300"});
  EXPECT_EQ(select.status, 0) << select.err;
  EXPECT_EQ(select.err, "");
  EXPECT_NE(select.out.find("Sentences selected:\t8\n"), std::string::npos) << select.out;
  Output realize = runOn(data, {"realizations", "--preposition", "into"});
  EXPECT_EQ(realize.status, 0) << realize.err;
  for (const std::string name : {"pp-into.txt", "pp-into.sents.xml", "pp-into.alters.txt"})
    EXPECT_EQ(readBytes(folder.file(name)), readBytes(testDataPath("golden/preposition/" + name)))
        << name;
}

TEST(PrepositionCommands, ReportUsageAndMessages) {
  TempDir folder;
  std::filesystem::copy(sampleReleasePath() + "/frXML", folder.path() / "frXML",
                        std::filesystem::copy_options::recursive);
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;  // start of the error output
  } cases[] = {
      {{"subcorpora", "--low", "1", "--high", "2"},
       2,
       "sorvanta subcorpora: missing --preposition"},
      {{"subcorpora", "--low", "1", "--low", "2"}, 2, "sorvanta subcorpora: --low given twice"},
      {{"subcorpora", "--low", "1", "--high"}, 2, "sorvanta subcorpora: --high needs a value"},
      {{"subcorpora", "--low", "1", "--high", "two", "--preposition", "on"},
       1,
       "sorvanta: 'two' is not a valid integer value\n"},
      {{"subcorpora", "--low", "1", "--high", "2", "--preposition", "a/b"},
       1,
       "sorvanta: Preposition Analysis: Preposition name \"a/b\" holds a path separator"},
      {{"realizations", "--preposition", ""},
       1,
       "sorvanta: Preposition Analysis: No preposition has been identified.\n"},
      {{"realizations", "--preposition", "on"},
       1,
       "sorvanta: Preposition Analysis: Preposition file does not exist.\n"},
      {{"realizations", "on"}, 2, "sorvanta realizations: unexpected argument 'on'"},
  };
  for (const Case& c : cases) {
    Output result = runOn(folder.path().string(), c.args);
    EXPECT_EQ(result.status, c.status) << c.args[1] << " " << result.err;
    EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "nothing but frXML/ was written";
}
