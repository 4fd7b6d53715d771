// sample --manifest: the five files stay as they are, the manifest describes them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "exports/Sha256.h"
#include "support/CliRun.h"
#include "support/TempDir.h"

namespace sorvanta::testing {
namespace {

TEST(SampleManifestTest, SameFilesAndAManifestOfThem) {
  TempDir plain, withManifest;
  for (const TempDir* dir : {&plain, &withManifest})
    std::filesystem::copy(sampleReleasePath(), dir->path(), std::filesystem::copy_options::recursive);
  const std::vector<std::string> draw = {"sample", "--low", "1", "--high", "9", "--frames", "2",
                                         "--sentences", "1", "--seed", "4242"};
  const CliOutput first = runOn(plain.path().string() + "/", draw);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, "sorvanta: seed 4242\n");
  std::vector<std::string> args = draw;
  args.insert(args.end(), {"--manifest", withManifest.file("draw.json")});
  const CliOutput second = runOn(withManifest.path().string() + "/", args);
  ASSERT_EQ(second.status, 0) << second.err;

  const nlohmann::json manifest = nlohmann::json::parse(readBytes(withManifest.file("draw.json")));
  EXPECT_EQ(manifest["seed"], 4242);
  EXPECT_EQ(manifest["parameters"]["sentences"], "1");
  EXPECT_EQ(manifest["inputs"][0]["path"], "frXML/frames.xml");
  EXPECT_GT(manifest["inputs"].size(), 1u);
  ASSERT_EQ(manifest["outputs"].size(), 5u);
  for (const auto& output : manifest["outputs"]) {
    const std::string name = output["path"];
    const std::string bytes = readBytes(withManifest.file(name));
    EXPECT_EQ(bytes, readBytes(plain.file(name))) << name;
    EXPECT_EQ(output["sha256"], exports::sha256Hex(bytes)) << name;
    EXPECT_EQ(output["size"], bytes.size()) << name;
  }
  EXPECT_EQ(runOn(plain.path().string() + "/", {"sample", "--manifest"}).status, 2);
}

}  // namespace
}  // namespace sorvanta::testing
