#pragma once
// Progress of a long command on the terminal: one line rewritten in place and ended when the
// command ends. Only when the error stream is the process's own and a terminal, so redirected
// output stays free of it.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Progress.h"

namespace sorvanta::cli {

class TerminalLine {
 public:
  explicit TerminalLine(std::ostream& err);
  ~TerminalLine();
  TerminalLine(const TerminalLine&) = delete;
  TerminalLine& operator=(const TerminalLine&) = delete;

  // Whether progress is shown at all.
  bool enabled() const { return enabled_; }
  // Starts rewriting the line; the caller then writes the text to stream().
  std::ostream& rewrite();
  // Prints a finished line of its own (the line in progress is ended first).
  std::ostream& newLine();

 private:
  std::ostream& err_;
  bool enabled_;
  bool open_ = false;
};

// Every command's progress on the terminal line: the counters so far as "Counter: value",
// rewritten in place; a count that names an item ("3: Placing") and a stage get lines of
// their own. The cancel flag is the run's.
class TerminalProgress : public text::Progress {
 public:
  explicit TerminalProgress(TerminalLine& line) : line_(line) {}
  void count(std::string_view counter, int64_t value, std::string_view item) override;
  void stage(std::string_view what) override;

 private:
  TerminalLine& line_;
  std::vector<std::pair<std::string, int64_t>> counters_;  // in the order first reported
};

}  // namespace sorvanta::cli
