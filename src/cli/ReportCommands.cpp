// sorvanta valence and report: lexical-unit and frame reports over the release index.
#include <ostream>

#include "cli/CliCommand.h"
#include "reports/HtmlReport.h"
#include "reports/ReportData.h"
#include "reports/ReportIndex.h"
#include "reports/Valence.h"
#include "reports/ValenceOutput.h"
#include "text/FileIO.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

// Refreshes and opens the index of the release; false with the message on stderr when it
// cannot.
bool openIndex(const CliContext& context, const CLI::Option* indexFile, index::Database& db) {
  const std::string file = typed(indexFile);
  const text::Outcome outcome =
      reports::openReleaseIndex(text::workingToUtf8(context.folder.path()), file, db);
  for (const text::Notice& notice : outcome.notices)
    context.err << "sorvanta: " << notice.text << "\n";
  return outcome.done();
}

// A lexical-unit ID typed on the command line; UsageError when it is not an integer.
int64_t luIdValue(const std::string& typed) {
  const std::optional<int32_t> id = text::tryStrToInt(typed);
  if (!id) throw UsageError{"LUID needs an integer, not '" + typed + "'"};
  return *id;
}

void expectFormat(CommandLine& line, const CLI::Option* format) {
  line.check([format] {
    if (!format->results().empty() && format->results().back() != "tsv" &&
        format->results().back() != "json")
      throw UsageError{"--format needs tsv or json"};
  });
}

}  // namespace

CommandRun declareValence(CommandLine& line) {
  CLI::Option* patternsFlag = line.flag("--patterns");
  CLI::Option* formatOption = line.value("--format", "tsv or json");
  CLI::Option* indexFile = line.value("--index", "a file");
  expectFormat(line, formatOption);
  line.check([&line] {
    if (line.words().size() != 1) throw UsageError{"expected a lexical-unit ID"};
    luIdValue(line.words()[0]);
  });
  return [&line, patternsFlag, formatOption, indexFile](CliContext& context) {
    const int64_t luId = luIdValue(line.words()[0]);
    const bool patterns = patternsFlag->count() > 0;
    const std::string format = typed(formatOption, "tsv");
    index::Database db;
    if (!openIndex(context, indexFile, db)) return 1;
    const std::optional<reports::LexicalUnitData> lu = reports::loadLexicalUnit(db, luId);
    if (!lu) {
      context.err << "sorvanta: no lexical unit with ID " << luId << " in the release\n";
      return 1;
    }
    if (patterns) {
      const std::vector<reports::ValencePattern> list = reports::computePatterns(*lu);
      if (format == "json")
        context.out << reports::patternsJson(*lu, list);
      else
        reports::writePatternsTsv(context.out, list);
    } else {
      const reports::ValenceTable table = reports::computeValence(*lu);
      if (format == "json")
        context.out << reports::valenceJson(*lu, table);
      else
        reports::writeValenceTsv(context.out, table);
    }
    return 0;
  };
}

CommandRun declareReport(CommandLine& line) {
  CLI::Option* luOption = line.value("--lu", "a lexical-unit ID");
  CLI::Option* frameOption = line.value("--frame", "a frame name");
  CLI::Option* outOption = line.value("--out", "a file");
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line, luOption, frameOption] {
    line.rejectExtras();
    if (luOption->results().size() + frameOption->results().size() != 1)
      throw UsageError{"give one of --lu LUID and --frame NAME"};
    if (!luOption->results().empty()) luIdValue(luOption->results().back());
  });
  return [luOption, frameOption, outOption, indexFile](CliContext& context) {
    const bool wantsLu = !luOption->results().empty();
    const int64_t luId = wantsLu ? luIdValue(luOption->results().back()) : 0;
    const std::string frameName = wantsLu ? "" : frameOption->results().back();
    const std::string outFile = typed(outOption);
    index::Database db;
    if (!openIndex(context, indexFile, db)) return 1;
    std::string html;
    if (wantsLu) {
      const std::optional<reports::LexicalUnitData> lu = reports::loadLexicalUnit(db, luId);
      if (!lu) {
        context.err << "sorvanta: no lexical unit with ID " << luId << " in the release\n";
        return 1;
      }
      html = reports::lexUnitReportPage(*lu);
    } else {
      const std::optional<reports::FrameInfo> frame = reports::loadFrame(db, frameName);
      if (!frame) {
        context.err << "sorvanta: no frame named '" << frameName << "' in the release\n";
        return 1;
      }
      html = reports::frameReportPage(*frame);
    }
    if (outFile.empty()) {
      context.out << html;
      return 0;
    }
    text::writeFileAtomically(text::utf8ToWorking(outFile), html);
    context.out << outFile << "\n";
    return 0;
  };
}

}  // namespace sorvanta::cli
