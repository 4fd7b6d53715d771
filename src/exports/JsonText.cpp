#include "exports/JsonText.h"

#include <charconv>
#include <nlohmann/json.hpp>

namespace sorvanta::exports {

namespace {

// The length of the well-formed UTF-8 sequence starting at text[pos] with a lead byte of
// 0x80 or above, or 0 when there is none (the same sequences nextCodePoint accepts).
size_t sequenceLength(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {  // not overlong, no surrogates
    length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {  // not overlong, up to U+10FFFF
    length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
  }
  if (length == 0 || pos + length > text.size()) return 0;
  if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  const size_t begin = out.size();
  out += '"';
  size_t copied = 0;  // text before this is in out
  for (size_t pos = 0; pos < text.size();) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c >= 0x80) {
      const size_t length = sequenceLength(text, pos);
      if (length == 0) {
        // Invalid UTF-8 is rare; nlohmann-json's own replacement rules apply to it.
        out.resize(begin);
        out += nlohmann::json(std::string(text))
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
      }
      pos += length;
      continue;
    }
    if (c >= 0x20 && c != '"' && c != '\\') {
      ++pos;
      continue;
    }
    out.append(text.data() + copied, pos - copied);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default: {
        static constexpr char kHex[] = "0123456789abcdef";
        const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        out.append(escaped, sizeof escaped);
      }
    }
    copied = ++pos;
  }
  out.append(text.data() + copied, text.size() - copied);
  out += '"';
}

void appendJsonInteger(std::string& out, int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

}  // namespace sorvanta::exports
