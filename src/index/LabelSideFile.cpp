#include "index/LabelSideFile.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "index/Schema.h"

namespace sorvanta::index {

namespace {

constexpr size_t kQueueLimit = 128;  // documents; bounds memory when the side thread lags

void removeFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

void bindLabel(Statement& insert, int base, const LabelRecord& label) {
  insert.bind(base + 1, label.sentenceOrd)
      .bind(base + 2, label.position)
      .bind(base + 3, label.setOrd)
      .bind(base + 4, label.layer)
      .bind(base + 5, label.rank)
      .bind(base + 6, label.name)
      .bind(base + 7, label.itype)
      .bind(base + 8, int64_t{label.merged})
      .bind(base + 9, label.start)
      .bind(base + 10, label.end);
  if (label.startText) insert.bindStatic(base + 11, *label.startText);
  if (label.endText) insert.bindStatic(base + 12, *label.endText);
}

void bindConstituent(Statement& insert, int base, const ConstituentRecord& constituent) {
  insert.bind(base + 1, constituent.fe)
      .bind(base + 2, constituent.pt)
      .bind(base + 3, constituent.gf)
      .bind(base + 4, constituent.setOrd)
      .bind(base + 5, constituent.start)
      .bind(base + 6, constituent.end);
}

SidePart::SidePart(std::string path, SideTable table)
    : path_(std::move(path)), table_(table) {
  removeFile(path_);
  thread_ = std::jthread([this] { run(); });
}

SidePart::~SidePart() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    failed_ = failed_ || !done_;  // an unfinished file is dropped: stop writing it
  }
  ready_.notify_all();
  room_.notify_all();
  if (thread_.joinable()) thread_.join();
  removeFile(path_);
}

void SidePart::add(LabelBatch&& batch) {
  std::unique_lock lock(mutex_);
  room_.wait(lock, [&] { return failed_ || queue_.size() < kQueueLimit; });
  if (error_) std::rethrow_exception(error_);
  if (failed_) return;
  queue_.push_back(std::move(batch));
  lock.unlock();
  ready_.notify_one();
}

std::optional<LabelBatch> SidePart::next() {
  std::unique_lock lock(mutex_);
  ready_.wait(lock, [&] { return failed_ || closed_ || !queue_.empty(); });
  if (failed_ || queue_.empty()) return std::nullopt;
  LabelBatch batch = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  room_.notify_one();
  return batch;
}

void SidePart::run() {
  try {
    Database db(path_, Database::Mode::Create);
    // A small page cache: rows arrive in key order and the index grows at few places, so a
    // larger one only raised the process's peak memory (by 68 MB), not the speed.
    db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
            "PRAGMA cache_size=-4096; PRAGMA temp_store=MEMORY; PRAGMA page_size=16384;");
    Transaction transaction(db);
    db.exec(sideTableSql(table_));
    // Indexes grown with the rows: the rows come while documents are still being read, when
    // the cores have room; built after them, they would lengthen the build's serial end.
    db.exec(sideIndexSql(table_));
    {
      const bool labels = table_ == SideTable::LabelData;
      BatchInsert insert(db, labels ? kInsertLabelSql : kInsertConstituentSql, labels ? 12 : 6);
      while (std::optional<LabelBatch> batch = next()) {
        if (labels)
          insert.insert(batch->labels, bindLabel);
        else
          insert.insert(batch->constituents, bindConstituent);
      }
    }
    {
      std::lock_guard lock(mutex_);
      if (failed_) return;  // abandoned: the destructor removes the file
    }
    db.exec("ANALYZE;");
    transaction.commit();
    std::lock_guard lock(mutex_);
    done_ = true;
  } catch (...) {
    std::lock_guard lock(mutex_);
    error_ = std::current_exception();
    failed_ = true;
  }
  room_.notify_all();
}

void SidePart::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  ready_.notify_all();
}

void SidePart::finish() {
  close();
  if (thread_.joinable()) thread_.join();
  if (error_) std::rethrow_exception(error_);
}

LabelSideFile::LabelSideFile(const std::string& pathStem)
    : labels_(pathStem + "-labels", SideTable::LabelData),
      constituents_(pathStem + "-constituents", SideTable::Constituents) {}

void LabelSideFile::add(LabelBatch&& batch) {
  if (!batch.constituents.empty()) {
    LabelBatch part;
    part.constituents = std::move(batch.constituents);
    constituents_.add(std::move(part));
  }
  if (!batch.labels.empty()) labels_.add(std::move(batch));
}

void LabelSideFile::close() {
  labels_.close();
  constituents_.close();
}

void LabelSideFile::copyInto(Database& db) {
  for (SidePart* part : {&labels_, &constituents_}) {
    part->finish();
    const std::string_view table = part->table() == SideTable::LabelData ? "label_data" : "constituents";
    Statement attach(db, "ATTACH DATABASE ? AS side");
    attach.bind(1, part->path()).run();
    struct Detach {
      Database& db;
      ~Detach() { sqlite3_exec(db.handle(), "DETACH DATABASE side", nullptr, nullptr, nullptr); }
    } detach{db};
    Transaction transaction(db);
    db.exec("INSERT INTO main." + std::string(table) + " SELECT * FROM side." + std::string(table) + ";");
    // The statistics ANALYZE gathered in the side file describe the same rows and indexes;
    // db has been analysed before (with the table empty), so it has sqlite_stat1.
    Statement clear(db, "DELETE FROM main.sqlite_stat1 WHERE tbl = ?");
    clear.bind(1, table).run();
    db.exec("INSERT INTO main.sqlite_stat1 SELECT * FROM side.sqlite_stat1;");
    transaction.commit();
  }
}

}  // namespace sorvanta::index
