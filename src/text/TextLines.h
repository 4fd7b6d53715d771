#pragma once
// Line lists: ordered working-text lines saved with CR LF after every line.
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::text {

// Line list comparison: ASCII letters folded to upper case, then unsigned bytes; a prefix
// sorts first. Returns <0, 0 or >0.
int compareTextIgnoreCase(std::string_view a, std::string_view b);

class TextLines {
 public:
  void add(std::string line) { lines_.push_back(std::move(line)); }
  void clear() { lines_.clear(); }
  size_t size() const { return lines_.size(); }
  const std::string& operator[](size_t i) const { return lines_[i]; }
  const std::vector<std::string>& lines() const { return lines_; }

  // Every line followed by CR LF; an empty list gives an empty text.
  std::string text() const;
  // Splits at CR LF, lone CR or lone LF; a break at the end starts no further line.
  void setText(std::string_view bytes);

  // Replaces the file atomically; throws FileCreateError when it cannot be created.
  void saveToFile(std::string_view path) const;
  // False when the file cannot be read (the list is then left empty).
  bool loadFromFile(std::string_view path);

 private:
  std::vector<std::string> lines_;
};

// A line list kept in ascending compareTextIgnoreCase order that refuses a line equal,
// ignoring case, to one it holds (the first one added stays).
class SortedTextLines {
 public:
  // True when the line was added, false when an equal line was already held.
  bool add(std::string line);
  size_t size() const { return lines_.size(); }
  const std::string& operator[](size_t i) const { return lines_[i]; }
  const std::vector<std::string>& lines() const { return lines_; }
  std::string text() const;
  void saveToFile(std::string_view path) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace sorvanta::text
