#pragma once
// What the commands that read the release index share: their options, bringing the index up
// to date, rebuilding a damaged one, and the cells they print.
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliCommand.h"
#include "index/ReleaseIndex.h"
#include "index/Search.h"
#include "index/Sqlite.h"

namespace sorvanta::cli {

// The index options of the context's release folder with --index FILE (may be unset).
index::IndexOptions indexOptions(const CliContext& context, const CLI::Option* indexFile);

// Brings the index up to date; false with the message on stderr when it cannot.
bool ensureIndex(const CliContext& context, index::IndexOptions& options,
                 index::IndexReport& report);

// A cell of a TSV record: tabs and line breaks would split the record, so they become spaces.
std::string tsvCell(std::string_view text);

// Runs work(indexFile) on an up-to-date index and gives its exit status; an index SQLite finds
// damaged is rebuilt once. 1 when the index cannot be built or read.
template <class Work>
int withIndexFile(CliContext& context, index::IndexOptions& options, Work work) {
  for (int attempt = 0;; ++attempt) {
    index::IndexReport report;
    if (!ensureIndex(context, options, report)) return 1;
    try {
      return work(report.indexFile);
    } catch (const index::SqliteError& error) {
      if (!error.damaged() || attempt > 0) {
        context.err << kMessagePrefix << error.what() << "\n";
        return 1;
      }
      context.err << kMessagePrefix << "the index is damaged; rebuilding it\n";
      options.rebuild = true;
    }
  }
}

// withIndexFile with a reader opened on the index.
template <class Work>
int withIndex(CliContext& context, index::IndexOptions& options, Work work) {
  return withIndexFile(context, options, [&](const std::string& indexFile) {
    index::IndexReader reader(indexFile);
    return work(reader);
  });
}

}  // namespace sorvanta::cli
