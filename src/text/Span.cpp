#include "text/Span.h"

namespace sorvanta::text {

std::string spanOf(std::string_view text, long long start, long long end) {
  const long long size = static_cast<long long>(text.size());
  if (start < 0 || start >= size || end < start) return {};
  // end - start cannot overflow (start >= 0); compare before adding one.
  const long long available = size - start;
  const long long count = (end - start >= available) ? available : end - start + 1;
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
}

std::string utf8SpanOf(std::string_view utf8, long long start, long long end) {
  if (start < 0 || end < start) return {};
  // Byte offset where code point `at` begins: lead bytes are those that are not 10xxxxxx.
  size_t from = utf8.size();
  size_t to = utf8.size();
  long long at = -1;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    ++at;
    if (at == start) from = i;
    if (at == end + 1) {
      to = i;
      break;
    }
  }
  if (from >= utf8.size()) return {};
  return std::string(utf8.substr(from, to - from));
}

}  // namespace sorvanta::text
