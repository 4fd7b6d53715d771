// --version prints the project's version on stdout, with or without a data folder, and the
// help lists it.
#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "text/Version.h"

using sorvanta::testing::runCommandLine;

TEST(VersionOption, PrintsTheProjectVersion) {
  const std::string expected = std::string("sorvanta ") + sorvanta::kVersion + "\n";
  const std::vector<std::string> lines[] = {{"--version"}, {"--data", "/nowhere", "--version"}};
  for (const std::vector<std::string>& args : lines) {
    const sorvanta::testing::CliOutput result = runCommandLine(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.err, "");
  }
  EXPECT_NE(runCommandLine({"--help"}).out.find("--version"), std::string::npos);
}

TEST(VersionOption, IsADottedNumber) {
  // CMake's project(VERSION) reached the code: three dot-separated numbers, nothing unfilled.
  const std::string version = sorvanta::kVersion;
  int dots = 0;
  for (char c : version) {
    if (c == '.') ++dots;
    else EXPECT_TRUE(c >= '0' && c <= '9') << version;
  }
  EXPECT_EQ(dots, 2) << version;
}
