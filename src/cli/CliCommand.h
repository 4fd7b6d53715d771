#pragma once
// What every command of the command line declares, gets and returns.
//
// A command is one entry of the table in Cli.cpp: {name, usage, summary, needs, declare}.
// `declare` receives the command's CommandLine (its CLI11 subcommand), declares the options
// and arguments there, adds the checks that refuse a wrong command line, and returns the
// function that runs the command with the values CLI11 parsed:
//
//   CommandRun declareTotals(CommandLine& line) {
//     CLI::Option* sort = line.value("--sort", "a column number");  // "--sort V", "--sort=V"
//     CLI::Option* all = line.flag("--all");                         // count() times given
//     line.check([&line] { line.rejectExtras(); });                  // throw UsageError{...}
//     return [=](CliContext& context) {
//       const lexicon::FramesIndex& index = context.release().index();
//       ...                                                          // print with writeRecord
//       return 0;
//     };
//   }
//
// The dispatcher parses the whole command line once (`sorvanta [--data DIR] COMMAND ...`),
// answers `COMMAND --help`, runs the checks (a UsageError exits 2 with the command's usage),
// resolves the data folder and opens the release as `needs` asks (a failure exits 1 with its
// message), then runs the command. A command reports what happened through its text::Outcome
// (finish with `return report(context, outcome)`) and its progress through
// context.progress(); text::RuntimeError thrown out of a command exits 1 with its message.
#include <CLI/CLI.hpp>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/ReleaseFolder.h"
#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::cli {

class ReleaseSession;

// What a command needs before it runs.
enum class Needs {
  Nothing,  // works on files named on its command line
  FolderIfKnown,  // the data folder when one is given or stored, else none (the command checks)
  Folder,   // the data folder, not read
  Release,  // the data folder with the frames document loaded and its frames index filled
};

struct CliContext {
  std::ostream& out;
  std::ostream& err;
  lexicon::ReleaseFolder folder;      // Needs::Folder and Needs::Release
  ReleaseSession* session = nullptr;  // Needs::Release
  text::Progress* progressSink = nullptr;
  // The whole command line as typed (UTF-8), without the program name: manifests record it.
  std::vector<std::string> commandLine;
  // --strict of a command that reads many documents: a warning makes the run fail (exit 1).
  bool strict = false;

  ReleaseSession& release() const { return *session; }
  // Progress on the terminal (nothing when stderr is not one); its cancel flag is the run's.
  text::Progress& progress() const { return *progressSink; }
};

// Thrown for a command line that does not fit the command's usage.
struct UsageError {
  std::string message;
};

using CommandRun = std::function<int(CliContext& context)>;

// One command's part of the command line, parsed by CLI11. Words that are not options go to
// arguments(); what CLI11 does not recognise (an unknown "--option", a "-x") to extras().
class CommandLine {
 public:
  explicit CommandLine(CLI::App& app);
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // An option taking one value; it may be given more than once (results() holds every value).
  // A missing value is reported as "NAME needs " + needs.
  CLI::Option* value(const std::string& name, std::string needs = "a value");
  // A value option that takes one of choices. A missing value is reported as "NAME needs a, b
  // or c", another value by the checks as "NAME needs one of a|b|c".
  CLI::Option* choice(const std::string& name, std::vector<std::string> choices);
  // A flag; count() says how often it was given.
  CLI::Option* flag(const std::string& name);
  // Checks run after parsing, before the data folder is read; they throw UsageError.
  void check(std::function<void()> check) { checks_.push_back(std::move(check)); }

  const std::vector<std::string>& arguments() const { return arguments_; }
  std::vector<std::string> extras() const { return app_.remaining(); }
  // arguments() followed by extras(): for commands whose words may start with '-'.
  std::vector<std::string> words() const;
  // Throws "unexpected argument 'W'" for the first word or extra, if any.
  void rejectExtras() const;

  // The last value of a value option as working text, or none when it was not given.
  static std::optional<std::string> last(const CLI::Option* option);

  bool helpWanted() const { return help_->count() > 0; }
  void runChecks() const;
  // "NAME needs ..." for an option whose value was missing, or none for an unknown name.
  std::optional<std::string> missingValueMessage(const std::string& name) const;

 private:
  CLI::App& app_;
  CLI::Option* help_;
  std::vector<std::string> arguments_;
  std::map<std::string, std::string> needs_;
  std::vector<std::function<void()>> checks_;
};

struct CliCommand {
  const char* name;
  const char* usage;
  const char* summary;
  Needs needs;
  CommandRun (*declare)(CommandLine& line);
  // More for COMMAND --help (the JSON shape, what is printed), or none.
  const char* details = nullptr;
};

// What every message on stderr starts with.
inline constexpr std::string_view kMessagePrefix = "sorvanta: ";

// The last value of a value option as typed (UTF-8: file names and queries keep every
// character), or fallback when it was not given.
std::string typed(const CLI::Option* option, std::string fallback = {});

// Writes one record: the cells (working text) in UTF-8, separated by tabs, ending the line.
void writeRecord(std::ostream& out, std::initializer_list<std::string_view> cells);
void writeRecord(std::ostream& out, const std::vector<std::string>& cells);
// One record "Written:" + path for each file the outcome lists.
void writeFilesWritten(std::ostream& out, const text::Outcome& outcome);
// How every command that writes files ends: unless the outcome was refused (nothing written),
// a "Written:" record per file and "Warnings:" with the number of warnings (the outcome's and
// extraWarnings said on stderr by the command itself) on stdout; then report(context, outcome).
int finishWriting(const CliContext& context, const text::Outcome& outcome, int extraWarnings = 0);

// Says on stderr what the outcome's notices say, then "sorvanta: N warnings" when there were
// any, and gives the exit status: 1 refused, done with an error, or (with --strict) done with a
// warning; 130 cancelled; else 0. A notice under the program's own caption is printed as its
// text; one under another caption as "caption: text".
int report(const CliContext& context, const text::Outcome& outcome);

// The options of a command that writes into the data folder: --no-wait, and --strict for the
// commands that read many documents and warn about those they skip.
struct WriteOptions {
  CLI::Option* noWait = nullptr;
  CLI::Option* strict = nullptr;  // none: the command has no --strict
};
WriteOptions declareWriteOptions(CommandLine& line, bool withStrict);

// --jobs N of the commands that read many documents: the worker threads parsing them, from 1
// to kMaxJobs; not given, every core. The outputs are the same for any number. jobsValue is
// the number once the line is checked (0: every core).
inline constexpr unsigned kMaxJobs = 256;
CLI::Option* declareJobs(CommandLine& line);
unsigned jobsValue(const CLI::Option* jobs);

// Runs write holding the data folder's lock (text::FolderLock) for its whole run. When another
// command holds it: says "Another command is writing into FOLDER" and waits, or with --no-wait
// refuses (exit 1); a wait cancelled by a signal exits 130.
int runWriting(CliContext& context, const WriteOptions& options, const std::function<int()>& write);

CommandRun declareQuery(CommandLine& line);
CommandRun declareFrames(CommandLine& line);
CommandRun declareLexUnits(CommandLine& line);
CommandRun declareFes(CommandLine& line);
CommandRun declareTotals(CommandLine& line);
CommandRun declareFrame(CommandLine& line);
CommandRun declareFe(CommandLine& line);
CommandRun declareLu(CommandLine& line);
CommandRun declareSentenceFes(CommandLine& line);
CommandRun declareSample(CommandLine& line);
CommandRun declareFrameFiles(CommandLine& line);
CommandRun declareSubcorpora(CommandLine& line);
CommandRun declareRealizations(CommandLine& line);
CommandRun declareDictionaries(CommandLine& line);
CommandRun declareIndex(CommandLine& line);
CommandRun declareSearch(CommandLine& line);
CommandRun declareSql(CommandLine& line);
CommandRun declareCheck(CommandLine& line);
CommandRun declareDiff(CommandLine& line);
CommandRun declareValence(CommandLine& line);
CommandRun declareReport(CommandLine& line);
CommandRun declareExport(CommandLine& line);
CommandRun declareSplit(CommandLine& line);
CommandRun declareGraph(CommandLine& line);
CommandRun declareFeLineage(CommandLine& line);
// The longer help of graph and fe-lineage.
extern const char* const kGraphDetails;
extern const char* const kFeLineageDetails;

}  // namespace sorvanta::cli
