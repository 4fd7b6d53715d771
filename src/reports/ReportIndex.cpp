#include "reports/ReportIndex.h"

#include "index/ReleaseIndex.h"

namespace sorvanta::reports {

text::Outcome openReleaseIndex(const std::string& releaseFolder, const std::string& indexFile,
                               index::Database& db, text::Progress& progress) {
  std::string usedFile;
  text::Outcome outcome = index::refreshIndex(releaseFolder, indexFile, usedFile, progress);
  if (!outcome.done()) return outcome;
  try {
    db = index::Database(usedFile, index::Database::Mode::ReadOnly);
    // Reports read many small ranges all over the file: map it and keep more pages cached.
    db.exec("PRAGMA mmap_size = 1073741824; PRAGMA cache_size = -65536;");
  } catch (const index::SqliteError& error) {
    return text::Outcome::refused("Release index",
                                  "Cannot open the release index " + usedFile + ": " +
                                      error.what());
  }
  return outcome;
}

}  // namespace sorvanta::reports
