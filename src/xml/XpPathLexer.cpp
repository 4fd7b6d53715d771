#include "xml/XpPathLexer.h"

namespace sorvanta::xml {

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Bytes of multi-byte UTF-8 sequences count as letters, so non-ASCII names read whole.
bool isNameStart(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isNameChar(unsigned char c) {
  return isNameStart(c) || isDigit(c) || c == '.' || c == '-' || c == ':';
}

bool isSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

XpToken XpPathLexer::next() {
  const size_t size = text_.size();
  while (pos_ < size && isSpace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  if (pos_ >= size) return {XpTokenKind::End, {}};

  const size_t start = pos_;
  const auto at = [&](size_t i) { return i < size ? static_cast<unsigned char>(text_[i]) : 0; };
  const auto token = [&](XpTokenKind kind, size_t length) {
    pos_ = start + length;
    return XpToken{kind, text_.substr(start, length)};
  };
  const auto invalid = [&] {
    pos_ = size;  // nothing after an unreadable byte is read
    return XpToken{XpTokenKind::Invalid, text_.substr(start)};
  };

  const unsigned char c = at(start);
  switch (c) {
    case '/':
      return at(start + 1) == '/' ? token(XpTokenKind::DoubleSlash, 2)
                                  : token(XpTokenKind::Slash, 1);
    case '@':
      return token(XpTokenKind::At, 1);
    case '[':
      return token(XpTokenKind::OpenBracket, 1);
    case ']':
      return token(XpTokenKind::CloseBracket, 1);
    case '=':
      return token(XpTokenKind::Equals, 1);
    case '*':
      return token(XpTokenKind::Star, 1);
    case '\'':
    case '"': {
      // No escapes: the literal ends at the next occurrence of its own quote.
      size_t close = text_.find(static_cast<char>(c), start + 1);
      if (close == std::string_view::npos) return invalid();
      pos_ = close + 1;
      return {XpTokenKind::Literal, text_.substr(start + 1, close - start - 1)};
    }
    default:
      break;
  }
  if (c == '.' && at(start + 1) == '.') return token(XpTokenKind::DotDot, 2);
  if (isDigit(c) || (c == '.' && isDigit(at(start + 1)))) {
    size_t end = start;
    while (isDigit(at(end)) || at(end) == '.' || at(end) == '-') ++end;
    return token(XpTokenKind::Number, end - start);
  }
  if (c == '.') return token(XpTokenKind::Dot, 1);
  if (isNameStart(c)) {
    size_t end = start + 1;
    while (isNameChar(at(end))) ++end;
    // A name directly followed by "(" is a function or node test, outside what is read.
    if (at(end) == '(') return invalid();
    return token(XpTokenKind::Name, end - start);
  }
  return invalid();
}

}  // namespace sorvanta::xml
