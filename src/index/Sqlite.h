#pragma once
// Thin RAII wrappers over the SQLite C interface: one connection, one prepared statement
// (prepared once, reset and rebound per row). Failures throw SqliteError with SQLite's
// message and code, so callers can tell a damaged file from a busy one.
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::index {

class SqliteError : public std::runtime_error {
 public:
  SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }
  // The file is not a database or its pages are damaged.
  bool damaged() const {
    const int primary = code_ & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
  }

 private:
  int code_;
};

class Database {
 public:
  enum class Mode { ReadOnly, ReadWrite, Create };
  Database() = default;
  Database(const std::string& path, Mode mode);
  ~Database();
  Database(Database&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* handle() const { return db_; }
  bool isOpen() const { return db_ != nullptr; }
  void close();
  // Runs one or more statements without results.
  void exec(std::string_view sql);
  // The first column of the first row as an integer; fallback when there is no row.
  int64_t scalarInt(std::string_view sql, int64_t fallback = 0);
  [[noreturn]] void fail(int code, std::string_view what) const;

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(Database& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, int64_t value);
  Statement& bind(int index, std::string_view value);  // bound as UTF-8 text, copied
  // Bound without a copy: value must stay unchanged until the statement is reset.
  Statement& bindStatic(int index, std::string_view value);
  Statement& bind(int index, const std::optional<int64_t>& value);
  Statement& bindNull(int index);
  // Advances to the next row: true while there is one.
  bool step();
  // Runs a statement without results to its end, then resets it for the next binding.
  void run();
  void reset();

  int columnCount() const;
  bool isNull(int column) const;
  int64_t integer(int column) const;
  std::string_view text(int column) const;
  std::string_view columnName(int column) const;
  sqlite3_stmt* handle() const { return stmt_; }
  // What follows the first statement of the SQL text (only spaces and comments when empty).
  std::string_view tail() const { return tail_; }

 private:
  Database& db_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string_view tail_;
};

// An INSERT of one row ("... VALUES (?,...)") run for many rows, kRows to a statement: one run
// keeps its cursors open across its rows, so rows coming in key order are appended without a
// search from the root each, and the per-statement work is shared. The rest go one by one.
// bind(statement, base, row) binds a row's values at base + 1, base + 2, ...
class BatchInsert {
 public:
  static constexpr int kRows = 64;
  BatchInsert(Database& db, std::string_view oneRowSql, int columns);

  template <typename Row, typename Bind>
  void insert(const std::vector<Row>& rows, Bind bind) {
    size_t r = 0;
    for (; r + kRows <= rows.size(); r += kRows) {
      for (int k = 0; k < kRows; ++k) bind(many_, k * columns_, rows[r + static_cast<size_t>(k)]);
      many_.run();
    }
    for (; r < rows.size(); ++r) {
      bind(one_, 0, rows[r]);
      one_.run();
    }
  }

 private:
  int columns_;
  Statement one_, many_;
};

// BEGIN IMMEDIATE on construction; ROLLBACK unless commit() was called.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace sorvanta::index
