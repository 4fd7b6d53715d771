// Split guarantees on a generated release, determinism, and --verify.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <set>

#include "exports/ExportSupport.h"
#include "exports/Sha256.h"
#include "exports/Split.h"
#include "exports/Utf8.h"
#include "releasegen/ReleaseFolder.h"
#include "support/CliRun.h"

namespace sorvanta::testing {
namespace {

using Json = nlohmann::ordered_json;

class GeneratedSplit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    tools::writeReleaseFolder(tools::generateReleaseModel({40, 3}), dir_->file("release"));
    all_ = new ExportRun(runExport(dir_->file("release"), *dir_));
  }
  static void TearDownTestSuite() {
    delete all_;
    delete dir_;
  }

  static exports::SplitRequest request(exports::Grouping grouping, uint64_t seed, const std::string& out) {
    exports::SplitRequest r;
    r.releaseFolder = dir_->file("release");
    r.indexFile = dir_->file("index.sqlite");
    r.seed = seed;
    r.grouping = grouping;
    r.ratios = {70, 20, 10};
    r.outFolder = dir_->file(out);
    r.commandLine = {"sorvanta", "split"};
    return r;
  }

  static std::vector<Json> linesOf(const std::string& bytes) {
    std::vector<Json> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) lines.push_back(Json::parse(line));
    return lines;
  }

  static TempDir* dir_;
  static ExportRun* all_;
};
TempDir* GeneratedSplit::dir_ = nullptr;
ExportRun* GeneratedSplit::all_ = nullptr;

// Components as the guarantees define them, computed independently: units of the grouping,
// joined when they share a text. The largest one bounds how far sizes may miss the ratios.
int64_t largestGroup(const std::vector<Json>& lines, exports::Grouping grouping) {
  std::vector<std::string> unit(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (grouping == exports::Grouping::Sentence) unit[i] = "s" + std::to_string(i);
    else if (grouping == exports::Grouping::LexicalUnit) unit[i] = "u" + lines[i]["lu_id"].dump();
    else unit[i] = "f" + lines[i]["frame"].get<std::string>();
  }
  std::map<std::string, std::string> parent;
  std::function<std::string(const std::string&)> root = [&](const std::string& u) {
    auto found = parent.find(u);
    if (found == parent.end() || found->second == u) return u;
    return found->second = root(found->second);
  };
  std::map<std::string, std::string> textUnit;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string key = exports::collapseWhiteSpace(lines[i]["text"].get<std::string>());
    auto [found, added] = textUnit.emplace(key, unit[i]);
    if (!added) parent[root(unit[i])] = root(found->second);
  }
  std::map<std::string, int64_t> sizes;
  int64_t largest = 0;
  for (size_t i = 0; i < lines.size(); ++i) largest = std::max(largest, ++sizes[root(unit[i])]);
  return largest;
}

TEST_F(GeneratedSplit, GuaranteesHoldForEveryGrouping) {
  ASSERT_TRUE(all_->outcome.done());
  ASSERT_GT(all_->lines.size(), 200u);
  std::multiset<std::string> everything;
  for (const Json& line : all_->lines) everything.insert(line.dump());
  for (exports::Grouping grouping :
       {exports::Grouping::Sentence, exports::Grouping::LexicalUnit, exports::Grouping::Frame}) {
    SCOPED_TRACE(std::string(exports::groupingName(grouping)));
    exports::SplitResult result;
    ASSERT_TRUE(exports::computeSplit(request(grouping, 11, "unused"), result).done());
    std::multiset<std::string> union_;
    std::map<std::string, int> textSplit, unitSplit;
    for (int k = 0; k < 3; ++k) {
      const std::vector<Json> lines = linesOf(result.outputs[k]);
      EXPECT_EQ(static_cast<int64_t>(lines.size()), result.counts[k].sets);
      for (const Json& line : lines) {
        union_.insert(line.dump());
        const std::string text = exports::collapseWhiteSpace(line["text"].get<std::string>());
        EXPECT_EQ(textSplit.emplace(text, k).first->second, k) << "text in two splits: " << text;
        if (grouping != exports::Grouping::Sentence) {
          const std::string unit = grouping == exports::Grouping::LexicalUnit ? line["lu_id"].dump()
                                                                              : line["frame"].get<std::string>();
          EXPECT_EQ(unitSplit.emplace(unit, k).first->second, k) << "in two splits: " << unit;
        }
      }
    }
    EXPECT_EQ(union_, everything) << "every set in exactly one split";
    const double total = static_cast<double>(all_->lines.size());
    const double slack = 2.0 * static_cast<double>(largestGroup(all_->lines, grouping));
    const double shares[3] = {0.7, 0.2, 0.1};
    for (int k = 0; k < 3; ++k)
      EXPECT_LE(std::abs(static_cast<double>(result.counts[k].sets) - shares[k] * total), slack)
          << exports::kSplitNames[k];
  }
}

TEST_F(GeneratedSplit, SameSeedSameBytesOtherSeedOtherDraw) {
  exports::SplitResult first, again, other;
  ASSERT_TRUE(exports::writeSplit(request(exports::Grouping::LexicalUnit, 5, "a"), first).done());
  ASSERT_TRUE(exports::writeSplit(request(exports::Grouping::LexicalUnit, 5, "b"), again).done());
  ASSERT_TRUE(exports::computeSplit(request(exports::Grouping::LexicalUnit, 6, "c"), other).done());
  for (const char* name : {"train.jsonl", "dev.jsonl", "test.jsonl"})
    EXPECT_EQ(readBytes(dir_->file(std::string("a/") + name)), readBytes(dir_->file(std::string("b/") + name)));
  EXPECT_NE(readBytes(dir_->file("a/manifest.json")).find("\"seed\": 5"), std::string::npos);
  EXPECT_EQ(first.manifest, again.manifest);
  EXPECT_NE(first.outputs[0], other.outputs[0]);
  // The manifest's digests are those of the files written.
  const Json manifest = Json::parse(readBytes(dir_->file("a/manifest.json")));
  EXPECT_EQ(manifest["outputs"][1]["path"], "dev.jsonl");
  EXPECT_EQ(manifest["outputs"][1]["sha256"], exports::sha256Hex(readBytes(dir_->file("a/dev.jsonl"))));
  EXPECT_EQ(manifest["inputs"][0]["path"], "frXML/frames.xml");
}

// The command line a split records when the window made it runs the same split from a shell:
// every choice is on it, frames and minimum included.
TEST_F(GeneratedSplit, RecordedCommandLineRepeatsTheSplit) {
  const std::vector<Json>& lines = all_->lines;
  ASSERT_GT(lines.size(), 2u);
  const char* old = std::getenv("XDG_CACHE_HOME");
  const std::optional<std::string> oldCache = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("XDG_CACHE_HOME", dir_->file("cache").c_str(), 1);
  for (const std::string& release : {dir_->file("release"), dir_->file("release") + "/"}) {
    SCOPED_TRACE(release);
    exports::SplitRequest r = request(exports::Grouping::Frame, 77, "recorded");
    r.releaseFolder = release;
    r.indexFile.clear();
    r.ratios = {3, 1, 1};
    r.format = exports::Format::Conll;
    r.selection.minAnnotated = 2;
    r.selection.frames = {lines.front()["frame"].get<std::string>(), lines.back()["frame"].get<std::string>()};
    r.commandLine = exports::splitCommandLine(r);
    ASSERT_EQ(r.commandLine.front(), "sorvanta");
    exports::SplitResult result;
    ASSERT_TRUE(exports::writeSplit(r, result).done());
    std::vector<std::string> written;
    for (const char* name : {"train.conll", "dev.conll", "test.conll", "manifest.json"})
      written.push_back(readBytes(r.outFolder + "/" + name));
    std::filesystem::remove_all(r.outFolder);
    const CliOutput cli = runCommandLine({r.commandLine.begin() + 1, r.commandLine.end()});
    ASSERT_EQ(cli.status, 0) << cli.err;
    size_t i = 0;
    for (const char* name : {"train.conll", "dev.conll", "test.conll", "manifest.json"})
      EXPECT_EQ(readBytes(r.outFolder + "/" + name), written[i++]) << name;
    std::filesystem::remove_all(r.outFolder);
  }
  if (oldCache)
    setenv("XDG_CACHE_HOME", oldCache->c_str(), 1);
  else
    unsetenv("XDG_CACHE_HOME");
}

TEST(SeedText, OnlyDecimalDigitsThatFitSixtyFourBits) {
  const std::pair<const char*, std::optional<uint64_t>> cases[] = {
      {"0", 0}, {"007", 7}, {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt}, {"99999999999999999999", std::nullopt},
      {"", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt}, {" 1", std::nullopt},
      {"1e3", std::nullopt}, {"000000000000000000001", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    uint64_t seed = 12345;
    EXPECT_EQ(exports::seedNamed(text, seed), expected.has_value()) << text;
    EXPECT_EQ(seed, expected.value_or(12345)) << text;
  }
}

TEST_F(GeneratedSplit, VerifyFindsChangedOutputsAndInputs) {
  const std::string index = dir_->file("index.sqlite");
  const std::string out = dir_->file("verified");
  const std::string release = dir_->file("release");
  const CliOutput split = runOn(release, {"split", "--seed", "9", "--by", "frame", "--ratios", "80,10,10",
                                                 "--format", "conll", "--out", out, "--index", index});
  ASSERT_EQ(split.status, 0) << split.err;
  const CliOutput clean = runCommandLine({"split", "--verify", out, "--index", index});
  EXPECT_EQ(clean.status, 0) << clean.out << clean.err;
  EXPECT_NE(clean.out.find(" 0 differences\n"), std::string::npos) << clean.out;

  std::ofstream(out + "/dev.conll", std::ios::app) << "\n1\textra\t0\t_\tO\n";
  const CliOutput changed = runCommandLine({"split", "--verify", out, "--index", index});
  EXPECT_EQ(changed.status, 1);
  EXPECT_NE(changed.out.find("differs\tdev.conll: "), std::string::npos) << changed.out;
  EXPECT_NE(changed.out.find("ok\ttrain.conll: as recorded"), std::string::npos) << changed.out;

  const Json manifest = Json::parse(readBytes(out + "/manifest.json"));
  const std::string input = manifest["inputs"][1]["path"];
  std::ofstream(release + "/" + input, std::ios::app) << "\n";
  const CliOutput release2 = runCommandLine({"split", "--verify", out, "--index", index});
  EXPECT_EQ(release2.status, 1);
  EXPECT_NE(release2.out.find("differs\t" + input + ": "), std::string::npos) << release2.out;
}

TEST_F(GeneratedSplit, BadManifestsAndCommandLines) {
  TempDir scratch;
  const std::pair<const char*, const char*> manifests[] = {
      {"{not json", "is not a split manifest"},
      {R"({"seed": 1})", "is not a split manifest"},
      {R"({"tool":"sorvanta","command_line":[],"seed":1,"parameters":{"by":"lu","ratios":[1,1,1],
          "min_annotated":0,"frames":[],"format":"jsonl","release":"/nonexistent"},"inputs":[],
          "counts":{},"outputs":[{"path":"../escape.jsonl","size":1,"sha256":"00"}]})",
       "lists an output outside its folder"},
  };
  for (const auto& [bytes, message] : manifests) {
    scratch.write("manifest.json", bytes);
    const CliOutput run = runCommandLine({"split", "--verify", scratch.path().string()});
    EXPECT_EQ(run.status, 1) << bytes;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
  const std::string release = dir_->file("release");
  const std::vector<std::vector<std::string>> usage = {
      {"split", "--seed", "1", "--by", "lu", "--ratios", "80,10", "--out", "x"},
      {"split", "--seed", "1", "--by", "lu", "--ratios", "80,10,10,0", "--out", "x"},
      {"split", "--seed", "1", "--by", "lu", "--ratios", "0,0,0", "--out", "x"},
      {"split", "--seed", "-1", "--by", "lu", "--ratios", "8,1,1", "--out", "x"},
      {"split", "--seed", "18446744073709551616", "--by", "lu", "--ratios", "8,1,1", "--out", "x"},
      {"split", "--seed", "1", "--by", "word", "--ratios", "8,1,1", "--out", "x"},
      {"split", "--seed", "1", "--by", "lu", "--ratios", "8,1,1"},
      {"split", "--verify", "x", "--seed", "1"},
  };
  for (const auto& args : usage) EXPECT_EQ(runOn(release, args).status, 2) << args[6];
}

}  // namespace
}  // namespace sorvanta::testing
