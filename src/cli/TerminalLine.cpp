#include "cli/TerminalLine.h"

#include <unistd.h>

#include <iostream>

namespace sorvanta::cli {

TerminalLine::TerminalLine(const CliContext& context)
    : err_(context.err), enabled_(&context.err == &std::cerr && isatty(STDERR_FILENO) == 1) {}

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

}  // namespace sorvanta::cli
