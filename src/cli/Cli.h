#pragma once
// The command-line front end: dispatches "sorvanta <command> ..." to the command functions.
#include <iosfwd>
#include <string>
#include <vector>

namespace sorvanta::cli {

// Runs one command line (arguments in UTF-8, without the program name) and returns the
// exit status: 0 success, 1 failure, 2 wrong usage.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sorvanta::cli
