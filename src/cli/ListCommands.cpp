// sorvanta frames | lexunits | fes | totals: the three lists of the frames index and its totals.
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "lexicon/ListSort.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

template <class Cells>
void writeCells(std::ostream& out, const Cells& cells) {
  bool first = true;
  for (std::string_view cell : cells) {
    if (!first) out << '\t';
    first = false;
    out << text::workingToUtf8(cell);
  }
  out << '\n';
}

}  // namespace

void writeRecord(std::ostream& out, std::initializer_list<std::string_view> cells) {
  writeCells(out, cells);
}

int takeSortColumn(std::vector<std::string>& args, int columnCount) {
  int column = -1;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--sort") continue;
    if (i + 1 == args.size()) throw UsageError{"--sort needs a column number"};
    std::optional<int32_t> value = text::tryStrToInt(args[i + 1]);
    if (!value || *value < 0 || *value >= columnCount)
      throw UsageError{"--sort takes a column number from 0 to " + std::to_string(columnCount - 1)};
    column = *value;
    args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    --i;
  }
  return column;
}

namespace {

void expectNoArguments(const CliContext& context) {
  if (!context.args.empty()) throw UsageError{"unexpected argument " + context.args.front()};
}

void writeRows(std::ostream& out, const std::vector<lexicon::ListRow>& rows) {
  for (const lexicon::ListRow& row : rows) writeCells(out, row.cells);
}

}  // namespace

int runFramesCommand(CliContext& context) {
  int column = takeSortColumn(context.args, lexicon::kFramesColumns);
  expectNoArguments(context);
  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  if (column >= 0) lexicon::sortFramesRows(release.index().frames, column);
  writeRows(context.out, release.index().frames);
  return 0;
}

int runLexUnitsCommand(CliContext& context) {
  int column = takeSortColumn(context.args, lexicon::kLexUnitColumns);
  expectNoArguments(context);
  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  if (column >= 0) lexicon::sortLexUnitRows(release.index().lexUnits, column);
  writeRows(context.out, release.index().lexUnits);
  return 0;
}

int runFesCommand(CliContext& context) {
  expectNoArguments(context);
  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  writeRows(context.out, release.index().frameElements);
  return 0;
}

int runTotalsCommand(CliContext& context) {
  expectNoArguments(context);
  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  const lexicon::FramesIndex& index = release.index();
  writeRecord(context.out, {"Total Number of Frames:", text::intToStr(index.numFrames)});
  writeRecord(context.out, {"Total Annotated Sentences:", text::intToStr(index.annotatedTotal)});
  writeRecord(context.out, {"Number of Frame Elements:", text::intToStr(index.numFrameElements)});
  return 0;
}

}  // namespace sorvanta::cli
