#pragma once
// sorvanta export and the window's Export dialog: the annotation sets of a release (or of some
// frames and lexical units) as JSON Lines or CoNLL, read from the release index, which is
// brought up to date first.
#include <cstdint>
#include <iosfwd>
#include <string>

#include "exports/AnnotationSets.h"
#include "exports/Formats.h"
#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::exports {

struct ExportRequest {
  std::string releaseFolder;  // file-system path (the folder holding frXML/)
  std::string indexFile;      // empty: the default index file of the release
  Format format = Format::Jsonl;
  Selection selection;
  std::string outFile;  // file-system path; empty: written to the stream given
};

struct ExportReport {
  int64_t sets = 0;  // sets written
};

// Brings the index up to date (a step of its own in progress), reads the selected sets and
// writes them. With outFile the file is replaced only once complete; refused or cancelled,
// nothing is written. Progress counters: the index's, then "lexical units read".
text::Outcome exportAnnotations(const ExportRequest& request, std::ostream* stream,
                                ExportReport& report,
                                text::Progress& progress = text::noProgress());

// Brings the index of a release up to date and gives its file; false with the reason in
// outcome when it cannot.
bool freshIndex(const std::string& releaseFolder, const std::string& indexFile, std::string& usedFile,
                text::Outcome& outcome, text::Progress& progress);

}  // namespace sorvanta::exports
