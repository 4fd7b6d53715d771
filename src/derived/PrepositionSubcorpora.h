#pragma once
// "Select Subcorpora": the annotated sentences in which a preposition heads a prepositional
// phrase that is a frame element, written as a sentences collection and a tab-separated list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {

// Caption of the messages of the preposition study.
inline constexpr std::string_view kPrepositionCaption = "Preposition Analysis";
// Second field of a list line for a matching subcorpus without sentences (trailing space kept).
inline constexpr std::string_view kNoInstances = "No instances ";

// A message the caller shows in a message box with an OK button.
struct PrepositionMessage {
  std::string text;
  std::string caption;
};

// A message when the preposition cannot be part of a file name (it holds '/', '\', "..",
// or a control character); none when it can. The empty preposition is allowed.
std::optional<PrepositionMessage> refusePrepositionName(std::string_view preposition);

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

class SubcorporaProgress {
 public:
  virtual ~SubcorporaProgress() = default;
  // After each ID of the range; the window shows it and lets waiting events through here.
  virtual void lexUnitTried(int32_t id) = 0;
};

struct SubcorporaRequest {
  std::string lowText;  // the range's ends as typed
  std::string highText;
  std::string preposition;  // used exactly as typed
  std::string folder;       // the folder holding "xml/", ending with '/'
};

struct SubcorporaResult {
  // Set when the preposition was refused; nothing was read or written then.
  std::optional<PrepositionMessage> refused;
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
                                  SubcorporaProgress* progress);

}  // namespace sorvanta::derived
