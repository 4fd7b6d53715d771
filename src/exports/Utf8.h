#pragma once
// Code points of UTF-8 text: exports count label offsets and tokens in code points.
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanta::exports {

// Decodes the code point at text[pos] and advances pos past it. A byte that does not start
// a well-formed sequence counts as one code point (U+FFFD), so counting never stalls.
char32_t nextCodePoint(std::string_view text, size_t& pos);

int64_t codePointCount(std::string_view text);

void appendUtf8(std::string& out, char32_t codePoint);

// Unicode White_Space characters.
bool isWhiteSpace(char32_t c);

// The text with runs of white space collapsed to one space and none at either end: two
// sentences are the same text when these agree.
std::string collapseWhiteSpace(std::string_view text);
void appendCollapsedWhiteSpace(std::string& out, std::string_view text);

}  // namespace sorvanta::exports
