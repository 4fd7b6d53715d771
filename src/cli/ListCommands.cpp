// sorvanta frames | lexunits | fes | totals: the three lists of the frames index and its totals.
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "lexicon/ListSort.h"
#include "text/IntegerText.h"

namespace sorvanta::cli {

namespace {

// "--sort C": the last column given, each checked to name one of columnCount columns; -1
// without one.
CLI::Option* declareSort(CommandLine& line, int columnCount) {
  CLI::Option* sort = line.value("--sort", "a column number");
  line.check([sort, columnCount, &line] {
    for (const std::string& value : sort->results()) {
      const std::optional<int32_t> column = text::tryStrToInt(value);
      if (!column || *column < 0 || *column >= columnCount)
        throw UsageError{"--sort takes a column number from 0 to " +
                         std::to_string(columnCount - 1)};
    }
    line.rejectExtras();
  });
  return sort;
}

int sortColumn(const CLI::Option* sort) {
  return sort->results().empty() ? -1 : text::strToInt(sort->results().back());
}

void writeRows(std::ostream& out, const std::vector<lexicon::ListRow>& rows) {
  for (const lexicon::ListRow& row : rows) writeRecord(out, row.cells);
}

// A list of the frames index, in document order or sorted by the column of --sort.
CommandRun declareList(CommandLine& line, int columnCount,
                       std::vector<lexicon::ListRow> lexicon::FramesIndex::*list,
                       void (*sortRows)(std::vector<lexicon::ListRow>&, int)) {
  CLI::Option* sort = declareSort(line, columnCount);
  return [sort, list, sortRows](CliContext& context) {
    std::vector<lexicon::ListRow>& rows = context.release().index().*list;
    if (const int column = sortColumn(sort); column >= 0) sortRows(rows, column);
    writeRows(context.out, rows);
    return 0;
  };
}

}  // namespace

CommandRun declareFrames(CommandLine& line) {
  return declareList(line, lexicon::kFramesColumns, &lexicon::FramesIndex::frames,
                     lexicon::sortFramesRows);
}

CommandRun declareLexUnits(CommandLine& line) {
  return declareList(line, lexicon::kLexUnitColumns, &lexicon::FramesIndex::lexUnits,
                     lexicon::sortLexUnitRows);
}

CommandRun declareFes(CommandLine& line) {
  line.check([&line] { line.rejectExtras(); });
  return [](CliContext& context) {
    writeRows(context.out, context.release().index().frameElements);
    return 0;
  };
}

CommandRun declareTotals(CommandLine& line) {
  line.check([&line] { line.rejectExtras(); });
  return [](CliContext& context) {
    const lexicon::FramesIndex& index = context.release().index();
    writeRecord(context.out, {"Total Number of Frames:", text::intToStr(index.numFrames)});
    writeRecord(context.out,
                {"Total Annotated Sentences:", text::intToStr(index.annotatedTotal)});
    writeRecord(context.out,
                {"Number of Frame Elements:", text::intToStr(index.numFrameElements)});
    return 0;
  };
}

}  // namespace sorvanta::cli
