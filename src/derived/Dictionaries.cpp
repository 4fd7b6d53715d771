#include "derived/Dictionaries.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "derived/TarkoEntries.h"
#include "lexicon/CorpusDocument.h"
#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "text/OrderedWork.h"
#include "text/OutputSet.h"
#include "text/TextLines.h"

namespace sorvanta::derived {

namespace {

// The "fe" and the "lexunit" elements below a frame, each in document order: what ".//fe" and
// ".//lexunit" select, from one walk of the frame.
struct FrameParts {
  std::vector<const xml::TXpNode*> frameElements;
  std::vector<const xml::TXpNode*> lexUnits;
  std::vector<std::string> entryPaths;  // the lexical-entry file of each lexical unit
};

FrameParts framePartsOf(const xml::TXpNode* frame) {
  FrameParts parts;
  for (const xml::TXpNode* node = frame->noGetFirstChild(); node; node = xml::nextInSubtree(node, frame)) {
    if (xml::isElementNamed(node, "fe"))
      parts.frameElements.push_back(node);
    else if (xml::isElementNamed(node, "lexunit"))
      parts.lexUnits.push_back(node);
  }
  return parts;
}

}  // namespace

DictionaryResult createDictionaries(const xml::TXpNode* framesRoot,
                                    const xml::TXpNode* relationsRoot, std::string_view dataFolder,
                                    bool framesOnly, DictionaryDocuments documents,
                                    text::Progress& progress, unsigned jobs) {
  if (std::string_view problem = lexicon::framesDocumentProblem(framesRoot); !problem.empty()) {
    DictionaryResult refused;
    refused.outcome =
        text::Outcome::refused(std::string(lexicon::kProgramCaption), std::string(problem));
    return refused;
  }
  const std::string folder(dataFolder);
  const xml::TXpNodeList frames =
      framesRoot ? framesRoot->SelectNodes("//frame") : xml::TXpNodeList();

  documents.dictionary.FormattedOutput = true;
  documents.dictionary.LoadMemory(kFrameDictTemplate.data(), kFrameDictTemplate.size());
  xml::TXpElement* dictionaryFrames = documents.dictionary.Document()->docGetDocumentElement();

  // The frame elements and lexical units of every frame, and the lexical-entry files they
  // name, read from the frames document before any worker starts.
  std::vector<FrameParts> units(frames.nlGetLength());
  for (size_t f = 0; f < units.size(); ++f) {
    units[f] = framePartsOf(frames.Item(f));
    for (const xml::TXpNode* lexUnit : units[f].lexUnits)
      units[f].entryPaths.push_back(
          lexicon::lexicalEntryDocumentPath(folder, xml::attributeText(lexUnit, "ID")));
  }
  // The realization lines of a frame's lexical entries, one list per lexical unit; none for a
  // missing or unreadable entry.
  struct EntryLines {
    std::vector<std::optional<text::TextLines>> lines;
    std::unique_ptr<xml::TXpObjModel> lastRead;  // of the last frame with lexical units
  };
  size_t lastWithUnits = units.size();
  for (size_t f = 0; f < units.size(); ++f)
    if (!units[f].lexUnits.empty()) lastWithUnits = f;

  DictionaryResult result;
  text::TextLines frameLines;
  text::TextLines lexemeLines;
  bool cancelled = units.size() > 0 && progress.cancelled();  // polled before each frame
  if (!cancelled) text::orderedWork<EntryLines>(
      units.size(), jobs,
      [&](size_t f) {
        EntryLines entries;
        if (framesOnly) return entries;
        auto lexEntry = std::make_unique<xml::TXpObjModel>();
        for (const std::string& path : units[f].entryPaths) {
          std::optional<text::TextLines>& lines = entries.lines.emplace_back();
          const xml::TXpNode* entryRoot =
              lexEntry->LoadDataSource(path) ? lexEntry->Document()->docGetDocumentElement()
                                             : nullptr;
          if (entryRoot) addRealizationLines(lines.emplace(), entryRoot);
        }
        if (f == lastWithUnits) entries.lastRead = std::move(lexEntry);
        return entries;
      },
      [&](size_t f, EntryLines entries) {
        // Missing attributes of frame, fe and lexunit elements are read as empty text.
        const xml::TXpNode* frame = frames.Item(f);
        const std::string frameName = xml::attributeText(frame, "name");
        xml::TXpElement* dictionaryFrame = dictionaryFrames->CreateChildElement("frame");
        dictionaryFrame->SetAttribute("name", frameName);
        frameLines.add(frameHeadLine(frameName));
        frameLines.add(std::string(kNilLine));
        AddFrameRelationLines(frameLines, relationsRoot, frameName);

        for (const xml::TXpNode* fe : units[f].frameElements) {
          const std::string name = xml::attributeText(fe, "name");
          const std::string coreType = xml::attributeText(fe, "coreType");
          xml::TXpElement* dictionaryFe = dictionaryFrame->CreateChildElement("fe");
          dictionaryFe->SetAttribute("name", name);
          dictionaryFe->SetAttribute("coreType", coreType);
          frameLines.add(frameElementLine(name, coreType));
        }

        for (size_t u = 0; u < units[f].lexUnits.size(); ++u) {
          const xml::TXpNode* lexUnit = units[f].lexUnits[u];
          frameLines.add(memberLine(lexUnit));
          if (framesOnly) continue;
          addLexemeEntryHead(lexemeLines, lexUnit, frameName);
          progress.count(kLexemesInFramesCaption, result.lexemeEntries);
          // A missing or unreadable lexical entry leaves the entry without realization lines.
          if (entries.lines[u])
            for (const std::string& line : entries.lines[u]->lines()) lexemeLines.add(line);
          else
            ++result.missingLexEntries;
          lexemeLines.add("");
          ++result.lexemeEntries;
        }

        // The lexical entry read last stays in documents.lexEntry.
        if (entries.lastRead) documents.lexEntry.swapDocument(*entries.lastRead);
        ++result.frames;
        progress.count(kDictionaryFramesCounter, result.frames);
        frameLines.add("");
        cancelled = progress.cancelled();
        return !cancelled;
      });
  if (cancelled) {
    result.outcome = text::Outcome::cancelled();
    return result;
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
