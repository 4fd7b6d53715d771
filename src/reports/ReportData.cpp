#include "reports/ReportData.h"

#include <set>

#include "index/Sqlite.h"

namespace sorvanta::reports {

namespace {

std::optional<int64_t> optionalInt(const index::Statement& row, int column) {
  if (row.isNull(column)) return std::nullopt;
  return row.integer(column);
}

std::string textOf(const index::Statement& row, int column) { return std::string(row.text(column)); }

}  // namespace

std::vector<FrameElementInfo> ReportReader::frameElements(int64_t frameOrd) {
  index::Statement& query = statement(
                         "SELECT name, abbrev, core_type, definition FROM frame_elements "
                         "WHERE frame_ord = ?1 ORDER BY fe_ord");
  query.bind(1, frameOrd);
  std::vector<FrameElementInfo> fes;
  while (query.step())
    fes.push_back({textOf(query, 0), textOf(query, 1), textOf(query, 2), textOf(query, 3)});
  return fes;
}

ReportReader::ReportReader(index::Database& db) : db_(db) {}
ReportReader::~ReportReader() = default;

index::Statement& ReportReader::statement(const char* sql) {
  std::unique_ptr<index::Statement>& cached = statements_[sql];
  if (!cached)
    cached = std::make_unique<index::Statement>(db_, sql);
  else
    cached->reset();
  return *cached;
}

std::optional<LexicalUnitData> ReportReader::lexicalUnit(int64_t luId) {
  LexicalUnitData lu;
  int64_t frameOrd = 0;
  {
    index::Statement& query = statement(
                           "SELECT name, frame_name, definition, status, frame_ord "
                           "FROM lexical_units WHERE id = ?1 ORDER BY lu_ord LIMIT 1");
    query.bind(1, luId);
    if (!query.step()) return std::nullopt;
    lu.id = luId;
    lu.name = textOf(query, 0);
    lu.frame = textOf(query, 1);
    lu.definition = textOf(query, 2);
    lu.status = textOf(query, 3);
    frameOrd = query.integer(4);
  }
  lu.frameFes = frameElements(frameOrd);

  // Sets in build order; the subcorpus from the annotation document when it holds the set.
  index::Statement& sets = statement(
                        "SELECT a.set_ord, a.sentence_key, a.sentence_id, a.text, "
                        "(SELECT s.subcorpus FROM sentences s WHERE s.set_ord = a.set_ord "
                        " ORDER BY s.source, s.doc_order LIMIT 1) "
                        "FROM annotation_sets a WHERE a.lu_id = ?1 ORDER BY a.set_ord");
  sets.bind(1, luId);
  std::vector<int64_t> setOrds;
  while (sets.step()) {
    setOrds.push_back(sets.integer(0));
    AnnotationSet set;
    set.sentenceKey = textOf(sets, 1);
    set.sentenceId = optionalInt(sets, 2);
    set.text = textOf(sets, 3);
    if (!sets.isNull(4)) set.subcorpus = textOf(sets, 4);
    lu.sets.push_back(std::move(set));
  }

  // Every label of the unit's sets in one pass, merged as the merged_labels view merges them
  // (all layers of the annotation document, plus the subcorpus document's layers whose name
  // and rank the annotation document lacks for that set); the view's per-row subquery is
  // several times slower than this.
  index::Statement& labels = statement(
                          "SELECT l.set_ord, l.source, l.layer, l.layer_rank, l.name, l.itype, "
                          "l.start, l.\"end\", l.start_text, l.end_text "
                          "FROM annotation_sets a JOIN labels l ON l.set_ord = a.set_ord "
                          "WHERE a.lu_id = ?1 ORDER BY l.set_ord, l.source, l.doc_order");
  labels.bind(1, luId);
  size_t setIndex = 0;
  int64_t currentSet = -1;
  std::set<std::pair<std::string, std::string>> annotationLayers;
  while (labels.step()) {
    const int64_t setOrd = labels.integer(0);
    if (setOrd != currentSet) {
      currentSet = setOrd;
      annotationLayers.clear();
      while (setIndex < setOrds.size() && setOrds[setIndex] < setOrd) ++setIndex;
    }
    if (setIndex >= setOrds.size() || setOrds[setIndex] != setOrd) continue;
    Label label;
    label.layer = textOf(labels, 2);
    label.rank = textOf(labels, 3);
    if (labels.integer(1) == 0)
      annotationLayers.emplace(label.layer, label.rank);
    else if (annotationLayers.count({label.layer, label.rank}))
      continue;
    label.name = textOf(labels, 4);
    label.itype = textOf(labels, 5);
    label.start = optionalInt(labels, 6);
    label.end = optionalInt(labels, 7);
    if (!labels.isNull(8)) label.startText = textOf(labels, 8);
    if (!labels.isNull(9)) label.endText = textOf(labels, 9);
    lu.sets[setIndex].labels.push_back(std::move(label));
  }

  {
    // By its path, the table's key (documents has no index on lu_id).
    index::Statement& entry = statement(
                           "SELECT readable FROM documents WHERE path = ?1 "
                           "AND kind = 'lexical-entry'");
    entry.bind(1, "leXML/le" + std::to_string(luId) + ".xml");
    lu.hasLexicalEntry = entry.step() && entry.integer(0) != 0;
  }
  if (lu.hasLexicalEntry) {
    index::Statement& realizations = statement(
                                  "SELECT fe, pt, gf, total FROM fe_realizations "
                                  "WHERE lu_id = ?1 ORDER BY realization_ord");
    realizations.bind(1, luId);
    while (realizations.step())
      lu.entryRealizations.push_back({textOf(realizations, 0), textOf(realizations, 1),
                                      textOf(realizations, 2),
                                      optionalInt(realizations, 3).value_or(0)});
  }
  return lu;
}

std::optional<FrameInfo> ReportReader::frame(const std::string& name) {
  FrameInfo frame;
  int64_t frameOrd = 0;
  {
    index::Statement& query = statement(
                           "SELECT frame_ord, id_text, name, definition FROM frames "
                           "WHERE name = ?1 COLLATE NOCASE ORDER BY name <> ?1, frame_ord LIMIT 1");
    query.bind(1, name);
    if (!query.step()) return std::nullopt;
    frameOrd = query.integer(0);
    frame.idText = textOf(query, 1);
    frame.name = textOf(query, 2);
    frame.definition = textOf(query, 3);
  }
  frame.fes = frameElements(frameOrd);
  index::Statement& units = statement(
                         "SELECT id, id_text, name, definition, annotated FROM lexical_units "
                         "WHERE frame_ord = ?1 ORDER BY lu_ord");
  units.bind(1, frameOrd);
  while (units.step())
    frame.lexicalUnits.push_back({optionalInt(units, 0), textOf(units, 1), textOf(units, 2),
                                  textOf(units, 3), units.integer(4)});
  index::Statement& relations = statement(
                             "SELECT type_name, super_frame, sub_frame FROM frame_relations "
                             "WHERE super_frame = ?1 OR sub_frame = ?1 ORDER BY relation_ord");
  relations.bind(1, frame.name);
  while (relations.step())
    frame.relations.push_back({textOf(relations, 0), textOf(relations, 1), textOf(relations, 2)});
  return frame;
}

std::optional<LexicalUnitData> loadLexicalUnit(index::Database& db, int64_t luId) {
  return ReportReader(db).lexicalUnit(luId);
}

std::optional<FrameInfo> loadFrame(index::Database& db, const std::string& name) {
  return ReportReader(db).frame(name);
}

}  // namespace sorvanta::reports
