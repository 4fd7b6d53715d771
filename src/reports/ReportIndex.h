#pragma once
// The reports read the release index: refreshed first (only changed documents are re-read),
// then opened read-only.
#include <string>

#include "index/Sqlite.h"
#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::reports {

// releaseFolder: file-system path; indexFile: empty for the default cache file. Refused, with
// the reason, when the index cannot be brought up to date or opened.
text::Outcome openReleaseIndex(const std::string& releaseFolder, const std::string& indexFile,
                               index::Database& db,
                               text::Progress& progress = text::noProgress());

}  // namespace sorvanta::reports
