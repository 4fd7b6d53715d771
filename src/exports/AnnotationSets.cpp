#include "exports/AnnotationSets.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "exports/Utf8.h"
#include "index/Sqlite.h"

namespace sorvanta::exports {

namespace {

using index::Database;
using index::Statement;

struct Unit {
  int64_t id;
  std::string name, frame;
  int64_t frameId;
};

std::optional<int64_t> optionalInt(const Statement& statement, int column) {
  if (statement.isNull(column)) return std::nullopt;
  return statement.integer(column);
}

std::string quoted(std::string_view text) { return std::string("'").append(text).append("'"); }

// The label_names table, read once: label rows carry name IDs, and looking each up in SQLite
// would cost four searches a label. Names of the layers and labels the exports sort by are
// marked as they are read.
class LabelNames {
 public:
  enum Kind : uint8_t { Other, FrameElements, GrammaticalFunctions, PhraseTypes };

  explicit LabelNames(Database& db) {
    Statement rows(db, "SELECT name_id, text FROM label_names");
    while (rows.step()) {
      const int64_t id = rows.integer(0);
      const auto slot = static_cast<int32_t>(texts_.size());
      const std::string_view text = rows.text(1);
      texts_.emplace_back(text);
      kinds_.push_back(text == "FE" ? FrameElements : text == "GF" ? GrammaticalFunctions
                                    : text == "PT" ? PhraseTypes : Other);
      if (text == "Target") target_ = slot;
      if (id >= 0 && id < kDense) {
        if (dense_.size() <= static_cast<size_t>(id)) dense_.resize(static_cast<size_t>(id) + 1, -1);
        dense_[static_cast<size_t>(id)] = slot;
      } else {
        sparse_.emplace(id, slot);
      }
    }
  }
  // The slot of a name ID, -1 when the table lacks it.
  int32_t slot(int64_t id) const {
    if (id >= 0 && id < kDense)
      return static_cast<size_t>(id) < dense_.size() ? dense_[static_cast<size_t>(id)] : -1;
    const auto found = sparse_.find(id);
    return found == sparse_.end() ? -1 : found->second;
  }
  const std::string& text(int32_t slot) const { return texts_[static_cast<size_t>(slot)]; }
  Kind kind(int32_t slot) const { return kinds_[static_cast<size_t>(slot)]; }
  bool isTarget(int32_t slot) const { return slot == target_; }

 private:
  static constexpr int64_t kDense = 1 << 20;
  std::vector<std::string> texts_;
  std::vector<Kind> kinds_;
  std::vector<int32_t> dense_;
  std::unordered_map<int64_t, int32_t> sparse_;
  int32_t target_ = -1;
};

// One label_data row, its names as slots of LabelNames.
struct LabelRow {
  int64_t sentenceOrd, position;
  int32_t layer, rank, name, itype;
  std::optional<int64_t> start, end;
};

// A label of a set: its row, the document it comes from and its position there.
struct SetLabel {
  int64_t source, docOrder;
  const LabelRow* row;
};

// Sorts the labels of one set into target, frame elements and the GF and PT layers. Layers of
// the annotation document come first; a layer of the subcorpus document counts only when the
// annotation document lacks a layer of that name and rank for the set.
void placeLabels(const std::vector<SetLabel>& labels, const LabelNames& names, AnnotationRecord& record,
                 text::Outcome& outcome) {
  std::vector<std::pair<int32_t, int32_t>> annotationLayers;
  for (const SetLabel& label : labels)
    if (label.source == 0) annotationLayers.emplace_back(label.row->layer, label.row->rank);
  int64_t length = -1;  // counted at the first label that needs it
  for (const SetLabel& label : labels) {
    const LabelRow& row = *label.row;
    if (label.source != 0 &&
        std::find(annotationLayers.begin(), annotationLayers.end(), std::pair(row.layer, row.rank)) !=
            annotationLayers.end())
      continue;
    const LabelNames::Kind kind = names.kind(row.layer);
    const bool fe = kind == LabelNames::FrameElements, gf = kind == LabelNames::GrammaticalFunctions,
               pt = kind == LabelNames::PhraseTypes;
    const bool target = kind == LabelNames::Other && names.isTarget(row.name);
    if (!fe && !gf && !pt && !target) continue;
    const std::string& name = names.text(row.name);
    const std::string& itype = names.text(row.itype);
    if (!itype.empty()) {
      // Null instantiations exist for frame elements only; elsewhere they have no place.
      if (fe) record.fes.push_back({name, itype, 0, 0});
      continue;
    }
    const auto what = [&] {
      return "lexical unit " + std::to_string(record.luId) + ", sentence " +
             std::to_string(record.sentenceId) + ": " +
             (target ? std::string("Target") : names.text(row.layer)) + " label " + quoted(name);
    };
    if (!row.start || !row.end) {
      outcome.warn("Export", what() + " has no integer start and end; left out");
      continue;
    }
    if (length < 0) length = codePointCount(record.text);
    const int64_t start = *row.start, end = *row.end + 1;
    if (start < 0 || end <= start || end > length) {
      outcome.warn("Export", what() + " (start " + std::to_string(*row.start) + ", end " +
                                 std::to_string(*row.end) + ") lies outside the text (" +
                                 std::to_string(length) + " characters); left out");
      continue;
    }
    if (fe) record.fes.push_back({name, std::string(), start, end});
    else if (gf) record.gf.push_back({name, start, end});
    else if (pt) record.pt.push_back({name, start, end});
    else record.target.push_back({name, start, end});
  }
}

// The label rows of one unit's sentences, by the sentence that holds them.
class UnitLabels {
 public:
  explicit UnitLabels(Database& db)
      : rows_(db,
              "SELECT sentence_ord, position, layer_id, rank_id, name_id, itype_id, start, \"end\" "
              "FROM label_data "
              "WHERE sentence_ord IN (SELECT labels_of FROM sentences WHERE lu_id = ?)") {}

  void read(int64_t luId, const LabelNames& names) {
    labels_.clear();
    ranges_.clear();
    rows_.reset();
    rows_.bind(1, luId);
    while (rows_.step()) {
      LabelRow row{rows_.integer(0),
                   rows_.integer(1),
                   names.slot(rows_.integer(2)),
                   names.slot(rows_.integer(3)),
                   names.slot(rows_.integer(4)),
                   names.slot(rows_.integer(5)),
                   optionalInt(rows_, 6),
                   optionalInt(rows_, 7)};
      // A name the table lacks drops the row, as the join of the labels view does.
      if (row.layer < 0 || row.rank < 0 || row.name < 0 || row.itype < 0) continue;
      labels_.push_back(row);
    }
    const auto byPlace = [](const LabelRow& a, const LabelRow& b) {
      return std::tie(a.sentenceOrd, a.position) < std::tie(b.sentenceOrd, b.position);
    };
    if (!std::is_sorted(labels_.begin(), labels_.end(), byPlace))
      std::sort(labels_.begin(), labels_.end(), byPlace);
    for (size_t i = 0; i < labels_.size();) {
      size_t end = i + 1;
      while (end < labels_.size() && labels_[end].sentenceOrd == labels_[i].sentenceOrd) ++end;
      ranges_.emplace(labels_[i].sentenceOrd, std::pair(i, end));
      i = end;
    }
  }

  // Appends the labels of the sentence `holder` for a sentence of the given source whose first
  // label has the document position `base`.
  void append(int64_t holder, int64_t source, int64_t base, std::vector<SetLabel>& out) const {
    const auto found = ranges_.find(holder);
    if (found == ranges_.end()) return;
    for (size_t i = found->second.first; i < found->second.second; ++i)
      out.push_back({source, base + labels_[i].position, &labels_[i]});
  }

 private:
  Statement rows_;
  std::vector<LabelRow> labels_;
  std::unordered_map<int64_t, std::pair<size_t, size_t>> ranges_;
};

}  // namespace

text::Outcome readAnnotationSets(const std::string& indexFile, const Selection& selection,
                                 const std::function<void(const AnnotationRecord&)>& each,
                                 text::Progress& progress, std::vector<int64_t>* unitsRead) {
  text::Outcome outcome;
  Database db(indexFile, Database::Mode::ReadOnly);

  std::vector<Unit> units;
  {
    std::unordered_set<int64_t> seen;
    Statement rows(db, "SELECT lu.id, lu.id_text, lu.name, lu.frame_name, f.id, f.id_text "
                       "FROM lexical_units lu JOIN frames f ON f.frame_ord = lu.frame_ord "
                       "ORDER BY lu.lu_ord");
    while (rows.step()) {
      const std::string name(rows.text(2)), frame(rows.text(3));
      if (rows.isNull(0)) continue;  // no document can belong to it: file names hold integers
      const int64_t id = rows.integer(0);
      if (!seen.insert(id).second) {
        outcome.warn("Export", "lexical unit ID " + std::to_string(id) + " appears again for " +
                                   quoted(name) + " in frame " + quoted(frame) +
                                   "; its sets are written once, under the first");
        continue;
      }
      if (rows.isNull(4)) {
        outcome.warn("Export", "frame " + quoted(frame) + " has the ID " + quoted(rows.text(5)) +
                                   ", not an integer; lexical unit " + std::to_string(id) + " left out");
        continue;
      }
      units.push_back({id, name, frame, rows.integer(4)});
    }
  }

  const bool everything = selection.frames.empty() && selection.lexicalUnits.empty();
  if (!everything) {
    Statement frameNamed(db, "SELECT 1 FROM frames WHERE name = ?");
    for (const std::string& frame : selection.frames) {
      frameNamed.reset();
      frameNamed.bind(1, frame);
      if (!frameNamed.step()) return text::Outcome::refused("Export", "No frame named " + quoted(frame));
    }
    for (int64_t id : selection.lexicalUnits) {
      if (std::none_of(units.begin(), units.end(), [&](const Unit& unit) { return unit.id == id; }))
        return text::Outcome::refused("Export", "No lexical unit with the ID " + std::to_string(id));
    }
    std::erase_if(units, [&](const Unit& unit) {
      return std::find(selection.frames.begin(), selection.frames.end(), unit.frame) ==
                 selection.frames.end() &&
             std::find(selection.lexicalUnits.begin(), selection.lexicalUnits.end(), unit.id) ==
                 selection.lexicalUnits.end();
    });
  } else {
    const int64_t strays = db.scalarInt(
        "SELECT count(*) FROM annotation_sets WHERE lu_id NOT IN "
        "(SELECT id FROM lexical_units WHERE id IS NOT NULL)");
    if (strays > 0)
      outcome.warn("Export", std::to_string(strays) +
                                 " annotation sets belong to lexical units the frames document "
                                 "does not list; left out");
  }

  const LabelNames names(db);
  UnitLabels unitLabels(db);
  Statement sets(db, "SELECT s.set_ord, s.subcorpus, a.sentence_id, a.sentence_key, a.text, s.source, "
                     "s.labels_of, s.label_base "
                     "FROM sentences s JOIN annotation_sets a ON a.set_ord = s.set_ord "
                     "WHERE s.lu_id = ? ORDER BY s.source, s.doc_order, s.sentence_ord");
  struct SetHead {
    int64_t setOrd;
    std::optional<std::string> subcorpus;
    std::optional<int64_t> sentenceId;
    std::string key, text;
    size_t firstSentence = 0, sentenceCount = 0;  // in sentencesBySet
  };
  struct Sentence {
    size_t head;
    int64_t source, labelsOf, labelBase;
  };
  std::vector<SetHead> heads;
  std::unordered_map<int64_t, size_t> headOf;
  std::vector<Sentence> sentences, sentencesBySet;
  std::vector<SetLabel> setLabels;
  AnnotationRecord record;
  int64_t unitCount = 0;
  const auto byPlace = [](const SetLabel& a, const SetLabel& b) {
    return std::tie(a.source, a.docOrder) < std::tie(b.source, b.docOrder);
  };
  for (const Unit& unit : units) {
    if (progress.cancelled()) return text::Outcome::cancelled();
    if (unitsRead) unitsRead->push_back(unit.id);
    heads.clear();
    headOf.clear();
    sentences.clear();
    sets.reset();
    sets.bind(1, unit.id);
    while (sets.step()) {
      const int64_t setOrd = sets.integer(0);
      auto [found, added] = headOf.emplace(setOrd, heads.size());
      sentences.push_back({found->second, sets.integer(5), sets.integer(6), sets.integer(7)});
      if (!added) {
        // The same set in the other document: its subcorpus name serves when the first had none.
        SetHead& head = heads[found->second];
        if (!head.subcorpus && !sets.isNull(1)) head.subcorpus = std::string(sets.text(1));
        continue;
      }
      SetHead& head = heads.emplace_back();
      head.setOrd = setOrd;
      if (!sets.isNull(1)) head.subcorpus = std::string(sets.text(1));
      head.sentenceId = optionalInt(sets, 2);
      head.key = std::string(sets.text(3));
      head.text = std::string(sets.text(4));
    }
    ++unitCount;
    if (static_cast<int64_t>(heads.size()) < selection.minAnnotated || heads.empty()) {
      progress.count("lexical units read", unitCount, unit.name);
      continue;
    }
    // The sentences of each set together, in the order read.
    for (const Sentence& sentence : sentences) ++heads[sentence.head].sentenceCount;
    for (size_t i = 1; i < heads.size(); ++i)
      heads[i].firstSentence = heads[i - 1].firstSentence + heads[i - 1].sentenceCount;
    sentencesBySet.resize(sentences.size());
    for (SetHead& head : heads) head.sentenceCount = 0;
    for (const Sentence& sentence : sentences) {
      SetHead& head = heads[sentence.head];
      sentencesBySet[head.firstSentence + head.sentenceCount++] = sentence;
    }
    unitLabels.read(unit.id, names);
    for (SetHead& head : heads) {
      if (!head.sentenceId) {
        outcome.warn("Export", "lexical unit " + std::to_string(unit.id) + ": sentence ID " +
                                   quoted(head.key) + " is not an integer; set left out");
        continue;
      }
      record.luId = unit.id;
      record.lu = unit.name;
      record.frame = unit.frame;
      record.frameId = unit.frameId;
      record.sentenceId = *head.sentenceId;
      record.subcorpus = head.subcorpus.value_or(std::string());
      record.text = std::move(head.text);
      record.target.clear();
      record.fes.clear();
      record.gf.clear();
      record.pt.clear();
      // The set's labels in the order of their documents: annotation document first.
      setLabels.clear();
      for (size_t i = 0; i < head.sentenceCount; ++i) {
        const Sentence& sentence = sentencesBySet[head.firstSentence + i];
        unitLabels.append(sentence.labelsOf, sentence.source, sentence.labelBase, setLabels);
      }
      if (!std::is_sorted(setLabels.begin(), setLabels.end(), byPlace))
        std::stable_sort(setLabels.begin(), setLabels.end(), byPlace);
      placeLabels(setLabels, names, record, outcome);
      each(record);
    }
    progress.count("lexical units read", unitCount, unit.name);
  }
  return outcome;
}

}  // namespace sorvanta::exports
