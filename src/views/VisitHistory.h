#pragma once
// Back and Forward through the frames and lexical units the user visited in the window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::views {

struct Visit {
  enum class Kind { Frame, LexUnit };
  Kind kind = Kind::Frame;
  std::string key;  // frame name, or the lexical unit's ID (working text)
  bool operator==(const Visit&) const = default;
};

class VisitHistory {
 public:
  // A new visit drops the visits ahead of the current one; visiting the current one again
  // changes nothing. The oldest visits go beyond `limit`.
  void visit(Visit visit);
  // The visit to show, moving the current position; none at either end.
  std::optional<Visit> back();
  std::optional<Visit> forward();
  bool canGoBack() const { return current_ > 0; }
  bool canGoForward() const { return current_ + 1 < visits_.size(); }
  void clear();

  static constexpr size_t limit = 200;

 private:
  std::vector<Visit> visits_;
  size_t current_ = 0;  // meaningful when visits_ is not empty
};

// The frame names of a relation cell ("A; B; C"), in order, without empty entries.
std::vector<std::string> relatedFrameNames(std::string_view cell);

}  // namespace sorvanta::views
