#include "derived/OutputName.h"

namespace sorvanta::derived {

std::string outputNameProblem(std::string_view what, std::string_view name) {
  std::string reason;
  if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos)
    reason = "a path separator";
  else if (name.find("..") != std::string_view::npos)
    reason = "\"..\"";
  for (unsigned char c : name)
    if (reason.empty() && (c < 0x20 || c == 0x7F)) reason = "a control character";
  if (reason.empty()) return {};
  return std::string(what) + " name \"" + std::string(name) + "\" holds " + reason +
         " and cannot name a file in the data folder.";
}

}  // namespace sorvanta::derived
