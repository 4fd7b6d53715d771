#pragma once
// "Create Dictionaries": the frame dictionary "FrameDict.xml" and the two TARKO dictionaries,
// "frames.dmp" (frame entries, then relation entries) and "svlex.dmp" (lexeme entries).
#include <string_view>

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {

inline constexpr std::string_view kFrameDictFile = "FrameDict.xml";
inline constexpr std::string_view kFramesDumpFile = "frames.dmp";
inline constexpr std::string_view kLexemesDumpFile = "svlex.dmp";
// Caption of the counter label while the command runs, and outside it.
inline constexpr std::string_view kLexemesInFramesCaption = "Total Number of Lexemes in Frames";
inline constexpr std::string_view kSentencesInFramesCaption =
    "Total Number of Sentences in Frames:";

// The empty dictionary the frame dictionary is built from.
inline constexpr std::string_view kFrameDictTemplate =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
    "<frames>\n</frames>\n";

class DictionaryProgress {
 public:
  virtual ~DictionaryProgress() = default;
  // Once per lexical unit (the window repaints).
  virtual void lexUnitStarting() = 0;
  // Before each lexical-entry document is read: the entries completed so far.
  virtual void lexemeEntriesCompleted(int completed) = 0;
  // After each frame.
  virtual void framesCompleted(int completed) = 0;
};

struct DictionaryDocuments {
  xml::TXpObjModel& dictionary;  // becomes FrameDict.xml, stays loaded afterwards
  xml::TXpObjModel& lexEntry;    // holds the lexical-entry document read last
};

struct DictionaryResult {
  int frames = 0;
  int lexemeEntries = 0;
  // Lexical units written without realization lines (file missing or unreadable).
  int missingLexEntries = 0;
};

// framesRoot: frames document element; relationsRoot may be null (no relation lines/entries).
// dataFolder: working text ending with the separator. Throws text::FileCreateError when a file
// cannot be written (files of later steps are then not written). With framesOnly no
// lexical-entry document is read and "svlex.dmp" is left as it is. progress may be null.
DictionaryResult createDictionaries(const xml::TXpNode* framesRoot,
                                    const xml::TXpNode* relationsRoot, std::string_view dataFolder,
                                    bool framesOnly, DictionaryDocuments documents,
                                    DictionaryProgress* progress);

}  // namespace sorvanta::derived
