// sorvanta check and sorvanta diff: the release check and the comparison of two releases.
#include <CLI/CLI.hpp>

#include <nlohmann/json.hpp>

#include <ostream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "lexicon/DataFolder.h"
#include "quality/Check.h"
#include "quality/Diff.h"
#include "text/WorkingText.h"
#include "widgets/QtSettingsStore.h"

namespace sorvanta::cli {

namespace {

// Parses the command's own arguments; --help prints the command's help and gives true.
bool parseQualityArguments(CLI::App& app, const CliContext& context) {
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

class TerminalStageProgress : public text::Progress {
 public:
  explicit TerminalStageProgress(TerminalLine& line) : line_(line) {}
  void stage(std::string_view what) override {
    stage_ = what;
    line_.rewrite() << stage_ << std::flush;
  }
  void count(std::string_view, int64_t value, std::string_view) override {
    if (value % 100 == 0) line_.rewrite() << stage_ << ": " << value << std::flush;
  }

 private:
  TerminalLine& line_;
  std::string stage_;
};

std::string tsvField(std::string_view text) {
  std::string cell(text);
  for (char& c : cell)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return cell;
}

std::string jsonText(const nlohmann::ordered_json& value) {
  return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

int runCheckCommand(CliContext& context) {
  CLI::App app("Checks the release for faults that readers would otherwise work around quietly: "
               "documents that cannot be read, counts that disagree, labels outside their "
               "sentence, names that point nowhere, duplicates, characters that every list turns "
               "into '?'. The release index is built or refreshed first when needed.",
               "sorvanta check");
  std::string format = "tsv";
  bool strict = false;
  index::IndexOptions options;
  app.add_option("--format", format,
                 "tsv (default): severity<TAB>code<TAB>document<TAB>location<TAB>message, one "
                 "finding a line, no header; json: an array of objects with the keys severity, "
                 "code, document, location, message")
      ->check(CLI::IsMember({"tsv", "json"}));
  app.add_flag("--strict", strict, "Exit with status 1 on warnings too");
  app.add_option("--index", options.indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  std::string footer = "Exit status: 1 when an error is found (with --strict, also a warning) or the "
                       "release cannot be indexed, else 0. A summary of the counts per code goes to "
                       "stderr.\n\nCodes (docs/check.md describes them):\n";
  for (const quality::CheckCode& code : quality::checkCodes())
    footer += "  " + std::string(code.code) + " (" + std::string(quality::severityName(code.severity)) +
              "): " + std::string(code.meaning) + "\n";
  app.footer(footer);
  if (parseQualityArguments(app, context)) return 0;

  std::string working = context.dataFolder;
  if (working.empty()) working = widgets::QtSettingsStore().readString(lexicon::kLocationSetting);
  if (working.empty()) {
    context.err << "sorvanta: no data folder: give one with --data DIR (the folder holding "
                   "frXML/frames.xml), or start the window once to choose it.\n";
    return 1;
  }
  options.releaseFolder = text::workingToUtf8(working);
  quality::CheckResult result;
  text::Outcome outcome;
  {
    TerminalLine line(context);
    TerminalStageProgress terminal(line);
    outcome = quality::checkRelease(options, result, line.enabled() ? terminal : text::noProgress());
  }
  for (const text::Notice& notice : outcome.notices) context.err << "sorvanta: " << notice.text << "\n";
  if (!outcome.done()) return 1;

  std::ostream& out = context.out;
  if (format == "json") {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const quality::Finding& finding : result.findings)
      array.push_back({{"severity", quality::severityName(finding.severity)},
                       {"code", finding.code},
                       {"document", finding.document},
                       {"location", finding.location},
                       {"message", finding.message}});
    out << jsonText(array);
  } else {
    for (const quality::Finding& finding : result.findings)
      out << quality::severityName(finding.severity) << '\t' << finding.code << '\t'
          << tsvField(finding.document) << '\t' << tsvField(finding.location) << '\t'
          << tsvField(finding.message) << '\n';
  }
  for (const quality::CodeCount& count : result.counts)
    context.err << "sorvanta: " << count.code << ": " << count.count << " ("
                << quality::severityName(count.severity) << ")\n";
  context.err << "sorvanta: check: " << result.errors << (result.errors == 1 ? " error, " : " errors, ")
              << result.warnings << (result.warnings == 1 ? " warning" : " warnings") << "\n";
  return result.errors > 0 || (strict && result.warnings > 0) ? 1 : 0;
}

int runDiffCommand(CliContext& context) {
  CLI::App app("Compares two release folders and prints one line per change: frames and lexical "
               "units matched by ID, frame elements by name within their frame, relations by type "
               "and frame names. Both releases are indexed first when needed (each its own index "
               "file); --data is not used.",
               "sorvanta diff");
  std::string format = "tsv";
  index::IndexOptions oldRelease, newRelease;
  app.add_option("OLD", oldRelease.releaseFolder, "The old release folder (holding frXML/frames.xml)")
      ->required();
  app.add_option("NEW", newRelease.releaseFolder, "The new release folder")->required();
  app.add_option("--format", format,
                 "tsv (default): code<TAB>key<TAB>old value<TAB>new value, no header; json: an array "
                 "of objects with the keys code, key, old, new; html: a page with a summary table "
                 "first")
      ->check(CLI::IsMember({"tsv", "json", "html"}));
  app.add_option("--old-index", oldRelease.indexFile, "The old release's index file (default: in the cache folder)");
  app.add_option("--new-index", newRelease.indexFile, "The new release's index file (default: in the cache folder)");
  std::string footer = "Changes, in this order (docs/diff.md gives keys and values):\n ";
  for (std::string_view code : quality::changeCodes()) footer += " " + std::string(code);
  footer += "\n\nExit status as diff(1): 0 no difference, 1 differences found, 2 a release that "
            "cannot be read or a wrong command line.";
  app.footer(footer);
  if (parseQualityArguments(app, context)) return 0;

  quality::DiffResult result;
  text::Outcome outcome;
  {
    TerminalLine line(context);
    TerminalStageProgress terminal(line);
    outcome = quality::diffReleases(oldRelease, newRelease, result, line.enabled() ? terminal : text::noProgress());
  }
  for (const text::Notice& notice : outcome.notices) context.err << "sorvanta: " << notice.text << "\n";
  if (!outcome.done()) return 2;

  std::ostream& out = context.out;
  if (format == "html") {
    out << quality::diffHtml(result, oldRelease.releaseFolder, newRelease.releaseFolder);
  } else if (format == "json") {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const quality::Change& change : result.changes)
      array.push_back({{"code", change.code}, {"key", change.key}, {"old", change.oldValue}, {"new", change.newValue}});
    out << jsonText(array);
  } else {
    for (const quality::Change& change : result.changes)
      out << change.code << '\t' << tsvField(change.key) << '\t' << tsvField(change.oldValue) << '\t'
          << tsvField(change.newValue) << '\n';
  }
  return result.changes.empty() ? 0 : 1;
}

}  // namespace sorvanta::cli
