#pragma once
// The frames index: one pass over the frames document fills the frames list, the lexical-unit
// list and the frame-element list with their totals. Later commands read these rows instead of
// scanning the frames document again.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/ListRow.h"
#include "xml/XpNode.h"

namespace sorvanta::lexicon {

// Columns of the frames list; data is the frame element.
enum FramesColumn { kFrameName = 0, kFrameId, kFrameFes, kFrameLus, kFrameAnns, kFramesColumns };
// Columns of the lexical-unit list.
enum LexUnitColumn {
  kLuName = 0,
  kLuPos,
  kLuId,
  kLuAnns,
  kLuFrameName,
  kLuFrameId,
  kLuDefinition,
  kLexUnitColumns
};
// Columns of the frame-element list.
enum FeColumn { kFeName = 0, kFeCount, kFeColumns };

// Frame-element name to the number of fe nodes carrying it, in plain unsigned-byte order of
// the names (upper-case letters before lower-case ones, a prefix first).
using FeNameTally = std::map<std::string, int>;

inline constexpr std::string_view kNoDefinition = "No Sorvanta Definition";

struct FramesIndex {
  std::vector<ListRow> frames;         // one per frame, document order
  std::vector<ListRow> lexUnits;       // one per lexical unit of every frame
  std::vector<ListRow> frameElements;  // one per distinct frame-element name
  int numFrames = 0;                   // nodes matching "//frame"
  int64_t annotatedTotal = 0;          // sum of the frames' "Anns" cells
  int numFrameElements = 0;            // rows of frameElements
  // Row of the first frame in document order: 0, or none when there is no frame.
  std::optional<size_t> firstFrameRow;
};

// Fills the index from the frames document element; an absent element gives an empty index.
FramesIndex fillFramesIndex(const xml::TXpNode* framesRoot);

inline constexpr std::string_view kFramesNotLoaded =
    "The frames document is not loaded, so there is nothing to derive files from. Nothing was "
    "written.";
inline constexpr std::string_view kNoFrameInDocument =
    "The frames document holds no frame, so there is nothing to derive files from. Nothing was "
    "written.";

// Why a command that derives files from the frames document cannot run on it (the document
// is not loaded, framesRoot being absent, or it holds no frame); empty text when it can. Such a
// command refuses rather than replace earlier outputs with empty ones.
std::string_view framesDocumentProblem(const xml::TXpNode* framesRoot);

// Part-of-speech letter of a lexical-unit name, from the text after its last '.' (the whole
// name without one): "prep" p, "adv" d, "n" n, "v" v, "a" a, anything else u; case-sensitive.
char partOfSpeechLetter(std::string_view lexUnitName);

}  // namespace sorvanta::lexicon
