// sorvanta index, search and sql: the release index on the command line.
#include <CLI/CLI.hpp>

#include <nlohmann/json.hpp>

#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "index/DocumentRows.h"
#include "index/ReleaseIndex.h"
#include "index/Search.h"
#include "index/Sqlite.h"
#include "lexicon/DataFolder.h"
#include "text/WorkingText.h"
#include "widgets/QtSettingsStore.h"

namespace sorvanta::cli {

namespace {

// Parses the command's own arguments; --help prints the command's help and gives true.
bool parseArguments(CLI::App& app, const CliContext& context) {
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

// The release folder as a file-system path: --data, else the folder the window stored.
bool releaseFolder(const CliContext& context, std::string& folder) {
  std::string working = context.dataFolder;
  if (working.empty()) working = widgets::QtSettingsStore().readString(lexicon::kLocationSetting);
  if (working.empty()) {
    context.err << "sorvanta: no data folder: give one with --data DIR (the folder holding "
                   "frXML/frames.xml), or start the window once to choose it.\n";
    return false;
  }
  folder = text::workingToUtf8(working);
  return true;
}

class TerminalIndexProgress : public text::Progress {
 public:
  explicit TerminalIndexProgress(TerminalLine& line) : line_(line) {}
  void stage(std::string_view what) override { stage_ = what; }
  void count(std::string_view, int64_t value, std::string_view) override {
    if (value % 100 == 0) line_.rewrite() << stage_ << ": " << value << std::flush;
  }

 private:
  TerminalLine& line_;
  std::string stage_;
};

// Brings the index up to date; false with the message on stderr when it cannot.
bool ensureIndex(const CliContext& context, index::IndexOptions& options, index::IndexReport& report) {
  text::Outcome outcome;
  {
    TerminalLine line(context);
    TerminalIndexProgress terminal(line);
    outcome = index::updateIndex(options, report, line.enabled() ? terminal : text::noProgress());
  }
  for (const text::Notice& notice : outcome.notices) context.err << "sorvanta: " << notice.text << "\n";
  return outcome.done();
}

// A cell of a TSV record: tabs and line breaks would split the record, so they become spaces.
std::string tsvCell(std::string_view text) {
  std::string cell(text);
  for (char& c : cell)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return cell;
}

std::string jsonLine(const nlohmann::ordered_json& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

// Query words that begin with a single '-' (negated terms) would read as options: they are
// taken out before option parsing and join the query.
std::vector<std::string> takeNegatedTerms(CliContext& context) {
  std::vector<std::string> terms, rest;
  for (const std::string& arg : context.args) {
    if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-' && arg != "-h") terms.push_back(arg);
    else rest.push_back(arg);
  }
  context.args = rest;
  return terms;
}

// Runs reader work on an up-to-date index; a file SQLite finds damaged is rebuilt once.
template <class Work>
int withIndex(CliContext& context, index::IndexOptions& options, Work work) {
  for (int attempt = 0;; ++attempt) {
    index::IndexReport report;
    if (!ensureIndex(context, options, report)) return 1;
    try {
      index::IndexReader reader(report.indexFile);
      return work(reader);
    } catch (const index::SqliteError& error) {
      if (!error.damaged() || attempt > 0) {
        context.err << "sorvanta: " << error.what() << "\n";
        return 1;
      }
      context.err << "sorvanta: the index is damaged; rebuilding it\n";
      options.rebuild = true;
    }
  }
}

}  // namespace

int runSearchCommand(CliContext& context) {
  CLI::App app("Searches the release index (built or refreshed first when needed) and prints one "
               "line per match.\n\n" + std::string(index::querySyntaxHelp()) +
                   "Words beginning with '-' are query terms, never options.",
               "sorvanta search");
  std::vector<std::string> words = takeNegatedTerms(context);
  std::vector<std::string> positional;
  int64_t limit = -1;
  bool countOnly = false;
  std::string format = "tsv", what = "sets";
  index::IndexOptions options;
  app.add_option("QUERY", positional, "The query (several arguments are joined by spaces)");
  app.add_option("--limit", limit, "Print at most N matches (default: all)")->check(CLI::NonNegativeNumber);
  app.add_flag("--count", countOnly, "Print only the number of matches");
  app.add_option("--format", format, "tsv (default), jsonl or kwic")
      ->check(CLI::IsMember({"tsv", "jsonl", "kwic"}));
  app.add_option("--what", what, "sets (annotated sentences, default), frames, lus or fes")
      ->check(CLI::IsMember({"sets", "frames", "lus", "fes"}));
  app.add_option("--index", options.indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  app.footer(
      "Output, in the order lexical-unit ID, then sentence ID:\n"
      "  tsv    LU-ID<TAB>Lexical Unit<TAB>Frame<TAB>Sentence ID<TAB>Text\n"
      "  jsonl  {\"lu_id\", \"lu\", \"frame\", \"sentence_id\", \"text\"} per line\n"
      "  kwic   left context right-aligned in 40 columns, the target, the right context\n"
      "--what frames|lus: ID<TAB>Name (by ID); --what fes: Frame<TAB>Name (document order);\n"
      "jsonl gives {\"id\", \"name\"} or {\"frame\", \"name\"}.");
  if (parseArguments(app, context)) return 0;
  words.insert(words.end(), positional.begin(), positional.end());
  std::string query;
  for (const std::string& word : words) query += (query.empty() ? "" : " ") + word;
  if (query.empty()) throw UsageError{"expected a QUERY"};
  const index::SearchTarget target = what == "frames" ? index::SearchTarget::Frames
                                     : what == "lus"  ? index::SearchTarget::LexicalUnits
                                     : what == "fes"  ? index::SearchTarget::FrameElements
                                                      : index::SearchTarget::Sets;
  if (target != index::SearchTarget::Sets && format == "kwic")
    throw UsageError{"--format kwic needs --what sets"};
  auto compiled = index::compileQuery(query, target);
  if (const auto* error = std::get_if<index::QueryError>(&compiled)) {
    context.err << "sorvanta search: " << error->message << "\n";
    return 2;
  }
  const index::CompiledQuery& compiledQuery = std::get<index::CompiledQuery>(compiled);
  if (!releaseFolder(context, options.releaseFolder)) return 1;
  std::ostream& out = context.out;
  return withIndex(context, options, [&](index::IndexReader& reader) {
    if (target == index::SearchTarget::Sets) {
      if (countOnly) {
        int64_t count = reader.countSets(compiledQuery);
        out << (limit >= 0 && count > limit ? limit : count) << "\n";
        return 0;
      }
      reader.forEachSet(compiledQuery, 0, limit, [&](const index::SetRow& row) {
        if (format == "jsonl") {
          nlohmann::ordered_json object;
          object["lu_id"] = row.luId;
          object["lu"] = row.lu;
          object["frame"] = row.frame;
          if (auto id = index::decimalValue(row.sentenceId)) object["sentence_id"] = *id;
          else object["sentence_id"] = row.sentenceId;
          object["text"] = row.text;
          out << jsonLine(object);
        } else if (format == "kwic") {
          out << index::kwicLine(row) << "\n";
        } else {
          out << row.luId << '\t' << tsvCell(row.lu) << '\t' << tsvCell(row.frame) << '\t'
              << tsvCell(row.sentenceId) << '\t' << tsvCell(row.text) << '\n';
        }
        return true;
      });
      return 0;
    }
    if (countOnly) {
      int64_t count = reader.countEntities(target, compiledQuery);
      out << (limit >= 0 && count > limit ? limit : count) << "\n";
      return 0;
    }
    const bool fes = target == index::SearchTarget::FrameElements;
    reader.forEachEntity(target, compiledQuery, 0, limit, [&](const index::EntityRow& row) {
      if (format == "jsonl") {
        nlohmann::ordered_json object;
        if (fes) object["frame"] = row.frame;
        else if (auto id = index::decimalValue(row.id)) object["id"] = *id;
        else object["id"] = row.id;
        object["name"] = row.name;
        out << jsonLine(object);
      } else {
        out << tsvCell(fes ? row.frame : row.id) << '\t' << tsvCell(row.name) << '\n';
      }
      return true;
    });
    return 0;
  });
}

int runSqlCommand(CliContext& context) {
  CLI::App app("Runs one read-only SQL statement on the release index (see docs/index-schema.md); "
               "the index is built or refreshed first when needed.",
               "sorvanta sql");
  std::string sql, format = "tsv";
  index::IndexOptions options;
  app.add_option("SQL", sql, "One SQL statement, e.g. \"SELECT name FROM frames\"")->required();
  app.add_option("--format", format, "tsv (a header line, then the rows; NULL is empty) or jsonl")
      ->check(CLI::IsMember({"tsv", "jsonl"}));
  app.add_option("--index", options.indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  if (parseArguments(app, context)) return 0;
  if (!releaseFolder(context, options.releaseFolder)) return 1;
  std::ostream& out = context.out;
  return withIndex(context, options, [&](index::IndexReader& reader) {
    std::vector<std::string> names;
    try {
      reader.runSql(
          sql,
          [&](const std::vector<std::string>& header) {
            names = header;
            if (format == "tsv" && !names.empty()) {
              for (size_t i = 0; i < names.size(); ++i) out << (i ? "\t" : "") << tsvCell(names[i]);
              out << "\n";
            }
          },
          [&](const std::vector<index::SqlCell>& cells) {
            if (format == "jsonl") {
              nlohmann::ordered_json object;
              for (size_t i = 0; i < cells.size(); ++i) {
                nlohmann::ordered_json& value = object[names[i]];
                if (const auto* n = std::get_if<int64_t>(&cells[i])) value = *n;
                else if (const auto* d = std::get_if<double>(&cells[i])) value = *d;
                else if (const auto* t = std::get_if<std::string>(&cells[i])) value = *t;
              }
              out << jsonLine(object);
              return;
            }
            for (size_t i = 0; i < cells.size(); ++i) {
              if (i) out << '\t';
              if (const auto* n = std::get_if<int64_t>(&cells[i])) out << *n;
              else if (const auto* d = std::get_if<double>(&cells[i])) out << *d;
              else if (const auto* t = std::get_if<std::string>(&cells[i])) out << tsvCell(*t);
            }
            out << '\n';
          });
    } catch (const std::invalid_argument& error) {
      context.err << "sorvanta sql: " << error.what() << "\n";
      return 2;
    } catch (const index::SqliteError& error) {
      if (error.damaged()) throw;
      context.err << "sorvanta sql: " << error.what() << "\n";
      return 1;
    }
    return 0;
  });
}

int runIndexCommand(CliContext& context) {
  CLI::App app("Builds or refreshes the release index and prints what it did.", "sorvanta index");
  index::IndexOptions options;
  app.add_flag("--rebuild", options.rebuild, "Build the index from scratch");
  app.add_option("--index", options.indexFile,
                 "The index file (default: a file in $XDG_CACHE_HOME/sorvanta/)");
  if (parseArguments(app, context)) return 0;
  if (!releaseFolder(context, options.releaseFolder)) return 1;
  options.verify = true;
  index::IndexReport report;
  if (!ensureIndex(context, options, report)) return 1;
  const index::IndexCounts counts = index::countRows(report.indexFile);
  std::ostream& out = context.out;
  out << "Index:\t" << report.indexFile << "\n";
  out << "Action:\t" << (report.built ? "built (" + report.buildReason + ")" : "refreshed") << "\n";
  out << "Documents read:\t" << report.documentsRead << "\n";
  out << "Documents unchanged:\t" << report.documentsUnchanged << "\n";
  out << "Documents removed:\t" << report.documentsRemoved << "\n";
  out << "Documents:\t" << counts.documents << "\n";
  out << "Frames:\t" << counts.frames << "\n";
  out << "Frame elements:\t" << counts.frameElements << "\n";
  out << "Lexical units:\t" << counts.lexicalUnits << "\n";
  out << "Frame relations:\t" << counts.relations << "\n";
  out << "Annotation sets:\t" << counts.annotationSets << "\n";
  out << "Labels:\t" << counts.labels << "\n";
  out << "FE realizations:\t" << counts.realizations << "\n";
  out << "Problems:\t" << counts.problems << "\n";
  out << "Seconds:\t" << std::fixed << std::setprecision(3) << report.seconds << "\n";
  return 0;
}

}  // namespace sorvanta::cli
