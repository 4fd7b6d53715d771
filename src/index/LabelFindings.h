#pragma once
// What one annotation or subcorpus document tells about its own labels, worked out while the
// index reads it, so the release check need not scan millions of label rows: labels whose
// offsets are not integers or fall outside their sentence, overlapping FE labels, the FE-layer
// label counts per rank and name, and the characters of each sentence outside Windows-1252.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::index {

struct SentenceRow;

enum class LabelFault { BadInteger, OutOfRange, Overlap };

std::string_view labelFaultName(LabelFault fault);  // "bad-integer", "out-of-range", "overlap"

struct LabelFinding {
  LabelFault fault;
  size_t sentence;  // index into the document's sentences
  size_t label;     // index into that sentence's labels
  std::optional<size_t> other;  // Overlap: the label it overlaps, in the same sentence
};

struct FeLabelCount {
  std::string rank, name;
  int64_t labels = 0;
};

struct SentenceFacts {
  std::string feRanks;        // the ranks of its FE-layer labels, each as "<rank>", sorted
  int64_t length = 0;         // characters (code points) of its text
  int64_t outside1252 = 0;    // characters Windows-1252 cannot hold
};

struct LabelFacts {
  std::vector<LabelFinding> findings;  // by sentence, then label
  std::vector<FeLabelCount> feCounts;  // by rank, then name
  std::vector<SentenceFacts> sentences;
};

// Works out the facts of one document's sentences. Offsets and overlaps are not judged in a
// sentence whose ID occurs more than once in the document (its labels join one set with the
// other's, so which text they point into is unknown); overlaps only among overt FE labels
// inside their sentence, per layer rank.
LabelFacts labelFacts(const std::vector<SentenceRow>& sentences);

// Characters (code points) of UTF-8 text, as SQLite's length() counts them.
int64_t characterCount(std::string_view utf8);

}  // namespace sorvanta::index
