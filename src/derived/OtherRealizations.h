#pragma once
// "Other Syntactic Realizations": for every frame and frame element of a preposition list,
// how that frame element is realized in all annotated lexical units of the frame.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "derived/PrepositionSubcorpora.h"
#include "text/TextLines.h"
#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {

inline constexpr std::string_view kNoPrepositionMessage = "No preposition has been identified.";
inline constexpr std::string_view kNoPrepositionFileMessage = "Preposition file does not exist.";

// The text before the first space of rest, which loses that word, the space and the spaces
// after it; empty (rest unchanged) when rest holds no space.
std::string takeWord(std::string& rest);

// Adds to alterLines the realization line of every label named fe in a layer named "FE" of
// the document loaded in model. Throws ConversionError when a PP realization's "start" or
// "end" is not an integer.
void AddFeRealizationLines(xml::TXpObjModel& model, std::string_view fe,
                           text::SortedTextLines& alterLines);

// The counters the command reports: the number of lines of the preposition list once they are
// read, and after each list line the 1-based number of the next line.
inline constexpr std::string_view kListLinesCounter = "Preposition lines";
inline constexpr std::string_view kNextLineCounter = "Next line";
// Then, after each subcorpus document is parsed, how many are.
inline constexpr std::string_view kDocumentsParsedCounter = "Subcorpus documents parsed";

struct RealizationsResult {
  // Refused (caption kPrepositionCaption) when the command ended with a message instead of
  // running; cancelled between list lines. Nothing was written then. Done: the output file.
  text::Outcome outcome;
  std::string outputPath;
  size_t linesRead = 0;
  size_t framesWorked = 0;  // list lines that started a pass over a frame's lexical units
  size_t documentsRead = 0;    // the documents the passes use, one per pass that uses it
  size_t documentsParsed = 0;  // each parsed once, however many passes use it
  size_t realizationLines = 0;
};

// Reads folder + "pp-" + preposition + ".txt", gathers the realizations of the frame elements
// it names from the frame's lexical units (framesRoot: the frames document element; subcorpus
// documents are loaded into lexUnitModel) and replaces folder + "pp-" + preposition +
// ".alters.txt". Throws ConversionError as AddFeRealizationLines does (nothing written then)
// and FileCreateError when the output cannot be saved. Each document is parsed once, on `jobs`
// worker threads (0: every core); the lines are merged in the order of the list, so the output
// is the same for any number of jobs. Cancelled between list lines and between documents.
RealizationsResult findOtherRealizations(std::string_view preposition, std::string_view folder,
                                         const xml::TXpNode* framesRoot,
                                         xml::TXpObjModel& lexUnitModel,
                                         text::Progress& progress, unsigned jobs = 0);

}  // namespace sorvanta::derived
