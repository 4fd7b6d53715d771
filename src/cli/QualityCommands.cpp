// sorvanta check and sorvanta diff: the release check and the comparison of two releases.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/IndexAccess.h"
#include "quality/Check.h"
#include "quality/Diff.h"

namespace sorvanta::cli {

namespace {

std::string jsonArray(const nlohmann::ordered_json& value) {
  return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

void printFindings(std::ostream& out, const quality::CheckResult& result, bool json) {
  if (json) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const quality::Finding& finding : result.findings)
      array.push_back({{"severity", quality::severityName(finding.severity)},
                       {"code", finding.code},
                       {"document", finding.document},
                       {"location", finding.location},
                       {"message", finding.message}});
    out << jsonArray(array);
    return;
  }
  for (const quality::Finding& finding : result.findings)
    out << quality::severityName(finding.severity) << '\t' << finding.code << '\t'
        << tsvCell(finding.document) << '\t' << tsvCell(finding.location) << '\t'
        << tsvCell(finding.message) << '\n';
}

void printSummary(std::ostream& err, const quality::CheckResult& result) {
  for (const quality::CodeCount& count : result.counts)
    err << "sorvanta: " << count.code << ": " << count.count << " ("
        << quality::severityName(count.severity) << ")\n";
  err << "sorvanta: check: " << result.errors << (result.errors == 1 ? " error, " : " errors, ")
      << result.warnings << (result.warnings == 1 ? " warning" : " warnings") << "\n";
}

void printChanges(std::ostream& out, const quality::DiffResult& result, const std::string& format,
                  const std::string& oldFolder, const std::string& newFolder) {
  if (format == "html") {
    out << quality::diffHtml(result, oldFolder, newFolder);
  } else if (format == "json") {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const quality::Change& change : result.changes)
      array.push_back({{"code", change.code},
                       {"key", change.key},
                       {"old", change.oldValue},
                       {"new", change.newValue}});
    out << jsonArray(array);
  } else {
    for (const quality::Change& change : result.changes)
      out << change.code << '\t' << tsvCell(change.key) << '\t' << tsvCell(change.oldValue)
          << '\t' << tsvCell(change.newValue) << '\n';
  }
}

}  // namespace

CommandRun declareCheck(CommandLine& line) {
  CLI::Option* formatOption = line.choice("--format", {"tsv", "json"});
  CLI::Option* strictFlag = line.flag("--strict");
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line] { line.rejectExtras(); });
  return [formatOption, strictFlag, indexFile](CliContext& context) {
    index::IndexOptions options = indexOptions(context, indexFile);
    const bool json = typed(formatOption, "tsv") == "json";
    const bool strict = strictFlag->count() > 0;
    return withIndexFile(context, options, [&](const std::string& file) {
      context.progress().stage("Checking the release");
      const quality::CheckResult result = quality::checkIndex(file, options.releaseFolder);
      printFindings(context.out, result, json);
      printSummary(context.err, result);
      return result.errors > 0 || (strict && result.warnings > 0) ? 1 : 0;
    });
  };
}

CommandRun declareDiff(CommandLine& line) {
  CLI::Option* formatOption = line.choice("--format", {"tsv", "json", "html"});
  CLI::Option* oldIndex = line.value("--old-index", "a file");
  CLI::Option* newIndex = line.value("--new-index", "a file");
  line.check([&line] {
    for (const std::string& extra : line.extras())
      if (extra.starts_with("-")) throw UsageError{"unknown option " + extra};
    if (line.words().size() != 2) throw UsageError{"expected two release folders, OLD and NEW"};
  });
  return [&line, formatOption, oldIndex, newIndex](CliContext& context) {
    const std::vector<std::string> folders = line.words();
    index::IndexOptions oldRelease, newRelease;
    oldRelease.releaseFolder = folders[0];
    oldRelease.indexFile = typed(oldIndex);
    newRelease.releaseFolder = folders[1];
    newRelease.indexFile = typed(newIndex);
    quality::DiffResult result;
    const text::Outcome outcome =
        quality::diffReleases(oldRelease, newRelease, result, context.progress());
    for (const text::Notice& notice : outcome.notices)
      context.err << "sorvanta: " << notice.text << "\n";
    // A release that cannot be read gives 2, as diff(1) does for trouble.
    if (!outcome.done()) return 2;
    printChanges(context.out, result, typed(formatOption, "tsv"), folders[0], folders[1]);
    return result.changes.empty() ? 0 : 1;
  };
}

}  // namespace sorvanta::cli
