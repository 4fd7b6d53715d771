#include "derived/OutputName.h"

#include <cctype>

#include "text/MessageText.h"
#include "text/WorkingText.h"

namespace sorvanta::derived {

std::string outputNameProblem(std::string_view what, std::string_view name, size_t affixBytes) {
  if (name.empty()) {
    std::string lower(what);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "An empty " + lower + " name cannot name a file in the data folder.";
  }
  std::string reason;
  if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos)
    reason = "a path separator";
  else if (name.find("..") != std::string_view::npos)
    reason = "\"..\"";
  for (unsigned char c : name)
    if (reason.empty() && text::isControlCharacter(c)) reason = "a control character";
  const std::string quoted = std::string(what) + " name " + text::quotedText(name);
  if (!reason.empty())
    return quoted + " holds " + reason + " and cannot name a file in the data folder.";
  if (text::workingToUtf8(name).size() + affixBytes > kMaxFileNameBytes)
    return quoted + " is too long: its file names would exceed " +
           std::to_string(kMaxFileNameBytes) + " bytes.";
  return {};
}

}  // namespace sorvanta::derived
