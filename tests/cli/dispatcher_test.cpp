// The dispatcher: where the data folder comes from, per-command help, and the order in which a
// command line is checked before the release is read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/TempDir.h"

using sorvanta::testing::readBytes;
using sorvanta::testing::runCommandLine;
using sorvanta::testing::runOn;
using sorvanta::testing::sampleReleasePath;
using sorvanta::testing::TempDir;
using sorvanta::testing::testDataPath;

TEST(Dispatcher, StoredFolderIsReadFromTheStoreTheEnvironmentNames) {
  TempDir settings;
  std::filesystem::create_directories(settings.path() / "Quendry");
  const std::string release = std::filesystem::weakly_canonical(sampleReleasePath()).string();
  settings.write("Quendry/XML.conf", "[General]\nSVLoc=" + release + "\n");  // no separator
  TempDir empty;
  const struct {
    std::string settingsDir;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
  } cases[] = {
      {settings.path().string(),
       {"totals"},
       0,
       readBytes(testDataPath("golden/cli/totals.txt")),
       ""},
      // --data wins over the stored folder.
      {settings.path().string(),
       {"--data", empty.path().string(), "totals"},
       1,
       "",
       "sorvanta: Cannot read " + empty.path().string() + "/frXML/frames.xml"},
      {empty.path().string(),
       {"totals"},
       1,
       "",
       "sorvanta: No data folder: give one with --data DIR"},
  };
  for (const auto& c : cases) {
    setenv("SORVANTA_SETTINGS_DIR", c.settingsDir.c_str(), 1);
    const sorvanta::testing::CliOutput result = runCommandLine(c.args);
    unsetenv("SORVANTA_SETTINGS_DIR");
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
  }
}

TEST(Dispatcher, CommandHelpAndUsageComeBeforeTheRelease) {
  const std::string nowhere = "/nonexistent-sorvanta-release";
  const struct {
    std::vector<std::string> args;
    int status;
    const char* out;  // start of the output
    const char* err;  // start of the error output
  } cases[] = {
      {{"frames", "--help"},
       0,
       "Usage: sorvanta [--data DIR] frames [--sort C] [--format tsv|json] [--header]\n\nThe "
       "frames",
       ""},
      {{"subcorpora", "--help", "--bogus"}, 0, "Usage: sorvanta [--data DIR] subcorpora ", ""},
      {{"frames", "--sort", "9"}, 2, "", "sorvanta frames: --sort takes a column number"},
      {{"sample", "--low", "1"}, 2, "", "sorvanta sample: --low, --high, --frames and"},
      {{"lu", "1", "--subcorpus"}, 2, "", "sorvanta lu: --subcorpus needs a name\nUsage: "},
      {{"totals", "extra"}, 2, "", "sorvanta totals: unexpected argument 'extra'"},
      {{"totals"}, 1, "", "sorvanta: Cannot read /nonexistent-sorvanta-release/frXML/frames.xml"},
      {{"query", "--data", "x"}, 2, "", "sorvanta query: unknown option --data"},
  };
  for (const auto& c : cases) {
    const sorvanta::testing::CliOutput result = runOn(nowhere, c.args);
    EXPECT_EQ(result.status, c.status) << c.args[0] << ": " << result.err;
    EXPECT_EQ(result.out.rfind(c.out, 0), 0u) << result.out;
    EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
  }
}
