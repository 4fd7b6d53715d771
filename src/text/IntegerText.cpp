#include "text/IntegerText.h"

#include <charconv>
#include <cstdint>

#include "text/Errors.h"

namespace sorvanta::text {

namespace {

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> tryStrToInt(std::string_view text) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n && text[i] == ' ') ++i;

  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  bool hex = false;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }

  if (i >= n) return std::nullopt;  // No digits.
  const uint64_t base = hex ? 16 : 10;
  const uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
  uint64_t magnitude = 0;
  for (; i < n; ++i) {
    const int digit = digitValue(text[i], hex);
    if (digit < 0) return std::nullopt;
    // magnitude <= limit < 2^32 before this step, so the product cannot wrap.
    magnitude = magnitude * base + static_cast<uint64_t>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  const int64_t value =
      negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return static_cast<int32_t>(value);
}

int32_t strToInt(std::string_view text) {
  if (auto value = tryStrToInt(text)) return *value;
  throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

std::string intToStr(int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace sorvanta::text
