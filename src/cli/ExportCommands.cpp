// sorvanta export and split: annotation sets as JSON Lines or CoNLL, and reproducible splits.
#include <array>
#include <charconv>
#include <cstdint>
#include <ostream>

#include "cli/CliCommand.h"
#include "exports/Export.h"
#include "exports/Split.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

// Prints the outcome's notices; the exit status for it.
int printOutcome(const CliContext& context, const text::Outcome& outcome) {
  for (const text::Notice& notice : outcome.notices)
    context.err << "sorvanta: " << (notice.severity == text::Severity::Warning ? "warning: " : "")
                << notice.text << "\n";
  if (outcome.status == text::Outcome::Status::Cancelled) return 130;
  return outcome.done() ? 0 : 1;
}

// The lexical-unit IDs of --lu: integers, else a UsageError.
std::vector<int64_t> luIds(const CLI::Option* option) {
  std::vector<int64_t> ids;
  for (const std::string& text : option->results()) {
    // The whole text, as one integer: "-", "1-2" or a number out of range is refused.
    int64_t id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id);
    if (text.empty() || error != std::errc() || stop != end)
      throw UsageError{"--lu needs an integer, not '" + text + "'"};
    ids.push_back(id);
  }
  return ids;
}

exports::Format formatNamed(const std::string& name) {
  return name == "conll" ? exports::Format::Conll : exports::Format::Jsonl;
}

}  // namespace

CommandRun declareExport(CommandLine& line) {
  CLI::Option* formatOption = line.choice("--format", {"jsonl", "conll"});
  CLI::Option* frames = line.value("--frame", "a frame name");
  CLI::Option* lus = line.value("--lu", "a lexical-unit ID");
  CLI::Option* out = line.value("--out", "a file");
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line, formatOption, lus] {
    line.rejectExtras();
    if (formatOption->results().empty()) throw UsageError{"--format is required"};
    luIds(lus);
  });
  return [formatOption, frames, lus, out, indexFile](CliContext& context) {
    exports::ExportRequest request;
    request.format = formatNamed(typed(formatOption));
    request.selection.frames = frames->results();
    for (int64_t id : luIds(lus)) request.selection.lexicalUnits.push_back(id);
    request.outFile = typed(out);
    request.indexFile = typed(indexFile);
    request.releaseFolder = text::workingToUtf8(context.folder.path());
    exports::ExportReport result;
    const text::Outcome outcome =
        exports::exportAnnotations(request, &context.out, result, context.progress());
    const int status = printOutcome(context, outcome);
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
  };
}

}  // namespace sorvanta::cli

namespace sorvanta::cli {

namespace {

std::array<int64_t, 3> ratiosFrom(const std::string& text) {
  const UsageError wrong{
      "--ratios needs three whole numbers separated by commas, such as 80,10,10"};
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ',')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != 3) throw wrong;
  std::array<int64_t, 3> ratios{};
  for (size_t k = 0; k < 3; ++k) {
    if (parts[k].empty() || parts[k].size() > 6 ||
        parts[k].find_first_not_of("0123456789") != std::string::npos)
      throw wrong;
    ratios[k] = std::stoll(parts[k]);
  }
  if (ratios[0] + ratios[1] + ratios[2] == 0) throw UsageError{"--ratios must not all be 0"};
  return ratios;
}

uint64_t seedFrom(const std::string& text) {
  uint64_t seed = 0;
  if (!exports::seedNamed(text, seed))
    throw UsageError{"--seed needs a whole number from 0 to 18446744073709551615"};
  return seed;
}

}  // namespace

CommandRun declareSplit(CommandLine& line) {
  CLI::Option* seedOption = line.value("--seed", "a number");
  CLI::Option* byOption = line.choice("--by", {"sentence", "lu", "frame"});
  CLI::Option* ratiosOption = line.value("--ratios", "three shares such as 80,10,10");
  CLI::Option* minAnnotated = line.value("--min-annotated", "a number");
  CLI::Option* frames = line.value("--frame", "a frame name");
  CLI::Option* outOption = line.value("--out", "a folder");
  CLI::Option* formatOption = line.choice("--format", {"jsonl", "conll"});
  CLI::Option* verifyOption = line.value("--verify", "a folder");
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line, minAnnotated] {
    line.rejectExtras();
    const std::string count = typed(minAnnotated, "0");
    if (count.empty() || count.size() > 9 ||
        count.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError{"--min-annotated needs a whole number"};
  });
  return [=](CliContext& context) {
    exports::SplitRequest request;
    const std::string seed = typed(seedOption), by = typed(byOption), ratios = typed(ratiosOption),
                      format = typed(formatOption, "jsonl"), verify = typed(verifyOption);
    request.selection.minAnnotated = std::stoll(typed(minAnnotated, "0"));
    request.selection.frames = frames->results();
    request.outFolder = typed(outOption);
    request.indexFile = typed(indexFile);
    std::string folder;
    if (!verify.empty()) {
      if (!seed.empty() || !by.empty() || !ratios.empty() || !request.outFolder.empty() ||
          !request.selection.frames.empty())
        throw UsageError{"--verify DIR takes no other split options"};
      if (!context.folder.empty()) folder = text::workingToUtf8(context.folder.path());
      std::vector<std::string> checked, differences;
      const text::Outcome outcome = exports::verifySplit(verify, folder, request.indexFile, checked,
                                                         differences, context.progress());
      const int status = printOutcome(context, outcome);
      if (status != 0) return status;
      for (const std::string& line : checked) context.out << "ok\t" << line << "\n";
      for (const std::string& line : differences) context.out << "differs\t" << line << "\n";
      context.out << "Verified:\t" << checked.size() + differences.size() << " checks, "
                  << differences.size() << " differences\n";
      return differences.empty() ? 0 : 1;
    }
    if (seed.empty() || by.empty() || ratios.empty() || request.outFolder.empty())
      throw UsageError{"--seed, --by, --ratios and --out are required (or --verify DIR)"};
    request.seed = seedFrom(seed);
    exports::groupingNamed(by, request.grouping);
    request.ratios = ratiosFrom(ratios);
    request.format = formatNamed(format);
    if (context.folder.empty()) {
      context.err << "sorvanta: No data folder: give one with --data DIR (the folder holding "
                     "frXML/frames.xml), or start the window once to choose it.\n";
      return 1;
    }
    request.releaseFolder = text::workingToUtf8(context.folder.path());
    request.commandLine = {"sorvanta"};
    request.commandLine.insert(request.commandLine.end(), context.commandLine.begin(),
                               context.commandLine.end());

    exports::SplitResult result;
    const text::Outcome outcome = exports::writeSplit(request, result, context.progress());
    const int status = printOutcome(context, outcome);
    if (status != 0) return status;
    for (size_t k = 0; k < 3; ++k) {
      const exports::SplitCounts& counts = result.counts[k];
      context.out << exports::kSplitNames[k] << "\t" << counts.sets << " sets\t" << counts.sentences
                  << " sentences\t" << counts.lexicalUnits << " lexical units\t" << counts.frames
                  << " frames\n";
    }
    for (const std::string& file : outcome.filesWritten)
      context.out << "Written:\t" << file << "\n";
    context.out << "Warnings:\t" << outcome.warningCount() << "\n";
    return 0;
  };
}

}  // namespace sorvanta::cli
