#pragma once
// "Select Sample": draws frames whose annotation count lies in a range and, in each, a
// number of training sentences; writes the training and test sets, their answer files and
// the messages file into the data folder.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/ListRow.h"
#include "text/Outcome.h"
#include "text/Progress.h"
#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {

// Frames never drawn (they may still be processed when no frame is drawn).
inline constexpr int32_t kExcludedFrameIds[] = {139, 173, 188};

// What the tab's controls hold when the button is clicked.
struct SampleRequest {
  int low = 0;  // the spinners' positions
  int high = 0;
  std::string numFramesText;  // typed text, converted when the run reads it
  std::string numSentsText;
  bool provideFes = false;  // "Provide Frame Elements"
  uint32_t seed = 0;        // the calendar time in seconds, or a fixed state
  // Worker threads reading annotation documents (0: every core). The files are the same for
  // any number: frames are drawn and written in list order on the calling thread.
  unsigned jobs = 0;
};

// The window's document objects the run uses. Formatted output is switched on for the two
// sets; lexUnit holds the annotation document read last afterwards.
struct SampleDocuments {
  xml::TXpObjModel& training;
  xml::TXpObjModel& test;
  xml::TXpObjModel& lexUnit;
};

// The two counters the run reports (text::Progress::count) after each frame it processes.
inline constexpr std::string_view kFramesCompletedCounter = "Frames completed";
inline constexpr std::string_view kSentencesInFramesCounter = "Total number of sentences in frames";

struct SampleResult {
  // Refused (caption: the program's) when the counts cannot finish the draw, cancelled when
  // the progress's flag was set between frames: nothing changed and nothing was written then.
  // Done: the five files, in filesWritten.
  text::Outcome outcome;
  int framesDone = 0;
  int64_t sentenceTotal = 0;
  std::vector<std::string> messages;  // the lines of the messages file
  std::vector<std::string> lexUnitsRead;  // IDs of the units whose annotation documents were read
};

// Runs the draw over frameRows (the frames list in display order; caption, ID and Anns
// cells) with the lexical units of framesRoot, and saves the five files into dataFolder
// (working text ending with the separator). Throws text::ConversionError for a count that is
// not an integer and text::FileCreateError when a file cannot be written.
SampleResult selectSample(const SampleRequest& request,
                          const std::vector<lexicon::ListRow>& frameRows,
                          const xml::TXpNode* framesRoot, std::string_view dataFolder,
                          SampleDocuments documents, text::Progress& progress);

// The draw of both steps: walks candidates again and again, drawing a value for every entry,
// and takes an entry whose value is at most (wanted * 100) / size and that is not taken yet,
// until wanted distinct values are taken. Needs 0 <= wanted <= distinct candidates; a draw
// still unfinished after kDrawPassLimit passes throws text::RuntimeError.
inline constexpr int kDrawPassLimit = 100000;
std::vector<int32_t> drawDistinct(const std::vector<int32_t>& candidates, int32_t wanted,
                                  class SampleRandom& random);

}  // namespace sorvanta::samples
