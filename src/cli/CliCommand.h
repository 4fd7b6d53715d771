#pragma once
// What every command of the command line gets and returns.
#include <initializer_list>
#include <iosfwd>
#include <string_view>
#include <string>
#include <vector>

namespace sorvanta::cli {

struct CliContext {
  std::vector<std::string> args;  // the command's own arguments, UTF-8
  std::ostream& out;
  std::ostream& err;
  std::string dataFolder;  // from --data, working text; empty: the stored folder
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

// Writes one record: the cells (working text) in UTF-8, separated by tabs, ending the line.
void writeRecord(std::ostream& out, std::initializer_list<std::string_view> cells);

// The value of "--sort C" among args (removed from them), or -1 without one; C must name one
// of columnCount columns.
int takeSortColumn(std::vector<std::string>& args, int columnCount);

int runQueryCommand(CliContext& context);
int runFramesCommand(CliContext& context);
int runLexUnitsCommand(CliContext& context);
int runFesCommand(CliContext& context);
int runTotalsCommand(CliContext& context);
int runFrameCommand(CliContext& context);
int runFeCommand(CliContext& context);
int runLuCommand(CliContext& context);
int runSentenceFesCommand(CliContext& context);
int runSampleCommand(CliContext& context);
int runFrameFilesCommand(CliContext& context);
int runSubcorporaCommand(CliContext& context);
int runRealizationsCommand(CliContext& context);
int runDictionariesCommand(CliContext& context);
int runGraphCommand(CliContext& context);
int runFeLineageCommand(CliContext& context);

}  // namespace sorvanta::cli
