#include "reports/ReportData.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <tuple>

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

const std::string& ReportReader::labelName(int64_t nameId) {
  static const std::string kUnknown;
  // label_names only grows (a refresh of the index may add names): read it again when an ID
  // is not yet known.
  if (nameId >= 0 && static_cast<uint64_t>(nameId) >= labelNames_.size()) {
    index::Statement& names = statement("SELECT name_id, text FROM label_names");
    while (names.step()) {
      const int64_t id = names.integer(0);
      if (id < 0 || id > (int64_t{1} << 24)) continue;
      if (static_cast<uint64_t>(id) >= labelNames_.size()) labelNames_.resize(static_cast<size_t>(id) + 1);
      labelNames_[static_cast<size_t>(id)] = textOf(names, 1);
    }
  }
  if (nameId < 0 || static_cast<uint64_t>(nameId) >= labelNames_.size()) return kUnknown;
  return labelNames_[static_cast<size_t>(nameId)];
}

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

  // Sets in build order; the subcorpus from the annotation document when it holds the set
  // (the set's first sentence by source and document order).
  index::Statement& sets = statement(
                        "SELECT set_ord, sentence_key, sentence_id, text FROM annotation_sets "
                        "WHERE lu_id = ?1 ORDER BY set_ord");
  sets.bind(1, luId);
  std::vector<int64_t> setOrds;
  while (sets.step()) {
    setOrds.push_back(sets.integer(0));
    AnnotationSet set;
    set.sentenceKey = textOf(sets, 1);
    set.sentenceId = optionalInt(sets, 2);
    set.text = textOf(sets, 3);
    lu.sets.push_back(std::move(set));
  }
  const auto setIndexOf = [&](int64_t setOrd) -> std::optional<size_t> {
    const auto found = std::lower_bound(setOrds.begin(), setOrds.end(), setOrd);
    if (found == setOrds.end() || *found != setOrd) return std::nullopt;
    return static_cast<size_t>(found - setOrds.begin());
  };
  // The subcorpus of each set's first sentence by (source, doc_order), found in one pass.
  index::Statement& subcorpora = statement(
                              "SELECT set_ord, source, doc_order, subcorpus FROM sentences WHERE lu_id = ?1");
  subcorpora.bind(1, luId);
  std::vector<std::pair<int64_t, int64_t>> firstSentence(setOrds.size(), {INT64_MAX, INT64_MAX});
  while (subcorpora.step()) {
    const auto at = setIndexOf(subcorpora.integer(0));
    if (!at) continue;
    const std::pair place(subcorpora.integer(1), subcorpora.integer(2));
    if (!(place < firstSentence[*at])) continue;
    firstSentence[*at] = place;
    lu.sets[*at].subcorpus = subcorpora.isNull(3) ? std::string() : textOf(subcorpora, 3);
  }

  // Every label of the unit's sets in one pass, merged as the merged_labels view merges them
  // (all layers of the annotation document, plus the subcorpus document's layers whose name
  // and rank the annotation document lacks for that set). The rows come straight from
  // label_data through the unit's sentences, names looked up here and ordered here: the
  // labels view's four joins, its offset texts and an SQL sort cost several times the rest.
  // A subcorpus sentence sharing the rows of its set's annotation sentence adds nothing to
  // the merge (every layer of it is the annotation document's), so it is not read.
  struct LabelRow {
    int64_t setOrd, source, docOrder, layer, rank, name, itype;
    std::optional<int64_t> start, end;
    int32_t startText = -1, endText = -1;  // into texts: offsets not written as plain integers
  };
  std::vector<LabelRow> rows;
  std::vector<std::string> texts;
  index::Statement& labels = statement(
                          "SELECT s.set_ord, s.source, s.label_base + d.position, d.layer_id, d.rank_id, "
                          "d.name_id, d.itype_id, d.start, d.\"end\", d.start_text, d.end_text "
                          "FROM sentences s JOIN label_data d ON d.sentence_ord = s.labels_of "
                          "WHERE s.lu_id = ?1 AND (s.source = 0 OR s.labels_of = s.sentence_ord)");
  labels.bind(1, luId);
  const auto keepText = [&](int column) {
    if (labels.isNull(column)) return int32_t{-1};
    texts.push_back(textOf(labels, column));
    return static_cast<int32_t>(texts.size() - 1);
  };
  while (labels.step())
    rows.push_back({labels.integer(0), labels.integer(1), labels.integer(2), labels.integer(3),
                    labels.integer(4), labels.integer(5), labels.integer(6), optionalInt(labels, 7),
                    optionalInt(labels, 8), keepText(9), keepText(10)});
  std::vector<uint32_t> order(rows.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
    const LabelRow &a = rows[x], &b = rows[y];
    return std::tie(a.setOrd, a.source, a.docOrder) < std::tie(b.setOrd, b.source, b.docOrder);
  });
  const auto offsetText = [&](int32_t text, const std::optional<int64_t>& value) {
    if (text >= 0) return std::move(texts[static_cast<size_t>(text)]);
    return value ? std::to_string(*value) : std::string();
  };
  size_t setIndex = 0;
  int64_t currentSet = -1;
  std::vector<std::pair<int64_t, int64_t>> annotationLayers;  // (layer_id, rank_id)
  for (const uint32_t at : order) {
    const LabelRow& row = rows[at];
    if (row.setOrd != currentSet) {
      currentSet = row.setOrd;
      annotationLayers.clear();
      while (setIndex < setOrds.size() && setOrds[setIndex] < row.setOrd) ++setIndex;
    }
    if (setIndex >= setOrds.size() || setOrds[setIndex] != row.setOrd) continue;
    const std::pair layerRank(row.layer, row.rank);
    const bool known = std::find(annotationLayers.begin(), annotationLayers.end(), layerRank) !=
                       annotationLayers.end();
    if (row.source == 0) {
      if (!known) annotationLayers.push_back(layerRank);
    } else if (known) {
      continue;
    }
    lu.sets[setIndex].labels.push_back({labelName(row.layer), labelName(row.rank), labelName(row.name),
                                        labelName(row.itype), row.start, row.end,
                                        offsetText(row.startText, row.start),
                                        offsetText(row.endText, row.end)});
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
