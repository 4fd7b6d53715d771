// sorvanta index, search and sql: the release index on the command line.
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "cli/IndexAccess.h"
#include "index/DocumentRows.h"
#include "index/ReleaseIndex.h"
#include "index/Search.h"
#include "index/Sqlite.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

std::string jsonLine(const nlohmann::ordered_json& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

CommandRun declareSearch(CommandLine& line) {
  CLI::Option* limitOption = line.value("--limit", "a number");
  CLI::Option* countFlag = line.flag("--count");
  CLI::Option* formatOption = line.choice("--format", {"tsv", "jsonl", "kwic"});
  CLI::Option* whatOption = line.choice("--what", {"sets", "frames", "lus", "fes"});
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line, limitOption, formatOption, whatOption] {
    if (!limitOption->results().empty()) {
      const std::optional<int32_t> limit = text::tryStrToInt(limitOption->results().back());
      if (!limit || *limit < 0) throw UsageError{"--limit needs a number from 0"};
    }
    if (line.words().empty()) throw UsageError{"expected a QUERY"};
    if (typed(whatOption, "sets") != "sets" && typed(formatOption) == "kwic")
      throw UsageError{"--format kwic needs --what sets"};
  });
  return [&line, limitOption, countFlag, formatOption, whatOption, indexFile](CliContext& context) {
    // Words beginning with '-' are negated query terms: CLI11 leaves them among the extras.
    std::string query;
    for (const std::string& word : line.words()) query += (query.empty() ? "" : " ") + word;
    const int64_t limit =
        limitOption->results().empty() ? -1 : *text::tryStrToInt(limitOption->results().back());
    const bool countOnly = countFlag->count() > 0;
    const std::string format = typed(formatOption, "tsv"), what = typed(whatOption, "sets");
    index::IndexOptions options = indexOptions(context, indexFile);
    const index::SearchTarget target = what == "frames" ? index::SearchTarget::Frames
                                       : what == "lus"  ? index::SearchTarget::LexicalUnits
                                       : what == "fes"  ? index::SearchTarget::FrameElements
                                                        : index::SearchTarget::Sets;
    auto compiled = index::compileQuery(query, target);
    if (const auto* error = std::get_if<index::QueryError>(&compiled)) {
      context.err << "sorvanta search: " << error->message << "\n";
      return 2;
    }
    const index::CompiledQuery& compiledQuery = std::get<index::CompiledQuery>(compiled);
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
            if (auto id = index::decimalValue(row.sentenceId))
              object["sentence_id"] = *id;
            else
              object["sentence_id"] = row.sentenceId;
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
          if (fes)
            object["frame"] = row.frame;
          else if (auto id = index::decimalValue(row.id))
            object["id"] = *id;
          else
            object["id"] = row.id;
          object["name"] = row.name;
          out << jsonLine(object);
        } else {
          out << tsvCell(fes ? row.frame : row.id) << '\t' << tsvCell(row.name) << '\n';
        }
        return true;
      });
      return 0;
    });
  };
}

CommandRun declareSql(CommandLine& line) {
  CLI::Option* formatOption = line.choice("--format", {"tsv", "jsonl"});
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line] {
    if (line.words().size() != 1) throw UsageError{"expected one SQL statement"};
  });
  return [&line, formatOption, indexFile](CliContext& context) {
    const std::string sql = line.words()[0];
    const std::string format = typed(formatOption, "tsv");
    index::IndexOptions options = indexOptions(context, indexFile);
    std::ostream& out = context.out;
    return withIndex(context, options, [&](index::IndexReader& reader) {
      std::vector<std::string> names;
      try {
        reader.runSql(
            sql,
            [&](const std::vector<std::string>& header) {
              names = header;
              if (format == "tsv" && !names.empty()) {
                for (size_t i = 0; i < names.size(); ++i)
                  out << (i ? "\t" : "") << tsvCell(names[i]);
                out << "\n";
              }
            },
            [&](const std::vector<index::SqlCell>& cells) {
              if (format == "jsonl") {
                nlohmann::ordered_json object;
                for (size_t i = 0; i < cells.size(); ++i) {
                  nlohmann::ordered_json& value = object[names[i]];
                  if (const auto* n = std::get_if<int64_t>(&cells[i]))
                    value = *n;
                  else if (const auto* d = std::get_if<double>(&cells[i]))
                    value = *d;
                  else if (const auto* t = std::get_if<std::string>(&cells[i]))
                    value = *t;
                }
                out << jsonLine(object);
                return;
              }
              for (size_t i = 0; i < cells.size(); ++i) {
                if (i) out << '\t';
                if (const auto* n = std::get_if<int64_t>(&cells[i]))
                  out << *n;
                else if (const auto* d = std::get_if<double>(&cells[i]))
                  out << *d;
                else if (const auto* t = std::get_if<std::string>(&cells[i]))
                  out << tsvCell(*t);
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
  };
}

CommandRun declareIndex(CommandLine& line) {
  CLI::Option* rebuild = line.flag("--rebuild");
  CLI::Option* indexFile = line.value("--index", "a file");
  line.check([&line] { line.rejectExtras(); });
  return [rebuild, indexFile](CliContext& context) {
    index::IndexOptions options = indexOptions(context, indexFile);
    options.rebuild = rebuild->count() > 0;
    options.verify = true;
    index::IndexReport report;
    if (!ensureIndex(context, options, report)) return 1;
    const index::IndexCounts counts = index::countRows(report.indexFile);
    std::ostream& out = context.out;
    out << "Index:\t" << report.indexFile << "\n";
    out << "Action:\t" << (report.built ? "built (" + report.buildReason + ")" : "refreshed")
        << "\n";
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
  };
}

}  // namespace sorvanta::cli
