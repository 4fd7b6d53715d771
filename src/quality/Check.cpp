#include "quality/Check.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "index/DocumentRows.h"
#include "index/Sqlite.h"
#include "text/WorkingText.h"

namespace sorvanta::quality {

namespace {

using index::Database;
using index::Statement;

constexpr FindingSeverity kError = FindingSeverity::Error;
constexpr FindingSeverity kWarning = FindingSeverity::Warning;

const std::vector<CheckCode> kCodes = {
    {"unreadable-document", kError, "a document that is not well-formed XML or cannot be read"},
    {"missing-annotation-document", kError,
     "a lexical unit with annotated sentences but no annotation document (luXML)"},
    {"annotated-count-mismatch", kError,
     "the frames document's annotated count differs from the annotation sets found"},
    {"label-offset-out-of-range", kError,
     "a label whose start or end lies outside its sentence, or whose start is after its end"},
    {"label-bad-integer", kError, "a label whose start or end is not an integer"},
    {"unknown-fe-label", kError,
     "an FE-layer label naming no frame element of the lexical unit's frame"},
    {"relation-unknown-frame", kError, "a frame relation naming a frame that does not exist"},
    {"relation-unknown-fe", kError,
     "an FE relation naming a frame element its frame does not have"},
    {"duplicate-frame-id", kError, "a frame ID given to more than one frame"},
    {"duplicate-frame-name", kError, "a frame name given to more than one frame"},
    {"duplicate-lu-id", kError, "a lexical-unit ID given to more than one lexical unit"},
    {"duplicate-fe-name", kError, "two frame elements of one frame with the same name"},
    {"duplicate-sentence-id", kError, "a sentence ID twice in one document of a lexical unit"},
    {"id-bad-integer", kError, "a frame, lexical-unit or sentence ID that is not an integer"},
    {"sentence-without-id", kError, "a sentence without an ID attribute"},
    {"realization-bad-total", kError, "an FE realization whose total is not an integer"},
    {"realization-without-valence-unit", kError, "an FE realization without a valence unit"},
    {"document-problem", kError, "another problem the index found while reading a document"},
    {"overlapping-fe-labels", kWarning,
     "two frame-element labels of one FE layer covering a common character"},
    {"realization-count-mismatch", kWarning,
     "the lexical entry's realization totals of a frame element differ from its labels"},
    {"outside-windows-1252", kWarning,
     "characters Windows-1252 cannot hold, written as '?' in every list"},
    {"empty-definition", kWarning, "a frame or frame element with an empty definition"},
};

size_t codeRank(std::string_view code) {
  for (size_t i = 0; i < kCodes.size(); ++i)
    if (kCodes[i].code == code) return i;
  return kCodes.size();
}

// An XPath string literal: single quotes unless the value holds one.
std::string literal(std::string_view value) {
  const char quote = value.find('\'') == std::string_view::npos ? '\'' : '"';
  return quote + std::string(value) + quote;
}

std::string frameLocation(std::string_view frame) { return "frame[@name=" + literal(frame) + "]"; }
std::string feLocation(std::string_view frame, std::string_view fe) {
  return frameLocation(frame) + "/fes/fe[@name=" + literal(fe) + "]";
}
std::string luLocation(std::string_view frame, std::string_view id) {
  return frameLocation(frame) + "/lexunits/lexunit[@ID=" + literal(id) + "]";
}
std::string sentenceLocation(std::string_view key) { return "sentence[@ID=" + literal(key) + "]"; }

std::string text(const Statement& row, int column) { return std::string(row.text(column)); }
std::optional<std::string> optionalText(const Statement& row, int column) {
  if (row.isNull(column)) return std::nullopt;
  return text(row, column);
}

// The label columns every label query selects, from column `first` on: layer, layer_rank,
// name, start_text, end_text.
std::string labelLocation(const Statement& row, int first, std::string_view sentenceKey) {
  std::string location = "annotationSet[sentence/@ID=" + literal(sentenceKey) + "]//layer[@name=" +
                         literal(row.text(first)) + "]";
  const std::string_view rank = row.text(first + 1);
  if (!rank.empty() && rank != "1") location += "[@rank=" + literal(rank) + "]";
  location += "//label[@name=" + literal(row.text(first + 2)) + "]";
  if (auto start = optionalText(row, first + 3)) location += "[@start=" + literal(*start) + "]";
  if (auto end = optionalText(row, first + 4)) location += "[@end=" + literal(*end) + "]";
  return location;
}

// The characters of UTF-8 text that Windows-1252 cannot hold, each once, in order of first
// appearance (at most `limit`); the count of all of them in total.
std::string outside1252(std::string_view utf8, size_t& total, size_t limit = 5) {
  std::string shown;
  std::vector<char32_t> seen;
  total = 0;
  text::forEachOutsideWorking(utf8, [&](char32_t cp) {
    ++total;
    if (std::find(seen.begin(), seen.end(), cp) == seen.end() && seen.size() < limit) {
      seen.push_back(cp);
      text::appendUtf8(shown, cp);
    }
  });
  return shown;
}

// Where documents stand in the report: the frames document, the relations document, then by
// lexical-unit ID its annotation, subcorpus and lexical-entry documents (the index's order).
std::tuple<int, int64_t, int> documentRank(std::string_view path) {
  if (path == "frXML/frames.xml") return {0, 0, 0};
  if (path == "frXML/frRelation.xml") return {1, 0, 0};
  const struct {
    std::string_view folder;
    int kind;
  } kFolders[] = {{"luXML/lu", 0}, {"xml/lu", 1}, {"leXML/le", 2}};
  for (const auto& each : kFolders) {
    if (path.substr(0, each.folder.size()) != each.folder || path.size() < each.folder.size() + 4)
      continue;
    const std::string_view digits = path.substr(each.folder.size(), path.size() - each.folder.size() - 4);
    int64_t id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (error == std::errc() && end == digits.data() + digits.size()) return {2, id, each.kind};
  }
  return {3, 0, 0};
}

class Checker {
 public:
  Checker(Database& db, const std::string& releaseFolder) : db_(db), release_(releaseFolder) {}

  std::vector<Finding> run() {
    db_.exec(
        "CREATE TEMP TABLE dup_lus(id INTEGER PRIMARY KEY);"
        "INSERT INTO dup_lus SELECT id FROM lexical_units WHERE id IS NOT NULL GROUP BY id "
        "HAVING count(*) > 1;");
    problems();
    missingAnnotationDocuments();
    duplicates();
    labelFindings();
    unknownFeLabels();
    relations();
    outsideWindows1252();
    emptyDefinitions();
    // The count comparisons leave out units whose documents hold errors: those errors are
    // reported, and the counts would only repeat them.
    for (const Finding& finding : findings_)
      if (finding.severity == kError && finding.luId != 0 && finding.document != "frXML/frames.xml")
        troubled_.insert(finding.luId);
    annotatedCounts();
    realizationCounts();
    db_.exec("DROP TABLE temp.dup_lus;");
    return std::move(findings_);
  }

 private:
  void add(std::string_view code, std::string document, std::string location, std::string message,
           int64_t luId = 0, std::string frame = {}) {
    const CheckCode* entry = findCheckCode(code);
    findings_.push_back({entry ? entry->severity : kError, std::string(code), std::move(document),
                         std::move(location), std::move(message), luId, std::move(frame)});
  }

  void problems() {
    Statement row(db_, "SELECT p.document, p.location, p.code, p.message, coalesce(d.lu_id, 0) "
                       "FROM problems p LEFT JOIN documents d ON d.path = p.document "
                       "ORDER BY p.problem_ord");
    while (row.step()) {
      const std::string_view code = row.text(2);
      std::string document = text(row, 0), message = text(row, 3);
      const int64_t luId = row.integer(4);
      if (code == "unreadable") {
        add("unreadable-document", document, text(row, 1), "the document cannot be read: " + message,
            luId);
      } else if (code == "bad-id") {
        add("id-bad-integer", document, text(row, 1), message, luId);
      } else if (code == "missing-id") {
        add("sentence-without-id", document, text(row, 1), message, luId);
      } else if (code == "bad-total") {
        add("realization-bad-total", document, text(row, 1), message, luId);
      } else if (code == "missing-valence-unit") {
        add("realization-without-valence-unit", document, text(row, 1), message, luId);
      } else if (code != "bad-offset" && code != "duplicate-sentence") {
        // bad-offset and duplicate-sentence are found again below, with element paths.
        add("document-problem", document, text(row, 1), std::string(code) + ": " + message, luId);
      }
    }
  }

  void missingAnnotationDocuments() {
    Statement row(db_, "SELECT lu.id, lu.id_text, lu.name, lu.frame_name, lu.annotated, min(lu.lu_ord) "
                       "FROM lexical_units lu WHERE lu.annotated > 0 AND lu.id IS NOT NULL "
                       "AND lu.id NOT IN (SELECT d.lu_id FROM documents d WHERE d.kind = 'annotation') "
                       "GROUP BY lu.id ORDER BY 6");
    while (row.step()) {
      const int64_t id = row.integer(0);
      missing_.insert(id);
      add("missing-annotation-document", "luXML/lu" + std::to_string(id) + ".xml", "",
          "lexical unit " + literal(row.text(2)) + " (" + text(row, 1) + ") of frame " +
              literal(row.text(3)) + " has " + std::to_string(row.integer(4)) +
              " annotated sentences but no annotation document",
          id, text(row, 3));
    }
  }

  void duplicates() {
    const std::string frames = "frXML/frames.xml";
    Statement frameIds(db_, "SELECT name, id_text, first FROM (SELECT frame_ord, name, id_text, "
                            "first_value(name) OVER w AS first, row_number() OVER w AS n FROM frames "
                            "WHERE id IS NOT NULL WINDOW w AS (PARTITION BY id ORDER BY frame_ord)) "
                            "WHERE n > 1 ORDER BY frame_ord");
    while (frameIds.step())
      add("duplicate-frame-id", frames, frameLocation(frameIds.text(0)),
          "frame ID " + text(frameIds, 1) + " is also the ID of frame " + literal(frameIds.text(2)), 0,
          text(frameIds, 0));
    Statement frameNames(db_, "SELECT name, id_text, first, n FROM (SELECT frame_ord, name, id_text, "
                              "first_value(id_text) OVER w AS first, row_number() OVER w AS n "
                              "FROM frames WINDOW w AS (PARTITION BY name ORDER BY frame_ord)) "
                              "WHERE n > 1 ORDER BY frame_ord");
    while (frameNames.step())
      add("duplicate-frame-name", frames,
          frameLocation(frameNames.text(0)) + "[" + std::to_string(frameNames.integer(3)) + "]",
          "frame " + literal(frameNames.text(0)) + " (ID " + text(frameNames, 1) +
              ") has the name of frame ID " + text(frameNames, 2),
          0, text(frameNames, 0));
    Statement luIds(db_, "SELECT id, id_text, name, frame_name, first_name, first_frame FROM (SELECT "
                         "lu_ord, id, id_text, name, frame_name, first_value(name) OVER w AS first_name, "
                         "first_value(frame_name) OVER w AS first_frame, row_number() OVER w AS n "
                         "FROM lexical_units WHERE id IS NOT NULL "
                         "WINDOW w AS (PARTITION BY id ORDER BY lu_ord)) WHERE n > 1 ORDER BY lu_ord");
    while (luIds.step())
      add("duplicate-lu-id", frames, luLocation(luIds.text(3), luIds.text(1)),
          "lexical unit " + literal(luIds.text(2)) + ": ID " + text(luIds, 1) +
              " is also the ID of " + literal(luIds.text(4)) + " in frame " + literal(luIds.text(5)),
          luIds.integer(0), text(luIds, 3));
    Statement feNames(db_, "SELECT frame_name, name, n FROM (SELECT fe_ord, frame_name, name, "
                           "row_number() OVER (PARTITION BY frame_ord, name ORDER BY fe_ord) AS n "
                           "FROM frame_elements) WHERE n > 1 ORDER BY fe_ord");
    while (feNames.step())
      add("duplicate-fe-name", frames,
          feLocation(feNames.text(0), feNames.text(1)) + "[" + std::to_string(feNames.integer(2)) + "]",
          "frame " + literal(feNames.text(0)) + " has more than one frame element named " +
              literal(feNames.text(1)),
          0, text(feNames, 0));
    // The index records a problem in each document with a repeated sentence ID; only those
    // documents are searched for the repeats.
    Statement sentences(db_, "SELECT document, lu_id, sentence_key, n FROM (SELECT sentence_ord, "
                             "document, lu_id, sentence_key, row_number() OVER (PARTITION BY document, "
                             "sentence_key ORDER BY doc_order) AS n FROM sentences WHERE sentence_key <> '' "
                             "AND lu_id IN (SELECT d.lu_id FROM problems p JOIN documents d ON d.path = p.document "
                             "WHERE p.code = 'duplicate-sentence') AND document IN (SELECT document FROM problems "
                             "WHERE code = 'duplicate-sentence')) WHERE n > 1 ORDER BY sentence_ord");
    while (sentences.step())
      add("duplicate-sentence-id", text(sentences, 0),
          sentenceLocation(sentences.text(2)) + "[" + std::to_string(sentences.integer(3)) + "]",
          "sentence ID " + text(sentences, 2) + " occurs more than once in the document",
          sentences.integer(1));
  }

  // Offsets that are not integers or lie outside their sentence, and overlapping FE labels:
  // the index found them while reading each document (docs/index-schema.md, label_findings).
  void labelFindings() {
    Statement row(db_, "SELECT document, lu_id, sentence_key, layer, layer_rank, name, start_text, "
                       "end_text, fault, sentence_length, other_name, other_start, other_end "
                       "FROM label_findings ORDER BY document, sentence_order, label_order");
    while (row.step()) {
      const std::string_view fault = row.text(8);
      const std::string location = labelLocation(row, 3, row.text(2));
      const std::string label = "label " + literal(row.text(5));
      const int64_t luId = row.integer(1);
      if (fault == "bad-integer") {
        const std::string value =
            !row.isNull(6) && !index::decimalValue(row.text(6)) ? text(row, 6) : text(row, 7);
        add("label-bad-integer", text(row, 0), location,
            label + ": offset " + literal(value) + " is not an integer", luId);
        continue;
      }
      const int64_t start = *index::decimalValue(row.text(6)), end = *index::decimalValue(row.text(7));
      const std::string span = " (" + std::to_string(start) + "-" + std::to_string(end) + ")";
      if (fault == "out-of-range") {
        const int64_t length = row.integer(9);
        const std::string why = start > end ? "starts after it ends"
                                            : "lies outside the sentence of " + std::to_string(length) +
                                                  " characters (offsets 0 to " + std::to_string(length - 1) + ")";
        add("label-offset-out-of-range", text(row, 0), location, label + span + " " + why, luId);
      } else {
        std::string with = "another FE label";
        if (!row.isNull(10))
          with = "FE label " + literal(row.text(10)) + " (" + std::to_string(row.integer(11)) + "-" +
                 std::to_string(row.integer(12)) + ")";
        add("overlapping-fe-labels", text(row, 0), location, "FE " + label + span + " overlaps " + with, luId);
      }
    }
  }

  // FE labels are checked against the frame elements of every frame that lists the unit
  // (one, unless its ID is duplicated). Units the frames document does not list are left out.
  // The index counts each document's FE label names; only the labels of names that no frame
  // element matches are then looked up.
  void unknownFeLabels() {
    db_.exec("CREATE TEMP TABLE unknown_fe(document TEXT, lu_id INTEGER, name TEXT, "
             "PRIMARY KEY(document, name)) WITHOUT ROWID;"
             "INSERT OR IGNORE INTO unknown_fe SELECT c.document, c.lu_id, c.name FROM fe_label_counts c "
             "WHERE c.lu_id IN (SELECT id FROM lexical_units) AND NOT EXISTS (SELECT 1 FROM "
             "lexical_units lu JOIN frame_elements fe ON fe.frame_ord = lu.frame_ord "
             "WHERE lu.id = c.lu_id AND fe.name = c.name);");
    Statement row(db_, "SELECT s.document, s.lu_id, s.sentence_key, l.layer, l.layer_rank, l.name, "
                       "l.start_text, l.end_text, (SELECT group_concat(DISTINCT frame_name) "
                       "FROM lexical_units WHERE id = s.lu_id) "
                       "FROM unknown_fe u CROSS JOIN sentences s ON s.lu_id = u.lu_id AND s.document = u.document "
                       "CROSS JOIN labels l ON l.set_ord = s.set_ord AND l.source = s.source "
                       "WHERE l.layer = 'FE' AND l.name = u.name AND s.sentence_ord = (SELECT "
                       "min(x.sentence_ord) FROM sentences x WHERE x.set_ord = s.set_ord AND x.source = s.source) "
                       "ORDER BY s.sentence_ord, l.doc_order");
    while (row.step())
      add("unknown-fe-label", text(row, 0), labelLocation(row, 3, row.text(2)),
          "FE label " + literal(row.text(5)) + " names no frame element of frame " +
              literal(row.text(8)),
          row.integer(1), text(row, 8));
    row.reset();
    db_.exec("DROP TABLE temp.unknown_fe;");
  }

  void relations() {
    const std::string document = "frXML/frRelation.xml";
    auto relationLocation = [](const Statement& row) {
      std::string location = "frame-relation-type[@name=" + literal(row.text(0)) + "]//frame-relation";
      if (!row.text(1).empty()) return location + "[@ID=" + literal(row.text(1)) + "]";
      return location + "[@superFrameName=" + literal(row.text(2)) + "][@subFrameName=" +
             literal(row.text(3)) + "]";
    };
    db_.exec("CREATE TEMP TABLE frame_names(name TEXT PRIMARY KEY) WITHOUT ROWID;"
             "INSERT OR IGNORE INTO frame_names SELECT name FROM frames;"
             "CREATE TEMP TABLE frame_fes(frame TEXT, name TEXT, PRIMARY KEY(frame, name)) WITHOUT ROWID;"
             "INSERT OR IGNORE INTO frame_fes SELECT frame_name, name FROM frame_elements;");
    Statement frames(db_, "SELECT r.type_name, r.id_text, r.super_frame, r.sub_frame, "
                          "r.super_frame IN frame_names, "
                          "r.sub_frame IN frame_names "
                          "FROM frame_relations r ORDER BY r.relation_ord");
    while (frames.step()) {
      for (int side = 0; side < 2; ++side) {
        if (frames.integer(4 + side)) continue;
        add("relation-unknown-frame", document, relationLocation(frames),
            std::string(side ? "sub" : "super") + " frame " + literal(frames.text(2 + side)) +
                " of the " + text(frames, 0) + " relation does not exist",
            0, text(frames, 2 + side));
      }
    }
    // Each side of an FE relation is checked only when its frame exists (else the frame is
    // reported); with a frame name given twice, an element of either frame will do.
    Statement fes(db_, "SELECT r.type_name, r.id_text, r.super_frame, r.sub_frame, fr.super_fe, fr.sub_fe, "
                       "r.super_frame IN frame_names, "
                       "r.sub_frame IN frame_names, "
                       "EXISTS (SELECT 1 FROM frame_fes e WHERE e.frame = r.super_frame AND e.name = fr.super_fe), "
                       "EXISTS (SELECT 1 FROM frame_fes e WHERE e.frame = r.sub_frame AND e.name = fr.sub_fe) "
                       "FROM fe_relations fr JOIN frame_relations r ON r.relation_ord = fr.relation_ord "
                       "ORDER BY fr.fe_relation_ord");
    while (fes.step()) {
      for (int side = 0; side < 2; ++side) {
        if (!fes.integer(6 + side) || fes.integer(8 + side)) continue;
        const std::string attribute = side ? "subFEName" : "superFEName";
        add("relation-unknown-fe", document,
            relationLocation(fes) + "/fe-relation[@" + attribute + "=" + literal(fes.text(4 + side)) + "]",
            "frame " + literal(fes.text(2 + side)) + " has no frame element " +
                literal(fes.text(4 + side)) + " (" + text(fes, 0) + " relation)",
            0, text(fes, 2 + side));
      }
    }
    fes.reset();
    frames.reset();
    db_.exec("DROP TABLE temp.frame_names; DROP TABLE temp.frame_fes;");
  }

  void outsideWindows1252() {
    const std::string frames = "frXML/frames.xml";
    auto check = [&](std::string document, const std::string& location, std::string_view what,
                     std::string_view value, int64_t luId, std::string frame) {
      size_t total = 0;
      const std::string shown = outside1252(value, total);
      if (total == 0) return;
      add("outside-windows-1252", std::move(document), location,
          std::string(what) + " holds " + std::to_string(total) + " character" + (total > 1 ? "s" : "") +
              " outside Windows-1252 (" + shown + "), written as '?' in every list",
          luId, std::move(frame));
    };
    // Only rows with a character above U+007F are fetched.
    const std::string nonAscii = std::string("*[^") + '\x01' + "-" + '\x7F' + "]*";
    Statement frameRows(db_, "SELECT name, definition FROM frames WHERE name GLOB ?1 OR definition GLOB ?1 "
                             "ORDER BY frame_ord");
    frameRows.bind(1, nonAscii);
    while (frameRows.step()) {
      check(frames, frameLocation(frameRows.text(0)), "the frame name", frameRows.text(0), 0, text(frameRows, 0));
      check(frames, frameLocation(frameRows.text(0)) + "/definition", "the definition", frameRows.text(1), 0,
            text(frameRows, 0));
    }
    Statement feRows(db_, "SELECT frame_name, name, abbrev, definition FROM frame_elements "
                          "WHERE name GLOB ?1 OR abbrev GLOB ?1 OR definition GLOB ?1 ORDER BY fe_ord");
    feRows.bind(1, nonAscii);
    while (feRows.step()) {
      const std::string location = feLocation(feRows.text(0), feRows.text(1));
      check(frames, location, "the frame-element name", feRows.text(1), 0, text(feRows, 0));
      check(frames, location + "/@abbrev", "the abbreviation", feRows.text(2), 0, text(feRows, 0));
      check(frames, location + "/definition", "the definition", feRows.text(3), 0, text(feRows, 0));
    }
    Statement luRows(db_, "SELECT frame_name, id_text, name, definition, coalesce(id, 0) FROM lexical_units "
                          "WHERE name GLOB ?1 OR definition GLOB ?1 ORDER BY lu_ord");
    luRows.bind(1, nonAscii);
    while (luRows.step()) {
      const std::string location = luLocation(luRows.text(0), luRows.text(1));
      check(frames, location, "the lexical-unit name", luRows.text(2), luRows.integer(4), text(luRows, 0));
      check(frames, location + "/definition", "the definition", luRows.text(3), luRows.integer(4),
            text(luRows, 0));
    }
    Statement sentences(db_, "SELECT document, sentence_key, text, lu_id FROM sentences "
                             "WHERE outside_1252 > 0 ORDER BY sentence_ord");
    while (sentences.step())
      check(text(sentences, 0), sentenceLocation(sentences.text(1)), "the sentence", sentences.text(2),
            sentences.integer(3), {});
  }

  void emptyDefinitions() {
    const std::string frames = "frXML/frames.xml";
    const char* blank = "trim(definition, ' ' || char(9) || char(10) || char(13)) = ''";
    Statement frameRows(db_, std::string("SELECT name FROM frames WHERE ") + blank + " ORDER BY frame_ord");
    while (frameRows.step())
      add("empty-definition", frames, frameLocation(frameRows.text(0)) + "/definition",
          "frame " + literal(frameRows.text(0)) + " has an empty definition", 0, text(frameRows, 0));
    Statement feRows(db_, std::string("SELECT frame_name, name FROM frame_elements WHERE ") + blank +
                              " ORDER BY fe_ord");
    while (feRows.step())
      add("empty-definition", frames, feLocation(feRows.text(0), feRows.text(1)) + "/definition",
          "frame element " + literal(feRows.text(1)) + " of frame " + literal(feRows.text(0)) +
              " has an empty definition",
          0, text(feRows, 0));
  }

  bool comparable(int64_t luId) const {
    return !troubled_.count(luId) && !missing_.count(luId);
  }

  // The frames document's annotated count (0 when absent) against the sets found in the
  // unit's annotation and subcorpus documents.
  void annotatedCounts() {
    Statement row(db_, "SELECT lu.id, lu.id_text, lu.name, lu.frame_name, lu.annotated, lu.annotated_text, "
                       "(SELECT count(*) FROM annotation_sets a WHERE a.lu_id = lu.id) AS found "
                       "FROM lexical_units lu WHERE lu.id IS NOT NULL AND lu.id NOT IN dup_lus "
                       "AND lu.annotated <> found ORDER BY lu.lu_ord");
    while (row.step()) {
      const int64_t id = row.integer(0);
      if (!comparable(id)) continue;
      const std::string declared = row.isNull(5) ? "no annotated count (0)" : "annotated count " + text(row, 5);
      add("annotated-count-mismatch", "frXML/frames.xml", luLocation(row.text(3), row.text(1)),
          "lexical unit " + literal(row.text(2)) + " has " + declared + ", but " +
              std::to_string(row.integer(6)) + " annotation sets were found",
          id, text(row, 3));
    }
  }

  // Per frame element of a unit: the totals of its lexical entry's FE realizations against
  // the labels of the first FE layer of its sets. Only units with a readable lexical-entry
  // document whose totals are all integers are compared.
  void realizationCounts() {
    db_.exec("CREATE TEMP TABLE entry_units(lu_id INTEGER PRIMARY KEY, path TEXT);"
             "INSERT OR IGNORE INTO entry_units SELECT d.lu_id, d.path FROM documents d "
             "WHERE d.kind = 'lexical-entry' AND d.readable = 1 AND d.lu_id NOT IN dup_lus "
             "AND NOT EXISTS (SELECT 1 FROM fe_realizations r WHERE r.lu_id = d.lu_id "
             "AND r.document = d.path AND r.total IS NULL) ORDER BY d.path;"
             "CREATE TEMP TABLE entry_counts(lu_id INTEGER, fe TEXT, total INTEGER, labels INTEGER, "
             "PRIMARY KEY(lu_id, fe)) WITHOUT ROWID;"
             "INSERT INTO entry_counts SELECT r.lu_id, r.fe, sum(r.total), 0 FROM fe_realizations r "
             "JOIN entry_units u ON u.lu_id = r.lu_id AND u.path = r.document GROUP BY r.lu_id, r.fe;"
             "INSERT INTO entry_counts SELECT c.lu_id, c.name, 0, sum(c.labels) FROM fe_label_counts c "
             "JOIN documents d ON d.path = c.document AND d.kind = 'annotation' "
             "WHERE c.layer_rank IN ('', '1') AND c.lu_id IN (SELECT lu_id FROM entry_units) "
             "GROUP BY c.lu_id, c.name ON CONFLICT(lu_id, fe) DO UPDATE SET labels = labels + excluded.labels;");
    // A set's FE layer of a rank counts from the subcorpus document only where the annotation
    // document has none of that rank for the set (as the merged_labels view has it). The
    // index keeps each sentence's FE ranks, so only those sets are read label by label.
    db_.exec("CREATE TEMP TABLE subcorpus_only(set_ord INTEGER, rank TEXT, PRIMARY KEY(set_ord, rank)) "
             "WITHOUT ROWID;");
    {
      Statement candidates(db_, "SELECT s1.set_ord, s1.fe_ranks, coalesce((SELECT group_concat(s0.fe_ranks, '') "
                                "FROM sentences s0 WHERE s0.source = 0 AND s0.set_ord = s1.set_ord), '') "
                                "FROM sentences s1 WHERE s1.source = 1 AND s1.fe_ranks <> '' "
                                "AND s1.lu_id IN (SELECT lu_id FROM entry_units)");
      Statement keep(db_, "INSERT OR IGNORE INTO subcorpus_only VALUES (?, ?)");
      while (candidates.step()) {
        const std::string_view subcorpus = candidates.text(1), annotation = candidates.text(2);
        if (subcorpus == annotation) continue;
        for (std::string_view rank : {std::string_view("<>"), std::string_view("<1>")})
          if (subcorpus.find(rank) != std::string_view::npos && annotation.find(rank) == std::string_view::npos)
            keep.bind(1, candidates.integer(0)).bind(2, rank.substr(1, rank.size() - 2)).run();
      }
    }
    db_.exec("INSERT INTO entry_counts SELECT a.lu_id, l.name, 0, count(*) FROM subcorpus_only o "
             "CROSS JOIN labels l ON l.set_ord = o.set_ord AND l.source = 1 AND l.layer = 'FE' "
             "AND l.layer_rank = o.rank JOIN annotation_sets a ON a.set_ord = o.set_ord "
             "GROUP BY a.lu_id, l.name ON CONFLICT(lu_id, fe) DO UPDATE SET labels = labels + excluded.labels;"
             "DROP TABLE temp.subcorpus_only;");
    Statement row(db_, "SELECT u.path, c.lu_id, c.fe, c.total, c.labels, (SELECT group_concat(DISTINCT "
                       "frame_name) FROM lexical_units WHERE id = c.lu_id) FROM entry_counts c "
                       "JOIN entry_units u ON u.lu_id = c.lu_id WHERE c.total <> c.labels "
                       "ORDER BY c.lu_id, c.fe");
    while (row.step()) {
      const int64_t id = row.integer(1);
      if (!comparable(id)) continue;
      add("realization-count-mismatch", text(row, 0),
          "FERealizations/FERealization/valence-unit[@fe=" + literal(row.text(2)) + "]",
          "frame element " + literal(row.text(2)) + ": the realization totals add up to " +
              std::to_string(row.integer(3)) + ", the annotation holds " + std::to_string(row.integer(4)) +
              " labels",
          id, row.isNull(5) ? std::string() : text(row, 5));
    }
    row.reset();
    db_.exec("DROP TABLE temp.entry_counts; DROP TABLE temp.entry_units;");
  }

  Database& db_;
  std::string release_;
  std::vector<Finding> findings_;
  std::set<int64_t> troubled_, missing_;
};

}  // namespace

std::string_view severityName(FindingSeverity severity) {
  return severity == FindingSeverity::Error ? "error" : "warning";
}

const std::vector<CheckCode>& checkCodes() { return kCodes; }

const CheckCode* findCheckCode(std::string_view code) {
  const size_t rank = codeRank(code);
  return rank < kCodes.size() ? &kCodes[rank] : nullptr;
}

CheckResult checkIndex(const std::string& indexFile, const std::string& releaseFolder) {
  CheckResult result;
  result.indexFile = indexFile;
  Database db(indexFile, Database::Mode::ReadOnly);
  db.exec("PRAGMA temp_store=MEMORY;");
  result.findings = Checker(db, releaseFolder).run();
  std::stable_sort(result.findings.begin(), result.findings.end(), [](const Finding& a, const Finding& b) {
    const auto rankA = documentRank(a.document), rankB = documentRank(b.document);
    if (rankA != rankB) return rankA < rankB;
    if (a.document != b.document) return a.document < b.document;
    return codeRank(a.code) < codeRank(b.code);
  });
  std::map<size_t, int64_t> perCode;
  for (const Finding& finding : result.findings) {
    (finding.severity == FindingSeverity::Error ? result.errors : result.warnings) += 1;
    ++perCode[codeRank(finding.code)];
  }
  for (const auto& [rank, count] : perCode)
    result.counts.push_back({std::string(kCodes[rank].code), kCodes[rank].severity, count});
  return result;
}

text::Outcome checkRelease(const index::IndexOptions& options, CheckResult& result,
                           text::Progress& progress) {
  index::IndexReport report;
  text::Outcome outcome = index::updateIndex(options, report, progress);
  if (!outcome.done()) return outcome;
  progress.stage("Checking the release");
  try {
    result = checkIndex(report.indexFile, options.releaseFolder);
  } catch (const index::SqliteError& error) {
    return text::Outcome::refused("Check Release", std::string("Cannot read the index: ") + error.what());
  }
  return outcome;
}

}  // namespace sorvanta::quality
