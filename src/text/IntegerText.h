#pragma once
// Integer conversion of working text: leading spaces, optional sign, decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing may follow; signed 32-bit range.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorvanta::text {

// The value, or nothing when the text is not a valid integer.
std::optional<int32_t> tryStrToInt(std::string_view text);

// The value; throws ConversionError "'<text>' is not a valid integer value" otherwise.
int32_t strToInt(std::string_view text);

// Plain decimal text without separators or leading zeros.
std::string intToStr(int64_t value);

}  // namespace sorvanta::text
