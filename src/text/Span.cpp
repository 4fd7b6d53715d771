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

}  // namespace sorvanta::text
