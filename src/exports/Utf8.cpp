#include "exports/Utf8.h"

namespace sorvanta::exports {

char32_t nextCodePoint(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t value = 0, minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, value = lead & 0x1F, minimum = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, value = lead & 0x0F, minimum = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, value = lead & 0x07, minimum = 0x10000;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    value = value << 6 | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += length;
  return value;
}

int64_t codePointCount(std::string_view text) {
  int64_t count = 0;
  for (size_t pos = 0; pos < text.size(); ++count) nextCodePoint(text, pos);
  return count;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool isWhiteSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

void appendCollapsedWhiteSpace(std::string& out, std::string_view text) {
  bool wrote = false, pendingSpace = false;
  size_t run = std::string_view::npos;  // start of the characters not yet copied
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const auto byte = static_cast<unsigned char>(text[pos]);
    const char32_t c = byte < 0x80 ? (++pos, byte) : nextCodePoint(text, pos);
    if (isWhiteSpace(c)) {
      if (run != std::string_view::npos) out.append(text.substr(run, start - run));
      run = std::string_view::npos;
      pendingSpace = wrote;
      continue;
    }
    if (run == std::string_view::npos) {
      if (pendingSpace) out += ' ';
      pendingSpace = false;
      run = start;
    }
    wrote = true;
  }
  if (run != std::string_view::npos) out.append(text.substr(run));
}

std::string collapseWhiteSpace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendCollapsedWhiteSpace(out, text);
  return out;
}

}  // namespace sorvanta::exports
