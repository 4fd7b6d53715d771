#pragma once
// "Select Subcorpora": the annotated sentences in which a preposition heads a prepositional
// phrase that is a frame element, written as a sentences collection and a tab-separated list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/Outcome.h"
#include "text/Progress.h"
#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {

// Caption of the messages of the preposition study.
inline constexpr std::string_view kPrepositionCaption = "Preposition Analysis";
// Second field of a list line for a matching subcorpus without sentences (trailing space kept).
inline constexpr std::string_view kNoInstances = "No instances ";

// The refusal (caption kPrepositionCaption) when the preposition cannot be part of a file name
// (it holds '/', '\', "..", or a control character); none when it can. The empty preposition
// is allowed.
std::optional<text::Outcome> refusePrepositionName(std::string_view preposition);

// folder + "pp-" + preposition + ".sents.xml", ".txt", ".alters.txt" (folder ends with '/').
std::string prepositionSentencesPath(std::string_view folder, std::string_view preposition);
std::string prepositionListPath(std::string_view folder, std::string_view preposition);
std::string prepositionAlternativesPath(std::string_view folder, std::string_view preposition);

// Windows-1252 lower case of one working-text character.
char lowerWorkingChar(char c);

// The first "PP" label of an annotation set that starts with the preposition followed by a
// space, at a position where exactly one frame-element label starts.
struct PrepositionPhrase {
  int32_t start = 0;  // 0-based offset of the preposition in the sentence text
  std::string frameElement;
};
// Throws ConversionError when a PP label's "start" is not an integer.
std::optional<PrepositionPhrase> findPrepositionPhrase(const xml::TXpNode* annotationSet,
                                                       std::string_view sentenceText,
                                                       std::string_view preposition);

// The counter reported after each ID of the range: the ID just tried.
inline constexpr std::string_view kLexUnitTriedCounter = "Lexical unit";

struct SubcorporaRequest {
  std::string lowText;  // the range's ends as typed
  std::string highText;
  std::string preposition;  // used exactly as typed
  std::string folder;       // the folder holding "xml/", ending with '/'
  // Worker threads parsing subcorpus documents (0: every core); the files are the same for
  // any number, merged in ID order.
  unsigned jobs = 0;
};

struct SubcorporaResult {
  // Refused when the preposition cannot name a file: nothing was read or written then.
  // Cancelled between IDs: nothing was written. Done: the files written in filesWritten.
  text::Outcome outcome;
  std::string sentencesPath;
  std::string listPath;
  int documentsRead = 0;
  int sentencesSelected = 0;
  int emptySubcorpora = 0;
};

// Tries every lexical-unit ID from low to high, loading each subcorpus document
// folder + "xml/lu" + ID + ".xml" that exists into lexUnitModel, and replaces both output
// files at the end. Throws ConversionError for a range end or PP start that is not an
// integer (nothing is written then) and FileCreateError when either file cannot be saved (both
// are replaced together, so neither is then).
SubcorporaResult selectSubcorpora(const SubcorporaRequest& request, xml::TXpObjModel& lexUnitModel,
                                  text::Progress& progress);

}  // namespace sorvanta::derived
