#include "xml/XpParseResult.h"

namespace sorvanta::xml {

std::string XpParseResult::message() const {
  if (line == 0) return description;
  return description + " at line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string XpParseResult::messageFor(std::string_view file) const {
  return "Cannot read " + std::string(file) + ": " + message();
}

namespace {

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Reads the character at i of input and returns its length in bytes (at least 1, never past
// the end); sets code to it, or to a value other than CR and LF when only its size matters.
size_t characterAt(std::string_view input, size_t i, int utf16, bool latin1, char32_t& code) {
  if (utf16 != 0) {
    if (i + 1 >= input.size()) {
      code = 0xFFFD;
      return input.size() - i;
    }
    const auto lo = static_cast<unsigned char>(input[i + (utf16 == 2 ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(input[i + (utf16 == 2 ? 0 : 1)]);
    code = static_cast<char32_t>(hi << 8 | lo);
    const bool pair = code >= 0xD800 && code < 0xDC00 && i + 3 < input.size();
    return pair ? 4 : 2;
  }
  code = static_cast<unsigned char>(input[i]);
  if (latin1 || code < 0x80) return 1;
  size_t length = 1;
  while (i + length < input.size() && length < 4 && isUtf8Continuation(input[i + length])) ++length;
  return length;
}

}  // namespace

void locateFailure(XpParseResult& result, std::string_view decodedPrefix, std::string_view input,
                   int utf16, bool latin1) {
  result.line = 1;
  result.column = 1;
  // Folded text has LF line ends only; UTF-16 input fails before folding, so CRs count too.
  for (size_t i = 0; i < decodedPrefix.size(); ++i) {
    const char c = decodedPrefix[i];
    if (c == '\n' ||
        (c == '\r' && (i + 1 == decodedPrefix.size() || decodedPrefix[i + 1] != '\n'))) {
      ++result.line;
      result.column = 1;
    } else if (c != '\r' && !isUtf8Continuation(c)) {
      ++result.column;
    }
  }
  // The same place in the raw input: CR LF and a lone CR end a line there too.
  size_t i = 0;
  if (utf16 != 0 && input.size() >= 2)
    i = 2;
  else if (input.substr(0, 3) == "\xEF\xBB\xBF")
    i = 3;
  int line = 1;
  int column = 1;
  while (i < input.size() && (line < result.line || column < result.column)) {
    char32_t code = 0;
    const size_t length = characterAt(input, i, utf16, latin1, code);
    if (code == '\r' || code == '\n') {
      if (line == result.line) break;  // the place lies beyond this line's end: take its end
      i += length;
      if (code == '\r' && i < input.size()) {
        char32_t next = 0;
        const size_t nextLength = characterAt(input, i, utf16, latin1, next);
        if (next == '\n') i += nextLength;
      }
      ++line;
      column = 1;
      continue;
    }
    if (line == result.line) ++column;
    i += length;
  }
  result.offset = i;
}

}  // namespace sorvanta::xml
