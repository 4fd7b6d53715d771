// sorvanta index, search and sql: the release index on the command line.
#include <CLI/CLI.hpp>

#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "index/ReleaseIndex.h"
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

class TerminalIndexProgress : public text::Progress {
 public:
  explicit TerminalIndexProgress(TerminalLine& line) : line_(line) {}
  void stage(std::string_view what) override { stage_ = what; }
  void count(std::string_view, int64_t value, std::string_view) override {
    if (value % 100 == 0) line_.rewrite() << stage_ << ": " << value << std::flush;
  }

 private:
  TerminalLine& line_;
  std::string stage_;
};

// Brings the index up to date; false with the message on stderr when it cannot.
bool ensureIndex(const CliContext& context, index::IndexOptions& options, index::IndexReport& report) {
  text::Outcome outcome;
  {
    TerminalLine line(context);
    TerminalIndexProgress terminal(line);
    outcome = index::updateIndex(options, report, line.enabled() ? terminal : text::noProgress());
  }
  for (const text::Notice& notice : outcome.notices) context.err << "sorvanta: " << notice.text << "\n";
  return outcome.done();
}

}  // namespace

int runIndexCommand(CliContext& context) {
  CLI::App app("Builds or refreshes the release index and prints what it did.", "sorvanta index");
  index::IndexOptions options;
  app.add_flag("--rebuild", options.rebuild, "Build the index from scratch");
  app.add_option("--index", options.indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  if (parseArguments(app, context)) return 0;
  if (!releaseFolder(context, options.releaseFolder)) return 1;
  options.verify = true;
  index::IndexReport report;
  if (!ensureIndex(context, options, report)) return 1;
  const index::IndexCounts counts = index::countRows(report.indexFile);
  std::ostream& out = context.out;
  out << "Index:\t" << report.indexFile << "\n";
  out << "Action:\t" << (report.built ? "built (" + report.buildReason + ")" : "refreshed") << "\n";
  out << "Documents read:\t" << report.documentsRead << "\n";
  out << "Documents unchanged:\t" << report.documentsUnchanged << "\n";
  out << "Documents removed:\t" << report.documentsRemoved << "\n";
  out << "Documents:\t" << counts.documents << "\n";
  out << "Frames:\t" << counts.frames << "\n";
  out << "Frame elements:\t" << counts.frameElements << "\n";
  out << "Lexical units:\t" << counts.lexicalUnits << "\n";
  out << "Frame relations:\t" << counts.relations << "\n";
  out << "Annotation sets:\t" << counts.annotationSets << "\n";
  out << "Labels:\t" << counts.labels << "\n";
  out << "FE realizations:\t" << counts.realizations << "\n";
  out << "Problems:\t" << counts.problems << "\n";
  out << "Seconds:\t" << std::fixed << std::setprecision(3) << report.seconds << "\n";
  return 0;
}

}  // namespace sorvanta::cli
