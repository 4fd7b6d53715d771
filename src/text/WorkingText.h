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

}  // namespace sorvanta::text
