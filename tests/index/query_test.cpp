// The search language: errors name the bad term and run nothing; hostile text stays text.
#include <gtest/gtest.h>

#include <variant>

#include "index/Query.h"
#include "index/IndexFixture.h"

namespace sorvanta::testing {
namespace {

using index::compileQuery;
using index::SearchTarget;

TEST(QueryLanguage, MalformedQueriesNameTheBadTerm) {
  struct Case {
    std::string query;
    SearchTarget target;
    std::string term;
  };
  const Case cases[] = {
      {"", SearchTarget::Sets, ""},
      {"   ", SearchTarget::Sets, ""},
      {"fe:Goal colour:red", SearchTarget::Sets, "colour:red"},
      {"fe:", SearchTarget::Sets, "fe:"},
      {"frame:Motion -", SearchTarget::Sets, "-"},
      {"lu:\"walk.v", SearchTarget::Sets, "lu:\"walk.v"},
      {"\"into the", SearchTarget::Sets, "\"into the"},
      {"luid:12x", SearchTarget::Sets, "luid:12x"},
      {"sentid:1,,2", SearchTarget::Sets, "sentid:1,,2"},
      {"real:Goal.PP", SearchTarget::Sets, "real:Goal.PP"},
      {"real:Goal..Dep", SearchTarget::Sets, "real:Goal..Dep"},
      {"re:(a)", SearchTarget::Sets, "re:(a)"},
      {"re:/unclosed", SearchTarget::Sets, "re:/unclosed"},
      {"walk re:/a(/", SearchTarget::Sets, "re:/a(/"},
      {"\"a\"b", SearchTarget::Sets, "\"a\"b"},
      {"\"a \"\" b\"", SearchTarget::Sets, "\"a \"\""},
      {"pt:NP", SearchTarget::Frames, "pt:NP"},
      {"fe:Goal", SearchTarget::LexicalUnits, "fe:Goal"},
      {"lu:walk.v", SearchTarget::FrameElements, "lu:walk.v"},
  };
  for (const Case& c : cases) {
    auto result = compileQuery(c.query, c.target);
    ASSERT_TRUE(std::holds_alternative<index::QueryError>(result)) << c.query;
    const auto& error = std::get<index::QueryError>(result);
    EXPECT_EQ(error.term, c.term) << c.query;
    if (!c.term.empty()) {
      EXPECT_NE(error.message.find(c.term), std::string::npos) << error.message;
    }
  }
}

TEST(QueryLanguage, LimitsOnSizeAreErrors) {
  EXPECT_TRUE(std::holds_alternative<index::QueryError>(
      compileQuery("re:/" + std::string(index::kMaxRegexLength + 1, 'a') + "/", SearchTarget::Sets)));
  EXPECT_TRUE(std::holds_alternative<index::QueryError>(
      compileQuery(std::string(index::kMaxQueryLength + 1, 'a'), SearchTarget::Sets)));
  std::string many;
  for (size_t i = 0; i <= index::kMaxTerms; ++i) many += "w" + std::to_string(i) + " ";
  EXPECT_TRUE(std::holds_alternative<index::QueryError>(compileQuery(many, SearchTarget::Sets)));
}

TEST(QueryLanguage, UserTextOnlyInParameters) {
  const std::string hostile = "x'); DROP TABLE frames; --";
  auto result = compileQuery("frame:\"" + hostile + "\" \"" + hostile + "\"", SearchTarget::Sets);
  ASSERT_TRUE(std::holds_alternative<index::CompiledQuery>(result));
  const auto& compiled = std::get<index::CompiledQuery>(result);
  EXPECT_EQ(compiled.condition.find("DROP"), std::string::npos);
  ASSERT_EQ(compiled.parameters.size(), 2u);
  EXPECT_EQ(std::get<std::string>(compiled.parameters[0]), hostile);
}

class QueryResults : public IndexTest {};

// Hostile words are searched as the words they are: no SQL, FTS5 or regex syntax leaks.
TEST_F(QueryResults, HostileInputRunsAsText) {
  const std::string release = sampleReleasePath();
  for (const std::string query :
       {"'; DROP TABLE frames; --", "NEAR(into kitchen)", "into OR walked", "\"\"",
        "kitchen^2", "col:umn*", "fe:Goal%", "fe:_oal", "*", "re:/(a+)+$/", "re:/x{1000}{1000}/"}) {
    CliOutput result = search(release, {"--count", query});
    if (query == std::string("col:umn*")) {
      EXPECT_EQ(result.status, 2) << query;
      continue;
    }
    if (query == std::string("re:/x{1000}{1000}/")) {  // RE2 refuses the repetition: an error
      EXPECT_EQ(result.status, 2) << query;
      continue;
    }
    EXPECT_EQ(result.status, 0) << query << result.err;
    if (query == std::string("*")) {
      EXPECT_EQ(result.out, "52\n");
    } else if (query != std::string("re:/(a+)+$/")) {
      EXPECT_EQ(result.out, "0\n") << query;
    }
  }
  EXPECT_EQ(search(release, {"--count", "into"}).out, search(release, {"--count", "INTO"}).out);
  EXPECT_EQ(runOn(release, {"sql", "SELECT count(*) FROM frames"}).out, "count(*)\n14\n");
}

}  // namespace
}  // namespace sorvanta::testing
