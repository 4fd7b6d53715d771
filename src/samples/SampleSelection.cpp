#include "samples/SampleSelection.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "lexicon/FramesIndex.h"
#include "samples/AnnotatedSentence.h"
#include "samples/SampleRandom.h"
#include "samples/TrainingTestSets.h"
#include "text/Errors.h"
#include "text/IntegerText.h"
#include "text/TextLines.h"
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

// One candidate sentence met in a walk over a frame's lexical units.
struct CandidateSentence {
  const AnnotatedSentence& labels;
  std::string_view luId;
  std::string_view lexUnitName;
};

// Walks the annotated lexical units of a frame and the sentences of each, as both passes do:
// lexical units with an annotated count of 0, and those whose annotation file is missing, are
// skipped; a sentence without a target label or (when it has frame-element labels) without an
// ID is passed over. Calls noFes for a sentence without frame-element labels and candidate
// for every other one.
template <typename NoFes, typename Candidate>
void walkFrameSentences(const xml::TXpNodeList& lexUnits, std::string_view dataFolder,
                        xml::TXpObjModel& lexUnitModel, NoFes noFes, Candidate candidate) {
  for (const xml::TXpNode* lexUnit : lexUnits) {
    if (lexUnit->SelectInteger("./annotation/annotated") == 0) continue;
    const std::string luId = xml::attributeText(lexUnit, "ID");
    if (!views::loadLexUnitAnnotation(lexUnitModel, dataFolder, luId).loaded) continue;
    const xml::TXpNode* root = lexUnitModel.Document()->docGetDocumentElement();
    const std::string lexUnitName = xml::attributeText(root, "name");
    for (const xml::TXpNode* textNode : root->SelectNodes("//sentence/text")) {
      const std::optional<AnnotatedSentence> labels = findSentenceLabels(textNode);
      if (!labels) continue;
      if (labels->feLabels.nlGetLength() == 0) {
        noFes();
      } else if (labels->sentence->attributes() &&
                 labels->sentence->attributes()->GetNamedItem("ID")) {
        candidate(CandidateSentence{*labels, luId, lexUnitName});
      }
    }
  }
}

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

// The refusal for counts that cannot finish the frame draw, or empty text.
std::string checkCounts(const SampleRequest& request, int32_t numFrames, size_t candidates) {
  if (numFrames < 0) return "The number of frames to select must not be negative.";
  const std::optional<int32_t> numSents = text::tryStrToInt(request.numSentsText);
  if (numSents && *numSents < 0) return "The number of sentences to select must not be negative.";
  const std::string range = text::intToStr(request.low) + " and " + text::intToStr(request.high);
  if (candidates == 0)
    return "No frame that may be drawn has between " + range +
           " annotated sentences; there is nothing to select from.";
  if (static_cast<size_t>(numFrames) > candidates)
    return "Only " + text::intToStr(static_cast<int64_t>(candidates)) +
           " frames that may be drawn have between " + range + " annotated sentences; " +
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
  while (drawn.size() < static_cast<size_t>(wanted)) {
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
                          SampleDocuments documents, SampleProgress* progress) {
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
  result.refusal = checkCounts(request, numFrames, candidateFrames.size());
  if (!result.refusal.empty()) return result;
  const std::vector<int32_t> selectedFrames = drawDistinct(candidateFrames, numFrames, random);

  documents.training.FormattedOutput = true;
  documents.test.FormattedOutput = true;
  xml::TXpElement* trainingCorpus = resetToCorpusTemplate(documents.training);
  xml::TXpElement* testCorpus = resetToCorpusTemplate(documents.test);
  text::TextLines trainingAnswers, testAnswers, messages;

  for (const lexicon::ListRow& row : frameRows) {
    if (!inRange(row)) continue;
    if (!selectedFrames.empty() &&
        !contains(selectedFrames, text::strToInt(row.cell(lexicon::kFrameId))))
      continue;
    const std::string name(row.caption());
    const xml::TXpNodeList lexUnits =
        framesRoot ? framesRoot->SelectNodes("//frame[@name='" + name + "']/lexunits/lexunit")
                   : xml::TXpNodeList();

    std::vector<int32_t> candidateSentences;
    int noFeSentences = 0;
    walkFrameSentences(
        lexUnits, dataFolder, documents.lexUnit, [&] { ++noFeSentences; },
        [&](const CandidateSentence& found) {
          candidateSentences.push_back(
              text::strToInt(xml::attributeText(found.labels.sentence, "ID")));
        });

    const int32_t numSents = text::strToInt(request.numSentsText);
    const size_t candidateCount = candidateSentences.size();
    if (numSents * 1.5 > static_cast<double>(candidateCount)) {
      messages.add("Frame " + quoted(name) + " has only " +
                   text::intToStr(static_cast<int64_t>(candidateCount)) + " candidate sentences");
    } else {
      if (noFeSentences > 0)
        messages.add("Frame " + quoted(name) + " has " + text::intToStr(noFeSentences) +
                     " sentences without FEs");
      result.sentenceTotal += static_cast<int64_t>(candidateCount);
      if (progress) progress->sentencesInFrames(static_cast<int>(result.sentenceTotal));

      const std::unordered_set<int32_t> distinct(candidateSentences.begin(),
                                                 candidateSentences.end());
      if (static_cast<size_t>(numSents) > distinct.size())
        throw text::RuntimeError("Frame \"" + name + "\" has only " +
                                 text::intToStr(static_cast<int64_t>(distinct.size())) +
                                 " different candidate sentences; " + text::intToStr(numSents) +
                                 " cannot be selected");
      const std::vector<int32_t> training = drawDistinct(candidateSentences, numSents, random);

      xml::TXpElement* testFrame = testCorpus->CreateChildElement("frame");
      testFrame->SetAttribute("name", name);
      xml::TXpElement* trainingFrame = trainingCorpus->CreateChildElement("frame");
      trainingFrame->SetAttribute("name", name);
      walkFrameSentences(
          lexUnits, dataFolder, documents.lexUnit, [] {},
          [&](const CandidateSentence& found) {
            const std::string sentenceId = xml::attributeText(found.labels.sentence, "ID");
            const std::string sentence = found.labels.text->noGetText();
            const bool isTraining =
                !training.empty() && contains(training, text::strToInt(sentenceId));
            if (isTraining) {
              xml::TXpElement* instance = trainingFrame->CreateChildElement("instance");
              instance->SetAttribute("lexunit", found.lexUnitName);
              instance->SetAttribute("luID", found.luId);
              instance->SetAttribute("sentID", sentenceId);
            } else {
              addTestInstance(testFrame, found.lexUnitName, found.luId, sentenceId,
                              found.labels.target, found.labels.feLabels, sentence,
                              request.provideFes);
            }
            (isTraining ? trainingAnswers : testAnswers)
                .add(answerLine(name, sentenceId, found.labels.feLabels, sentence));
          });
    }
    ++result.framesDone;
    if (progress) progress->framesCompleted(result.framesDone);
  }

  const std::string folder(dataFolder);
  saveDocument(documents.training, folder + std::string(kTrainingFile));
  saveDocument(documents.test, folder + std::string(kTestFile));
  trainingAnswers.saveToFile(folder + std::string(kTrainingAnswersFile));
  testAnswers.saveToFile(folder + std::string(kTestAnswersFile));
  messages.saveToFile(folder + std::string(kMessagesFile));
  result.messages = messages.lines();
  return result;
}

}  // namespace sorvanta::samples
