#pragma once
// Vectorised scanning loops of the decoder and the parser. The parser's buffers end with
// kScanPadding zero bytes, so the scans may read a whole vector past the terminating NUL.
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sorvanta::xml {

constexpr size_t kScanPadding = 32;

// Whether XML 1.0 allows the character in a document.
inline bool allowedXmlChar(char32_t c) {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  if (c <= 0xD7FF) return true;
  if (c < 0xE000) return false;
  if (c <= 0xFFFD) return true;
  return c >= 0x10000 && c <= 0x10FFFF;
}

// Length of the prefix of [p, end) made of ASCII bytes that are printable, tabs or line
// feeds: the bytes the decoder passes through unchanged.
inline size_t plainAsciiPrefix(const char* p, const char* end) {
  const char* const start = p;
#if defined(__SSE2__)
  const __m128i limit = _mm_set1_epi8(0x1F);
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i tab = _mm_set1_epi8('\t');
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit);
    __m128i allowed = _mm_or_si128(_mm_cmpeq_epi8(v, lineFeed), _mm_cmpeq_epi8(v, tab));
    int bad = _mm_movemask_epi8(_mm_andnot_si128(allowed, control)) | _mm_movemask_epi8(v);
    if (bad) return static_cast<size_t>(p - start) + static_cast<size_t>(__builtin_ctz(bad));
    p += 16;
  }
#endif
  while (p < end) {
    auto c = static_cast<unsigned char>(*p);
    if (c >= 0x80 || (c < 0x20 && c != '\n' && c != '\t')) break;
    ++p;
  }
  return static_cast<size_t>(p - start);
}

// The first byte at or after p that is "<", "&", a control character (NUL included) or the
// first of two spaces: character data before it needs no normalisation except a single
// space just before it. Needs the padding after the terminating NUL.
inline const char* skipCleanText(const char* p) {
#if defined(__SSE2__)
  const __m128i limit = _mm_set1_epi8(0x1F);
  const __m128i less = _mm_set1_epi8('<');
  const __m128i amp = _mm_set1_epi8('&');
  const __m128i space = _mm_set1_epi8(' ');
  for (;;) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    __m128i stop = _mm_or_si128(_mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit),
                                _mm_or_si128(_mm_cmpeq_epi8(v, less), _mm_cmpeq_epi8(v, amp)));
    __m128i doubleSpace = _mm_and_si128(_mm_cmpeq_epi8(v, space), _mm_cmpeq_epi8(next, space));
    int mask = _mm_movemask_epi8(_mm_or_si128(stop, doubleSpace));
    if (mask) return p + __builtin_ctz(mask);
    p += 16;
  }
#else
  for (;; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == '<' || c == '&' || (c == ' ' && p[1] == ' ')) return p;
  }
#endif
}

// The first byte at or after p that is not XML white space. Needs the padding.
inline char* skipWhiteSpace(char* p) {
#if defined(__SSE2__)
  const __m128i space = _mm_set1_epi8(' ');
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  for (;;) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i white = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, space), _mm_cmpeq_epi8(v, lineFeed)),
                                 _mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, carriageReturn)));
    int mask = ~_mm_movemask_epi8(white) & 0xFFFF;
    if (mask) return p + __builtin_ctz(mask);
    p += 16;
  }
#else
  while (*p == ' ' || *p == '\n' || *p == '\t' || *p == '\r') ++p;
  return p;
#endif
}

// The first byte at or after p that ends plain attribute text: a quote, "&", "<" or a
// control character (NUL and the white space that becomes a space included).
inline char* skipPlainAttributeText(char* p) {
#if defined(__SSE2__)
  const __m128i limit = _mm_set1_epi8(0x1F);
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i apostrophe = _mm_set1_epi8('\'');
  const __m128i amp = _mm_set1_epi8('&');
  const __m128i less = _mm_set1_epi8('<');
  for (;;) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i stop = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit), _mm_cmpeq_epi8(v, quote)),
        _mm_or_si128(_mm_cmpeq_epi8(v, apostrophe),
                     _mm_or_si128(_mm_cmpeq_epi8(v, amp), _mm_cmpeq_epi8(v, less))));
    int mask = _mm_movemask_epi8(stop);
    if (mask) return p + __builtin_ctz(mask);
    p += 16;
  }
#else
  for (;; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == '"' || c == '\'' || c == '&' || c == '<') return p;
  }
#endif
}

}  // namespace sorvanta::xml
