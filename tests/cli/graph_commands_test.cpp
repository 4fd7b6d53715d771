// sorvanta graph and fe-lineage: outputs on the sample release, exit statuses of wrong command
// lines and unknown names, warnings about missing frames, and files written with --out.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/TempDir.h"

using sorvanta::testing::readBytes;
using sorvanta::testing::runOn;
using sorvanta::testing::sampleReleasePath;
using sorvanta::testing::TempDir;

namespace {

TEST(GraphCommand, NeighbourhoodAsTsv) {
  const auto result = runOn(sampleReleasePath(),
                                   {"graph", "Placing", "--types", "Inheritance,Using",
                                    "--direction", "up", "--depth", "3"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Inheritance\tIntentionally_act\tPlacing\nUsing\tCause_motion\tPlacing\n"
            "Using\tLocative_relation\tPlacing\nUsing\tMotion\tCause_motion\n");
  EXPECT_EQ(result.err, "");
  // The default: depth 1, both directions, every known type.
  EXPECT_EQ(runOn(sampleReleasePath(), {"graph", "Commerce_buy"}).out,
            "Perspective_on\tCommerce_goods_transfer\tCommerce_buy\n"
            "See_also\tCommerce_sell\tCommerce_buy\n");
}

TEST(GraphCommand, WholeGraphInEachFormat) {
  const auto tsv = runOn(sampleReleasePath(), {"graph", "--all"});
  ASSERT_EQ(tsv.status, 0) << tsv.err;
  EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 18);
  const auto dot = runOn(sampleReleasePath(), {"graph", "--all", "--format", "dot"});
  EXPECT_TRUE(dot.out.starts_with("digraph ")) << dot.out;
  EXPECT_NE(dot.out.find("\"Departing\" -> \"Arriving\""), std::string::npos);
  const auto svg = runOn(sampleReleasePath(), {"graph", "--all", "--format", "svg"});
  EXPECT_NE(svg.out.find("<svg"), std::string::npos);
  const auto png = runOn(sampleReleasePath(), {"graph", "Motion", "--format", "png"});
  EXPECT_TRUE(png.out.starts_with("\x89PNG"));
}

TEST(GraphCommand, WrongCommandLinesExitTwoUnknownFramesOne) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;  // part of stderr
  } cases[] = {
      {{"graph"}, 2, "either FRAME or --all"},
      {{"graph", "Motion", "--all"}, 2, "either FRAME or --all"},
      {{"graph", "--all", "--depth", "2"}, 2, "--all takes no --depth"},
      {{"graph", "--all", "--direction", "up"}, 2, "--all takes no --depth"},
      {{"graph", "Motion", "--depth", "-1"}, 2, "--depth"},
      {{"graph", "Motion", "--depth", "two"}, 2, "--depth"},
      {{"graph", "Motion", "--depth", "99999999999"}, 2, "--depth"},
      {{"graph", "Motion", "--direction", "sideways"}, 2, "--direction needs one of up|down|both"},
      {{"graph", "Motion", "--format", "jpg"}, 2, "--format needs one of tsv|dot|svg|png"},
      {{"graph", "Motion", "--types", "Inheritance,inheritance"}, 2,
       "unknown relation type 'inheritance'"},
      {{"graph", "Motion", "--types", "Metaphor"}, 2, "unknown relation type 'Metaphor'"},
      {{"graph", "Motion", "Placing"}, 2, "Usage: sorvanta graph"},
      {{"graph", "Motion", "--bogus"}, 2, "--bogus"},
      {{"graph", "motion"}, 1, "no frame named 'motion'"},
      {{"graph", "Nowhere", "--format", "svg"}, 1, "no frame named 'Nowhere'"},
      {{"fe-lineage", "Motion"}, 2, "FE"},
      {{"fe-lineage", "Motion", "Theme", "More"}, 2, "More"},
      {{"fe-lineage", "Nowhere", "Theme"}, 1, "no frame named 'Nowhere'"},
      {{"fe-lineage", "Motion", "Buyer"}, 1, "frame 'Motion' has no frame element named 'Buyer'"},
  };
  for (const auto& c : cases) {
    const auto result = runOn(sampleReleasePath(), c.args);
    EXPECT_EQ(result.status, c.status) << c.args[1] << " " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

TEST(GraphCommand, HelpSaysWhichTypeNamesAndExitsZero) {
  const auto graph = runOn(sampleReleasePath(), {"graph", "--help"});
  EXPECT_EQ(graph.status, 0);
  EXPECT_NE(graph.out.find("Perspective_on"), std::string::npos);
  EXPECT_NE(graph.out.find("--direction"), std::string::npos);
  const auto lineage = runOn(sampleReleasePath(), {"fe-lineage", "--help"});
  EXPECT_EQ(lineage.status, 0);
  EXPECT_NE(lineage.out.find("Inheritance, Perspective_on, Subframe"), std::string::npos);
}

TEST(GraphCommand, MissingFramesAreKeptWarnedAndMarked) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "frXML");
  dir.write("frXML/frames.xml",
            "<frames><frame name=\"Caf\xC3\xA9\" ID=\"1\"><definition/><fes><fe name=\"Who\"/></fes>"
            "<lexunits/></frame></frames>");
  dir.write("frXML/frRelation.xml",
            "<frame-relation-types><frame-relation-type name=\"Inheritance\"><frame-relations>"
            "<frame-relation superFrameName=\"Ghost &quot;1&quot;\" subFrameName=\"Caf\xC3\xA9\">"
            "<fe-relation superFEName=\"Spirit\" subFEName=\"Who\"/></frame-relation>"
            "</frame-relations></frame-relation-type></frame-relation-types>");
  const std::string folder = dir.path().string();
  const auto tsv = runOn(folder, {"graph", "Caf\xC3\xA9"});
  EXPECT_EQ(tsv.status, 0);
  EXPECT_EQ(tsv.out, "Inheritance\tGhost \"1\"\tCaf\xC3\xA9\n");
  EXPECT_EQ(tsv.err, "sorvanta: warning: frame 'Ghost \"1\"' is named by 1 relation but is not "
                     "in the frames document\n");
  const auto dot = runOn(folder, {"graph", "Caf\xC3\xA9", "--format", "dot"});
  EXPECT_NE(dot.out.find("\"Ghost \\\"1\\\"\" -> \"Caf\xC3\xA9\""), std::string::npos) << dot.out;
  EXPECT_NE(dot.out.find("(missing)"), std::string::npos);
  // A frame only a relation names is not one of the release's frames.
  EXPECT_EQ(runOn(folder, {"graph", "Ghost \"1\""}).status, 1);
  const auto lineage = runOn(folder, {"fe-lineage", "Caf\xC3\xA9", "Who"});
  EXPECT_EQ(lineage.out, "Inheritance\tGhost \"1\"\tSpirit\n");
}

TEST(GraphCommand, OutWritesTheSameBytesAndListsTheFile) {
  TempDir dir;
  for (const char* format : {"tsv", "dot", "svg"}) {
    const std::string file = dir.file(std::string("motion.") + format);
    const auto written = runOn(sampleReleasePath(),
                                      {"graph", "Motion", "--format", format, "--out", file});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "Written:\t" + file + "\n");
    const auto printed = runOn(sampleReleasePath(), {"graph", "Motion", "--format", format});
    EXPECT_EQ(readBytes(file), printed.out) << format;
  }
  const auto refused = runOn(sampleReleasePath(),
                                    {"graph", "Motion", "--out", dir.file("no/such/folder.tsv")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Cannot create file"), std::string::npos);
}

TEST(FeLineageCommand, OneLinePerStep) {
  const auto result = runOn(sampleReleasePath(), {"fe-lineage", "Self_motion", "Self_mover"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "Inheritance\tIntentionally_act\tAgent\n");
  const auto none = runOn(sampleReleasePath(), {"fe-lineage", "Motion", "Theme"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
}

}  // namespace
