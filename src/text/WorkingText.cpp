#include "text/WorkingText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace sorvanta::text {

namespace {

// Code points of bytes 0x80..0x9F; the five undefined bytes stand for the C1 control of the same
// value.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// Byte for a code point above U+00FF, or '?'; such characters are rare, so a scan of 32 is enough.
char highToWorking(char32_t cp) {
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

char32_t workingToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

char unicodeToWorking(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  if (cp <= 0x9F) {
    // Only the five undefined bytes carry a C1 control through.
    return (cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D)
               ? static_cast<char>(cp)
               : '?';
  }
  return highToWorking(cp);
}

bool isAscii(std::string_view text) {
  const char* p = text.data();
  size_t n = text.size();
  // Eight bytes at a time: long attribute values are mostly plain ASCII.
  while (n >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ULL) return false;
    p += 8;
    n -= 8;
  }
  for (; n > 0; ++p, --n) {
    if (static_cast<unsigned char>(*p) & 0x80) return false;
  }
  return true;
}

std::string utf8ToWorking(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);

  std::string out;
  out.reserve(utf8.size());
  const size_t n = utf8.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    // Length and the allowed range of the second byte, which rules out overlong forms,
    // surrogates and code points above U+10FFFF.
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    char32_t cp;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out += '?';
      ++i;
      continue;
    }
    // A bad sequence ends before the first byte that does not fit; that byte starts anew.
    size_t j = i + 1;
    bool complete = true;
    for (size_t k = 1; k < length; ++k, ++j) {
      if (j >= n) {
        complete = false;
        break;
      }
      const unsigned char b = static_cast<unsigned char>(utf8[j]);
      const bool fits = (k == 1) ? (b >= low && b <= high) : isContinuation(b);
      if (!fits) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    out += complete ? unicodeToWorking(cp) : '?';
    i = j;
  }
  return out;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF) cp = 0xFFFD;  // Out of range: the replacement character.
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

ShownText utf8ToShown(std::string_view utf8) {
  if (isAscii(utf8)) return {std::string(utf8), {}};
  ShownText shown{utf8ToWorking(utf8), {}};
  // Every character working text lacks became one '?', so more '?' than the UTF-8 holds
  // means a loss; malformed input counts as one too and keeps its bytes for the screen.
  const auto marks = [](std::string_view text) { return std::count(text.begin(), text.end(), '?'); };
  if (marks(shown.working) != marks(utf8)) shown.unicode.assign(utf8);
  return shown;
}

std::string ShownText::utf8() const { return unicode.empty() ? workingToUtf8(working) : unicode; }

std::string workingToUtf8(std::string_view working) {
  if (isAscii(working)) return std::string(working);
  std::string out;
  out.reserve(working.size() + working.size() / 2);
  for (char c : working) appendUtf8(out, workingToUnicode(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace sorvanta::text
