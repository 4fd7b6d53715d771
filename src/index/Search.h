#pragma once
// Reading the release index: searches compiled from the query language, and read-only SQL.
// The window and the command line call the same functions.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "index/Query.h"

namespace sorvanta::index {

class Database;

// One matching annotation set.
struct SetRow {
  int64_t luId = 0;
  std::string lu, frame;  // '' when the frames document does not name the unit
  std::string sentenceId;  // as written
  std::string text;
  std::optional<int64_t> targetStart, targetEnd;  // first Target label, character offsets
};

// One matching frame, lexical unit or frame element.
// One cell of a result of runSql: NULL, integer, real or text (blobs as their bytes).
using SqlCell = std::variant<std::monostate, int64_t, double, std::string>;

struct EntityRow {
  std::string id;     // frames and lexical units: the ID as written
  std::string frame;  // frame elements: their frame's name
  std::string name;
};

class IndexReader {
 public:
  // Opens an index file read-only (query_only). Throws SqliteError when it cannot.
  explicit IndexReader(const std::string& indexFile);
  ~IndexReader();
  IndexReader(const IndexReader&) = delete;
  IndexReader& operator=(const IndexReader&) = delete;

  int64_t countSets(const CompiledQuery& query);
  // Matching sets in the order lexical-unit ID, sentence ID; offset and limit page through
  // them (limit < 0: all). each returns false to stop early.
  void forEachSet(const CompiledQuery& query, int64_t offset, int64_t limit,
                  const std::function<bool(const SetRow&)>& each);
  int64_t countEntities(SearchTarget target, const CompiledQuery& query);
  void forEachEntity(SearchTarget target, const CompiledQuery& query, int64_t offset, int64_t limit,
                     const std::function<bool(const EntityRow&)>& each);
  // Runs one SQL statement read-only: header gets the column names once, each every row.
  // Throws SqliteError (with SQLite's message) when it fails or writes, and
  // std::invalid_argument when the text holds more than one statement or none.
  void runSql(std::string_view sql, const std::function<void(const std::vector<std::string>&)>& header,
              const std::function<void(const std::vector<SqlCell>&)>& each);

 private:
  std::unique_ptr<Database> db_;
};

// The KWIC line of a set: the left context right-aligned in 40 columns, the target, the right
// context (columns are Unicode characters; tabs and line breaks become spaces).
std::string kwicLine(const SetRow& row);

}  // namespace sorvanta::index
