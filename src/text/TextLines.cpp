#include "text/TextLines.h"

#include <algorithm>
#include <cstring>

#include "text/FileIO.h"

namespace sorvanta::text {

namespace {

unsigned char foldAscii(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - ('a' - 'A')) : b;
}

std::string joinLines(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace

int compareTextIgnoreCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  // Sorted lines share long prefixes: skip equal bytes eight at a time (equal bytes fold alike).
  size_t i = 0;
  while (i + 8 <= common && std::memcmp(a.data() + i, b.data() + i, 8) == 0) i += 8;
  for (; i < common; ++i) {
    const unsigned char x = foldAscii(a[i]);
    const unsigned char y = foldAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string TextLines::text() const { return joinLines(lines_); }

void TextLines::setText(std::string_view bytes) {
  lines_.clear();
  const size_t n = bytes.size();
  size_t begin = 0;
  size_t i = 0;
  while (i < n) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines_.emplace_back(bytes.substr(begin, i - begin));
    i += (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
    begin = i;
  }
  if (begin < n) lines_.emplace_back(bytes.substr(begin));
}

void TextLines::saveToFile(std::string_view path) const { writeFileAtomically(path, text()); }

bool TextLines::loadFromFile(std::string_view path) {
  std::string bytes;
  if (!readWholeFile(path, bytes)) {
    lines_.clear();
    return false;
  }
  setText(bytes);
  return true;
}

bool SortedTextLines::add(std::string line) {
  // Lines arriving in order (a merge of sorted lists) go to the end after one comparison.
  if (lines_.empty() || compareTextIgnoreCase(lines_.back(), line) < 0) {
    lines_.push_back(std::move(line));
    return true;
  }
  const auto at = std::lower_bound(lines_.begin(), lines_.end(), line,
                                   [](const std::string& held, const std::string& wanted) {
                                     return compareTextIgnoreCase(held, wanted) < 0;
                                   });
  if (at != lines_.end() && compareTextIgnoreCase(*at, line) == 0) return false;
  lines_.insert(at, std::move(line));
  return true;
}

std::string SortedTextLines::text() const { return joinLines(lines_); }

void SortedTextLines::saveToFile(std::string_view path) const { writeFileAtomically(path, text()); }

}  // namespace sorvanta::text
