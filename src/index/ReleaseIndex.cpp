#include "index/ReleaseIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "index/DocumentRows.h"
#include "index/LabelSideFile.h"
#include "index/Schema.h"
#include "index/Sqlite.h"
#include "xml/XpObjModel.h"

namespace sorvanta::index {

namespace fs = std::filesystem;

namespace {

struct DocumentEntry {
  std::string path;  // relative, '/' separated
  DocumentKind kind;
  std::optional<int64_t> luId;
  int64_t size = 0;
  int64_t mtimeNs = 0;
};

int kindRank(DocumentKind kind) { return static_cast<int>(kind); }

// Lists a release's documents with one stat each, in build order: frames, relations, then
// per lexical-unit ID its annotation, subcorpus and lexical-entry documents.
std::vector<DocumentEntry> scanRelease(const std::string& folder) {
  std::vector<DocumentEntry> entries;
  auto statInto = [&](int dirFd, const char* name, DocumentEntry entry) {
    struct stat info;
    if (fstatat(dirFd, name, &info, 0) != 0 || !S_ISREG(info.st_mode)) return;
    entry.size = static_cast<int64_t>(info.st_size);
    entry.mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    entries.push_back(std::move(entry));
  };
  const int frXml = open((folder + "/frXML").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (frXml >= 0) {
    statInto(frXml, "frames.xml", {"frXML/frames.xml", DocumentKind::Frames, std::nullopt});
    statInto(frXml, "frRelation.xml", {"frXML/frRelation.xml", DocumentKind::Relations, std::nullopt});
    close(frXml);
  }
  const struct {
    const char* folder;
    const char* prefix;
    DocumentKind kind;
  } kFolders[] = {{"luXML", "lu", DocumentKind::Annotation},
                  {"xml", "lu", DocumentKind::Subcorpus},
                  {"leXML", "le", DocumentKind::LexicalEntry}};
  for (const auto& each : kFolders) {
    DIR* dir = opendir((folder + "/" + each.folder).c_str());
    if (!dir) continue;
    const int dirFd = dirfd(dir);
    while (const dirent* item = readdir(dir)) {
      const std::string_view name = item->d_name;
      if (name.size() < 7 || name.substr(0, 2) != each.prefix ||
          name.substr(name.size() - 4) != ".xml")
        continue;
      const std::string_view digits = name.substr(2, name.size() - 6);
      if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;
      const std::optional<int64_t> id = decimalValue(digits);
      if (!id) continue;
      statInto(dirFd, item->d_name,
               {std::string(each.folder) + "/" + std::string(name), each.kind, id});
    }
    closedir(dir);
  }
  std::sort(entries.begin(), entries.end(), [](const DocumentEntry& a, const DocumentEntry& b) {
    const bool aLu = a.luId.has_value(), bLu = b.luId.has_value();
    if (aLu != bLu) return !aLu;
    if (aLu && *a.luId != *b.luId) return *a.luId < *b.luId;
    if (a.kind != b.kind) return kindRank(a.kind) < kindRank(b.kind);
    return a.path < b.path;  // lu7.xml and lu007.xml: both kept, in name order
  });
  return entries;
}

std::string absoluteFolder(const std::string& folder) {
  std::error_code error;
  fs::path path = fs::weakly_canonical(fs::absolute(folder, error), error);
  std::string text = path.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// An exclusive advisory lock on a file beside the index, released on destruction.
class IndexLock {
 public:
  IndexLock(const std::string& path, text::Progress& progress) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (progress.cancelled()) {
        close(fd_);
        fd_ = -1;
        cancelled_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~IndexLock() {
    if (fd_ >= 0) close(fd_);
  }
  IndexLock(const IndexLock&) = delete;
  IndexLock& operator=(const IndexLock&) = delete;
  bool held() const { return fd_ >= 0; }
  bool cancelled() const { return cancelled_; }

 private:
  int fd_ = -1;
  bool cancelled_ = false;
};

int sourceOf(DocumentKind kind) {
  return kind == DocumentKind::Annotation ? kSourceAnnotation : kSourceSubcorpus;
}

// Writes document rows into an open index, on one thread, inside the caller's transaction.
// A cold build (fresh) hands the label rows to a side file instead; an update writes them here.
class Writer {
 public:
  Writer(Database& db, bool fresh, LabelSideFile* side = nullptr)
      : db_(db),
        fresh_(fresh),
        side_(side),
        document_(db, "INSERT OR REPLACE INTO documents(path, kind, lu_id, size, mtime_ns, readable) "
                      "VALUES (?,?,?,?,?,?)"),
        problem_(db, "INSERT INTO problems(document, location, code, message) VALUES (?,?,?,?)"),
        frame_(db, "INSERT INTO frames(frame_ord, id, id_text, name, definition) VALUES (?,?,?,?,?)"),
        fe_(db, "INSERT INTO frame_elements(frame_ord, frame_name, id, id_text, name, abbrev, "
                "core_type, definition) VALUES (?,?,?,?,?,?,?,?)"),
        lu_(db, "INSERT INTO lexical_units(frame_ord, frame_name, id, id_text, name, lemma, pos, "
                "pos_attr, status, definition, annotated, annotated_text) "
                "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
        type_(db, "INSERT INTO relation_types(id_text, name) VALUES (?,?)"),
        relation_(db, "INSERT INTO frame_relations(type_ord, type_name, id_text, super_frame, "
                      "sub_frame) VALUES (?,?,?,?,?)"),
        feRelation_(db, "INSERT INTO fe_relations(relation_ord, id_text, super_fe, sub_fe) "
                        "VALUES (?,?,?,?)"),
        subcorpus_(db, "INSERT INTO subcorpora(document, source, lu_id, name, set_count) "
                       "VALUES (?,?,?,?,?)"),
        set_(db, "INSERT INTO annotation_sets(lu_id, sentence_key, sentence_id, text) VALUES (?,?,?,?)"),
        setText_(db, "UPDATE annotation_sets SET text = ? WHERE set_ord = ? AND text <> ?"),
        labelFinding_(db, "INSERT INTO label_findings(document, lu_id, fault, sentence_order, "
                          "label_order, sentence_key, sentence_length, layer, layer_rank, name, "
                          "start_text, end_text, other_name, other_start, other_end) "
                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
        labelName_(db, "INSERT INTO label_names(text) VALUES (?)"),
        sentence_(db, "INSERT INTO sentences(set_ord, document, source, lu_id, subcorpus, "
                      "sentence_key, sentence_id, text, doc_order, labels_of, label_base, "
                      "sentence_ord, fe_ranks, outside_1252) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                  14),
        feLabelCount_(db, "INSERT INTO fe_label_counts(document, lu_id, layer_rank, name, labels) "
                          "VALUES (?,?,?,?,?)", 5),
        realization_(db, "INSERT INTO fe_realizations(document, lu_id, fe, pt, gf, total_text, total, "
                         "doc_order) VALUES (?,?,?,?,?,?,?,?)", 8),
        label_(db, kInsertLabelSql, 12),
        constituent_(db, kInsertConstituentSql, 6) {
    Statement names(db, "SELECT text, name_id FROM label_names");
    while (names.step()) names_.emplace(std::string(names.text(0)), names.integer(1));
    nameId("");  // name_id 1 in a fresh file
    nextSentence_ = db.scalarInt("SELECT coalesce(max(sentence_ord), 0) + 1 FROM sentences");
  }

  // Removes every row a document contributed (before it is re-read, or once it is gone).
  void remove(const DocumentEntry& entry) {
    Statement(db_, "DELETE FROM problems WHERE document = ?").bind(1, entry.path).run();
    Statement(db_, "DELETE FROM documents WHERE path = ?").bind(1, entry.path).run();
    switch (entry.kind) {
      case DocumentKind::Frames:
        db_.exec("DELETE FROM frame_elements; DELETE FROM lexical_units; DELETE FROM frames;");
        break;
      case DocumentKind::Relations:
        db_.exec("DELETE FROM fe_relations; DELETE FROM frame_relations; DELETE FROM relation_types;");
        break;
      case DocumentKind::Annotation:
      case DocumentKind::Subcorpus: {
        if (entry.kind == DocumentKind::Annotation) {
          // Subcorpus sentences sharing this document's label rows get copies of their own.
          Statement(db_, "INSERT INTO label_data(sentence_ord, position, set_ord, layer_id, rank_id, "
                         "name_id, itype_id, merged, start, \"end\", start_text, end_text) "
                         "SELECT s.sentence_ord, d.position, d.set_ord, d.layer_id, d.rank_id, d.name_id, "
                         "d.itype_id, 0, d.start, d.\"end\", d.start_text, d.end_text FROM sentences s "
                         "JOIN label_data d ON d.sentence_ord = s.labels_of WHERE s.lu_id = ? "
                         "AND s.source = 1 AND s.labels_of <> s.sentence_ord")
              .bind(1, *entry.luId).run();
          Statement(db_, "UPDATE sentences SET labels_of = sentence_ord WHERE lu_id = ? AND source = 1 "
                         "AND labels_of <> sentence_ord")
              .bind(1, *entry.luId).run();
        }
        Statement(db_, "DELETE FROM label_data WHERE sentence_ord IN "
                       "(SELECT sentence_ord FROM sentences WHERE lu_id = ? AND document = ?)")
            .bind(1, *entry.luId).bind(2, entry.path).run();
        Statement(db_, "DELETE FROM sentences WHERE lu_id = ? AND document = ?")
            .bind(1, *entry.luId).bind(2, entry.path).run();
        Statement(db_, "DELETE FROM label_findings WHERE document = ?").bind(1, entry.path).run();
        Statement(db_, "DELETE FROM fe_label_counts WHERE document = ?").bind(1, entry.path).run();
        Statement(db_, "DELETE FROM subcorpora WHERE lu_id = ? AND document = ?")
            .bind(1, *entry.luId).bind(2, entry.path).run();
        touchedLus_.push_back(*entry.luId);
        break;
      }
      case DocumentKind::LexicalEntry:
        Statement(db_, "DELETE FROM fe_realizations WHERE lu_id = ? AND document = ?")
            .bind(1, *entry.luId).bind(2, entry.path).run();
        break;
    }
  }

  // rows may be kept: the annotation document of a unit stays until its subcorpus document
  // has been compared with it.
  void write(const DocumentEntry& entry, DocumentRows&& rows) {
    document_.bind(1, entry.path)
        .bind(2, kindName(entry.kind))
        .bind(3, entry.luId)
        .bind(4, entry.size)
        .bind(5, entry.mtimeNs)
        .bind(6, int64_t{rows.readable})
        .run();
    for (const Problem& problem : rows.problems)
      problem_.bind(1, entry.path).bind(2, problem.location).bind(3, problem.code).bind(4, problem.message).run();
    switch (entry.kind) {
      case DocumentKind::Frames: writeFrames(rows); break;
      case DocumentKind::Relations: writeRelations(rows); break;
      case DocumentKind::Annotation:
      case DocumentKind::Subcorpus: writeSentences(entry, std::move(rows)); break;
      case DocumentKind::LexicalEntry: writeRealizations(entry, rows); break;
    }
  }

  // After an update: sets no document holds any more go, and each remaining set takes its
  // text from the annotation document when that holds it, else from the subcorpus document.
  void settle() {
    std::sort(touchedLus_.begin(), touchedLus_.end());
    touchedLus_.erase(std::unique(touchedLus_.begin(), touchedLus_.end()), touchedLus_.end());
    Statement unlink(db_, "DELETE FROM constituents WHERE set_ord IN "
                          "(SELECT set_ord FROM annotation_sets WHERE lu_id = ?1)");
    Statement merge(db_, "UPDATE label_data SET merged = NOT EXISTS (SELECT 1 FROM sentences x "
                         "JOIN label_data a ON a.sentence_ord = x.sentence_ord WHERE x.set_ord = "
                         "label_data.set_ord AND x.source = 0 AND a.layer_id = label_data.layer_id "
                         "AND a.rank_id = label_data.rank_id) WHERE sentence_ord IN "
                         "(SELECT sentence_ord FROM sentences WHERE lu_id = ?1 AND source = 1)");
    Statement link(db_, "INSERT OR IGNORE INTO constituents(set_ord, start, \"end\", fe_id, pt_id, gf_id) "
                        "SELECT f.set_ord, f.start, f.\"end\", f.name_id, p.name_id, g.name_id "
                        "FROM sentences x JOIN label_data f ON f.sentence_ord = x.sentence_ord "
                        "JOIN label_data p ON p.sentence_ord = f.sentence_ord AND p.start = f.start "
                        "AND p.\"end\" = f.\"end\" JOIN label_data g ON g.sentence_ord = f.sentence_ord "
                        "AND g.start = f.start AND g.\"end\" = f.\"end\" WHERE x.lu_id = ?1 "
                        "AND x.labels_of = x.sentence_ord AND f.itype_id = 1 "
                        "AND f.layer_id = ?2 AND p.layer_id = ?3 AND g.layer_id = ?4");
    Statement drop(db_, "DELETE FROM annotation_sets WHERE lu_id = ?1 AND set_ord NOT IN "
                        "(SELECT set_ord FROM sentences WHERE lu_id = ?1)");
    Statement retext(db_, "UPDATE annotation_sets SET text = (SELECT s.text FROM sentences s "
                          "WHERE s.set_ord = annotation_sets.set_ord ORDER BY s.source, s.sentence_ord "
                          "LIMIT 1) WHERE lu_id = ?1 AND text IS NOT (SELECT s.text FROM sentences s "
                          "WHERE s.set_ord = annotation_sets.set_ord ORDER BY s.source, s.sentence_ord "
                          "LIMIT 1)");
    for (int64_t lu : touchedLus_) {
      unlink.bind(1, lu).run();
      drop.bind(1, lu).run();
      retext.bind(1, lu).run();
      merge.bind(1, lu).run();
      link.bind(1, lu).bind(2, nameId("FE")).bind(3, nameId("PT")).bind(4, nameId("GF")).run();
    }
    touchedLus_.clear();
  }

 private:
  void writeFrames(const DocumentRows& rows) {
    int64_t frameOrd = db_.scalarInt("SELECT coalesce(max(frame_ord), 0) FROM frames");
    for (const FrameRow& frame : rows.frames) {
      ++frameOrd;
      frame_.bind(1, frameOrd).bind(2, decimalValue(frame.idText)).bind(3, frame.idText)
          .bind(4, frame.name).bind(5, frame.definition).run();
      for (const FeRow& fe : frame.fes)
        fe_.bind(1, frameOrd).bind(2, frame.name).bind(3, decimalValue(fe.idText)).bind(4, fe.idText)
            .bind(5, fe.name).bind(6, fe.abbrev).bind(7, fe.coreType).bind(8, fe.definition).run();
      for (const LuRow& lu : frame.lus) {
        const size_t stop = lu.name.rfind('.');
        const std::string lemma = stop == std::string::npos ? lu.name : lu.name.substr(0, stop);
        const std::string pos = stop == std::string::npos ? std::string() : lu.name.substr(stop + 1);
        const std::optional<int64_t> annotated =
            lu.annotatedText ? decimalValue(*lu.annotatedText) : std::nullopt;
        lu_.bind(1, frameOrd).bind(2, frame.name).bind(3, decimalValue(lu.idText)).bind(4, lu.idText)
            .bind(5, lu.name).bind(6, lemma).bind(7, pos).bind(8, lu.posAttr).bind(9, lu.status)
            .bind(10, lu.definition).bind(11, annotated.value_or(0));
        if (lu.annotatedText) lu_.bind(12, *lu.annotatedText);
        lu_.run();
      }
    }
  }

  void writeRelations(const DocumentRows& rows) {
    for (const RelationTypeRow& type : rows.relationTypes) {
      type_.bind(1, type.idText).bind(2, type.name).run();
      const int64_t typeOrd = sqlite3_last_insert_rowid(db_.handle());
      for (const RelationRow& relation : type.relations) {
        relation_.bind(1, typeOrd).bind(2, type.name).bind(3, relation.idText)
            .bind(4, relation.superFrame).bind(5, relation.subFrame).run();
        const int64_t relationOrd = sqlite3_last_insert_rowid(db_.handle());
        for (const FeRelationRow& fe : relation.feRelations)
          feRelation_.bind(1, relationOrd).bind(2, fe.idText).bind(3, fe.superFe).bind(4, fe.subFe).run();
      }
    }
  }

  // The set of (lexical unit, sentence ID), created on first sight. The sets of the unit in
  // hand are kept in a map; an update starts it from the index.
  int64_t setFor(int64_t luId, const SentenceRow& sentence, bool fromAnnotation) {
    if (luId != mapLu_) {
      mapLu_ = luId;
      sets_.clear();
      if (!fresh_) {
        Statement existing(db_, "SELECT sentence_key, set_ord FROM annotation_sets WHERE lu_id = ?");
        existing.bind(1, luId);
        while (existing.step()) sets_.emplace(std::string(existing.text(0)), existing.integer(1));
      }
    }
    auto found = sets_.find(sentence.key);
    if (found != sets_.end()) {
      if (fromAnnotation)
        setText_.bind(1, sentence.text).bind(2, found->second).bind(3, sentence.text).run();
      return found->second;
    }
    set_.bind(1, luId).bindStatic(2, sentence.key).bind(3, decimalValue(sentence.key))
        .bindStatic(4, sentence.text).run();
    const int64_t setOrd = sqlite3_last_insert_rowid(db_.handle());
    sets_.emplace(sentence.key, setOrd);
    return setOrd;
  }

  // The annotation document is written before the subcorpus document of the same unit (both
  // are re-read together on a refresh). A subcorpus sentence whose labels equal those of the
  // annotation sentence of its set shares that sentence's rows instead of storing its own.
  void writeSentences(const DocumentEntry& entry, DocumentRows&& rows) {
    const int64_t luId = *entry.luId;
    const int64_t source = sourceOf(entry.kind);
    const bool annotation = entry.kind == DocumentKind::Annotation;
    if (annotation || heldLu_ != luId) {
      held_ = DocumentRows();
      heldSets_.clear();
      heldLu_ = annotation ? luId : -1;
      if (!annotation && !fresh_) loadAnnotation(luId);
    }
    for (const SubcorpusRow& subcorpus : rows.subcorpora)
      subcorpus_.bind(1, entry.path).bind(2, source).bind(3, luId).bind(4, subcorpus.name)
          .bind(5, subcorpus.setCount).run();
    int64_t labelOrder = 0, sentenceOrder = 0;
    std::vector<int64_t> firstLabel;  // doc_order of each sentence's first label
    // The document's sentence rows, inserted together once they are known.
    struct SentenceInsert {
      const SentenceRow* row;
      const SentenceFacts* facts;
      int64_t setOrd, docOrder, labelsOf, labelBase, sentenceOrd;
    };
    std::vector<SentenceInsert> sentenceRows;
    sentenceRows.reserve(rows.sentences.size());
    std::unordered_map<std::string, int> seen;
    const LabelFacts& facts = rows.labelFacts;
    for (size_t index = 0; index < rows.sentences.size(); ++index) {
      const SentenceRow& sentence = rows.sentences[index];
      if (++seen[sentence.key] == 2)
        problem_.bind(1, entry.path).bind(2, "sentence '" + sentence.key + "'").bind(3, "duplicate-sentence")
            .bind(4, "the sentence occurs more than once; its labels join one annotation set").run();
      const int64_t setOrd = setFor(luId, sentence, annotation);
      const HeldSet* held = nullptr;
      if (!annotation) {
        auto found = heldSets_.find(setOrd);
        if (found != heldSets_.end()) held = &found->second;
      }
      const bool shared = held && held_.sentences[held->index].labels == sentence.labels;
      const int64_t sentenceOrd = nextSentence_++;
      sentenceRows.push_back({&sentence, &facts.sentences[index], setOrd, sentenceOrder++,
                              shared ? held->sentenceOrd : sentenceOrd, labelOrder, sentenceOrd});
      firstLabel.push_back(labelOrder);
      labelOrder += static_cast<int64_t>(sentence.labels.size());
      if (shared) continue;
      HeldSet* record = nullptr;
      if (annotation) {
        auto [slot, added] = heldSets_.try_emplace(setOrd, HeldSet{index, sentenceOrd, {}});
        record = &slot->second;
        (void)added;
      }
      writeLabels(sentence, sentenceOrd, setOrd, record, held);
    }
    // Text bound without copies: the rows outlive the statement's run.
    sentence_.insert(sentenceRows, [&](Statement& insert, int base, const SentenceInsert& sentence) {
      insert.bind(base + 1, sentence.setOrd).bindStatic(base + 2, entry.path).bind(base + 3, source)
          .bind(base + 4, luId);
      if (sentence.row->subcorpus) insert.bindStatic(base + 5, *sentence.row->subcorpus);
      insert.bindStatic(base + 6, sentence.row->key).bind(base + 7, decimalValue(sentence.row->key))
          .bindStatic(base + 8, sentence.row->text).bind(base + 9, sentence.docOrder)
          .bind(base + 10, sentence.labelsOf).bind(base + 11, sentence.labelBase)
          .bind(base + 12, sentence.sentenceOrd).bindStatic(base + 13, sentence.facts->feRanks)
          .bind(base + 14, sentence.facts->outside1252);
    });
    for (const LabelFinding& finding : facts.findings) {
      const SentenceRow& sentence = rows.sentences[finding.sentence];
      const LabelRow& label = sentence.labels[finding.label];
      labelFinding_.bind(1, entry.path).bind(2, luId).bind(3, labelFaultName(finding.fault))
          .bind(4, static_cast<int64_t>(finding.sentence))
          .bind(5, firstLabel[finding.sentence] + static_cast<int64_t>(finding.label))
          .bind(6, sentence.key).bind(7, facts.sentences[finding.sentence].length)
          .bind(8, label.layer).bind(9, label.rank).bind(10, label.name);
      if (label.startText) labelFinding_.bind(11, *label.startText);
      if (label.endText) labelFinding_.bind(12, *label.endText);
      if (finding.other) {
        const LabelRow& other = sentence.labels[*finding.other];
        labelFinding_.bind(13, other.name).bind(14, decimalValue(other.startText.value_or("")))
            .bind(15, decimalValue(other.endText.value_or("")));
      }
      labelFinding_.run();
    }
    feLabelCount_.insert(facts.feCounts, [&](Statement& insert, int base, const FeLabelCount& count) {
      insert.bindStatic(base + 1, entry.path).bind(base + 2, luId).bindStatic(base + 3, count.rank)
          .bindStatic(base + 4, count.name).bind(base + 5, count.labels);
    });
    flushLabels();
    if (annotation) held_ = std::move(rows);
  }

  // The annotation document's sentences of a unit as the index holds them, when only the
  // subcorpus document is re-read.
  void loadAnnotation(int64_t luId) {
    Statement rows(db_, "SELECT s.sentence_ord, s.set_ord, l.text, r.text, n.text, i.text, "
                        "coalesce(d.start_text, CAST(d.start AS TEXT)), "
                        "coalesce(d.end_text, CAST(d.\"end\" AS TEXT)), d.layer_id, d.rank_id "
                        "FROM sentences s JOIN label_data d ON d.sentence_ord = s.sentence_ord "
                        "JOIN label_names l ON l.name_id = d.layer_id "
                        "JOIN label_names r ON r.name_id = d.rank_id "
                        "JOIN label_names n ON n.name_id = d.name_id "
                        "JOIN label_names i ON i.name_id = d.itype_id "
                        "WHERE s.lu_id = ? AND s.source = 0 ORDER BY s.sentence_ord, d.position");
    rows.bind(1, luId);
    int64_t current = -1;
    HeldSet* set = nullptr;
    while (rows.step()) {
      const int64_t sentenceOrd = rows.integer(0), setOrd = rows.integer(1);
      if (sentenceOrd != current) {
        current = sentenceOrd;
        auto [slot, added] = heldSets_.try_emplace(setOrd, HeldSet{held_.sentences.size(), sentenceOrd, {}});
        set = &slot->second;
        held_.sentences.emplace_back();
        if (!added) held_.sentences.back().key = "\n";  // a later duplicate: never compared
      }
      LabelRow label{std::string(rows.text(2)), std::string(rows.text(3)), std::string(rows.text(4)),
                     std::string(rows.text(5)), std::nullopt, std::nullopt};
      if (!rows.isNull(6)) label.startText = std::string(rows.text(6));
      if (!rows.isNull(7)) label.endText = std::string(rows.text(7));
      held_.sentences.back().labels.push_back(std::move(label));
      const std::pair layer(rows.integer(8), rows.integer(9));
      if (std::find(set->layers.begin(), set->layers.end(), layer) == set->layers.end())
        set->layers.push_back(layer);
    }
    heldLu_ = luId;
  }

  // What the subcorpus document of a unit is compared with: per set, the first annotation
  // sentence and the (layer, rank) pairs of all its annotation sentences.
  struct HeldSet {
    size_t index;
    int64_t sentenceOrd;
    std::vector<std::pair<int64_t, int64_t>> layers;
  };

  void writeLabels(const SentenceRow& sentence, int64_t sentenceOrd, int64_t setOrd, HeldSet* record,
                   const HeldSet* annotationSet) {
    struct Overt {
      int64_t layer, name, itype, start, end;
    };
    std::vector<Overt> overt;
    int64_t position = 0;
    for (const LabelRow& label : sentence.labels) {
      const int64_t layer = nameId(label.layer, recentLayer_), rank = nameId(label.rank, recentRank_);
      const int64_t name = nameId(label.name), itype = nameId(label.itype, recentItype_);
      bool merged = true;
      if (annotationSet)
        merged = std::find(annotationSet->layers.begin(), annotationSet->layers.end(),
                           std::pair(layer, rank)) == annotationSet->layers.end();
      if (record && std::find(record->layers.begin(), record->layers.end(), std::pair(layer, rank)) ==
                        record->layers.end())
        record->layers.emplace_back(layer, rank);
      LabelRecord& row = batch_.labels.emplace_back(
          LabelRecord{sentenceOrd, position++, setOrd, layer, rank, name, itype, merged, {}, {}, {}, {}});
      setOffset(label.startText, row.start, row.startText);
      setOffset(label.endText, row.end, row.endText);
      if (row.start && row.end) overt.push_back({layer, name, itype, *row.start, *row.end});
    }
    if (fresh_) writeConstituents(overt, setOrd);
  }

  // The rows of the document in hand go to the side file, or straight into the index.
  void flushLabels() {
    if (side_) {
      if (!batch_.empty()) side_->add(std::move(batch_));
    } else {
      label_.insert(batch_.labels, bindLabel);
      constituent_.insert(batch_.constituents, bindConstituent);
    }
    batch_ = LabelBatch();
  }

  // Every (FE, PT, GF) triple of overt labels with the same start and end.
  template <class Overt>
  void writeConstituents(const std::vector<Overt>& overt, int64_t setOrd) {
    if (feName_ < 0) {
      feName_ = nameId("FE");
      ptName_ = nameId("PT");
      gfName_ = nameId("GF");
    }
    const int64_t fe = feName_, pt = ptName_, gf = gfName_;
    for (const Overt& f : overt) {
      if (f.layer != fe || f.itype != 1) continue;
      for (const Overt& p : overt) {
        if (p.layer != pt || p.start != f.start || p.end != f.end) continue;
        for (const Overt& g : overt) {
          if (g.layer != gf || g.start != f.start || g.end != f.end) continue;
          batch_.constituents.push_back({f.name, p.name, g.name, setOrd, f.start, f.end});
        }
      }
    }
  }

  // An offset: the integer when the text is its plain decimal writing, else the text as
  // written (and the integer when it still reads as one), so the common case costs one column.
  static void setOffset(const std::optional<std::string>& text, std::optional<int64_t>& value,
                        std::optional<std::string>& written) {
    if (!text) return;
    value = decimalValue(*text);
    if (!value || std::to_string(*value) != *text) written = *text;
  }

  // The last name looked up for one column: labels come grouped by layer, so layer, rank and
  // itype mostly repeat from one label to the next. A name's ID never changes.
  struct RecentName {
    std::string text;
    int64_t id = -1;
  };
  int64_t nameId(const std::string& text, RecentName& recent) {
    if (recent.id < 0 || recent.text != text) {
      recent.id = nameId(text);
      recent.text = text;
    }
    return recent.id;
  }

  int64_t nameId(const std::string& text) {
    auto found = names_.find(text);
    if (found != names_.end()) return found->second;
    labelName_.bind(1, text).run();
    const int64_t id = sqlite3_last_insert_rowid(db_.handle());
    names_.emplace(text, id);
    return id;
  }

  void writeRealizations(const DocumentEntry& entry, const DocumentRows& rows) {
    const RealizationRow* first = rows.realizations.data();
    realization_.insert(rows.realizations, [&](Statement& insert, int base, const RealizationRow& row) {
      insert.bindStatic(base + 1, entry.path).bind(base + 2, *entry.luId).bindStatic(base + 3, row.fe)
          .bindStatic(base + 4, row.pt).bindStatic(base + 5, row.gf).bindStatic(base + 6, row.totalText)
          .bind(base + 7, decimalValue(row.totalText)).bind(base + 8, static_cast<int64_t>(&row - first));
    });
  }

  Database& db_;
  bool fresh_;
  LabelSideFile* side_;
  LabelBatch batch_;  // label rows of the document in hand
  RecentName recentLayer_, recentRank_, recentItype_;
  Statement document_, problem_, frame_, fe_, lu_, type_, relation_, feRelation_, subcorpus_,
      set_, setText_, labelFinding_, labelName_;
  BatchInsert sentence_, feLabelCount_, realization_, label_, constituent_;
  std::unordered_map<std::string, int64_t> names_;
  int64_t mapLu_ = -1;
  int64_t nextSentence_ = 1;
  std::unordered_map<std::string, int64_t> sets_;
  std::vector<int64_t> touchedLus_;
  DocumentRows held_;  // the last annotation document of unit heldLu_
  int64_t heldLu_ = -1;
  int64_t feName_ = -1, ptName_ = -1, gfName_ = -1;
  std::unordered_map<int64_t, HeldSet> heldSets_;
};

// Parses the documents on worker threads and hands their rows to write() on the calling
// thread in document order, so the index does not depend on the threads' timing. Workers stay
// at most a window of documents ahead of the writer. False when cancelled.
template <class Write>
bool readInOrder(const std::string& folder, const std::vector<const DocumentEntry*>& documents,
                 unsigned threads, text::Progress& progress, Write write) {
  const size_t count = documents.size();
  const size_t window = 64;
  std::vector<std::optional<DocumentRows>> slots(count);
  std::mutex mutex;
  std::condition_variable ready, room;
  size_t next = 0, written = 0;
  bool stop = false;
  auto work = [&] {
    xml::TXpObjModel model;
    for (;;) {
      size_t mine;
      {
        std::unique_lock lock(mutex);
        room.wait(lock, [&] { return stop || next >= count || next < written + window; });
        if (stop || next >= count) return;
        mine = next++;
      }
      DocumentRows rows = readDocument(documents[mine]->kind, folder + "/" + documents[mine]->path, model);
      {
        std::lock_guard lock(mutex);
        slots[mine] = std::move(rows);
      }
      ready.notify_all();
    }
  };
  std::vector<std::jthread> workers;
  const unsigned workerCount = std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(count)));
  for (unsigned i = 0; i < workerCount && count > 0; ++i) workers.emplace_back(work);
  bool finished = true;
  try {
    for (size_t i = 0; i < count; ++i) {
      if (progress.cancelled()) {
        finished = false;
        break;
      }
      DocumentRows rows;
      {
        std::unique_lock lock(mutex);
        ready.wait(lock, [&] { return slots[i].has_value(); });
        rows = std::move(*slots[i]);
        slots[i].reset();
      }
      write(*documents[i], std::move(rows));
      {
        std::lock_guard lock(mutex);
        written = i + 1;
      }
      room.notify_all();
      progress.count("documents read", static_cast<int64_t>(i + 1), documents[i]->path);
    }
  } catch (...) {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    room.notify_all();
    throw;
  }
  {
    std::lock_guard lock(mutex);
    stop = true;
  }
  room.notify_all();
  return finished;
}

unsigned threadCount(unsigned wanted) {
  return wanted ? wanted : std::max(1u, std::thread::hardware_concurrency());
}

// Why an existing index file cannot be used, or "" when it can.
std::string unusableReason(Database& db, const std::string& release, bool verify) {
  if (db.scalarInt("PRAGMA application_id") != kApplicationId) return "not an index file";
  if (db.scalarInt("PRAGMA user_version") != kSchemaVersion) return "another schema version";
  Statement meta(db, "SELECT value FROM meta WHERE key = ?");
  meta.bind(1, std::string_view("release"));
  if (!meta.step() || meta.text(0) != release) return "made for another release folder";
  meta.reset();
  meta.bind(1, std::string_view("complete"));
  if (!meta.step() || meta.text(0) != "1") return "incomplete";
  if (verify) {
    Statement check(db, "PRAGMA quick_check");
    if (!check.step() || check.text(0) != "ok") return "damaged (" + std::string(check.text(0)) + ")";
  }
  return "";
}

void removeFile(const std::string& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
}

// Builds a complete index of the release into a temporary file, then renames it over target.
bool coldBuild(const std::string& release, const std::string& target,
               const std::vector<DocumentEntry>& entries, unsigned threads,
               text::Progress& progress, IndexReport& report) {
  const std::string temporary = target + ".tmp-" + std::to_string(getpid());
  removeFile(temporary);
  struct Cleanup {
    const std::string& path;
    bool keep = false;
    ~Cleanup() {
      if (!keep) removeFile(path);
    }
  } cleanup{temporary};
  {
    Database db(temporary, Database::Mode::Create);
    db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
            "PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY; PRAGMA page_size=16384;");
    db.exec("PRAGMA application_id=" + std::to_string(kApplicationId) + "; PRAGMA user_version=" +
            std::to_string(kSchemaVersion) + ";");
    Transaction transaction(db);
    db.exec(schemaSql());
    Statement meta(db, "INSERT INTO meta(key, value) VALUES (?, ?)");
    meta.bind(1, std::string_view("release")).bind(2, release).run();
    meta.bind(1, std::string_view("schema_version")).bind(2, std::to_string(kSchemaVersion)).run();
    LabelSideFile side(temporary);
    Writer writer(db, true, &side);
    std::vector<const DocumentEntry*> documents;
    for (const DocumentEntry& entry : entries) documents.push_back(&entry);
    progress.stage("Reading documents");
    const bool finished = readInOrder(release, documents, threads, progress,
                                      [&](const DocumentEntry& entry, DocumentRows&& rows) {
                                        writer.write(entry, std::move(rows));
                                      });
    if (!finished) return false;
    side.close();
    progress.stage("Indexing words");
    // The sorter of CREATE INDEX may use helper threads. The label tables are still empty
    // here: their indexes and statistics come from the side file.
    db.exec("PRAGMA threads=" + std::to_string(std::max(1u, threads)) + ";");
    db.exec(indexSql());
    db.exec("INSERT INTO sentence_words(sentence_words) VALUES ('rebuild');");
    db.exec(fullTextTriggersSql());
    // Statistics from a sample of each index: the planner needs their shape, not exact counts,
    // and a full pass over every index lengthened the build's serial end.
    db.exec("PRAGMA analysis_limit=2000; ANALYZE; PRAGMA analysis_limit=0;");
    transaction.commit();
    progress.stage("Indexing labels");
    side.copyInto(db);
    meta.bind(1, std::string_view("complete")).bind(2, std::string_view("1")).run();
    db.exec("PRAGMA journal_mode=DELETE;");
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0)
    throw SqliteError(SQLITE_CANTOPEN, "cannot rename " + temporary + " to " + target);
  cleanup.keep = true;
  report.built = true;
  report.documentsRead = static_cast<int64_t>(entries.size());
  return true;
}

struct StoredDocument {
  std::string kind;
  int64_t size, mtimeNs;
};

// Compares the documents the index records with the release's (one stat each, already
// taken): the changed and new entries, and the recorded documents that are gone, by path.
// The table's rows are in build order, the scan's order, so rows and entries are matched in
// step; a row out of step (a document an update re-read) is found through a map of the
// entries, built only then, and matching resumes after it.
void compareDocuments(Database& db, const std::vector<DocumentEntry>& entries,
                      std::vector<const DocumentEntry*>& changed,
                      std::map<std::string, StoredDocument>& gone, IndexReport& report) {
  enum : char { kUnseen, kChanged, kUnchanged };
  std::vector<char> state(entries.size(), kUnseen);
  std::unordered_map<std::string_view, size_t> entryOf;
  Statement documents(db, "SELECT path, kind, size, mtime_ns FROM documents");
  size_t next = 0;
  while (documents.step()) {
    const std::string_view path = documents.text(0);
    const int64_t size = documents.integer(2), mtimeNs = documents.integer(3);
    size_t at = next;
    if (at >= entries.size() || entries[at].path != path) {
      if (entryOf.empty())
        for (size_t i = 0; i < entries.size(); ++i) entryOf.emplace(entries[i].path, i);
      const auto found = entryOf.find(path);
      if (found == entryOf.end()) {
        gone.emplace(std::string(path), StoredDocument{std::string(documents.text(1)), size, mtimeNs});
        continue;
      }
      at = found->second;
    }
    state[at] = entries[at].size == size && entries[at].mtimeNs == mtimeNs ? kUnchanged : kChanged;
    next = at + 1;
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (state[i] == kUnchanged)
      ++report.documentsUnchanged;
    else
      changed.push_back(&entries[i]);
  }
}

// Re-reads the changed and new documents and drops the removed ones, in one transaction.
bool refresh(Database& db, const std::string& release, const std::vector<DocumentEntry>& entries,
             unsigned threads, text::Progress& progress, IndexReport& report) {
  std::vector<const DocumentEntry*> changed;
  std::map<std::string, StoredDocument> stored;  // recorded documents that are gone
  compareDocuments(db, entries, changed, stored, report);
  if (changed.empty() && stored.empty()) return true;
  db.exec("PRAGMA synchronous=NORMAL;");
  Transaction transaction(db);
  Writer writer(db, false);
  for (const auto& [path, document] : stored) {
    DocumentEntry gone{path, DocumentKind::Frames, std::nullopt};
    for (DocumentKind kind : {DocumentKind::Frames, DocumentKind::Relations, DocumentKind::Annotation,
                              DocumentKind::Subcorpus, DocumentKind::LexicalEntry})
      if (kindName(kind) == document.kind) gone.kind = kind;
    if (gone.kind != DocumentKind::Frames && gone.kind != DocumentKind::Relations) {
      const size_t digits = path.find_last_of('/') + 3;
      gone.luId = decimalValue(std::string_view(path).substr(digits, path.size() - 4 - digits));
      if (!gone.luId) continue;
    }
    writer.remove(gone);
    ++report.documentsRemoved;
  }
  for (const DocumentEntry* entry : changed) writer.remove(*entry);
  progress.stage("Reading changed documents");
  const bool finished = readInOrder(release, changed, threads, progress,
                                    [&](const DocumentEntry& entry, DocumentRows&& rows) {
                                      writer.write(entry, std::move(rows));
                                    });
  if (!finished) return false;
  writer.settle();
  transaction.commit();
  report.documentsRead = static_cast<int64_t>(changed.size());
  return true;
}

}  // namespace

std::string defaultIndexPath(const std::string& releaseFolder) {
  std::string cache;
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg && xdg[0] == '/') {
    cache = xdg;
  } else {
    const char* home = std::getenv("HOME");
    cache = std::string(home && home[0] ? home : "/tmp") + "/.cache";
  }
  // FNV-1a over the absolute path: a stable name per release folder.
  uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : absoluteFolder(releaseFolder)) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char name[40];
  std::snprintf(name, sizeof name, "release-%016llx.sqlite", static_cast<unsigned long long>(hash));
  return cache + "/sorvanta/" + name;
}

text::Outcome refreshIndex(const std::string& releaseFolder, const std::string& indexFile,
                           std::string& usedFile, text::Progress& progress) {
  IndexOptions options;
  options.releaseFolder = releaseFolder;
  options.indexFile = indexFile;
  IndexReport report;
  text::Outcome outcome = updateIndex(options, report, progress);
  usedFile = report.indexFile;
  return outcome;
}

text::Outcome updateIndex(const IndexOptions& options, IndexReport& report, text::Progress& progress) {
  const auto started = std::chrono::steady_clock::now();
  report = IndexReport();
  const std::string release = absoluteFolder(options.releaseFolder);
  report.indexFile = options.indexFile.empty() ? defaultIndexPath(release) : options.indexFile;
  const std::vector<DocumentEntry> entries = scanRelease(release);
  if (entries.empty() || entries.front().kind != DocumentKind::Frames)
    return text::Outcome::refused("Release index", "No frames document in " + release +
                                                       " (expected frXML/frames.xml)");
  std::error_code error;
  const fs::path parent = fs::path(report.indexFile).parent_path();
  if (!parent.empty()) fs::create_directories(parent, error);
  IndexLock lock(report.indexFile + ".lock", progress);
  if (lock.cancelled()) return text::Outcome::cancelled();
  if (!lock.held())
    return text::Outcome::refused("Release index", "Cannot create the index lock " +
                                                       report.indexFile + ".lock");
  const unsigned threads = threadCount(options.threads);
  try {
    std::string reason = options.rebuild ? "rebuild requested" : "";
    if (reason.empty() && !fs::exists(report.indexFile, error)) reason = "new";
    if (reason.empty()) {
      try {
        Database db(report.indexFile, Database::Mode::ReadWrite);
        reason = unusableReason(db, release, options.verify);
        if (reason.empty()) {
          if (!refresh(db, release, entries, threads, progress, report))
            return text::Outcome::cancelled();
        }
      } catch (const SqliteError& sqlite) {
        if (!sqlite.damaged()) throw;
        reason = std::string("damaged (") + sqlite.what() + ")";
      }
    }
    if (!reason.empty()) {
      report.buildReason = reason;
      if (!coldBuild(release, report.indexFile, entries, threads, progress, report))
        return text::Outcome::cancelled();
    }
  } catch (const SqliteError& sqlite) {
    return text::Outcome::refused("Release index", std::string("Cannot write the index: ") + sqlite.what());
  }
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return text::Outcome();
}

IndexCounts countRows(const std::string& indexFile) {
  Database db(indexFile, Database::Mode::ReadOnly);
  IndexCounts counts;
  auto count = [&](const char* table) {
    return db.scalarInt(std::string("SELECT count(*) FROM ") + table);
  };
  counts.documents = count("documents");
  counts.frames = count("frames");
  counts.frameElements = count("frame_elements");
  counts.lexicalUnits = count("lexical_units");
  counts.relations = count("frame_relations");
  counts.annotationSets = count("annotation_sets");
  counts.labels = count("label_data");
  counts.realizations = count("fe_realizations");
  counts.problems = count("problems");
  return counts;
}

}  // namespace sorvanta::index
