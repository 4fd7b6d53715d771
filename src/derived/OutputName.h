#pragma once
// Names taken from documents or controls that become parts of output file names.
#include <string>
#include <string_view>

namespace sorvanta::derived {

// Why name cannot be part of a file name in the data folder (it holds a path separator, "..",
// or a control character), or empty text when it can. what says what the name is ("Frame").
std::string outputNameProblem(std::string_view what, std::string_view name);

}  // namespace sorvanta::derived
