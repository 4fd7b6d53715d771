#pragma once
// The label rows of a cold build (label_data and constituents: two thirds of the index's
// rows and most of its index-building time) go into side files, one per table, each written
// by a thread of its own while the calling thread writes every other table. The side files
// grow their indexes with the rows and gather statistics; copyInto() then moves the rows into
// the index with INSERT ... SELECT, which SQLite carries out record by record, indexes
// included, without decoding or sorting them again (the tables are empty and alike on both
// sides).
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "index/Schema.h"
#include "index/Sqlite.h"

namespace sorvanta::index {

// One label_data row. An offset is kept as an integer when the document writes it in plain
// decimal, else as its text (with the integer when it still reads as one).
struct LabelRecord {
  int64_t sentenceOrd, position, setOrd, layer, rank, name, itype;
  bool merged;
  std::optional<int64_t> start, end;
  std::optional<std::string> startText, endText;
};

// One constituents row: an overt FE label and a PT and a GF label with the same span.
struct ConstituentRecord {
  int64_t fe, pt, gf, setOrd, start, end;
};

// The label rows of one document, in writing order.
struct LabelBatch {
  std::vector<LabelRecord> labels;
  std::vector<ConstituentRecord> constituents;
  bool empty() const { return labels.empty() && constituents.empty(); }
};

inline constexpr std::string_view kInsertLabelSql =
    "INSERT INTO label_data(sentence_ord, position, set_ord, layer_id, rank_id, name_id, itype_id, "
    "merged, start, \"end\", start_text, end_text) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)";
inline constexpr std::string_view kInsertConstituentSql =
    "INSERT OR IGNORE INTO constituents(fe_id, pt_id, gf_id, set_ord, start, \"end\") "
    "VALUES (?,?,?,?,?,?)";

// Binds one row's values at base + 1, ... of a statement prepared from the SQL above (or a
// BatchInsert of it).
void bindLabel(Statement& insert, int base, const LabelRecord& label);
void bindConstituent(Statement& insert, int base, const ConstituentRecord& constituent);

// One side file: a table of its own, written by a thread of its own.
class SidePart {
 public:
  SidePart(std::string path, SideTable table);
  ~SidePart();  // stops the thread if it still runs and removes the file
  SidePart(const SidePart&) = delete;
  SidePart& operator=(const SidePart&) = delete;

  void add(LabelBatch&& batch);
  void close();   // no more rows: the thread goes on to the statistics
  void finish();  // waits for that
  const std::string& path() const { return path_; }
  SideTable table() const { return table_; }

 private:
  void run();
  std::optional<LabelBatch> next();

  std::string path_;
  SideTable table_;
  std::mutex mutex_;
  std::condition_variable ready_, room_;
  std::deque<LabelBatch> queue_;
  bool closed_ = false;
  bool failed_ = false;
  bool done_ = false;
  std::exception_ptr error_;
  std::jthread thread_;
};

class LabelSideFile {
 public:
  // Creates the side files at pathStem + "-labels" and "-constituents" (replacing stale
  // ones) and starts their threads.
  explicit LabelSideFile(const std::string& pathStem);

  // Queues one document's rows; waits while a queue is full. Throws what a writing thread
  // failed with.
  void add(LabelBatch&& batch);
  // No more rows: the side files gather their statistics meanwhile.
  void close();
  // Waits until they are done, then copies the rows and their statistics into db, which
  // holds the same tables, empty, and their indexes. db must be outside any transaction
  // (ATTACH needs that); the copy is one transaction of its own.
  void copyInto(Database& db);

 private:
  SidePart labels_, constituents_;
};

}  // namespace sorvanta::index
