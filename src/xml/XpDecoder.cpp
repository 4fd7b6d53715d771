#include "xml/XpDecoder.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/WorkingText.h"
#include "xml/XpScan.h"

namespace sorvanta::xml {

namespace {

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The encoding named by an XML declaration at the start of text, or empty.
std::string_view declaredEncoding(std::string_view text) {
  if (text.size() < 6 || text.substr(0, 5) != "<?xml" || !isXmlSpace(text[5])) return {};
  size_t i = 5;
  while (i < text.size()) {
    while (i < text.size() && isXmlSpace(text[i])) ++i;
    size_t nameStart = i;
    while (i < text.size() && ((text[i] >= 'a' && text[i] <= 'z') || text[i] == '-')) ++i;
    std::string_view name = text.substr(nameStart, i - nameStart);
    if (name.empty()) return {};
    while (i < text.size() && isXmlSpace(text[i])) ++i;
    if (i >= text.size() || text[i] != '=') return {};
    ++i;
    while (i < text.size() && isXmlSpace(text[i])) ++i;
    if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return {};
    char quote = text[i++];
    size_t valueStart = i;
    while (i < text.size() && text[i] != quote && text[i] != '>') ++i;
    if (i >= text.size() || text[i] != quote) return {};
    if (name == "encoding") return text.substr(valueStart, i - valueStart);
    ++i;
  }
  return {};
}

std::string latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Transcodes UTF-16 to UTF-8 (line ends not folded yet). On failure out holds the characters
// before the failing one.
bool utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out, XpParseResult& failure) {
  out.clear();
  out.reserve(bytes.size());
  auto unit = [&](size_t i) -> char32_t {
    auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  const auto fail = [&failure](const char* what) {
    failure.status = XpParseStatus::BadEncoding;
    failure.description = what;
    return false;
  };
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF) {
      char32_t low = i + 3 < bytes.size() ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return fail("unpaired surrogate in UTF-16 input");
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return fail("unpaired surrogate in UTF-16 input");
    }
    text::appendUtf8(out, c);
  }
  if (bytes.size() % 2) return fail("UTF-16 input ends in the middle of a character");
  return true;
}

// Validates UTF-8 in [p, end) and folds line ends, compacting in place. Returns the new
// end, or nullptr with failure set and decodedEnd where the text decoded so far ends.
char* validateAndFold(char* p, char* end, XpParseResult& failure, char*& decodedEnd) {
  char* w = p;
  while (p < end) {
    // Bytes that pass unchanged, taken a vector at a time.
    if (size_t plain = plainAsciiPrefix(p, end)) {
      if (w != p) std::memmove(w, p, plain);
      w += plain;
      p += plain;
      if (p == end) break;
    }
    auto c = static_cast<unsigned char>(*p);
    if (c < 0x80) {
      if (c >= 0x20 || c == '\t' || c == '\n') {
        *w++ = static_cast<char>(c);
        ++p;
      } else if (c == '\r') {
        *w++ = '\n';
        ++p;
        if (p < end && *p == '\n') ++p;
      } else {
        failure.status = XpParseStatus::BadCharacter;
        failure.description = "character not allowed in XML (code " + std::to_string(c) + ")";
        decodedEnd = w;
        return nullptr;
      }
      continue;
    }
    int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    char32_t cp = length == 4 ? c & 0x07 : length == 3 ? c & 0x0F : c & 0x1F;
    bool valid = length > 0 && c < 0xF5 && end - p >= length;
    for (int i = 1; valid && i < length; ++i) {
      auto next = static_cast<unsigned char>(p[i]);
      valid = (next & 0xC0) == 0x80;
      cp = cp << 6 | (next & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    // An overlong form is malformed, not the character it would stand for.
    const bool wellFormed = valid && cp >= kMinimum[length];
    if (!wellFormed || !allowedXmlChar(cp)) {
      failure.status = wellFormed ? XpParseStatus::BadCharacter : XpParseStatus::BadEncoding;
      failure.description = wellFormed
                                ? "character not allowed in XML (code " + std::to_string(cp) + ")"
                                : "malformed UTF-8";
      decodedEnd = w;
      return nullptr;
    }
    for (int i = 0; i < length; ++i) *w++ = *p++;
  }
  return w;
}

}  // namespace

bool decodeInput(std::string& bytes, DecodedInput& result, XpParseResult& failure,
                 size_t& decodedEnd) {
  decodedEnd = 0;
  if (bytes.size() >= 0xFFFFFFF0u) {
    failure.status = XpParseStatus::TooLarge;
    failure.description = "document too large";
    bytes.clear();
    return false;
  }
  auto byteAt = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  result = DecodedInput{};
  size_t bomLength = 0;
  if (bytes.size() >= 2 && (byteAt(0) == 0xFE && byteAt(1) == 0xFF)) {
    result.encoding = ceUTF16BE;
    bomLength = 2;
  } else if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
    result.encoding = ceUTF16LE;
    bomLength = 2;
  } else if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
    bomLength = 3;
  }

  if (result.encoding == ceUTF16BE || result.encoding == ceUTF16LE) {
    std::string utf8;
    const bool transcoded =
        utf16ToUtf8(std::string_view(bytes).substr(2), result.encoding == ceUTF16BE, utf8, failure);
    bytes = std::move(utf8);
    if (!transcoded) {
      decodedEnd = bytes.size();
      return false;
    }
  } else {
    std::string_view body = std::string_view(bytes).substr(bomLength);
    if (equalsIgnoreAsciiCase(declaredEncoding(body), "ISO-8859-1")) {
      result.encoding = ceISO88591;
      bytes = latin1ToUtf8(body);
    } else {
      result.begin = bomLength;
    }
  }

  char* begin = bytes.data() + result.begin;
  char* stopped = nullptr;
  char* end = validateAndFold(begin, bytes.data() + bytes.size(), failure, stopped);
  if (!end) {
    decodedEnd = static_cast<size_t>(stopped - bytes.data());
    return false;
  }
  bytes.resize(static_cast<size_t>(end - bytes.data()));
  return true;
}

}  // namespace sorvanta::xml
