#pragma once
// A search read a page at a time: the query compiled once, counted once, and its rows read in
// pages as a list scrolls, so a query matching 200,000 sets costs only the rows shown.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "index/Query.h"
#include "index/Search.h"

namespace sorvanta::index {

// One result as a list shows it.
struct ResultRow {
  std::vector<std::string> cells;  // one per column of the target, UTF-8
  std::optional<int64_t> luId;     // sets; lexical units whose ID is an integer
  std::string sentenceId;          // sets: the sentence ID as written
  std::string frame;               // the frame the row belongs to (frames: its own name)
  std::optional<int64_t> targetStart, targetEnd;  // sets: the first Target label
};

class SearchPager {
 public:
  // Opens the index read-only (throws SqliteError when it cannot).
  SearchPager(const std::string& indexFile, SearchTarget target, CompiledQuery query);

  // Compiles the query for the target and opens the index; the query's error when malformed.
  static std::variant<SearchPager, QueryError> open(const std::string& indexFile,
                                                    SearchTarget target, std::string_view query);

  // Column captions of a target's rows (sets as the search command's TSV).
  static std::vector<std::string> columns(SearchTarget target);

  SearchTarget target() const { return target_; }
  // Number of matching rows, counted on first use.
  int64_t total();
  size_t loaded() const { return rows_.size(); }
  bool hasMore() { return static_cast<int64_t>(rows_.size()) < total(); }
  // Reads up to pageSize more rows; the number read. A short read ends the search there, so
  // an index that changed underneath never makes a list fetch forever.
  size_t loadMore(size_t pageSize);
  const ResultRow& row(size_t i) const { return rows_[i]; }

 private:
  std::unique_ptr<IndexReader> reader_;
  SearchTarget target_;
  CompiledQuery query_;
  std::optional<int64_t> total_;
  std::vector<ResultRow> rows_;
};

}  // namespace sorvanta::index
