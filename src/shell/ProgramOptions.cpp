#include "shell/ProgramOptions.h"

#include "text/Version.h"

namespace sorvanta::shell {

std::optional<int> answerProgramOption(const std::vector<std::string>& args, std::ostream& out) {
  if (args.empty()) return std::nullopt;
  if (args[0] == "--version") {
    out << "sorvanta-explorer " << kVersion << "\n";
    return 0;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    out << "Usage: sorvanta-explorer [--help | --version] [QT OPTIONS]\n\n"
           "Opens the Sorvanta Explorer window on the release folder stored in the settings\n"
           "(~/.config/Quendry/XML.conf, or the folder SORVANTA_SETTINGS_DIR names); asks for\n"
           "the folder when none is stored. Qt's own options (-platform NAME, ...) are accepted.\n"
           "The command-line twin is sorvanta(1).\n";
    return 0;
  }
  return std::nullopt;
}

std::string aboutVersionLine() {
  return std::string("Program version ") + kVersion;
}

}  // namespace sorvanta::shell
