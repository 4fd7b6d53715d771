#include "cli/Cli.h"

#include <ostream>

#include "cli/CliCommand.h"
#include "text/Errors.h"

namespace sorvanta::cli {

namespace {

const CliCommand kCommands[] = {
    {"query", "query FILE EXPR [--attr NAME | --count | --integer]",
     "Evaluates a path expression from the document element of FILE and prints one line per "
     "selected node (its text, or the attribute NAME), the count, or the integer value.",
     runQueryCommand},
};

void printHelp(std::ostream& out) {
  out << "Usage: sorvanta COMMAND [ARGUMENTS]\n\n"
         "Sorvanta Explorer on the command line: browses a frame-semantic lexical database\n"
         "release and writes the data sets derived from it.\n\nCommands:\n";
  for (const CliCommand& command : kCommands)
    out << "  " << command.usage << "\n      " << command.summary << "\n";
  out << "  --help\n      Shows this text.\n";
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printHelp(args.empty() ? err : out);
    return args.empty() ? 2 : 0;
  }
  for (const CliCommand& command : kCommands) {
    if (args[0] != command.name) continue;
    CliContext context{std::vector<std::string>(args.begin() + 1, args.end()), out, err};
    try {
      return command.run(context);
    } catch (const UsageError& usage) {
      err << "sorvanta " << command.name << ": " << usage.message << "\nUsage: sorvanta "
          << command.usage << "\n";
      return 2;
    } catch (const text::RuntimeError& error) {
      err << error.what() << "\n";
      return 1;
    }
  }
  err << "sorvanta: unknown command '" << args[0] << "' (see sorvanta --help)\n";
  return 2;
}

}  // namespace sorvanta::cli
