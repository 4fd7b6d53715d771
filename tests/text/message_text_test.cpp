// Text quoted in messages: control characters made visible, long text cut.
#include <gtest/gtest.h>

#include "text/MessageText.h"

using namespace sorvanta::text;

TEST(MessageText, EscapesControlCharactersAndCuts) {
  struct Case {
    std::string text;
    std::string shown;
  } cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"a\nb\rc\td", "a\\nb\\rc\\td"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"\x1B[31mred\x7F", "\\x1B[31mred\\x7F"},
      {"c1 \x81\x8D\x8F\x90\x9D", "c1 \\x81\\x8D\\x8F\\x90\\x9D"},
      {"caf\xE9 \x80 \x85 \x9F", "caf\xE9 \x80 \x85 \x9F"},  // Windows-1252 letters stay
      {std::string(200, 'x'), std::string(200, 'x')},
      {std::string(201, 'x'), std::string(200, 'x') + "..."},
      {std::string(199, 'x') + "\n\n", std::string(199, 'x') + "\\n..."},
  };
  for (const Case& c : cases) EXPECT_EQ(messageText(c.text), c.shown) << c.text;
  EXPECT_EQ(quotedText("a\tb"), "\"a\\tb\"");
}
