// Spans of text, line splitting, and the sorted line list.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "text/Span.h"
#include "text/TextLines.h"

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
