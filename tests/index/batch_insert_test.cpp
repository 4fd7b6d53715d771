// Rows inserted many to a statement: every row once, in order, whatever the count's remainder;
// a conflicting row inside a batch follows the statement's conflict clause per row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/Sqlite.h"

namespace sorvanta::index {
namespace {

struct Row {
  int64_t key;
  std::string text;
};

void bindRow(Statement& insert, int base, const Row& row) {
  insert.bind(base + 1, row.key).bindStatic(base + 2, row.text);
}

std::vector<std::string> stored(Database& db) {
  std::vector<std::string> rows;
  Statement select(db, "SELECT key, text FROM t ORDER BY rowid");
  while (select.step()) rows.push_back(std::to_string(select.integer(0)) + "=" + std::string(select.text(1)));
  return rows;
}

TEST(BatchInsert, InsertsEveryRowInOrderForCountsAroundTheBatchSize) {
  constexpr int kBatch = BatchInsert::kRows;
  for (int count : {0, 1, kBatch - 1, kBatch, kBatch + 1, 2 * kBatch + 3}) {
    Database db(":memory:", Database::Mode::Create);
    db.exec("CREATE TABLE t(key INTEGER, text TEXT)");
    std::vector<Row> rows;
    std::vector<std::string> expected;
    for (int i = 0; i < count; ++i) {
      rows.push_back({i * 7, "row " + std::to_string(i)});
      expected.push_back(std::to_string(i * 7) + "=row " + std::to_string(i));
    }
    BatchInsert insert(db, "INSERT INTO t(key, text) VALUES (?, ?)", 2);
    insert.insert(rows, bindRow);
    insert.insert(rows, bindRow);  // the statements are reusable
    const std::vector<std::string> once = expected;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(stored(db), expected) << count << " rows";
  }
}

TEST(BatchInsert, IgnoresOnlyTheConflictingRowsOfABatch) {
  Database db(":memory:", Database::Mode::Create);
  db.exec("CREATE TABLE t(key INTEGER PRIMARY KEY, text TEXT)");
  std::vector<Row> rows;
  for (int i = 0; i < BatchInsert::kRows; ++i) rows.push_back({i % 10, "v" + std::to_string(i)});
  BatchInsert(db, "INSERT OR IGNORE INTO t(key, text) VALUES (?, ?)", 2).insert(rows, bindRow);
  std::vector<std::string> expected;
  for (int i = 0; i < 10; ++i) expected.push_back(std::to_string(i) + "=v" + std::to_string(i));
  EXPECT_EQ(stored(db), expected);
}

}  // namespace
}  // namespace sorvanta::index
