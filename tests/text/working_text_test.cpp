// Code-page conversion between working text (Windows-1252) and Unicode / UTF-8.
#include <gtest/gtest.h>

#include "text/WorkingText.h"

using namespace sorvanta::text;

TEST(WorkingText, EveryByteRoundTripsThroughKnownCodePoints) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(static_cast<unsigned char>(unicodeToWorking(workingToUnicode(b))), b) << b;
    all += static_cast<char>(b);
  }
  EXPECT_EQ(utf8ToWorking(workingToUtf8(all)), all);
  EXPECT_EQ(workingToUtf8("\x80\x8D\x99\x9F\xA0"), "\u20AC\u008D\u2122\u0178\u00A0");
}

TEST(WorkingText, UnmappableCharactersBecomeQuestionMarks) {
  for (char32_t cp : {U'\u0080', U'\u0082', U'\u009F', U'\u0100', U'\u20AD', U'\U0001F600'}) {
    EXPECT_EQ(unicodeToWorking(cp), '?') << static_cast<uint32_t>(cp);
  }
  EXPECT_EQ(utf8ToWorking("a\xC4\x80z\xF0\x9F\x98\x80\xE2\x82\xAC"), "a?z?\x80");
}

TEST(WorkingText, MalformedUtf8GivesOneMarkPerBadSequence) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"\x80", "?"},           {"a\xC3", "a?"},
      {"\xE2\x82", "?"},       {"\xE2\x82z", "?z"},
      {"\xC0\xAF", "??"},      {"\xE0\x80\x80", "???"},
      {"\xED\xA0\x80", "???"}, {"\xF4\x90\x80\x80", "????"},
      {"\xFF\xFE", "??"},
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToWorking(c.in), c.out) << c.in;
}

TEST(WorkingText, AppendUtf8Lengths) {
  std::string out;
  for (char32_t cp : {U'\u007F', U'\u07FF', U'\u0800', U'\uFFFF', U'\U00010000', U'\U0010FFFF'}) {
    appendUtf8(out, cp);
  }
  EXPECT_EQ(out, "\x7F\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
}

TEST(ShownText, UnicodeIsKeptOnlyWhenWorkingTextLosesACharacter) {
  struct Case {
    std::string utf8;
    std::string working;
    bool keepsUnicode;
  };
  const Case cases[] = {
      {"plain ASCII", "plain ASCII", false},
      {"", "", false},
      {"caf\xC3\xA9 \xE2\x80\x93 \xE2\x82\xAC", "caf\xE9 \x96 \x80", false},  // é – €: all held
      {"\xCE\xB2-decay", "?-decay", true},                                     // β
      {"why? \xC5\x8B?", "why? ??", true},                           // ŋ among literal marks
      {"why?", "why?", false},                                                 // marks alone
      {"\xF0\x9F\x98\x80", "?", true},                                         // beyond 16 bits
      {"bad \xFF byte", "bad ? byte", true},                                   // malformed
  };
  for (const Case& c : cases) {
    const ShownText shown = utf8ToShown(c.utf8);
    EXPECT_EQ(shown.working, c.working) << c.utf8;
    EXPECT_EQ(shown.unicode, c.keepsUnicode ? c.utf8 : std::string()) << c.utf8;
    // What the screen shows is always the document's text when it is valid UTF-8.
    if (c.utf8.find('\xFF') == std::string::npos) {
      EXPECT_EQ(shown.utf8(), c.utf8) << c.utf8;
    }
  }
}
