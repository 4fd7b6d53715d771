#pragma once
// The TARKO dictionary text format: the lines of frame entries (with their relation lines),
// relation entries and lexeme entries, and the rules that take each value from the release's
// documents. Lines are working text; the caller writes each followed by CR LF.
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/TextLines.h"
#include "xml/DocStorage.h"
#include "xml/XpNode.h"

namespace sorvanta::derived {

// Second line of frame and relation entries.
inline constexpr std::string_view kNilLine = "\t%%2 nil";

// The characters of a lexical unit's name before its first "." (empty without one).
std::string_view lexUnitHeadword(std::string_view name);
// The code of the suffix after the first "." (the whole name without one): "nou", "vrb",
// "adj", "adv", "prp", else "nil".
std::string_view partOfSpeechCode(std::string_view name);

struct SourcedDefinition {
  std::string text;    // the definition without its source prefix
  std::string source;  // "COD", "SV" or empty
};
// Takes off a leading "COD: ", then (from what is left) a leading "SV: "; the later one found
// names the source.
SourcedDefinition splitDefinitionSource(std::string definition);
// The text of the lexical unit's first child, split as above; empty for a unit without one.
SourcedDefinition lexUnitDefinition(const xml::TXpNode* lexUnit);

// One relation type in one direction, as a frame entry lists it: the frame's name is in
// superFrameName (frameIsSuper) or subFrameName; the related frame is on the other side.
struct FrameRelationRow {
  std::string_view type;
  bool frameIsSuper;
  std::string_view label;
};

inline constexpr std::array<FrameRelationRow, 13> kFrameRelationRows = {{
    {"Inheritance", true, "IS_INHERITED_BY"},
    {"Inheritance", false, "INHERITS"},
    {"Subframe", true, "HAS_SUBFRAMES"},
    {"Subframe", false, "IS_SUBFRAME_OF"},
    {"Using", true, "IS_USED_BY"},
    {"Using", false, "USES"},
    {"Inchoative_of", true, "INCHOF"},
    {"Inchoative_of", false, "HAS_INCHOATIVE"},
    {"Causative_of", true, "CAUSOF"},
    {"Causative_of", false, "IS_CAUSED_BY"},
    {"Precedes", true, "PRECEDES"},
    {"Precedes", false, "IS_PRECEDED_BY"},
    {"Perspective_on", true, "PERSPON"},
}};

// One relation type as relation entries show it. The head frame and the side-0 frame-element
// names come from the super side (headIsSuper) or the sub side; the other frame and side 1
// from the opposite one.
struct RelationEntryRow {
  std::string_view type;
  std::string_view label;
  bool headIsSuper;
};

inline constexpr std::array<RelationEntryRow, 7> kRelationEntryRows = {{
    {"Inheritance", "INHERITS", false},
    {"Subframe", "IS_SUB_OF", false},
    {"Using", "USES", false},
    {"Inchoative_of", "INCH_OF", true},
    {"Causative_of", "CAUSE_OF", true},
    {"Precedes", "PRECEDES", true},
    {"Perspective_on", "PERSP_ON", false},
}};

// The relations a frame entry's row lists for frameName, found by evaluating the row's query
// on the document: what the index below must give.
std::vector<xml::TXpNode*> relatedByQuery(const xml::TXpNode* relationsRoot,
                                          const FrameRelationRow& row, std::string_view frameName);

// Answers every row's query for any frame from an index built once per document: the
// relations of each type (one query per type), split by the frame name on the row's side.
// Gives exactly the nodes, order and repetitions of relatedByQuery.
class FrameRelationRowsIndex : public xml::DerivedData {
 public:
  explicit FrameRelationRowsIndex(const xml::TXpNode* relationsRoot);
  FrameRelationRowsIndex(const FrameRelationRowsIndex&) = delete;
  FrameRelationRowsIndex& operator=(const FrameRelationRowsIndex&) = delete;

  // The relations row kFrameRelationRows[row] lists for frameName.
  std::vector<xml::TXpNode*> related(size_t row, std::string_view frameName) const;

  // The index of relationsRoot kept with its document (dropped when it changes or loads).
  static const FrameRelationRowsIndex& of(const xml::TXpNode* relationsRoot);

 private:
  struct Row {
    bool byQuery = false;  // the type's list came out empty: only the query can tell
    std::unordered_map<std::string_view, std::vector<xml::TXpNode*>> byName;  // UTF-8, as held
  };
  const xml::TXpNode* root_;
  std::array<Row, kFrameRelationRows.size()> rows_;
};

// Appends frameName's relation lines: per row with any relation, "\t%%5 " + label and
// " %%k #" + the related frame per relation. Nothing without a relations document.
void AddFrameRelationLines(text::TextLines& lines, const xml::TXpNode* relationsRoot,
                           std::string_view frameName);
// Appends every relation entry of the types of kRelationEntryRows, in the table's order.
void AddRelationEntries(text::TextLines& lines, const xml::TXpNode* relationsRoot);

// "%%1 #" + frame name
std::string frameHeadLine(std::string_view frameName);
// "\t%%6 " + name + " %%v " + coreType
std::string frameElementLine(std::string_view name, std::string_view coreType);
// "\t%%4 " + headword + " %%i " + ID of a lexunit element
std::string memberLine(const xml::TXpNode* lexUnit);

// Lines 1 to 6 of a lexunit's lexeme entry in frame frameName: headword, part-of-speech code,
// definition, frame, source (only when there is one), ID.
void addLexemeEntryHead(text::TextLines& lines, const xml::TXpNode* lexUnit,
                        std::string_view frameName);
// The realization lines of a lexical-entry document (any of its nodes):
// "\t%%6 " + pt + "(" + gf + ") %%v " + fe + " (" + total + ")" per FERealization.
void addRealizationLines(text::TextLines& lines, const xml::TXpNode* lexEntryRoot);

}  // namespace sorvanta::derived
