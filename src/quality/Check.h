#pragma once
// The release check: faults that every tool reading a release would otherwise work around
// quietly, found by queries on the release index (docs/check.md lists the codes).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/ReleaseIndex.h"
#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::quality {

enum class FindingSeverity { Error, Warning };

std::string_view severityName(FindingSeverity severity);  // "error" or "warning"

// One kind of finding: its code, severity and what it means (for help texts and the window).
struct CheckCode {
  std::string_view code;
  FindingSeverity severity;
  std::string_view meaning;
};

// Every code the check reports, in the order the report sorts them within a document.
const std::vector<CheckCode>& checkCodes();
// The entry of a code; nullptr for an unknown one.
const CheckCode* findCheckCode(std::string_view code);

struct Finding {
  FindingSeverity severity = FindingSeverity::Error;
  std::string code;
  std::string document;  // relative to the release folder, '/' separated
  std::string location;  // an element path within the document, or line:column; may be empty
  std::string message;
  // What the finding concerns, for a front end that goes there (0 / empty when none).
  int64_t luId = 0;
  std::string frame;
};

struct CodeCount {
  std::string code;
  FindingSeverity severity;
  int64_t count;
};

struct CheckResult {
  std::vector<Finding> findings;  // by document (build order), then code, then position
  int64_t errors = 0, warnings = 0;
  std::vector<CodeCount> counts;  // codes found, in the order of checkCodes()
  std::string indexFile;
};

// Runs every check on an up-to-date index file of the release at releaseFolder (the folder
// is read only to turn byte offsets of parse errors into line:column). Throws
// index::SqliteError when the index cannot be read.
CheckResult checkIndex(const std::string& indexFile, const std::string& releaseFolder);

// Brings the release index up to date (see index::updateIndex), then checks it. Refused
// when the index cannot be built (no frames document, unwritable cache).
text::Outcome checkRelease(const index::IndexOptions& options, CheckResult& result,
                           text::Progress& progress = text::noProgress());

}  // namespace sorvanta::quality
