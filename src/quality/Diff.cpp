#include "quality/Diff.h"

#include <algorithm>

#include "index/Sqlite.h"

namespace sorvanta::quality {

namespace {

using index::Database;
using index::Statement;

const std::vector<std::string_view> kCodes = {
    "frame-added",   "frame-removed",      "frame-renamed",          "fe-added",
    "fe-removed",    "fe-coretype-changed", "lu-added",              "lu-removed",
    "lu-renamed",    "lu-moved",           "definition-changed",     "annotation-count-changed",
    "relation-added", "relation-removed"};

// The first frame, frame element and lexical unit of each key of one release (schema `side`),
// in temporary tables named with the prefix.
void keyTables(Database& db, const std::string& side, const std::string& prefix) {
  db.exec("CREATE TEMP TABLE " + prefix + "f(id INTEGER PRIMARY KEY, frame_ord INTEGER, name TEXT, "
          "definition TEXT);"
          "INSERT OR IGNORE INTO " + prefix + "f SELECT id, frame_ord, name, definition FROM " + side +
          ".frames WHERE id IS NOT NULL ORDER BY frame_ord;"
          "CREATE TEMP TABLE " + prefix + "fe(frame_id INTEGER, name TEXT, core_type TEXT, definition TEXT, "
          "PRIMARY KEY(frame_id, name)) WITHOUT ROWID;"
          "INSERT OR IGNORE INTO " + prefix + "fe SELECT f.id, e.name, e.core_type, e.definition FROM " +
          side + ".frame_elements e JOIN " + prefix + "f f ON f.frame_ord = e.frame_ord ORDER BY e.fe_ord;"
          "CREATE TEMP TABLE " + prefix + "lu(id INTEGER PRIMARY KEY, name TEXT, frame_key, frame_name TEXT, "
          "definition TEXT, annotated INTEGER, sets INTEGER);"
          "INSERT OR IGNORE INTO " + prefix + "lu SELECT lu.id, lu.name, coalesce(f.id, lu.frame_name), "
          "lu.frame_name, lu.definition, lu.annotated, (SELECT count(*) FROM " + side +
          ".annotation_sets a WHERE a.lu_id = lu.id) FROM " + side + ".lexical_units lu JOIN " + side +
          ".frames f ON f.frame_ord = lu.frame_ord WHERE lu.id IS NOT NULL ORDER BY lu.lu_ord;");
}

class Differ {
 public:
  explicit Differ(Database& db) : db_(db) {}

  std::vector<Change> run() {
    keyTables(db_, "old", "o");
    keyTables(db_, "main", "n");
    rows("frame-added", "SELECT n.id, '', n.name, 0, n.name FROM nf n WHERE n.id NOT IN (SELECT id FROM of) "
                        "ORDER BY n.id");
    rows("frame-removed", "SELECT o.id, o.name, '', 0, '' FROM of o WHERE o.id NOT IN (SELECT id FROM nf) "
                          "ORDER BY o.id");
    rows("frame-renamed", "SELECT n.id, o.name, n.name, 0, n.name FROM nf n JOIN of o ON o.id = n.id "
                          "WHERE o.name <> n.name ORDER BY n.id");
    // Frame elements only of frames in both releases; the key names the frame as the new
    // release does.
    rows("fe-added", "SELECT f.name || '/' || e.name, '', e.core_type, 0, f.name FROM nfe e "
                     "JOIN nf f ON f.id = e.frame_id WHERE e.frame_id IN (SELECT id FROM of) AND NOT EXISTS "
                     "(SELECT 1 FROM ofe o WHERE o.frame_id = e.frame_id AND o.name = e.name) ORDER BY 1");
    rows("fe-removed", "SELECT f.name || '/' || e.name, e.core_type, '', 0, f.name FROM ofe e "
                       "JOIN nf f ON f.id = e.frame_id WHERE NOT EXISTS "
                       "(SELECT 1 FROM nfe n WHERE n.frame_id = e.frame_id AND n.name = e.name) ORDER BY 1");
    rows("fe-coretype-changed", "SELECT f.name || '/' || n.name, o.core_type, n.core_type, 0, f.name "
                                "FROM nfe n JOIN ofe o ON o.frame_id = n.frame_id AND o.name = n.name "
                                "JOIN nf f ON f.id = n.frame_id WHERE o.core_type <> n.core_type ORDER BY 1");
    rows("lu-added", "SELECT n.id, '', n.name, n.id, n.frame_name FROM nlu n "
                     "WHERE n.id NOT IN (SELECT id FROM olu) ORDER BY n.id");
    rows("lu-removed", "SELECT o.id, o.name, '', 0, '' FROM olu o WHERE o.id NOT IN (SELECT id FROM nlu) "
                       "ORDER BY o.id");
    rows("lu-renamed", "SELECT n.id, o.name, n.name, n.id, n.frame_name FROM nlu n JOIN olu o ON o.id = n.id "
                       "WHERE o.name <> n.name ORDER BY n.id");
    rows("lu-moved", "SELECT n.id, o.frame_name, n.frame_name, n.id, n.frame_name FROM nlu n "
                     "JOIN olu o ON o.id = n.id WHERE o.frame_key IS NOT n.frame_key ORDER BY n.id");
    rows("definition-changed", "SELECT n.id, o.definition, n.definition, 0, n.name FROM nf n "
                               "JOIN of o ON o.id = n.id WHERE o.definition <> n.definition ORDER BY n.id");
    rows("definition-changed", "SELECT f.name || '/' || n.name, o.definition, n.definition, 0, f.name "
                               "FROM nfe n JOIN ofe o ON o.frame_id = n.frame_id AND o.name = n.name "
                               "JOIN nf f ON f.id = n.frame_id WHERE o.definition <> n.definition ORDER BY 1");
    rows("definition-changed", "SELECT n.id, o.definition, n.definition, n.id, n.frame_name FROM nlu n "
                               "JOIN olu o ON o.id = n.id WHERE o.definition <> n.definition ORDER BY n.id");
    // The frames document's count; where it is the same, the annotation sets found.
    rows("annotation-count-changed",
         "SELECT n.id, CASE WHEN o.annotated <> n.annotated THEN o.annotated ELSE o.sets END, "
         "CASE WHEN o.annotated <> n.annotated THEN n.annotated ELSE n.sets END, n.id, n.frame_name "
         "FROM nlu n JOIN olu o ON o.id = n.id WHERE o.annotated <> n.annotated OR o.sets <> n.sets "
         "ORDER BY n.id");
    const std::string relationKey = "type_name || ':' || super_frame || '>' || sub_frame";
    rows("relation-added", "SELECT " + relationKey + " AS k, '', min(id_text), 0, super_frame "
                           "FROM main.frame_relations WHERE (type_name, super_frame, sub_frame) NOT IN "
                           "(SELECT type_name, super_frame, sub_frame FROM old.frame_relations) "
                           "GROUP BY k ORDER BY k");
    rows("relation-removed", "SELECT " + relationKey + " AS k, min(id_text), '', 0, '' "
                             "FROM old.frame_relations WHERE (type_name, super_frame, sub_frame) NOT IN "
                             "(SELECT type_name, super_frame, sub_frame FROM main.frame_relations) "
                             "GROUP BY k ORDER BY k");
    return std::move(changes_);
  }

 private:
  // Columns: key, old value, new value, lexical-unit ID (0: none), frame name.
  void rows(std::string_view code, const std::string& sql) {
    Statement row(db_, sql);
    while (row.step())
      changes_.push_back({std::string(code), std::string(row.text(0)), std::string(row.text(1)),
                          std::string(row.text(2)), row.integer(3), std::string(row.text(4))});
  }

  Database& db_;
  std::vector<Change> changes_;
};

// Why a release's frames document cannot be compared ('' when it can).
std::string unreadableFrames(const std::string& indexFile) {
  Database db(indexFile, Database::Mode::ReadOnly);
  Statement row(db, "SELECT d.readable, (SELECT group_concat(message, '; ') FROM problems p "
                    "WHERE p.document = d.path AND p.code = 'unreadable') FROM documents d "
                    "WHERE d.path = 'frXML/frames.xml'");
  if (!row.step()) return "it has no frames document";
  if (row.integer(0)) return "";
  return "its frames document cannot be read: " + std::string(row.text(1));
}

void escapeHtml(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

}  // namespace

const std::vector<std::string_view>& changeCodes() { return kCodes; }

DiffResult diffIndexes(const std::string& oldIndexFile, const std::string& newIndexFile) {
  Database db(newIndexFile, Database::Mode::ReadOnly);
  db.exec("PRAGMA temp_store=MEMORY;");
  Statement attach(db, "ATTACH DATABASE ? AS old");
  attach.bind(1, oldIndexFile).run();
  DiffResult result;
  result.changes = Differ(db).run();
  for (std::string_view code : kCodes) {
    const auto count = std::count_if(result.changes.begin(), result.changes.end(),
                                     [&](const Change& change) { return change.code == code; });
    result.counts.emplace_back(std::string(code), static_cast<int64_t>(count));
  }
  return result;
}

text::Outcome diffReleases(const index::IndexOptions& oldRelease, const index::IndexOptions& newRelease,
                           DiffResult& result, text::Progress& progress) {
  std::string files[2];
  const index::IndexOptions* releases[2] = {&oldRelease, &newRelease};
  for (int i = 0; i < 2; ++i) {
    index::IndexReport report;
    progress.stage(i == 0 ? "Indexing the old release" : "Indexing the new release");
    text::Outcome outcome = index::updateIndex(*releases[i], report, progress);
    if (!outcome.done()) return outcome;
    files[i] = report.indexFile;
  }
  progress.stage("Comparing");
  try {
    for (int i = 0; i < 2; ++i) {
      const std::string why = unreadableFrames(files[i]);
      if (!why.empty())
        return text::Outcome::refused("Compare with Release",
                                      "Cannot compare " + releases[i]->releaseFolder + ": " + why);
    }
    result = diffIndexes(files[0], files[1]);
  } catch (const index::SqliteError& error) {
    return text::Outcome::refused("Compare with Release", std::string("Cannot read an index: ") + error.what());
  }
  return text::Outcome();
}

std::string diffHtml(const DiffResult& result, std::string_view oldName, std::string_view newName) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Release differences</title>\n<style>\n"
      "body { font-family: sans-serif; margin: 1.5em; }\n"
      "table { border-collapse: collapse; margin-bottom: 1.5em; }\n"
      "th, td { border: 1px solid #bbb; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }\n"
      "th { background: #eee; }\n"
      "td.count { text-align: right; }\n"
      "</style>\n</head>\n<body>\n<h1>Release differences</h1>\n<p>Old release: <code>";
  escapeHtml(out, oldName);
  out += "</code><br>\nNew release: <code>";
  escapeHtml(out, newName);
  out += "</code></p>\n<h2>Summary</h2>\n<table class=\"summary\">\n"
         "<tr><th>Change</th><th>Count</th></tr>\n";
  for (const auto& [code, count] : result.counts)
    out += "<tr><td>" + code + "</td><td class=\"count\">" + std::to_string(count) + "</td></tr>\n";
  out += "<tr><th>Total</th><th class=\"count\">" + std::to_string(result.changes.size()) +
         "</th></tr>\n</table>\n<h2>Changes</h2>\n";
  if (result.changes.empty()) return out + "<p>No differences.</p>\n</body>\n</html>\n";
  out += "<table class=\"changes\">\n<tr><th>Change</th><th>Key</th><th>Old</th><th>New</th></tr>\n";
  for (const Change& change : result.changes) {
    out += "<tr><td>" + change.code + "</td><td>";
    escapeHtml(out, change.key);
    out += "</td><td>";
    escapeHtml(out, change.oldValue);
    out += "</td><td>";
    escapeHtml(out, change.newValue);
    out += "</td></tr>\n";
  }
  return out + "</table>\n</body>\n</html>\n";
}

}  // namespace sorvanta::quality
