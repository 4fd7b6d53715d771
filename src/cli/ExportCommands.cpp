// sorvanta export and split: annotation sets as JSON Lines or CoNLL, and reproducible splits.
#include <CLI/CLI.hpp>

#include <ostream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "exports/Export.h"
#include "lexicon/DataFolder.h"
#include "text/WorkingText.h"
#include "widgets/QtSettingsStore.h"

namespace sorvanta::cli {

namespace {

// Parses the command's own arguments; --help prints the command's help and gives true.
bool parseArguments(CLI::App& app, const CliContext& context) {
  std::vector<std::string> reversed(context.args.rbegin(), context.args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    context.out << app.help();
    return true;
  } catch (const CLI::ParseError& error) {
    throw UsageError{error.what()};
  }
  return false;
}

// The release folder as a file-system path: --data, else the folder the window stored.
bool releaseFolder(const CliContext& context, std::string& folder) {
  std::string working = context.dataFolder;
  if (working.empty()) working = widgets::QtSettingsStore().readString(lexicon::kLocationSetting);
  if (working.empty()) {
    context.err << "sorvanta: no data folder: give one with --data DIR (the folder holding "
                   "frXML/frames.xml), or start the window once to choose it.\n";
    return false;
  }
  folder = text::workingToUtf8(working);
  return true;
}

class TerminalProgress : public text::Progress {
 public:
  explicit TerminalProgress(TerminalLine& line) : line_(line) {}
  void stage(std::string_view what) override { stage_ = what; }
  void count(std::string_view counter, int64_t value, std::string_view) override {
    if (value % 100 == 0) line_.rewrite() << stage_ << ": " << counter << " " << value << std::flush;
  }

 private:
  TerminalLine& line_;
  std::string stage_;
};

// Prints the outcome's notices; the exit status for it.
int report(const CliContext& context, const text::Outcome& outcome) {
  for (const text::Notice& notice : outcome.notices)
    context.err << "sorvanta: " << (notice.severity == text::Severity::Warning ? "warning: " : "")
                << notice.text << "\n";
  if (outcome.status == text::Outcome::Status::Cancelled) return 130;
  return outcome.done() ? 0 : 1;
}

void addSelection(CLI::App& app, exports::Selection& selection) {
  app.add_option("--frame", selection.frames, "Only the lexical units of frame NAME (repeatable)")
      ->type_name("NAME")
      ->allow_extra_args(false);
  app.add_option("--lu", selection.lexicalUnits, "And the lexical unit with ID LUID (repeatable)")
      ->type_name("LUID")
      ->allow_extra_args(false);
}

exports::Format formatNamed(const std::string& name) {
  return name == "conll" ? exports::Format::Conll : exports::Format::Jsonl;
}

}  // namespace

int runExportCommand(CliContext& context) {
  CLI::App app(
      "Writes every annotation set (or those of the given frames and lexical units) as JSON "
      "Lines (one object per set) or CoNLL (one token per line, a blank line between sets), "
      "lexical units in frames-document order, sentences in document order. Offsets count "
      "Unicode code points, end exclusive. A label outside its sentence is left out with a "
      "warning on stderr. --frame and --lu together select the units of both. Without --out "
      "the sets go to stdout. See docs/exports.md.",
      "sorvanta export");
  exports::ExportRequest request;
  std::string format;
  app.add_option("--format", format, "jsonl or conll")->required()->check(CLI::IsMember({"jsonl", "conll"}));
  addSelection(app, request.selection);
  app.add_option("--out", request.outFile, "Write to FILE (replaced once complete) instead of stdout")
      ->type_name("FILE");
  app.add_option("--index", request.indexFile, "The index file (default: the release's index in the cache folder)")
      ->type_name("FILE");
  if (parseArguments(app, context)) return 0;
  request.format = formatNamed(format);
  if (!releaseFolder(context, request.releaseFolder)) return 1;
  exports::ExportReport result;
  text::Outcome outcome;
  {
    TerminalLine line(context);
    TerminalProgress terminal(line);
    outcome = exports::exportAnnotations(request, &context.out, result,
                                         line.enabled() ? terminal : text::noProgress());
  }
  const int status = report(context, outcome);
  if (status != 0) return status;
  if (request.outFile.empty()) {
    context.err << "sorvanta: " << result.sets << " annotation sets written; "
                << outcome.warningCount() << " warnings\n";
  } else {
    context.out << "Written:\t" << request.outFile << "\n";
    context.out << "Annotation sets:\t" << result.sets << "\n";
    context.out << "Warnings:\t" << outcome.warningCount() << "\n";
  }
  return 0;
}

}  // namespace sorvanta::cli
