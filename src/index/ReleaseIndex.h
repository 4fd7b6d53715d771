#pragma once
// Building and refreshing the release index. The index is a cache: by default a file in
// $XDG_CACHE_HOME/sorvanta/ (~/.cache/sorvanta/) named after a hash of the release folder's
// absolute path. Using it re-checks the size and modification time of every document and
// re-reads only what changed; a damaged or foreign file is rebuilt, never trusted.
#include <cstdint>
#include <string>

#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::index {

struct IndexOptions {
  std::string releaseFolder;  // file-system path of the release (the folder holding frXML/)
  std::string indexFile;      // empty: the default file in the cache folder
  bool rebuild = false;       // build from scratch even when the index is usable
  bool verify = false;        // run PRAGMA quick_check on an existing index before trusting it
  unsigned threads = 0;       // parsing threads; 0: one per core
};

struct IndexReport {
  std::string indexFile;
  bool built = false;         // a new file was built (cold build)
  std::string buildReason;    // why it was built: "new", "rebuild requested", "damaged: ..."
  int64_t documentsRead = 0;  // documents parsed in this run
  int64_t documentsRemoved = 0;
  int64_t documentsUnchanged = 0;
  double seconds = 0;
};

// Row counts of the main tables, for reports.
struct IndexCounts {
  int64_t documents = 0, frames = 0, frameElements = 0, lexicalUnits = 0, relations = 0,
          annotationSets = 0, labels = 0, realizations = 0, problems = 0;
};

// $XDG_CACHE_HOME/sorvanta/release-<hash>.sqlite for the folder (~/.cache when unset).
std::string defaultIndexPath(const std::string& releaseFolder);

// Brings the index of the release up to date: builds it when it is missing, damaged, foreign
// or of another schema version, else re-reads the changed, new and removed documents. Two
// processes at once serialise on a lock file beside the index; the second finds the first's
// result fresh. Refused (nothing changed) when the release has no frames document or the
// index cannot be written; cancelled between documents through progress. Progress counter:
// "documents read".
text::Outcome updateIndex(const IndexOptions& options, IndexReport& report,
                          text::Progress& progress = text::noProgress());

// updateIndex with the default options, for the features that read the index: usedFile gets
// the index file brought up to date (indexFile, or the default one when it is empty).
text::Outcome refreshIndex(const std::string& releaseFolder, const std::string& indexFile,
                           std::string& usedFile, text::Progress& progress = text::noProgress());

IndexCounts countRows(const std::string& indexFile);

}  // namespace sorvanta::index
