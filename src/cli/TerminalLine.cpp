#include "cli/TerminalLine.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "text/WorkingText.h"

namespace sorvanta::cli {

TerminalLine::TerminalLine(std::ostream& err)
    : err_(err), enabled_(&err == &std::cerr && isatty(STDERR_FILENO) == 1) {}

TerminalLine::~TerminalLine() {
  if (open_) err_ << "\n" << std::flush;
}

std::ostream& TerminalLine::rewrite() {
  open_ = true;
  return err_ << "\r";
}

std::ostream& TerminalLine::newLine() {
  if (open_) err_ << "\n";
  open_ = false;
  return err_;
}

void TerminalProgress::count(std::string_view counter, int64_t value, std::string_view item) {
  if (!line_.enabled()) return;
  if (!item.empty()) {
    line_.newLine() << value << ": " << text::workingToUtf8(item) << "\n";
    return;
  }
  auto found = std::find_if(counters_.begin(), counters_.end(),
                            [&](const auto& shown) { return shown.first == counter; });
  if (found == counters_.end())
    counters_.emplace_back(counter, value);
  else
    found->second = value;
  std::ostream& out = line_.rewrite();
  for (size_t i = 0; i < counters_.size(); ++i)
    out << (i ? "  " : "") << counters_[i].first << ": " << counters_[i].second;
  out << std::flush;
}

void TerminalProgress::stage(std::string_view what) {
  if (line_.enabled()) line_.newLine() << text::workingToUtf8(what) << "\n";
}

}  // namespace sorvanta::cli
