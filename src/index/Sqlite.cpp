#include "index/Sqlite.h"

#include <utility>

namespace sorvanta::index {

Database::Database(const std::string& path, Mode mode) {
  // Memory statistics take a global mutex on every allocation; the index needs none. Only
  // possible before SQLite initialises, so the first connection of the process decides.
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    return true;
  }();
  (void)configured;
  const int flags = mode == Mode::ReadOnly    ? SQLITE_OPEN_READONLY
                    : mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE
                                              : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int code = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (code != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError(code, "cannot open " + path + ": " + message);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, 30000);
}

Database::~Database() { close(); }

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    close();
    db_ = std::exchange(other.db_, nullptr);
  }
  return *this;
}

void Database::close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void Database::fail(int code, std::string_view what) const {
  std::string message(what);
  message += ": ";
  message += db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
  throw SqliteError(db_ ? sqlite3_extended_errcode(db_) : code, message);
}

void Database::exec(std::string_view sql) {
  const int code = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr);
  if (code != SQLITE_OK) fail(code, "index");
}

int64_t Database::scalarInt(std::string_view sql, int64_t fallback) {
  Statement statement(*this, sql);
  return statement.step() ? statement.integer(0) : fallback;
}

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
  const char* rest = nullptr;
  const int code = sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()),
                                      &stmt_, &rest);
  if (code != SQLITE_OK) db.fail(code, "index query");
  if (rest) tail_ = sql.substr(static_cast<size_t>(rest - sql.data()));
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, int64_t value) {
  const int code = sqlite3_bind_int64(stmt_, index, value);
  if (code != SQLITE_OK) db_.fail(code, "index bind");
  return *this;
}

Statement& Statement::bind(int index, std::string_view value) {
  const int code = sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
  if (code != SQLITE_OK) db_.fail(code, "index bind");
  return *this;
}

Statement& Statement::bindStatic(int index, std::string_view value) {
  const int code = sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_STATIC,
                                       SQLITE_UTF8);
  if (code != SQLITE_OK) db_.fail(code, "index bind");
  return *this;
}

Statement& Statement::bind(int index, const std::optional<int64_t>& value) {
  return value ? bind(index, *value) : bindNull(index);
}

Statement& Statement::bindNull(int index) {
  const int code = sqlite3_bind_null(stmt_, index);
  if (code != SQLITE_OK) db_.fail(code, "index bind");
  return *this;
}

bool Statement::step() {
  const int code = sqlite3_step(stmt_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  db_.fail(code, "index");
}

namespace {

// The INSERT of one row with its VALUES tuple repeated for rows rows.
std::string repeatedValuesSql(std::string_view oneRow, int rows) {
  const size_t tuple = oneRow.rfind('(');
  std::string sql(oneRow);
  for (int r = 1; r < rows; ++r) sql.append(",").append(oneRow.substr(tuple));
  return sql;
}

}  // namespace

BatchInsert::BatchInsert(Database& db, std::string_view oneRowSql, int columns)
    : columns_(columns), one_(db, oneRowSql), many_(db, repeatedValuesSql(oneRowSql, kRows)) {}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }
bool Statement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }
std::string_view Statement::text(int column) const {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return data ? std::string_view(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string_view();
}
std::string_view Statement::columnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

Transaction::Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }
Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}
void Transaction::commit() {
  db_.exec("COMMIT");
  open_ = false;
}

}  // namespace sorvanta::index
