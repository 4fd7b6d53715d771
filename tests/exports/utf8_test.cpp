// White space collapsed for the split's text keys.
#include <gtest/gtest.h>

#include "exports/Utf8.h"

namespace sorvanta::exports {
namespace {

TEST(CollapseWhiteSpaceTest, RunsBecomeOneSpaceAndNoneAtTheEnds) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {" \t\n ", ""},
      {"a", "a"},
      {"  two  words  ", "two words"},
      // No-break space, ideographic space and U+2028 are white space; é and 𝄞 are not.
      {"caf\xc3\xa9\xc2\xa0\xe3\x80\x80x\xe2\x80\xa8\xf0\x9d\x84\x9e", "caf\xc3\xa9 x \xf0\x9d\x84\x9e"},
      // Invalid bytes are kept as they are, each one character.
      {"\xff a\x80\x80  b\xe2\x82", "\xff a\x80\x80 b\xe2\x82"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(collapseWhiteSpace(text), expected) << text;
    // Appended after other keys: their bytes stay, and the text's own leading space still goes.
    std::string out = "key|";
    appendCollapsedWhiteSpace(out, text);
    EXPECT_EQ(out, "key|" + expected) << text;
  }
}

}  // namespace
}  // namespace sorvanta::exports
