#pragma once
// The two export formats, one annotation set at a time.
//
// JSON Lines: one object per set with the fields lu_id, lu, frame, frame_id, sentence_id,
// subcorpus, text, target, fes, gf, pt in that order (docs/export.schema.json).
//
// CoNLL: one token per line, tab-separated: token index (from 1), token, target flag (1 on
// a token overlapping the target, else 0), the frame name on target tokens (else "_"), and the
// frame-element tag in BIO form (B-Name, I-Name, O). Sets are separated by one blank line.
// Tokens: the text is split at white space, then punctuation characters are split off both
// edges of each piece, one token each (docs/exports.md lists the characters).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exports/AnnotationSets.h"

namespace sorvanta::exports {

enum class Format { Jsonl, Conll };

// "jsonl" / "conll"; the file-name extension of the format is the same word.
std::string_view formatName(Format format);

void appendJsonLine(std::string& out, const AnnotationRecord& record);

struct Token {
  std::string text;
  int64_t start = 0, end = 0;  // code points, end exclusive
};

bool isPunctuation(char32_t c);
std::vector<Token> tokenize(std::string_view text);

// The token lines of one set (no blank line after them). A token takes the first expressed
// frame element of the set (in its order) that overlaps it; a frame element's first token
// gets B-, its further tokens I-.
void appendConllBlock(std::string& out, const AnnotationRecord& record);

// Writes sets one after another in one format, with CoNLL's blank line between sets.
class RecordFormatter {
 public:
  explicit RecordFormatter(Format format) : format_(format) {}
  // Appends the set to out; false (nothing appended) for a CoNLL set without tokens.
  bool append(std::string& out, const AnnotationRecord& record);

 private:
  Format format_;
  bool first_ = true;
};

}  // namespace sorvanta::exports
