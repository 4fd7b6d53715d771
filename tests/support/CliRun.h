#pragma once
// Runs the command line in process and keeps what it printed.
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace sorvanta::testing {

struct CliOutput {
  int status;
  std::string out;
  std::string err;
};

inline CliOutput runCommandLine(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = sorvanta::cli::runCli(args, out, err);
  return {status, out.str(), err.str()};
}

// The same with "--data folder" in front.
inline CliOutput runOn(const std::string& folder, std::vector<std::string> args) {
  args.insert(args.begin(), {"--data", folder});
  return runCommandLine(args);
}

}  // namespace sorvanta::testing
