// The direct JSON writer against nlohmann-json's dump(), which the exports wrote before: the
// same bytes for every string, valid UTF-8 or not, and for whole JSON lines.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "exports/Formats.h"
#include "exports/JsonText.h"

namespace sorvanta::exports {
namespace {

using Json = nlohmann::ordered_json;

std::string reference(const std::string& text) {
  return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string written(const std::string& text) {
  std::string out = "x";  // what is already in the buffer stays
  appendJsonString(out, text);
  return out.substr(1);
}

TEST(JsonTextTest, OddStringsAsNlohmannWritesThem) {
  const std::string cases[] = {
      "", "plain", "say \"hi\"", "back\\slash", "a/b", "tab\tnew\nline\rcr\bbs\fff",
      std::string("nul\0mid", 7), "\x01\x1f\x7f", "Café β → 𝄞 ",
      "\x80", "lone \xbf continuation", "cut \xe2\x82", "\xe2\x82", "overlong \xc0\xaf", "\xc1\xbf",
      "surrogate \xed\xa0\x80", "\xed\x9f\xbf", "past U+10FFFF \xf4\x90\x80\x80", "\xf4\x8f\xbf\xbf",
      "\xf5\x80\x80\x80", "\xff\xfe", "\xe0\x9f\xbf", "\xe0\xa0\x80", "\xf0\x8f\xbf\xbf", "\xf0\x90\x80\x80",
      "bad \xe2\x28\xa1 then \"quote\"", "\xc3", "x\xc3\"", "\xf0\x9d\x84", "\xf0\x9d\x84\x9e\xf0\x9d"};
  for (const std::string& text : cases) EXPECT_EQ(written(text), reference(text)) << text;
}

// Every string of one and two bytes, and three-byte strings around the multi-byte leads.
TEST(JsonTextTest, AllShortStringsAsNlohmannWritesThem) {
  for (int a = 0; a < 256; ++a) {
    const std::string one(1, static_cast<char>(a));
    ASSERT_EQ(written(one), reference(one)) << a;
    for (int b = 0; b < 256; ++b) {
      const std::string two = one + static_cast<char>(b);
      ASSERT_EQ(written(two), reference(two)) << a << " " << b;
    }
  }
  for (int a : {0xC2, 0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF3, 0xF4})
    for (int b = 0x70; b < 0xC8; ++b)
      for (int c : {0x22, 0x41, 0x7F, 0x80, 0x9F, 0xA0, 0xBF, 0xC0}) {
        const std::string three{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)};
        ASSERT_EQ(written(three), reference(three)) << a << " " << b << " " << c;
      }
}

// A whole line reads back and dumps again to the same bytes: field order, numbers, escapes and
// empty lists as nlohmann writes them.
TEST(JsonTextTest, JsonLineIsWhatNlohmannWouldDump) {
  AnnotationRecord record;
  record.luId = 1001;
  record.lu = "move \"it\".v";
  record.frame = "Motion\\Path";
  record.frameId = -7;
  record.sentenceId = 500102;
  record.text = "Kéké\tmoved \xe2\x28 past 𝄞";
  record.target = {{"Target", 5, 10}, {"Target", 0, 2}};
  record.fes = {{"Theme", "", 0, 4}, {"Source", "INI", 0, 0}, {"Go\x01" "al", "", 11, 15}};
  record.pt = {{"NP", 0, 4}};
  std::string line;
  appendJsonLine(line, record);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(line.back(), '\n');
  const Json parsed = Json::parse(line);
  EXPECT_EQ(parsed.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n", line);
  EXPECT_EQ(parsed["text"], "Kéké\tmoved \xef\xbf\xbd( past 𝄞");
  EXPECT_EQ(parsed["fes"][1], Json::parse(R"({"name":"Source","itype":"INI"})"));
  EXPECT_EQ(parsed["gf"], Json::array());
  EXPECT_EQ(parsed["subcorpus"], "");
}

}  // namespace
}  // namespace sorvanta::exports
