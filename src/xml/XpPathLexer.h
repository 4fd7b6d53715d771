#pragma once
// Tokens of a path expression (UTF-8). The lexer never reads past the end of the text.
#include <string_view>

namespace sorvanta::xml {

enum class XpTokenKind {
  Slash,         // "/"
  DoubleSlash,   // "//"
  Dot,           // "."
  DotDot,        // ".."
  At,            // "@"
  OpenBracket,   // "["
  CloseBracket,  // "]"
  Equals,        // "="
  Star,          // "*"
  Name,
  Literal,  // text between the quotes, quotes excluded
  Number,
  End,
  Invalid,  // anything that cannot be read, including "name(" and an unclosed literal
};

struct XpToken {
  XpTokenKind kind = XpTokenKind::End;
  std::string_view text;
};

class XpPathLexer {
 public:
  explicit XpPathLexer(std::string_view expression) : text_(expression) {}
  // Reads the next token; End once the text is used up, Invalid from the first unreadable byte on.
  XpToken next();

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace sorvanta::xml
