// sorvanta sample | frame-files on a copy of the sample release, against the golden files.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRun.h"
#include "support/ReleaseCopy.h"

namespace {

using sorvanta::testing::readBytes;
using sorvanta::testing::testDataPath;

struct CliRun : sorvanta::testing::SampleReleaseCopy {
  int run(std::vector<std::string> args, std::string* err = nullptr) {
    const sorvanta::testing::CliOutput output = sorvanta::testing::runOn(folder, std::move(args));
    // A run that wrote lists its files and ends with the warnings count; one refused prints
    // nothing.
    if (output.status == 0)
      EXPECT_TRUE(output.out.starts_with("Written:\t") && output.out.ends_with("\nWarnings:\t0\n"))
          << output.out;
    else
      EXPECT_EQ(output.out, "");
    if (err) *err = output.err;
    return output.status;
  }
  void expectGolden(const std::string& golden) const {
    SampleReleaseCopy::expectGolden("samples/" + golden);
  }
};

TEST(SampleCommands, SampleThenFrameFilesWriteTheGoldenFiles) {
  CliRun cli;
  ASSERT_EQ(cli.run({"sample", "--low", "0", "--high", "100", "--frames", "0", "--sentences", "2",
                     "--seed", "7"}),
            0);
  cli.expectGolden("all-frames-2-sentences");
  ASSERT_EQ(cli.run({"frame-files", "--all"}), 0);
  cli.expectGolden("frame-files-all");

  CliRun drawn;
  ASSERT_EQ(drawn.run({"sample", "--low", "2", "--high", "9", "--frames", "4", "--sentences", "1",
                       "--provide-fes", "--seed", "12345"}),
            0);
  drawn.expectGolden("drawn-4-frames-provide-fes");
}

TEST(SampleCommands, RefusalsAndBadArgumentsWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"sample", "--low", "0", "--high", "100", "--frames", "14", "--sentences", "1"},
       1,
       "sorvanta: Only 13 frames that may be drawn have between 0 and 100 annotated sentences; 14 "
       "frames "
       "cannot be selected.\n"},
      {{"sample", "--low", "0", "--high", "100", "--frames", "x", "--sentences", "1"},
       1,
       "sorvanta: 'x' is not a valid integer value\n"},
      {{"sample", "--low", "0", "--high", "100", "--frames", "1"}, 2, nullptr},
      {{"sample", "--low", "0", "--high", "100", "--frames", "1", "--sentences", "1", "--seed",
        "-1"},
       2,
       nullptr},
      {{"frame-files"}, 2, nullptr},
      {{"frame-files", "--all"}, 1, nullptr},  // no training set yet
  };
  for (const Case& c : cases) {
    CliRun cli;
    std::string err;
    EXPECT_EQ(cli.run(c.args, &err), c.status) << c.args[0] << " " << err;
    if (c.message) {
      EXPECT_EQ(err, c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(cli.folder + "SensSemRolesTrg.xml"));
    EXPECT_FALSE(std::filesystem::exists(cli.folder + "SensSemRolesTrgTest.xml"));
  }
}

TEST(SampleCommands, FrameFilesTicksOnlyTheNamedFrames) {
  CliRun cli;
  ASSERT_EQ(cli.run({"sample", "--low", "0", "--high", "100", "--frames", "0", "--sentences", "2",
                     "--seed", "7"}),
            0);
  std::string err;
  EXPECT_EQ(cli.run({"frame-files", "Placing", "Nowhere"}, &err), 1);
  EXPECT_EQ(err, "sorvanta: No frame named Nowhere in the training set\n");
  ASSERT_EQ(cli.run({"frame-files", "Chatter", "Placing"}), 0);
  for (const char* name : {"Placing.eval", "Chatter.out"})
    EXPECT_EQ(readBytes(cli.folder + name),
              readBytes(testDataPath(std::string("golden/samples/frame-files-all/") + name)));
  EXPECT_FALSE(std::filesystem::exists(cli.folder + "Motion.eval"));
  // The test document lists the frames in training-set order: Placing before Chatter.
  const std::string test = readBytes(cli.folder + "SensSemRolesTrgTest.xml");
  EXPECT_LT(test.find("name=\"Placing\""), test.find("name=\"Chatter\""));
}

}  // namespace
