// The query command end to end: arguments in, lines out, exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/TempDir.h"

using sorvanta::testing::TempDir;

namespace {

using CliRun = sorvanta::testing::CliOutput;

CliRun run(const std::vector<std::string>& args) { return sorvanta::testing::runCommandLine(args); }

const char kDocument[] =
    "<?xml version='1.0' encoding='ISO-8859-1'?>\n"
    "<frames>\n"
    "  <frame name='Motion' ID='12'><definition>Moves \xE9 &amp; <b>stops</b></definition>"
    "    <lexunits><lexunit name='go.v'><annotation><annotated>34</annotated></annotation>"
    "</lexunit></lexunits></frame>\n"
    "  <frame name='Rest' ID='13'><definition/></frame>\n"
    "</frames>\n";

}  // namespace

TEST(QueryCommand, PrintsTextAttributesCountsAndIntegers) {
  TempDir dir;
  std::string file = dir.write("frames.xml", kDocument);
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"query", file, "//frame/definition"}, "Moves \xC3\xA9 & stops\n\n"},
      {{"query", file, "//frame", "--attr", "name"}, "Motion\nRest\n"},
      {{"query", file, "frame", "--attr", "missing"}, "\n\n"},
      {{"query", file, "//frame", "--count"}, "2\n"},
      {{"query", file, "//nothing", "--count"}, "0\n"},
      {{"query", file, "./frame/lexunits/lexunit/annotation/annotated", "--integer"}, "34\n"},
      {{"query", file, "//frame[@name='Motion']", "--integer"}, "0\n"},
  };
  for (const Case& c : cases) {
    CliRun result = run(c.args);
    EXPECT_EQ(result.status, 0) << c.args[2] << result.err;
    EXPECT_EQ(result.out, c.out) << c.args[2];
  }
}

TEST(QueryCommand, FailuresExitNonZeroWithAMessage) {
  TempDir dir;
  std::string bad = dir.write("bad.xml", "<frames><frame></frames>");
  std::string good = dir.write("good.xml", kDocument);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string errContains;
  } cases[] = {
      {{"query", dir.file("missing.xml"), "//a"}, 1, "missing.xml"},
      {{"query", bad, "//a"}, 1, "bad.xml"},
      {{"query", good}, 2, "Usage: sorvanta query"},
      {{"query", good, "//a", "--count", "--integer"}, 2, "choose one"},
      {{"query", good, "//a", "--attr"}, 2, "--attr needs"},
      {{"query", good, "//a", "--bogus"}, 2, "unknown option"},
      {{"frobnicate"}, 2, "unknown command"},
      {{}, 2, "Usage: sorvanta [--data DIR] COMMAND"},
  };
  for (const Case& c : cases) {
    CliRun result = run(c.args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(c.errContains), std::string::npos) << result.err;
  }
}

TEST(QueryCommand, HelpListsTheCommands) {
  CliRun result = run({"--help"});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("query FILE EXPR"), std::string::npos);
}
