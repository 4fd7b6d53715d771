#pragma once
// What every command of the command line gets and returns.
#include <iosfwd>
#include <string>
#include <vector>

namespace sorvanta::cli {

struct CliContext {
  std::vector<std::string> args;  // the command's own arguments, UTF-8
  std::ostream& out;
  std::ostream& err;
};

// Thrown for a command line that does not fit the command's usage.
struct UsageError {
  std::string message;
};

struct CliCommand {
  const char* name;
  const char* usage;
  const char* summary;
  int (*run)(CliContext& context);
};

int runQueryCommand(CliContext& context);

}  // namespace sorvanta::cli
