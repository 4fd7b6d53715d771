#pragma once
// Progress of a long command on the terminal: one line rewritten in place and ended when the
// command ends. Only when the error stream is the process's own and a terminal, so redirected
// output stays free of it.
#include <ostream>
#include <string_view>

#include "cli/CliCommand.h"

namespace sorvanta::cli {

class TerminalLine {
 public:
  explicit TerminalLine(const CliContext& context);
  ~TerminalLine();
  TerminalLine(const TerminalLine&) = delete;
  TerminalLine& operator=(const TerminalLine&) = delete;

  // Whether progress is shown at all; commands pass no progress sink when it is not.
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

}  // namespace sorvanta::cli
