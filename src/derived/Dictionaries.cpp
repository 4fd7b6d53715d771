#include "derived/Dictionaries.h"

#include <string>

#include "derived/TarkoEntries.h"
#include "lexicon/CorpusDocument.h"
#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "text/OutputSet.h"
#include "text/TextLines.h"
#include "xml/XpPath.h"

namespace sorvanta::derived {

namespace {

// The expressions issued per frame, compiled once for the whole run.
struct FramePaths {
  xml::XpPath frameElements;
  xml::XpPath lexUnits;
  FramePaths() {
    frameElements.compile(".//fe");
    lexUnits.compile(".//lexunit");
  }
};

}  // namespace

DictionaryResult createDictionaries(const xml::TXpNode* framesRoot,
                                    const xml::TXpNode* relationsRoot, std::string_view dataFolder,
                                    bool framesOnly, DictionaryDocuments documents,
                                    text::Progress& progress) {
  if (std::string_view problem = lexicon::framesDocumentProblem(framesRoot); !problem.empty()) {
    DictionaryResult refused;
    refused.outcome =
        text::Outcome::refused(std::string(lexicon::kProgramCaption), std::string(problem));
    return refused;
  }
  const std::string folder(dataFolder);
  const FramePaths paths;
  const xml::TXpNodeList frames =
      framesRoot ? framesRoot->SelectNodes("//frame") : xml::TXpNodeList();

  documents.dictionary.FormattedOutput = true;
  documents.dictionary.LoadMemory(kFrameDictTemplate.data(), kFrameDictTemplate.size());
  xml::TXpElement* dictionaryFrames = documents.dictionary.Document()->docGetDocumentElement();

  DictionaryResult result;
  text::TextLines frameLines;
  text::TextLines lexemeLines;
  for (const xml::TXpNode* frame : frames) {
    if (progress.cancelled()) {
      result.outcome = text::Outcome::cancelled();
      return result;
    }
    // Missing attributes of frame, fe and lexunit elements are read as empty text.
    const std::string frameName = xml::attributeText(frame, "name");
    xml::TXpElement* dictionaryFrame = dictionaryFrames->CreateChildElement("frame");
    dictionaryFrame->SetAttribute("name", frameName);
    frameLines.add(frameHeadLine(frameName));
    frameLines.add(std::string(kNilLine));
    AddFrameRelationLines(frameLines, relationsRoot, frameName);

    for (const xml::TXpNode* fe : paths.frameElements.evaluate(frame)) {
      const std::string name = xml::attributeText(fe, "name");
      const std::string coreType = xml::attributeText(fe, "coreType");
      xml::TXpElement* dictionaryFe = dictionaryFrame->CreateChildElement("fe");
      dictionaryFe->SetAttribute("name", name);
      dictionaryFe->SetAttribute("coreType", coreType);
      frameLines.add(frameElementLine(name, coreType));
    }

    for (const xml::TXpNode* lexUnit : paths.lexUnits.evaluate(frame)) {
      frameLines.add(memberLine(lexUnit));
      if (framesOnly) continue;
      addLexemeEntryHead(lexemeLines, lexUnit, frameName);
      progress.count(kLexemesInFramesCaption, result.lexemeEntries);
      const std::string path =
          lexicon::lexicalEntryDocumentPath(folder, xml::attributeText(lexUnit, "ID"));
      // A missing or unreadable lexical entry leaves the entry without realization lines.
      const bool loaded = documents.lexEntry.LoadDataSource(path);
      const xml::TXpNode* entryRoot =
          loaded ? documents.lexEntry.Document()->docGetDocumentElement() : nullptr;
      if (entryRoot)
        addRealizationLines(lexemeLines, entryRoot);
      else
        ++result.missingLexEntries;
      lexemeLines.add("");
      ++result.lexemeEntries;
    }

    ++result.frames;
    progress.count(kDictionaryFramesCounter, result.frames);
    frameLines.add("");
  }
  AddRelationEntries(frameLines, relationsRoot);

  // The dictionary files form one data set: all are replaced, or none.
  text::OutputSet files;
  lexicon::addDocument(files, documents.dictionary, folder + std::string(kFrameDictFile));
  files.add(folder + std::string(kFramesDumpFile), frameLines.text());
  if (!framesOnly) files.add(folder + std::string(kLexemesDumpFile), lexemeLines.text());
  const std::vector<std::string> targets = files.targets();
  files.commit();
  result.outcome.filesWritten = targets;
  return result;
}

}  // namespace sorvanta::derived
