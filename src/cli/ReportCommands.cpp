// sorvanta valence and report: lexical-unit and frame reports over the release index.
#include <CLI/CLI.hpp>

#include <ostream>

#include "cli/CliCommand.h"
#include "lexicon/DataFolder.h"
#include "reports/HtmlReport.h"
#include "reports/ReportData.h"
#include "reports/ReportIndex.h"
#include "reports/Valence.h"
#include "reports/ValenceOutput.h"
#include "text/FileIO.h"
#include "text/WorkingText.h"
#include "widgets/QtSettingsStore.h"

namespace sorvanta::cli {

namespace {

// Parses the command's own arguments; --help prints the command's help and gives true.
bool parseReportArguments(CLI::App& app, const CliContext& context) {
  std::vector<std::string> reversed(context.args.rbegin(), context.args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    context.out << app.help();
    return true;
  } catch (const CLI::ParseError& error) {
    throw UsageError{error.what()};
  }
  return false;
}

// Refreshes and opens the index of the release named by --data or the stored folder; false
// with the message on stderr when it cannot.
bool openIndex(const CliContext& context, const std::string& indexFile, index::Database& db) {
  std::string working = context.dataFolder;
  if (working.empty()) working = widgets::QtSettingsStore().readString(lexicon::kLocationSetting);
  if (working.empty()) {
    context.err << "sorvanta: no data folder: give one with --data DIR (the folder holding "
                   "frXML/frames.xml), or start the window once to choose it.\n";
    return false;
  }
  const text::Outcome outcome =
      reports::openReleaseIndex(text::workingToUtf8(working), indexFile, db);
  for (const text::Notice& notice : outcome.notices) context.err << "sorvanta: " << notice.text << "\n";
  return outcome.done();
}

}  // namespace

int runValenceCommand(CliContext& context) {
  CLI::App app(
      "Prints the valence of the lexical unit LUID. Without --patterns: per frame element the "
      "annotation sets holding it and its realizations (TSV columns FE, Annotated, PT, GF, "
      "Total: one line per realization, an FE without realizations on one line with the last "
      "three empty). The realizations are those of the lexical-entry document when the unit "
      "has one, in its order; else they are counted from the annotation layers, most frequent "
      "first. A null instantiation has its type (INI, DNI, CNI) as PT and no GF. With "
      "--patterns: the valence patterns, most frequent first (TSV columns Total, Pattern, "
      "Sentences; the pattern as \"FE PT(GF), ...\" sorted by FE, the sentence IDs joined by "
      "commas).",
      "sorvanta valence");
  int64_t luId = 0;
  bool patterns = false;
  std::string format = "tsv";
  std::string indexFile;
  app.add_option("LUID", luId, "The lexical unit's ID")->required();
  app.add_flag("--patterns", patterns, "Print the valence patterns");
  app.add_option("--format", format, "tsv (default) or json")
      ->check(CLI::IsMember({"tsv", "json"}));
  app.add_option("--index", indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  if (parseReportArguments(app, context)) return 0;

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
}

int runReportCommand(CliContext& context) {
  CLI::App app(
      "Writes the report of one lexical unit (header, annotated sentences with every frame "
      "element on its colour, valence tables) or of one frame (definition, frame elements, "
      "lexical units, relations) as one self-contained HTML page in UTF-8: inline CSS, no "
      "scripts, nothing fetched. Without --out the page goes to stdout. A frame NAME matches "
      "exactly, else ignoring ASCII letter case.",
      "sorvanta report");
  int64_t luId = 0;
  std::string frameName;
  std::string outFile;
  std::string indexFile;
  CLI::Option* luOption = app.add_option("--lu", luId, "The lexical unit's ID");
  CLI::Option* frameOption = app.add_option("--frame", frameName, "The frame's name");
  luOption->excludes(frameOption);
  frameOption->excludes(luOption);
  app.add_option("--out", outFile, "The HTML file to write (replaced whole, or left as it was)");
  app.add_option("--index", indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  if (parseReportArguments(app, context)) return 0;
  if (luOption->count() + frameOption->count() != 1)
    throw UsageError{"give one of --lu LUID and --frame NAME"};

  index::Database db;
  if (!openIndex(context, indexFile, db)) return 1;
  std::string html;
  if (luOption->count()) {
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
}

}  // namespace sorvanta::cli
