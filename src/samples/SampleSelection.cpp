#include "samples/SampleSelection.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SkippedDocument.h"
#include "samples/AnnotatedSentence.h"
#include "samples/FramesByName.h"
#include "samples/SampleRandom.h"
#include "samples/TrainingTestSets.h"
#include "text/Errors.h"
#include "text/IntegerText.h"
#include "text/MessageText.h"
#include "text/OutputSet.h"
#include "text/TextLines.h"
#include "text/WorkingText.h"
#include "views/SentencesView.h"

namespace sorvanta::samples {

namespace {

bool contains(const std::vector<int32_t>& list, int32_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool isExcluded(int32_t id) {
  return std::find(std::begin(kExcludedFrameIds), std::end(kExcludedFrameIds), id) !=
         std::end(kExcludedFrameIds);
}

// One candidate sentence met in the walk over a frame's lexical units.
struct CandidateSentence {
  AnnotatedSentence labels;
  size_t lexUnit = 0;  // index into FrameSentences::lexUnits
  std::string sentenceId;
  int32_t id = 0;  // sentenceId as an integer
};

// A frame's annotated lexical units, each annotation document loaded once for both passes:
// the documents stay alive in a pool, so the candidates' nodes stay valid.
struct FrameSentences {
  struct LexUnit {
    std::string id;
    std::string name;
  };
  std::vector<LexUnit> lexUnits;
  std::vector<CandidateSentence> candidates;  // in walk order
  int noFeSentences = 0;
};

// The walk both passes make over a frame's lexical units: lexical units with an annotated
// count of 0, and those whose annotation file is missing, are skipped; a sentence without a
// target label or (when it has frame-element labels) without an ID is passed over. Sentences
// without frame-element labels are counted; the others are the candidates. lastLoad is set to
// the ID of every lexical unit whose file a load is tried for.
FrameSentences readFrameSentences(const xml::TXpNodeList& lexUnits, std::string_view dataFolder,
                                  std::vector<std::unique_ptr<xml::TXpObjModel>>& pool,
                                  std::optional<std::string>& lastLoad,
                                  lexicon::SkippedDocuments& skipped, text::Outcome& outcome,
                                  std::vector<std::string>& loaded) {
  FrameSentences frame;
  size_t used = 0;
  for (const xml::TXpNode* lexUnit : lexUnits) {
    if (lexUnit->SelectInteger("./annotation/annotated") == 0) continue;
    std::string luId = xml::attributeText(lexUnit, "ID");
    if (used == pool.size()) pool.push_back(std::make_unique<xml::TXpObjModel>());
    xml::TXpObjModel& model = *pool[used];
    lastLoad = luId;
    // What loadLexUnitAnnotation loads, without its existence check: a file that is missing
    // fails to open all the same, and the error lines of a pool document are never shown.
    const std::string path = lexicon::annotationDocumentPath(dataFolder, luId);
    if (!model.LoadDataSource(path) || !model.Document()->docGetDocumentElement()) {
      skipped.add(path, model, outcome);
      continue;
    }
    ++used;
    loaded.push_back(luId);
    const xml::TXpNode* root = model.Document()->docGetDocumentElement();
    frame.lexUnits.push_back({std::move(luId), xml::attributeText(root, "name")});
    forEachSentenceText(root, [&](const xml::TXpNode* textNode) {
      std::optional<AnnotatedSentence> labels = findSentenceLabels(textNode);
      if (!labels) return;
      if (labels->feLabels.nlGetLength() == 0) {
        ++frame.noFeSentences;
      } else if (labels->sentence->attributes() &&
                 labels->sentence->attributes()->GetNamedItem("ID")) {
        std::string sentenceId = xml::attributeText(labels->sentence, "ID");
        const int32_t id = text::strToInt(sentenceId);
        frame.candidates.push_back(
            {std::move(*labels), frame.lexUnits.size() - 1, std::move(sentenceId), id});
      }
    });
  }
  return frame;
}

// What "//frame[@name='" + name + "']/lexunits/lexunit" selects: the "lexunit" children of
// the "lexunits" children of those frames, in document order.
xml::TXpNodeList frameLexUnits(const FramesByName& frames, const std::string& name) {
  xml::TXpNodeList lexUnits;
  for (const xml::TXpNode* frame : frames.all(name))
    for (const xml::TXpNode* list = frame->noGetFirstChild(); list; list = list->noGetNextSibling())
      if (isElementNamed(list, "lexunits"))
        for (xml::TXpNode* unit = list->noGetFirstChild(); unit; unit = unit->noGetNextSibling())
          if (isElementNamed(unit, "lexunit")) lexUnits.add(unit);
  return lexUnits;
}

// Built by appending: "\"" + std::string(...) draws a false overlap warning from GCC 12 at -O3.
std::string quoted(std::string_view name) {
  std::string text = "\"";
  text.append(name).append("\"");
  return text;
}

// The refusal for counts that cannot finish the frame draw, or empty text.
// Candidates counts distinct frame IDs; sharedIds tells that some frames share one.
std::string checkCounts(const SampleRequest& request, int32_t numFrames, size_t candidates,
                        bool sharedIds) {
  if (numFrames < 0) return "The number of frames to select must not be negative.";
  const std::optional<int32_t> numSents = text::tryStrToInt(request.numSentsText);
  if (numSents && *numSents < 0) return "The number of sentences to select must not be negative.";
  const std::string range = text::intToStr(request.low) + " and " + text::intToStr(request.high);
  if (candidates == 0)
    return "No frame that may be drawn has between " + range +
           " annotated sentences; there is nothing to select from.";
  if (static_cast<size_t>(numFrames) > candidates)
    return "Only " + text::intToStr(static_cast<int64_t>(candidates)) +
           " frames that may be drawn" + (sharedIds ? " (frames sharing an ID count once)" : "") +
           " have between " + range + " annotated sentences; " +
           text::intToStr(numFrames) + " frames cannot be selected.";
  return {};
}

}  // namespace

std::vector<int32_t> drawDistinct(const std::vector<int32_t>& candidates, int32_t wanted,
                                  SampleRandom& random) {
  std::vector<int32_t> drawn;
  if (wanted <= 0 || candidates.empty()) return drawn;
  const int64_t acceptPercent =
      static_cast<int64_t>(wanted) * 100 / static_cast<int64_t>(candidates.size());
  // Each pass takes an entry not yet taken with a chance of at least 1 in 100, so a draw that
  // can finish needs a few hundred passes; one that has not finished after this many never will
  // (too few distinct values, or a generator cycle that never accepts the remaining ones).
  for (int pass = 0; drawn.size() < static_cast<size_t>(wanted); ++pass) {
    if (pass == kDrawPassLimit)
      throw text::RuntimeError("The draw of " + text::intToStr(wanted) + " among " +
                               text::intToStr(static_cast<int64_t>(candidates.size())) +
                               " candidates did not finish after " +
                               text::intToStr(kDrawPassLimit) + " passes; nothing was written.");
    for (int32_t id : candidates) {
      if (random.draw() <= acceptPercent && !contains(drawn, id)) {
        drawn.push_back(id);
        if (drawn.size() == static_cast<size_t>(wanted)) return drawn;
      }
    }
  }
  return drawn;
}

SampleResult selectSample(const SampleRequest& request,
                          const std::vector<lexicon::ListRow>& frameRows,
                          const xml::TXpNode* framesRoot, std::string_view dataFolder,
                          SampleDocuments documents, text::Progress& progress) {
  if (std::string_view problem = lexicon::framesDocumentProblem(framesRoot); !problem.empty()) {
    SampleResult refused;
    refused.outcome =
        text::Outcome::refused(std::string(lexicon::kProgramCaption), std::string(problem));
    return refused;
  }
  SampleRandom random(request.seed);
  const int32_t numFrames = text::strToInt(request.numFramesText);

  auto inRange = [&](const lexicon::ListRow& row) {
    const int32_t anns = text::strToInt(row.cell(lexicon::kFrameAnns));
    return request.low <= anns && anns <= request.high;
  };
  std::vector<int32_t> candidateFrames;
  for (const lexicon::ListRow& row : frameRows) {
    if (!inRange(row)) continue;
    const int32_t id = text::strToInt(row.cell(lexicon::kFrameId));
    if (!isExcluded(id)) candidateFrames.push_back(id);
  }

  SampleResult result;
  // Two frames may share an ID; the draw needs as many distinct IDs as frames it takes.
  const size_t distinctFrames =
      std::unordered_set<int32_t>(candidateFrames.begin(), candidateFrames.end()).size();
  if (std::string refusal = checkCounts(request, numFrames, distinctFrames,
                                               distinctFrames < candidateFrames.size());
      !refusal.empty()) {
    result.outcome = text::Outcome::refused(std::string(lexicon::kProgramCaption), refusal);
    return result;
  }
  const std::vector<int32_t> selectedFrames = drawDistinct(candidateFrames, numFrames, random);

  documents.training.FormattedOutput = true;
  documents.test.FormattedOutput = true;
  xml::TXpElement* trainingCorpus = resetToCorpusTemplate(documents.training);
  xml::TXpElement* testCorpus = resetToCorpusTemplate(documents.test);
  text::TextLines trainingAnswers, testAnswers, messages;

  // Each annotation document is parsed once, for both passes over its frame. Afterwards, also
  // when an error ends the run, documents.lexUnit holds what the last read would have left in
  // it had every read gone there: the document of lastLoad, or nothing when that load fails.
  std::vector<std::unique_ptr<xml::TXpObjModel>> pool;
  std::optional<std::string> lastLoad;
  const FramesByName frames(framesRoot);
  // Annotation documents that exist but cannot be read, each named once.
  lexicon::SkippedDocuments skipped;
  text::Outcome warnings;
  const auto keepLastRead = [&] {
    if (lastLoad) views::loadLexUnitAnnotation(documents.lexUnit, dataFolder, *lastLoad);
  };
  try {
    for (const lexicon::ListRow& row : frameRows) {
      if (progress.cancelled()) break;
      if (!inRange(row)) continue;
      if (!selectedFrames.empty() &&
          !contains(selectedFrames, text::strToInt(row.cell(lexicon::kFrameId))))
        continue;
      const std::string name(row.caption());
      const xml::TXpNodeList lexUnits = frameLexUnits(frames, name);

      const FrameSentences frame = readFrameSentences(lexUnits, dataFolder, pool, lastLoad,
                                                      skipped, warnings, result.lexUnitsRead);
      // The writing pass tries the same loads in the same order, so it ends on this one too.
      const std::optional<std::string> lastOfFrame = lastLoad;
      const int32_t numSents = text::strToInt(request.numSentsText);
      const size_t candidateCount = frame.candidates.size();
      if (numSents * 1.5 > static_cast<double>(candidateCount)) {
        messages.add("Frame " + quoted(name) + " has only " +
                     text::intToStr(static_cast<int64_t>(candidateCount)) + " candidate sentences");
      } else {
        if (frame.noFeSentences > 0)
          messages.add("Frame " + quoted(name) + " has " + text::intToStr(frame.noFeSentences) +
                       " sentences without FEs");
        result.sentenceTotal += static_cast<int64_t>(candidateCount);
        progress.count(kSentencesInFramesCounter, result.sentenceTotal);

        std::vector<int32_t> candidateSentences;
        candidateSentences.reserve(candidateCount);
        for (const CandidateSentence& found : frame.candidates)
          candidateSentences.push_back(found.id);
        const std::unordered_set<int32_t> distinct(candidateSentences.begin(),
                                                   candidateSentences.end());
        if (static_cast<size_t>(numSents) > distinct.size())
          throw text::RuntimeError("Frame " + text::quotedText(name) + " has only " +
                                   text::intToStr(static_cast<int64_t>(distinct.size())) +
                                   " different candidate sentences; " + text::intToStr(numSents) +
                                   " cannot be selected");
        const std::vector<int32_t> training = drawDistinct(candidateSentences, numSents, random);

        xml::TXpElement* testFrame = testCorpus->CreateChildElement("frame");
        testFrame->SetAttribute("name", name);
        xml::TXpElement* trainingFrame = trainingCorpus->CreateChildElement("frame");
        trainingFrame->SetAttribute("name", name);
        for (const CandidateSentence& found : frame.candidates) {
          const FrameSentences::LexUnit& lexUnit = frame.lexUnits[found.lexUnit];
          lastLoad = lexUnit.id;  // the writing pass has read this document again
          const std::string sentence = found.labels.text->noGetText();
          const bool isTraining = !training.empty() && contains(training, found.id);
          if (isTraining) {
            xml::TXpElement* instance = trainingFrame->CreateChildElement("instance");
            instance->SetAttribute("lexunit", lexUnit.name);
            instance->SetAttribute("luID", lexUnit.id);
            instance->SetAttribute("sentID", found.sentenceId);
          } else {
            addTestInstance(testFrame, lexUnit.name, lexUnit.id, found.sentenceId,
                            found.labels.target, found.labels.feLabels, sentence,
                            request.provideFes);
          }
          (isTraining ? trainingAnswers : testAnswers)
              .add(answerLine(name, found.sentenceId, found.labels.feLabels));
        }
        lastLoad = lastOfFrame;
      }
      ++result.framesDone;
      progress.count(kFramesCompletedCounter, result.framesDone);
    }
  } catch (...) {
    keepLastRead();
    throw;
  }
  keepLastRead();
  // Cancelled: the older files stay as they were.
  if (progress.cancelled()) {
    result.outcome = text::Outcome::cancelled();
    return result;
  }

  const std::string folder(dataFolder);
  // The five files form one data set: all are replaced, or none.
  text::OutputSet files;
  addDocument(files, documents.training, folder + std::string(kTrainingFile));
  addDocument(files, documents.test, folder + std::string(kTestFile));
  files.add(folder + std::string(kTrainingAnswersFile), trainingAnswers.text());
  files.add(folder + std::string(kTestAnswersFile), testAnswers.text());
  files.add(folder + std::string(kMessagesFile), messages.text());
  const std::vector<std::string> targets = files.targets();
  files.commit();
  result.outcome.filesWritten = targets;
  result.outcome.notices = std::move(warnings.notices);
  result.messages = messages.lines();
  return result;
}

}  // namespace sorvanta::samples
