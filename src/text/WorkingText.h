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

// Calls visit(codePoint) for each character of UTF-8 text that working text cannot hold (one
// it would write as '?'). Decoding is lenient: the lead byte gives the sequence's length and
// continuation bytes are not checked, so damaged text still gets a count.
template <class Visit>
void forEachOutsideWorking(std::string_view utf8, Visit&& visit) {
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t cp = lead & (length == 4 ? 0x07 : length == 3 ? 0x0F : 0x1F);
    for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (unicodeToWorking(cp) == '?') visit(cp);
    i += length;
  }
}

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
