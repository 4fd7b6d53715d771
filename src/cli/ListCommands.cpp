// sorvanta frames | lexunits | fes | totals: the three lists of the frames index and its totals.
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/Listing.h"
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

// The columns of the three lists: the window's captions and the JSON fields.
const std::vector<ListColumn> kFramesList = {{"Frame", "frame"},
                                             {"ID", "id", true},
                                             {"FEs", "fes", true},
                                             {"LUs", "lus", true},
                                             {"Anns", "anns", true}};
const std::vector<ListColumn> kLexUnitList = {
    {"Lexical Unit", "lexical_unit"}, {"P", "pos"},       {"LU-ID", "lu_id", true},
    {"Anns", "anns", true},           {"Frame", "frame"}, {"FR-ID", "frame_id", true},
    {"Definition", "definition"}};
const std::vector<ListColumn> kFeList = {{"Frame Element", "frame_element"},
                                         {"Number", "number", true}};

// A list of the frames index, in document order or sorted by the column of --sort.
CommandRun declareList(CommandLine& line, const std::vector<ListColumn>& columns,
                       std::vector<lexicon::ListRow> lexicon::FramesIndex::*list,
                       void (*sortRows)(std::vector<lexicon::ListRow>&, int)) {
  CLI::Option* sort = declareSort(line, static_cast<int>(columns.size()));
  const ListingFormat format(line);
  return [sort, format, &columns, list, sortRows](CliContext& context) {
    std::vector<lexicon::ListRow>& rows = context.release().index().*list;
    if (const int column = sortColumn(sort); column >= 0) sortRows(rows, column);
    writeListRows(context.out, format, columns, rows);
    return 0;
  };
}

}  // namespace

CommandRun declareFrames(CommandLine& line) {
  static_assert(lexicon::kFramesColumns == 5);
  return declareList(line, kFramesList, &lexicon::FramesIndex::frames, lexicon::sortFramesRows);
}

CommandRun declareLexUnits(CommandLine& line) {
  static_assert(lexicon::kLexUnitColumns == 7);
  return declareList(line, kLexUnitList, &lexicon::FramesIndex::lexUnits, lexicon::sortLexUnitRows);
}

CommandRun declareFes(CommandLine& line) {
  static_assert(lexicon::kFeColumns == 2);
  const ListingFormat format(line);
  line.check([&line] { line.rejectExtras(); });
  return [format](CliContext& context) {
    writeListRows(context.out, format, kFeList, context.release().index().frameElements);
    return 0;
  };
}

CommandRun declareTotals(CommandLine& line) {
  const ListingFormat format(line);
  line.check([&line] { line.rejectExtras(); });
  return [format](CliContext& context) {
    const lexicon::FramesIndex& index = context.release().index();
    if (format.json()) {
      nlohmann::ordered_json totals;
      totals["frames"] = index.numFrames;
      totals["annotated_sentences"] = index.annotatedTotal;
      totals["frame_elements"] = index.numFrameElements;
      writeJson(context.out, totals);
      return 0;
    }
    format.writeHeader(context.out, {"Total", "Value"});
    writeRecord(context.out, {"Total Number of Frames:", text::intToStr(index.numFrames)});
    writeRecord(context.out, {"Total Annotated Sentences:", text::intToStr(index.annotatedTotal)});
    writeRecord(context.out, {"Number of Frame Elements:", text::intToStr(index.numFrameElements)});
    return 0;
  };
}

}  // namespace sorvanta::cli
