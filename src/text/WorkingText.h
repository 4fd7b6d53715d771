#pragma once
// Working text: std::string holding Windows-1252 bytes, one byte per character.
// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D map to U+0081 ... U+009D, so every byte round-trips.
#include <string>
#include <string_view>

namespace sorvanta::text {

// Unicode code point of one working-text byte.
char32_t workingToUnicode(unsigned char byte);

// Working-text byte of a code point; '?' for a code point Windows-1252 cannot hold.
char unicodeToWorking(char32_t codePoint);

// UTF-8 to working text. Unmappable characters and malformed sequences become '?'.
std::string utf8ToWorking(std::string_view utf8);

// Working text to UTF-8.
std::string workingToUtf8(std::string_view working);

// Appends the UTF-8 encoding of a code point (must be <= 0x10FFFF).
void appendUtf8(std::string& out, char32_t codePoint);

bool isAscii(std::string_view text);

// Text of a document as the screen shows it: the working text every comparison, sort and
// written file uses, and beside it the document's UTF-8 only when working text cannot hold
// every character of it (empty otherwise, so plain text costs nothing extra).
struct ShownText {
  std::string working;
  std::string unicode;

  // The UTF-8 to show: unicode when set, else working text converted.
  std::string utf8() const;
  bool operator==(const ShownText&) const = default;
};

// UTF-8 to working text, keeping the UTF-8 beside it when the conversion loses a character.
ShownText utf8ToShown(std::string_view utf8);

}  // namespace sorvanta::text
