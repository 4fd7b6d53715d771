// The browsing commands on the sample release, byte for byte against golden outputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/TempDir.h"

using sorvanta::testing::readBytes;
using sorvanta::testing::sampleReleasePath;
using sorvanta::testing::TempDir;
using sorvanta::testing::testDataPath;

using Output = sorvanta::testing::CliOutput;
using sorvanta::testing::runOn;

TEST(BrowseCommands, MatchGoldenOutputs) {
  struct Case {
    std::vector<std::string> args;
    const char* golden;
  } cases[] = {
      {{"frames"}, "frames"},
      {{"frames", "--sort", "0"}, "frames_sort0"},
      {{"frames", "--sort", "4"}, "frames_sort4"},
      {{"lexunits"}, "lexunits"},
      {{"lexunits", "--sort", "0"}, "lexunits_sort0"},
      {{"lexunits", "--sort", "1"}, "lexunits_sort1"},
      {{"lexunits", "--sort", "2"}, "lexunits_sort2"},
      {{"lexunits", "--sort", "3"}, "lexunits_sort3"},
      {{"lexunits", "--sort", "4"}, "lexunits_sort4"},
      {{"lexunits", "--sort", "5"}, "lexunits_sort5"},
      {{"lexunits", "--sort", "6"}, "lexunits_sort6"},
      {{"fes"}, "fes"},
      {{"totals"}, "totals"},
      {{"frame", "Motion"}, "frame_Motion"},
      {{"frame", "Self_motion"}, "frame_Self_motion"},
      {{"frame", "Discourse_marker"}, "frame_Discourse_marker"},
      {{"frame", "Commerce_goods_transfer"}, "frame_Commerce_goods_transfer"},
      {{"frame", "Cause_motion"}, "frame_Cause_motion"},
      {{"frame", "Locative_relation"}, "frame_Locative_relation"},
      {{"fe", "Time"}, "fe_Time"},
      {{"fe", "manner"}, "fe_manner"},
      {{"lu", "1101"}, "lu_1101"},
      {{"lu", "1101", "--subcorpora"}, "lu_1101_subcorpora"},
      {{"lu", "1101", "--subcorpus", "V-ppinto"}, "lu_1101_V-ppinto"},
      {{"lu", "1702"}, "lu_1702"},
      {{"sentence-fes", "1301", "500161"}, "sentence_fes_1301_500161"},
      {{"sentence-fes", "1001", "500102"}, "sentence_fes_1001_500102"},
      {{"sentence-fes", "1301", "500162"}, "sentence_fes_1301_500162"},
  };
  for (const Case& c : cases) {
    Output result = runOn(sampleReleasePath(), c.args);
    EXPECT_EQ(result.status, 0) << c.golden << ": " << result.err;
    EXPECT_EQ(result.out, readBytes(testDataPath(std::string("golden/cli/") + c.golden + ".txt")))
        << c.golden;
  }
}

TEST(BrowseCommands, ReportWhatMatchesNothing) {
  TempDir empty;
  TempDir broken;
  std::filesystem::create_directories(broken.path() / "frXML");
  broken.write("frXML/frames.xml", "<frames><frame name='x'></frames>");
  struct Case {
    std::string folder;
    std::vector<std::string> args;
    int status;
    const char* errContains;
  } cases[] = {
      {sampleReleasePath(), {"frame", "Nope"}, 1, "No frame named Nope"},
      {sampleReleasePath(), {"fe", "Nope"}, 1, "No frame element named Nope"},
      {sampleReleasePath(), {"lu", "999999"}, 1, "No lexical unit with LU-ID 999999"},
      {sampleReleasePath(), {"lu", "1003"}, 1, "lu1003.xml"},
      {sampleReleasePath(), {"lu", "1101", "--subcorpus", "V-ppover"}, 1, "No subcorpus"},
      {sampleReleasePath(), {"sentence-fes", "1101", "1"}, 1, "No sentence with ID 1"},
      {sampleReleasePath(), {"frames", "--sort", "5"}, 2, "--sort takes a column number"},
      {sampleReleasePath(), {"lexunits", "--sort", "x"}, 2, "--sort takes a column number"},
      {sampleReleasePath(), {"frame"}, 2, "expected a frame name"},
      {empty.path().string(), {"frames"}, 1, "frames.xml"},
      {broken.path().string(), {"totals"}, 1, "frames.xml"},
  };
  for (const Case& c : cases) {
    Output result = runOn(c.folder, c.args);
    EXPECT_EQ(result.status, c.status) << c.args[0] << " " << result.err;
    EXPECT_EQ(result.out, "") << c.args[0];
    EXPECT_NE(result.err.find(c.errContains), std::string::npos) << result.err;
  }
}
