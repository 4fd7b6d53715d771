#pragma once
// The options sorvanta-explorer answers on the terminal before it opens any window.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sorvanta::shell {

// Answers --version and --help (the first argument only) on out and gives the exit status;
// gives nothing for any other command line, which then goes to Qt and the window.
std::optional<int> answerProgramOption(const std::vector<std::string>& args, std::ostream& out);

// "Program version 0.1.0": the about box's free label, beside its designed "Version 2.0".
std::string aboutVersionLine();

}  // namespace sorvanta::shell
