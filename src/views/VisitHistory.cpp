#include "views/VisitHistory.h"

namespace sorvanta::views {

void VisitHistory::visit(Visit visit) {
  if (!visits_.empty() && visits_[current_] == visit) return;
  if (!visits_.empty()) visits_.resize(current_ + 1);
  visits_.push_back(std::move(visit));
  if (visits_.size() > limit) visits_.erase(visits_.begin());
  current_ = visits_.size() - 1;
}

std::optional<Visit> VisitHistory::back() {
  if (!canGoBack()) return std::nullopt;
  return visits_[--current_];
}

std::optional<Visit> VisitHistory::forward() {
  if (!canGoForward()) return std::nullopt;
  return visits_[++current_];
}

void VisitHistory::clear() {
  visits_.clear();
  current_ = 0;
}

std::vector<std::string> relatedFrameNames(std::string_view cell) {
  std::vector<std::string> names;
  size_t from = 0;
  while (from <= cell.size()) {
    size_t end = cell.find(';', from);
    if (end == std::string_view::npos) end = cell.size();
    std::string_view name = cell.substr(from, end - from);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) names.emplace_back(name);
    from = end + 1;
  }
  return names;
}

}  // namespace sorvanta::views
