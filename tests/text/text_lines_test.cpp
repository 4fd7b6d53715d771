// Spans of text, line splitting, and the sorted line list.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "text/Span.h"
#include "text/TextLines.h"
#include "text/WorkingText.h"

using namespace sorvanta::text;

TEST(SpanOf, EdgeCases) {
  const struct {
    long long start, end;
    const char* expected;
  } cases[] = {{0, 0, "a"},
               {1, 3, "bcd"},
               {4, 4, "e"},
               {3, 99, "de"},
               {0, LLONG_MAX, "abcde"},
               {2, 1, ""},
               {-1, 3, ""},
               {5, 5, ""},
               {LLONG_MIN, LLONG_MAX, ""},
               {LLONG_MAX, LLONG_MAX, ""},
               {2, LLONG_MIN, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(spanOf("abcde", c.start, c.end), c.expected) << c.start << ".." << c.end;
  }
  EXPECT_EQ(spanOf("", 0, 0), "");
}

TEST(Utf8SpanOf, CountsCodePointsAsWorkingTextCountsCharacters) {
  // "The β-decay – of ŋ" in UTF-8; working text holds it as "The ?-decay \x96 of ?".
  const std::string utf8 = "The \xCE\xB2-decay \xE2\x80\x93 of \xC5\x8B";
  const std::string working = "The ?-decay \x96 of ?";
  struct Case {
    long long start, end;
  };
  const Case cases[] = {{4, 10}, {0, 3},   {12, 12}, {17, 17}, {17, 40}, {0, 100},
                        {18, 20}, {-1, 3}, {5, 4},   {3, 3}};
  for (const Case& c : cases) {
    const std::string span = utf8SpanOf(utf8, c.start, c.end);
    EXPECT_EQ(utf8ToWorking(span), spanOf(working, c.start, c.end)) << c.start << ".." << c.end;
  }
  EXPECT_EQ(utf8SpanOf(utf8, 4, 10), "\xCE\xB2-decay");
  EXPECT_EQ(utf8SpanOf(utf8, 17, 17), "\xC5\x8B");
}

TEST(TextLines, SplitsAtEveryBreakKind) {
  using Lines = std::vector<std::string>;
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {{"", {}},
               {"\n", {""}},
               {"a\r\n", {"a"}},
               {"a\r\n\r\nb", {"a", "", "b"}},
               {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
               {"a\n\rb", {"a", "", "b"}},
               {"a\r", {"a"}},
               {"\r\n\r\n", {"", ""}}};
  for (const auto& c : cases) {
    TextLines list;
    list.add("stale");
    list.setText(c.bytes);
    EXPECT_EQ(list.lines(), c.lines) << c.bytes;
  }
}

TEST(SortedTextLines, KeepsOrderAndRefusesDuplicates) {
  SortedTextLines list;
  EXPECT_TRUE(list.add("pear"));
  EXPECT_TRUE(list.add("Apple"));
  EXPECT_TRUE(list.add("\xC9tude"));
  EXPECT_TRUE(list.add("app"));
  EXPECT_TRUE(list.add("Zoo"));
  EXPECT_FALSE(list.add("APPLE"));
  EXPECT_FALSE(list.add("pear"));
  EXPECT_TRUE(list.add("_x"));        // '_' sorts after 'Z' and 'z'
  EXPECT_TRUE(list.add("\xE9tude"));  // no folding beyond ASCII; unsigned bytes
  const std::vector<std::string> expected = {"app", "Apple",    "pear",    "Zoo",
                                             "_x",  "\xC9tude", "\xE9tude"};
  EXPECT_EQ(list.lines(), expected);
}

TEST(CompareTextIgnoreCase, DifferencesOnBothSidesOfEightByteSteps) {
  // Letters fold to upper case, so 'a' ('A', 0x41) sorts before '_' (0x5F); other bytes compare
  // unsigned. The differing byte sits before, on and after the steps of the equal-prefix skip.
  const struct {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {{"", "", 0},
               {"abc", "ABC", 0},
               {"Goal.PP.Dep", "goal.pp.dep", 0},
               {"abcdefgh", "abcdefgH", 0},
               {"abcdefgh", "abcdefgi", -1},
               {"abcdefghX", "abcdefghY", -1},
               {"abcdefghijklmnop", "abcdefghijklmnoP", 0},
               {"abcdefghijklmnopq", "ABCDEFGHIJKLMNOP_", -1},
               {"abcdefg_", "abcdefga", 1},
               {"abcdefgh", "abcdefghi", -1},
               {"abcdefghijklmnopq", "abcdefghijklmnop", 1},
               {"abcdefgh\xE9", "ABCDEFGH\xC9", 1},
               {"abcdefgh\x7F", "abcdefgh\x80", -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(compareTextIgnoreCase(c.a, c.b), c.expected) << c.a << " / " << c.b;
    EXPECT_EQ(compareTextIgnoreCase(c.b, c.a), -c.expected) << c.b << " / " << c.a;
  }
}
