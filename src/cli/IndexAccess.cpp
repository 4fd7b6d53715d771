#include "cli/IndexAccess.h"

#include <ostream>

#include "text/WorkingText.h"

namespace sorvanta::cli {

index::IndexOptions indexOptions(const CliContext& context, const CLI::Option* indexFile) {
  index::IndexOptions options;
  options.releaseFolder = text::workingToUtf8(context.folder.path());
  options.indexFile = typed(indexFile);
  return options;
}

bool ensureIndex(const CliContext& context, index::IndexOptions& options,
                 index::IndexReport& report) {
  const text::Outcome outcome = index::updateIndex(options, report, context.progress());
  for (const text::Notice& notice : outcome.notices)
    context.err << kMessagePrefix << notice.text << "\n";
  return outcome.done();
}

std::string tsvCell(std::string_view text) {
  std::string cell(text);
  for (char& c : cell)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return cell;
}

}  // namespace sorvanta::cli
