#pragma once
// What the reports show of a lexical unit or a frame, read from the release index into plain
// structs. Text is UTF-8 as the index holds it. The valence, display and HTML functions work
// on these structs only, so they are tested without a database.
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <string>
#include <vector>

namespace sorvanta::index {
class Database;
class Statement;
}

namespace sorvanta::reports {

struct FrameElementInfo {
  std::string name, abbrev, coreType, definition;
};

struct LexUnitRef {
  std::optional<int64_t> id;  // NULL in the index when the ID is not an integer
  std::string idText, name, definition;
  int64_t annotated = 0;
};

struct RelationRef {
  std::string type, superFrame, subFrame;
};

struct FrameInfo {
  std::string idText, name, definition;
  std::vector<FrameElementInfo> fes;  // in the frame's order
  std::vector<LexUnitRef> lexicalUnits;
  std::vector<RelationRef> relations;  // every relation the frame takes part in, by type order
};

struct Label {
  std::string layer, rank, name, itype;
  std::optional<int64_t> start, end;  // character offsets, end inclusive
  std::string startText, endText;     // as written (empty when absent)
};

struct AnnotationSet {
  std::string sentenceKey;  // the sentence ID as written
  std::optional<int64_t> sentenceId;
  std::string text;
  std::string subcorpus;  // empty outside any subcorpus
  std::vector<Label> labels;  // every layer, in document order
};

struct EntryRealization {
  std::string fe, pt, gf;
  int64_t total = 0;  // 0 when the document's total is not an integer
};

struct LexicalUnitData {
  int64_t id = 0;
  std::string name, frame, definition, status;
  std::vector<FrameElementInfo> frameFes;  // the frame's FEs, in its order
  std::vector<AnnotationSet> sets;         // in index order (annotation document first)
  bool hasLexicalEntry = false;            // a readable lexical-entry document exists
  std::vector<EntryRealization> entryRealizations;  // its FERealizations, in document order
};

// Reads reports from an open index, preparing each query once for all the units and frames it
// reads (preparing costs more than running these small queries).
class ReportReader {
 public:
  explicit ReportReader(index::Database& db);
  ~ReportReader();
  ReportReader(const ReportReader&) = delete;
  ReportReader& operator=(const ReportReader&) = delete;

  // As loadLexicalUnit and loadFrame below.
  std::optional<LexicalUnitData> lexicalUnit(int64_t luId);
  std::optional<FrameInfo> frame(const std::string& name);

 private:
  index::Statement& statement(const char* sql);  // prepared on first use, reset on each
  std::vector<FrameElementInfo> frameElements(int64_t frameOrd);
  const std::string& labelName(int64_t nameId);  // label_names text; '' for an unknown ID


  index::Database& db_;
  std::unordered_map<const char*, std::unique_ptr<index::Statement>> statements_;
  std::vector<std::string> labelNames_;  // by name_id
};

// The lexical unit with this ID (the first one in frame order when several share it), or
// nothing when the release has none.
std::optional<LexicalUnitData> loadLexicalUnit(index::Database& db, int64_t luId);

// The frame of this name (exact match first, else the first whose name matches ignoring
// ASCII case), or nothing.
std::optional<FrameInfo> loadFrame(index::Database& db, const std::string& name);

}  // namespace sorvanta::reports
