#pragma once
// The annotation sets of a release as the exports write them, read from the release index:
// lexical units in frames-document order, each unit's sentences in document order, offsets in
// code points of the sentence text with an exclusive end.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::exports {

struct LabelSpan {
  std::string name;
  int64_t start = 0, end = 0;  // code points, end exclusive
};

// A frame element of a set: expressed (itype empty, with offsets) or a null instantiation.
struct FrameElementLabel {
  std::string name;
  std::string itype;
  int64_t start = 0, end = 0;
  bool expressed() const { return itype.empty(); }
};

struct AnnotationRecord {
  int64_t luId = 0;
  std::string lu;  // the unit's name in the frames document
  std::string frame;
  int64_t frameId = 0;
  int64_t sentenceId = 0;
  std::string subcorpus;
  std::string text;  // UTF-8, as the document holds it
  std::vector<LabelSpan> target;
  std::vector<FrameElementLabel> fes;
  std::vector<LabelSpan> gf, pt;
};

// Which lexical units to read: those of the named frames and the listed units (together);
// every unit when both are empty. Units with fewer than minAnnotated sets are passed over.
struct Selection {
  std::vector<std::string> frames;  // UTF-8 names, matched exactly
  std::vector<int64_t> lexicalUnits;
  int64_t minAnnotated = 0;
};

// Reads the sets of the selected units from an up-to-date index file and hands each to
// `each`, in order. Labels that cannot be placed in the text are left out of their set and
// reported as warnings; a frame or unit the release lacks refuses the whole read. Progress
// counter: "lexical units read"; cancelled between units. unitsRead, when given, receives the
// IDs of every selected unit whose sets were looked up.
text::Outcome readAnnotationSets(const std::string& indexFile, const Selection& selection,
                                 const std::function<void(const AnnotationRecord&)>& each,
                                 text::Progress& progress = text::noProgress(),
                                 std::vector<int64_t>* unitsRead = nullptr);

}  // namespace sorvanta::exports
