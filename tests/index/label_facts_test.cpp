// Label facts worked out while a document is indexed: each fault found alone, the sentences
// the check must not judge, FE counts and Windows-1252 counts.
#include <gtest/gtest.h>

#include "index/DocumentRows.h"
#include "index/LabelFindings.h"

namespace sorvanta::index {
namespace {

LabelRow label(std::string layer, std::string name, std::optional<std::string> start,
               std::optional<std::string> end, std::string rank = "1", std::string itype = "") {
  return {std::move(layer), std::move(rank), std::move(name), std::move(itype), std::move(start),
          std::move(end)};
}

SentenceRow sentence(std::string key, std::string text, std::vector<LabelRow> labels) {
  return {std::nullopt, std::move(key), std::move(text), std::move(labels)};
}

struct Expected {
  LabelFault fault;
  size_t sentence, label;
  std::optional<size_t> other;
};

TEST(LabelFacts, EachFaultAlone) {
  // "Anna walked home" has 16 characters: offsets 0 to 15.
  const std::string text = "Anna walked home";
  const struct {
    const char* what;
    std::vector<LabelRow> labels;
    std::vector<Expected> expected;
  } cases[] = {
      {"clean", {label("FE", "Self_mover", "0", "3"), label("FE", "Goal", "12", "15")}, {}},
      {"end at the length", {label("FE", "Goal", "12", "16")}, {{LabelFault::OutOfRange, 0, 0, {}}}},
      {"negative start", {label("GF", "Ext", "-1", "3")}, {{LabelFault::OutOfRange, 0, 0, {}}}},
      {"start after end", {label("PT", "NP", "5", "4")}, {{LabelFault::OutOfRange, 0, 0, {}}}},
      {"bad integer", {label("FE", "Goal", "1x", "15")}, {{LabelFault::BadInteger, 0, 0, {}}}},
      {"plus sign", {label("FE", "Goal", "12", "+15")}, {{LabelFault::BadInteger, 0, 0, {}}}},
      {"null instantiation not judged", {label("FE", "Goal", "x", "y", "1", "INI")}, {}},
      {"one offset missing", {label("FE", "Goal", "12", std::nullopt)}, {}},
      {"overlap",
       {label("FE", "Self_mover", "0", "5"), label("FE", "Goal", "5", "15")},
       {{LabelFault::Overlap, 0, 1, 0}}},
      {"nested overlap reported with the first",
       {label("FE", "A", "0", "15"), label("FE", "B", "2", "3"), label("FE", "C", "3", "9")},
       {{LabelFault::Overlap, 0, 1, 0}, {LabelFault::Overlap, 0, 2, 0}}},
      {"other ranks and layers do not overlap",
       {label("FE", "A", "0", "5"), label("FE", "B", "0", "5", "2"), label("GF", "Ext", "0", "5")},
       {}},
      {"overlaps judged per rank, ranks in any order",
       {label("FE", "A", "0", "5", "2"), label("FE", "B", "0", "5", "1"), label("FE", "C", "3", "9", "2"),
        label("FE", "D", "4", "6", "1")},
       {{LabelFault::Overlap, 0, 2, 0}, {LabelFault::Overlap, 0, 3, 1}}},
      {"a label beyond the sentence overlaps nothing",
       {label("FE", "A", "0", "20"), label("FE", "B", "2", "3")},
       {{LabelFault::OutOfRange, 0, 0, {}}}},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    const LabelFacts facts = labelFacts({sentence("7", text, each.labels)});
    ASSERT_EQ(facts.findings.size(), each.expected.size());
    for (size_t i = 0; i < each.expected.size(); ++i) {
      EXPECT_EQ(facts.findings[i].fault, each.expected[i].fault);
      EXPECT_EQ(facts.findings[i].sentence, each.expected[i].sentence);
      EXPECT_EQ(facts.findings[i].label, each.expected[i].label);
      EXPECT_EQ(facts.findings[i].other, each.expected[i].other);
    }
  }
}

TEST(LabelFacts, RepeatedSentenceIdsAreNotJudged) {
  const std::vector<LabelRow> bad = {label("FE", "Goal", "40", "50")};
  const LabelFacts facts = labelFacts({sentence("7", "short", bad), sentence("8", "short", bad),
                                       sentence("8", "short", bad)});
  ASSERT_EQ(facts.findings.size(), 1u);
  EXPECT_EQ(facts.findings[0].sentence, 0u);
}

TEST(LabelFacts, CountsRanksAndCharacters) {
  // "Zoë ☃" : 5 characters, the snowman outside Windows-1252, ë inside it.
  const LabelFacts facts = labelFacts(
      {sentence("1", "Zo\xC3\xAB \xE2\x98\x83",
                {label("FE", "Goal", "0", "1"), label("FE", "Goal", "3", "4", "2"),
                 label("FE", "Path", std::nullopt, std::nullopt, "1", "DNI"), label("GF", "Ext", "0", "1")}),
       sentence("2", "plain", {label("FE", "Goal", "0", "1", "")}),
       sentence("3", "plain", {label("FE", "Goal", "0", "1", "2"), label("FE", "Path", "2", "3", "10"),
                               label("FE", "Goal", "3", "4", "1")})});
  ASSERT_EQ(facts.sentences.size(), 3u);
  EXPECT_EQ(facts.sentences[0].length, 5);
  EXPECT_EQ(facts.sentences[0].outside1252, 1);
  EXPECT_EQ(facts.sentences[0].feRanks, "<1><2>");
  EXPECT_EQ(facts.sentences[1].outside1252, 0);
  EXPECT_EQ(facts.sentences[1].feRanks, "<>");
  EXPECT_EQ(facts.sentences[2].feRanks, "<1><10><2>");  // sorted as text, each once
  std::vector<std::tuple<std::string, std::string, int64_t>> counts;
  for (const FeLabelCount& count : facts.feCounts) counts.emplace_back(count.rank, count.name, count.labels);
  EXPECT_EQ(counts, (std::vector<std::tuple<std::string, std::string, int64_t>>{
                        {"", "Goal", 1}, {"1", "Goal", 2}, {"1", "Path", 1}, {"10", "Path", 1},
                        {"2", "Goal", 2}}));
}

}  // namespace
}  // namespace sorvanta::index
