#include "exports/AnnotationSets.h"

#include <algorithm>
#include <optional>
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

struct LabelRow {
  int source;
  std::string layer, rank, name, itype;
  std::optional<int64_t> start, end;
};

std::optional<int64_t> optionalInt(const Statement& statement, int column) {
  if (statement.isNull(column)) return std::nullopt;
  return statement.integer(column);
}

std::string quoted(std::string_view text) { return std::string("'").append(text).append("'"); }

// Sorts the rows of one set into target, frame elements and the GF and PT layers. Layers of
// the annotation document come first; a layer of the subcorpus document counts only when the
// annotation document lacks a layer of that name and rank for the set.
void placeLabels(const std::vector<LabelRow>& rows, AnnotationRecord& record, text::Outcome& outcome) {
  std::vector<std::pair<std::string_view, std::string_view>> annotationLayers;
  for (const LabelRow& row : rows)
    if (row.source == 0) annotationLayers.emplace_back(row.layer, row.rank);
  const int64_t length = codePointCount(record.text);
  for (const LabelRow& row : rows) {
    if (row.source != 0 &&
        std::find(annotationLayers.begin(), annotationLayers.end(),
                  std::pair<std::string_view, std::string_view>(row.layer, row.rank)) !=
            annotationLayers.end())
      continue;
    const bool fe = row.layer == "FE", gf = row.layer == "GF", pt = row.layer == "PT";
    const bool target = !fe && !gf && !pt && row.name == "Target";
    if (!fe && !gf && !pt && !target) continue;
    if (!row.itype.empty()) {
      // Null instantiations exist for frame elements only; elsewhere they have no place.
      if (fe) record.fes.push_back({row.name, row.itype, 0, 0});
      continue;
    }
    const std::string what = "lexical unit " + std::to_string(record.luId) + ", sentence " +
                             std::to_string(record.sentenceId) + ": " +
                             (target ? std::string("Target") : row.layer) + " label " + quoted(row.name);
    if (!row.start || !row.end) {
      outcome.warn("Export", what + " has no integer start and end; left out");
      continue;
    }
    const int64_t start = *row.start, end = *row.end + 1;
    if (start < 0 || end <= start || end > length) {
      outcome.warn("Export", what + " (start " + std::to_string(*row.start) + ", end " +
                                 std::to_string(*row.end) + ") lies outside the text (" +
                                 std::to_string(length) + " characters); left out");
      continue;
    }
    if (fe) record.fes.push_back({row.name, std::string(), start, end});
    else if (gf) record.gf.push_back({row.name, start, end});
    else if (pt) record.pt.push_back({row.name, start, end});
    else record.target.push_back({row.name, start, end});
  }
}

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

  Statement sets(db, "SELECT s.set_ord, s.subcorpus, a.sentence_id, a.sentence_key, a.text "
                     "FROM sentences s JOIN annotation_sets a ON a.set_ord = s.set_ord "
                     "WHERE s.lu_id = ? ORDER BY s.source, s.doc_order, s.sentence_ord");
  Statement labels(db, "SELECT source, layer, layer_rank, name, start, \"end\", itype FROM labels "
                       "WHERE set_ord = ? ORDER BY source, doc_order");
  struct SetHead {
    int64_t setOrd;
    std::optional<std::string> subcorpus;
    std::optional<int64_t> sentenceId;
    std::string key, text;
  };
  std::vector<SetHead> heads;
  std::unordered_map<int64_t, size_t> headOf;
  std::vector<LabelRow> rows;
  AnnotationRecord record;
  int64_t unitCount = 0;
  for (const Unit& unit : units) {
    if (progress.cancelled()) return text::Outcome::cancelled();
    if (unitsRead) unitsRead->push_back(unit.id);
    heads.clear();
    headOf.clear();
    sets.reset();
    sets.bind(1, unit.id);
    while (sets.step()) {
      const int64_t setOrd = sets.integer(0);
      auto [found, added] = headOf.emplace(setOrd, heads.size());
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
      rows.clear();
      labels.reset();
      labels.bind(1, head.setOrd);
      while (labels.step()) {
        LabelRow& row = rows.emplace_back();
        row.source = static_cast<int>(labels.integer(0));
        row.layer = labels.text(1);
        row.rank = labels.text(2);
        row.name = labels.text(3);
        row.start = optionalInt(labels, 4);
        row.end = optionalInt(labels, 5);
        row.itype = labels.text(6);
      }
      placeLabels(rows, record, outcome);
      each(record);
    }
    progress.count("lexical units read", unitCount, unit.name);
  }
  return outcome;
}

}  // namespace sorvanta::exports
