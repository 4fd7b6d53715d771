#pragma once
// "Create Dictionaries": the frame dictionary "FrameDict.xml" and the two TARKO dictionaries,
// "frames.dmp" (frame entries, then relation entries) and "svlex.dmp" (lexeme entries).
#include <string_view>

#include "text/Outcome.h"
#include "text/Progress.h"
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

// The counters the command reports: before each lexical-entry document is read, the entries
// completed so far (kLexemesInFramesCaption); after each frame, the frames completed.
inline constexpr std::string_view kDictionaryFramesCounter = "Frames completed";

struct DictionaryDocuments {
  xml::TXpObjModel& dictionary;  // becomes FrameDict.xml, stays loaded afterwards
  xml::TXpObjModel& lexEntry;    // holds the lexical-entry document read last
};

struct DictionaryResult {
  // Done: the files written, in filesWritten. Cancelled between frames: no file was written.
  text::Outcome outcome;
  int frames = 0;
  int lexemeEntries = 0;
  // Lexical units written without realization lines (file missing or unreadable).
  int missingLexEntries = 0;
};

// framesRoot: frames document element; relationsRoot may be null (no relation lines/entries).
// dataFolder: working text ending with the separator. Throws text::FileCreateError when a file
// cannot be written (files of later steps are then not written). With framesOnly no
// lexical-entry document is read and "svlex.dmp" is left as it is. Lexical-entry documents
// are parsed on `jobs` worker threads (0: every core) and merged in frame order, so the files
// are the same for any number of jobs.
DictionaryResult createDictionaries(const xml::TXpNode* framesRoot,
                                    const xml::TXpNode* relationsRoot, std::string_view dataFolder,
                                    bool framesOnly, DictionaryDocuments documents,
                                    text::Progress& progress, unsigned jobs = 0);

}  // namespace sorvanta::derived
