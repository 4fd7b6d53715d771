#pragma once
// Runs the export core on a release folder with the index in a temporary folder, and parses
// what it wrote.
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "exports/Export.h"
#include "support/TempDir.h"

namespace sorvanta::testing {

struct ExportRun {
  text::Outcome outcome;
  std::string bytes;
  std::vector<nlohmann::ordered_json> lines;  // JSON Lines only
};

inline ExportRun runExport(const std::string& release, const TempDir& scratch,
                           exports::Format format = exports::Format::Jsonl,
                           exports::Selection selection = {}) {
  exports::ExportRequest request;
  request.releaseFolder = release;
  request.indexFile = scratch.file("index.sqlite");
  request.format = format;
  request.selection = std::move(selection);
  std::ostringstream out;
  exports::ExportReport report;
  ExportRun run;
  run.outcome = exports::exportAnnotations(request, &out, report);
  run.bytes = out.str();
  if (format == exports::Format::Jsonl) {
    std::istringstream lines(run.bytes);
    for (std::string line; std::getline(lines, line);) run.lines.push_back(nlohmann::ordered_json::parse(line));
  }
  return run;
}

inline std::string warningsOf(const text::Outcome& outcome) {
  std::string all;
  for (const text::Notice& notice : outcome.notices) all += notice.text + "\n";
  return all;
}

}  // namespace sorvanta::testing
