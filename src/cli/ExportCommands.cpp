// sorvanta export and split: annotation sets as JSON Lines or CoNLL, and reproducible splits.
#include <CLI/CLI.hpp>

#include <array>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "exports/Export.h"
#include "exports/Split.h"
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

namespace sorvanta::cli {

namespace {

std::array<int64_t, 3> ratiosFrom(const std::string& text) {
  const UsageError wrong{"--ratios needs three whole numbers separated by commas, such as 80,10,10"};
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ',') parts.emplace_back();
    else parts.back() += c;
  }
  if (parts.size() != 3) throw wrong;
  std::array<int64_t, 3> ratios{};
  for (size_t k = 0; k < 3; ++k) {
    if (parts[k].empty() || parts[k].size() > 6 || parts[k].find_first_not_of("0123456789") != std::string::npos)
      throw wrong;
    ratios[k] = std::stoll(parts[k]);
  }
  if (ratios[0] + ratios[1] + ratios[2] == 0) throw UsageError{"--ratios must not all be 0"};
  return ratios;
}

uint64_t seedFrom(const std::string& text) {
  uint64_t seed = 0;
  if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError{"--seed needs a whole number from 0 to 18446744073709551615"};
  for (char c : text) {
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (seed > (UINT64_MAX - digit) / 10) throw UsageError{"--seed needs a whole number from 0 to 18446744073709551615"};
    seed = seed * 10 + digit;
  }
  return seed;
}

}  // namespace

int runSplitCommand(CliContext& context) {
  CLI::App app(
      "Splits the annotation sets into train, dev and test files (JSON Lines or CoNLL, as "
      "export writes them) and writes manifest.json beside them: tool version, command line, "
      "seed, parameters, size and SHA-256 of every document read, counts per split, SHA-256 of "
      "each output. The same release, seed and parameters give byte-identical files. --by lu or "
      "frame keeps each unit or frame in one split; sets sharing a sentence text (white space "
      "collapsed) always go to the split of the first. Split sizes, counted in sets, follow the "
      "ratios as closely as these groups allow. --min-annotated N leaves out lexical units with "
      "fewer than N annotation sets. With --verify DIR, re-checks a split folder against its "
      "manifest and the release and lists what differs (status 1 when anything does). See "
      "docs/exports.md.",
      "sorvanta split");
  exports::SplitRequest request;
  std::string seed, by, ratios, format = "jsonl", verify;
  app.add_option("--seed", seed, "The seed of the shuffle (0 to 2^64-1)")->type_name("S");
  app.add_option("--by", by, "Group by sentence, lu or frame")->check(CLI::IsMember({"sentence", "lu", "frame"}));
  app.add_option("--ratios", ratios, "Train, dev and test shares, such as 80,10,10")->type_name("A,B,C");
  app.add_option("--min-annotated", request.selection.minAnnotated,
                 "Leave out lexical units with fewer annotation sets")->type_name("N")->check(CLI::NonNegativeNumber);
  app.add_option("--frame", request.selection.frames, "Only the lexical units of frame NAME (repeatable)")
      ->type_name("NAME")
      ->allow_extra_args(false);
  app.add_option("--out", request.outFolder, "The folder to write into (created when missing)")->type_name("DIR");
  app.add_option("--format", format, "jsonl (default) or conll")->check(CLI::IsMember({"jsonl", "conll"}));
  app.add_option("--verify", verify, "Re-check the split in DIR")->type_name("DIR");
  app.add_option("--index", request.indexFile, "The index file (default: the release's index in the cache folder)")
      ->type_name("FILE");
  if (parseArguments(app, context)) return 0;

  std::string folder;
  if (!verify.empty()) {
    if (!seed.empty() || !by.empty() || !ratios.empty() || !request.outFolder.empty() ||
        !request.selection.frames.empty())
      throw UsageError{"--verify DIR takes no other split options"};
    if (!context.dataFolder.empty()) folder = text::workingToUtf8(context.dataFolder);
    std::vector<std::string> checked, differences;
    text::Outcome outcome;
    {
      TerminalLine line(context);
      TerminalProgress terminal(line);
      outcome = exports::verifySplit(verify, folder, request.indexFile, checked, differences,
                                     line.enabled() ? terminal : text::noProgress());
    }
    const int status = report(context, outcome);
    if (status != 0) return status;
    for (const std::string& line : checked) context.out << "ok\t" << line << "\n";
    for (const std::string& line : differences) context.out << "differs\t" << line << "\n";
    context.out << "Verified:\t" << checked.size() + differences.size() << " checks, " << differences.size()
                << " differences\n";
    return differences.empty() ? 0 : 1;
  }
  if (seed.empty() || by.empty() || ratios.empty() || request.outFolder.empty())
    throw UsageError{"--seed, --by, --ratios and --out are required (or --verify DIR)"};
  request.seed = seedFrom(seed);
  exports::groupingNamed(by, request.grouping);
  request.ratios = ratiosFrom(ratios);
  request.format = formatNamed(format);
  if (!releaseFolder(context, request.releaseFolder)) return 1;
  request.commandLine = {"sorvanta"};
  if (!context.dataFolder.empty()) request.commandLine.insert(request.commandLine.end(), {"--data", text::workingToUtf8(context.dataFolder)});
  request.commandLine.push_back("split");
  request.commandLine.insert(request.commandLine.end(), context.args.begin(), context.args.end());

  exports::SplitResult result;
  text::Outcome outcome;
  {
    TerminalLine line(context);
    TerminalProgress terminal(line);
    outcome = exports::writeSplit(request, result, line.enabled() ? terminal : text::noProgress());
  }
  const int status = report(context, outcome);
  if (status != 0) return status;
  for (size_t k = 0; k < 3; ++k) {
    const exports::SplitCounts& counts = result.counts[k];
    context.out << exports::kSplitNames[k] << "\t" << counts.sets << " sets\t" << counts.sentences
                << " sentences\t" << counts.lexicalUnits << " lexical units\t" << counts.frames << " frames\n";
  }
  for (const std::string& file : outcome.filesWritten) context.out << "Written:\t" << file << "\n";
  context.out << "Warnings:\t" << outcome.warningCount() << "\n";
  return 0;
}

}  // namespace sorvanta::cli
