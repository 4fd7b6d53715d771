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

// "Sorvanta 0.1.0 - frame-semantic lexicon browser": the about box's free label.
std::string aboutVersionLine();

}  // namespace sorvanta::shell
