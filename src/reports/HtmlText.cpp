#include "reports/HtmlText.h"

namespace sorvanta::reports {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at text[i], or 0.
size_t sequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  // U+FFFE and U+FFFF are not XML characters either.
  if (overlong || surrogate || value > 0x10FFFF || value == 0xFFFE || value == 0xFFFF) return 0;
  return length;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '\t':
        case '\n':
        case '\r': out += static_cast<char>(c); break;
        default:
          if (c < 0x20 || c == 0x7F)
            out += kReplacement;
          else
            out += static_cast<char>(c);
      }
      ++i;
      continue;
    }
    const size_t length = sequenceLength(utf8, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(utf8, i, length);
      i += length;
    }
  }
}

std::string escapeHtml(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 16);
  appendEscaped(out, utf8);
  return out;
}

}  // namespace sorvanta::reports
