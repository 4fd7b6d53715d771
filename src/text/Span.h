#pragma once
#include <string>
#include <string_view>

namespace sorvanta::text {

// The characters start..end (0-based, both inclusive) of text, cut at its end; empty when
// start is negative, start is at or beyond the end, or end is below start.
std::string spanOf(std::string_view text, long long start, long long end);

// The same span of UTF-8 text, counted in code points: the characters working text counts.
std::string utf8SpanOf(std::string_view utf8, long long start, long long end);

}  // namespace sorvanta::text
