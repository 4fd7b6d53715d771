#pragma once
// What changed between two releases: frames and lexical units matched by ID, frame elements
// by name within their frame, relations by type and frame names. Both releases are indexed
// (each its own cache file) and compared in SQL with the old index attached to the new one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/ReleaseIndex.h"
#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::quality {

struct Change {
  std::string code;
  std::string key;  // frame or lexical-unit ID; "Frame/FE"; "Type:Super>Sub"
  std::string oldValue, newValue;
  // What the change concerns, for a front end that goes there (0 / empty when none).
  int64_t luId = 0;
  std::string frame;  // a frame name in the new release ('' when only the old one has it)
};

struct DiffResult {
  std::vector<Change> changes;  // by code in the order of changeCodes(), then by key
  std::vector<std::pair<std::string, int64_t>> counts;  // every code with its count
};

// The change codes in report order.
const std::vector<std::string_view>& changeCodes();

// Compares two up-to-date index files. Throws index::SqliteError when one cannot be read.
DiffResult diffIndexes(const std::string& oldIndexFile, const std::string& newIndexFile);

// Brings both releases' indexes up to date, then compares them. Refused when a release
// cannot be indexed or its frames document cannot be read.
text::Outcome diffReleases(const index::IndexOptions& oldRelease, const index::IndexOptions& newRelease,
                           DiffResult& result, text::Progress& progress = text::noProgress());

// A UTF-8 HTML page: a summary table (count per code), then one row per change.
std::string diffHtml(const DiffResult& result, std::string_view oldName, std::string_view newName);

}  // namespace sorvanta::quality
