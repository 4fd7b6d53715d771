#include "index/Search.h"

#include <re2/re2.h>

#include <stdexcept>

#include "index/Sqlite.h"

namespace sorvanta::index {

namespace {

void deleteRegex(void* regex) { delete static_cast<RE2*>(regex); }

// regexp(pattern, text): RE2, linear time; the compiled pattern is kept per statement.
void regexpFunction(sqlite3_context* context, int, sqlite3_value** values) {
  if (sqlite3_value_type(values[0]) == SQLITE_NULL || sqlite3_value_type(values[1]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  auto* regex = static_cast<RE2*>(sqlite3_get_auxdata(context, 0));
  if (!regex) {
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    const int length = sqlite3_value_bytes(values[0]);
    if (static_cast<size_t>(length) > kMaxRegexLength) {
      sqlite3_result_error(context, "regular expression too long", -1);
      return;
    }
    RE2::Options options;
    options.set_log_errors(false);
    options.set_max_mem(8 << 20);
    regex = new RE2(re2::StringPiece(pattern, static_cast<size_t>(length)), options);
    if (!regex->ok()) {
      const std::string message = "invalid regular expression: " + regex->error();
      delete regex;
      sqlite3_result_error(context, message.c_str(), -1);
      return;
    }
    sqlite3_set_auxdata(context, 0, regex, deleteRegex);
    regex = static_cast<RE2*>(sqlite3_get_auxdata(context, 0));
    if (!regex) {
      sqlite3_result_error_nomem(context);
      return;
    }
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[1]));
  const int length = sqlite3_value_bytes(values[1]);
  sqlite3_result_int(context, RE2::PartialMatch(re2::StringPiece(text, static_cast<size_t>(length)), *regex));
}

void bindAll(Statement& statement, const CompiledQuery& query, int first = 1) {
  int index = first;
  for (const SqlValue& value : query.parameters) {
    if (const auto* number = std::get_if<int64_t>(&value)) statement.bind(index++, *number);
    else statement.bind(index++, std::get<std::string>(value));
  }
}

const char* entityTable(SearchTarget target) {
  switch (target) {
    case SearchTarget::Frames: return "frames f";
    case SearchTarget::LexicalUnits: return "lexical_units u";
    default: return "frame_elements e";
  }
}

// Counts UTF-8 characters up to a byte position, and the reverse.
size_t byteOffset(std::string_view text, int64_t characters) {
  size_t pos = 0;
  for (int64_t seen = 0; pos < text.size() && seen < characters; ++seen) {
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
  }
  return pos;
}

size_t characterCount(std::string_view text) {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

IndexReader::IndexReader(const std::string& indexFile)
    : db_(std::make_unique<Database>(indexFile, Database::Mode::ReadOnly)) {
  db_->exec("PRAGMA query_only=1;");
  sqlite3_create_function_v2(db_->handle(), "regexp", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             regexpFunction, nullptr, nullptr, nullptr);
}

IndexReader::~IndexReader() = default;

int64_t IndexReader::countSets(const CompiledQuery& query) {
  Statement statement(*db_, "SELECT count(*) FROM annotation_sets s WHERE " + query.condition);
  bindAll(statement, query);
  return statement.step() ? statement.integer(0) : 0;
}

void IndexReader::forEachSet(const CompiledQuery& query, int64_t offset, int64_t limit,
                             const std::function<bool(const SetRow&)>& each) {
  Statement rows(
      *db_,
      "SELECT s.lu_id, coalesce(u.name, ''), coalesce(u.frame_name, ''), s.sentence_key, s.text, "
      "s.set_ord FROM annotation_sets s "
      "LEFT JOIN lexical_units u ON u.lu_ord = (SELECT lu_ord FROM lexical_units WHERE id = s.lu_id "
      "ORDER BY lu_ord LIMIT 1) "
      "WHERE " + query.condition + " ORDER BY s.lu_id, s.sentence_id, s.set_ord LIMIT ? OFFSET ?");
  bindAll(rows, query);
  const int next = static_cast<int>(query.parameters.size()) + 1;
  rows.bind(next, limit).bind(next + 1, offset < 0 ? 0 : offset);
  Statement target(*db_,
                   "SELECT d.start, d.\"end\" FROM sentences x JOIN label_data d "
                   "ON d.sentence_ord = x.labels_of WHERE x.set_ord = ?1 AND d.layer_id = ?2 "
                   "AND d.name_id = ?2 AND d.start IS NOT NULL AND d.\"end\" IS NOT NULL "
                   "ORDER BY x.source, x.sentence_ord, d.position LIMIT 1");
  const int64_t targetId =
      db_->scalarInt("SELECT name_id FROM label_names WHERE text = 'Target'", -1);
  SetRow row;
  while (rows.step()) {
    row.luId = rows.integer(0);
    row.lu = rows.text(1);
    row.frame = rows.text(2);
    row.sentenceId = rows.text(3);
    row.text = rows.text(4);
    target.bind(1, rows.integer(5)).bind(2, targetId);
    row.targetStart.reset();
    row.targetEnd.reset();
    if (target.step()) {
      row.targetStart = target.integer(0);
      row.targetEnd = target.integer(1);
    }
    target.reset();
    if (!each(row)) break;
  }
}

int64_t IndexReader::countEntities(SearchTarget target, const CompiledQuery& query) {
  Statement statement(*db_, std::string("SELECT count(*) FROM ") + entityTable(target) + " WHERE " +
                                query.condition);
  bindAll(statement, query);
  return statement.step() ? statement.integer(0) : 0;
}

void IndexReader::forEachEntity(SearchTarget target, const CompiledQuery& query, int64_t offset,
                                int64_t limit, const std::function<bool(const EntityRow&)>& each) {
  std::string sql;
  switch (target) {
    case SearchTarget::Frames:
      sql = "SELECT f.id_text, '', f.name FROM frames f WHERE " + query.condition +
            " ORDER BY f.id IS NULL, f.id, f.frame_ord";
      break;
    case SearchTarget::LexicalUnits:
      sql = "SELECT u.id_text, u.frame_name, u.name FROM lexical_units u WHERE " + query.condition +
            " ORDER BY u.id IS NULL, u.id, u.lu_ord";
      break;
    default:
      sql = "SELECT e.id_text, e.frame_name, e.name FROM frame_elements e WHERE " + query.condition +
            " ORDER BY e.frame_ord, e.fe_ord";
      break;
  }
  Statement rows(*db_, sql + " LIMIT ? OFFSET ?");
  bindAll(rows, query);
  const int next = static_cast<int>(query.parameters.size()) + 1;
  rows.bind(next, limit).bind(next + 1, offset < 0 ? 0 : offset);
  EntityRow row;
  while (rows.step()) {
    row.id = rows.text(0);
    row.frame = rows.text(1);
    row.name = rows.text(2);
    if (!each(row)) break;
  }
}

void IndexReader::runSql(std::string_view sql,
                         const std::function<void(const std::vector<std::string>&)>& header,
                         const std::function<void(const std::vector<SqlCell>&)>& each) {
  Statement statement(*db_, sql);
  if (!statement.handle()) throw std::invalid_argument("no SQL statement given");
  if (!statement.tail().empty()) {
    // Only spaces and comments may follow the one statement.
    Statement rest(*db_, statement.tail());
    if (rest.handle()) throw std::invalid_argument("give one SQL statement at a time");
  }
  std::vector<std::string> names;
  for (int i = 0; i < statement.columnCount(); ++i) names.emplace_back(statement.columnName(i));
  // The first step runs before the header is given, so a statement that fails at once
  // (a write refused) prints nothing.
  bool more = statement.step();
  header(names);
  std::vector<SqlCell> cells(names.size());
  for (; more; more = statement.step()) {
    for (int i = 0; i < statement.columnCount(); ++i) {
      SqlCell& cell = cells[static_cast<size_t>(i)];
      switch (sqlite3_column_type(statement.handle(), i)) {
        case SQLITE_NULL: cell = std::monostate(); break;
        case SQLITE_INTEGER: cell = statement.integer(i); break;
        case SQLITE_FLOAT: cell = sqlite3_column_double(statement.handle(), i); break;
        default: cell = std::string(statement.text(i)); break;
      }
    }
    each(cells);
  }
}

std::string kwicLine(const SetRow& row) {
  std::string text = row.text;
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  size_t targetFrom = 0, targetTo = 0;
  if (row.targetStart && row.targetEnd && *row.targetStart >= 0 && *row.targetEnd >= *row.targetStart) {
    targetFrom = byteOffset(text, *row.targetStart);
    targetTo = byteOffset(text, *row.targetEnd + 1);
  }
  std::string_view left = std::string_view(text).substr(0, targetFrom);
  size_t leftChars = characterCount(left);
  while (leftChars > 40) {  // keep the last 40 characters
    size_t cut = 1;
    while (cut < left.size() && (static_cast<unsigned char>(left[cut]) & 0xC0) == 0x80) ++cut;
    left.remove_prefix(cut);
    --leftChars;
  }
  std::string line(40 - leftChars, ' ');
  line += left;
  line += text.substr(targetFrom, targetTo - targetFrom);
  line += text.substr(targetTo);
  return line;
}

}  // namespace sorvanta::index
