#pragma once
// What the index keeps of one document, read into plain rows on a worker thread; the writer
// thread then stores them. Text is UTF-8 exactly as the parsed document holds it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/LabelFindings.h"

namespace sorvanta::xml {
class TXpObjModel;
}

namespace sorvanta::index {

enum class DocumentKind { Frames, Relations, Annotation, Subcorpus, LexicalEntry };

std::string_view kindName(DocumentKind kind);

struct Problem {
  std::string location;
  std::string code;
  std::string message;
};

struct FeRow {
  std::string idText, name, abbrev, coreType, definition;
};
struct LuRow {
  std::string idText, name, posAttr, status, definition;
  std::optional<std::string> annotatedText;
};
struct FrameRow {
  std::string idText, name, definition;
  std::vector<FeRow> fes;
  std::vector<LuRow> lus;
};

struct FeRelationRow {
  std::string idText, superFe, subFe;
};
struct RelationRow {
  std::string idText, superFrame, subFrame;
  std::vector<FeRelationRow> feRelations;
};
struct RelationTypeRow {
  std::string idText, name;
  std::vector<RelationRow> relations;
};

struct LabelRow {
  std::string layer, rank, name, itype;
  std::optional<std::string> startText, endText;
  bool operator==(const LabelRow&) const = default;
};
struct SentenceRow {
  std::optional<std::string> subcorpus;
  std::string key;  // the ID attribute as written
  std::string text;
  std::vector<LabelRow> labels;
};
struct SubcorpusRow {
  std::string name;
  int64_t setCount = 0;
};

struct RealizationRow {
  std::string fe, pt, gf, totalText;
};

struct DocumentRows {
  bool readable = false;
  std::vector<Problem> problems;
  std::vector<FrameRow> frames;             // frames document
  std::vector<RelationTypeRow> relationTypes;  // relations document
  std::vector<SubcorpusRow> subcorpora;     // annotation and subcorpus documents
  std::vector<SentenceRow> sentences;
  std::vector<RealizationRow> realizations;  // lexical-entry document
  LabelFacts labelFacts;                     // annotation and subcorpus documents
};

// Parses the document at path (a file system path) with model and reads its rows. A
// document that cannot be parsed gives readable = false and one problem saying why.
DocumentRows readDocument(DocumentKind kind, const std::string& path, xml::TXpObjModel& model);

// Strict decimal integer (optional minus sign, digits only, 64-bit range), else nothing.
std::optional<int64_t> decimalValue(std::string_view text);

}  // namespace sorvanta::index
