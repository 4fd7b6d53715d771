#pragma once
// An annotated sentence as the reports show it: the text cut into segments at every span
// boundary, each segment with the FE spans covering it and whether it is part of the target;
// null instantiations as tags after the sentence; labels whose offsets lie outside the text
// (or are not numbers) listed after it too, so nothing annotated is hidden.
#include <cstdint>
#include <string>
#include <vector>

#include "reports/Palette.h"
#include "reports/ReportData.h"

namespace sorvanta::reports {

struct FeSpan {
  std::string fe, rank;
  int64_t start = 0, end = 0;  // characters, end inclusive
  std::string gf, pt;          // of the same rank and span; empty when none
};

struct Segment {
  size_t begin = 0, end = 0;  // bytes of the text, end exclusive
  bool target = false;
  std::vector<size_t> spans;  // indexes into SentenceDisplay::spans, in span order
  std::vector<size_t> endingHere;  // spans whose last character is in this segment
};

struct NullTag {
  std::string itype, fe;  // "DNI", "Goal"
};

struct OutsideLabel {
  std::string layer, name, start, end;  // offsets as written
};

struct SentenceDisplay {
  std::string text;
  std::vector<FeSpan> spans;  // every FE layer, in label order
  std::vector<Segment> segments;
  std::vector<NullTag> nullTags;
  std::vector<OutsideLabel> outside;
};

SentenceDisplay buildSentenceDisplay(const AnnotationSet& set);

// The sentence as an HTML fragment: FE spans on their colours with their names after them,
// overlapping spans marked by an underline in the second span's colour, GF and PT in each
// span's tooltip, the target in bold, then the null-instantiation tags and outside labels.
std::string sentenceHtml(const SentenceDisplay& display, const FeColours& colours);

// Two lines of plain text: the sentence with "[" … "]FE" around each span and "*" around the
// target, the tags after it; then the FE, GF and PT of each constituent
// ("Theme: Ext NP | Goal: Dep PP").
std::string sentenceText(const SentenceDisplay& display);

}  // namespace sorvanta::reports
