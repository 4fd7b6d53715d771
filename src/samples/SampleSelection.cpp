#include "samples/SampleSelection.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "lexicon/CorpusDocument.h"
#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/LexUnitDocument.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SentenceLabels.h"
#include "lexicon/SkippedDocument.h"
#include "samples/SampleRandom.h"
#include "samples/TrainingTestSets.h"
#include "text/Errors.h"
#include "text/IntegerText.h"
#include "text/MessageText.h"
#include "text/OrderedWork.h"
#include "text/OutputSet.h"
#include "text/TextLines.h"
#include "text/WorkingText.h"

namespace sorvanta::samples {

namespace {

bool contains(const std::vector<int32_t>& list, int32_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool isExcluded(int32_t id) {
  return std::find(std::begin(kExcludedFrameIds), std::end(kExcludedFrameIds), id) !=
         std::end(kExcludedFrameIds);
}

// One candidate sentence met in the walk over a frame's lexical units, with what the writing
// pass writes for it, made on the worker thread: its answer line, and its instance in the test
// set should it not be drawn for training. An offset that is not an integer stops either; the
// error is kept to be thrown where the writing pass meets it.
struct CandidateSentence {
  size_t lexUnit = 0;  // index into FrameSentences::lexUnits
  std::string sentenceId;
  int32_t id = 0;  // sentenceId as an integer
  std::string answer;
  std::exception_ptr answerError;
  size_t testBegin = 0, testEnd = 0;  // the test instance, in FrameSentences::testInstances
  std::exception_ptr testError;
};

// Test instances stand inside "corpus" and "frame".
constexpr size_t kTestInstanceDepth = 2;

// A frame's annotated lexical units, each annotation document read once for both passes.
struct FrameSentences {
  struct LexUnit {
    std::string id;
    std::string name;
  };
  std::vector<LexUnit> lexUnits;
  std::vector<CandidateSentence> candidates;  // in walk order
  std::string testInstances;                  // one after the other
  int noFeSentences = 0;
};

// One frame's annotation documents, read on a worker thread. What the run records in order
// (the last load tried, the units read, documents skipped, an error met) is kept for the
// calling thread to apply.
struct FrameRead {
  FrameSentences frame;
  std::optional<std::string> lastLoad;  // the ID of the last unit a load was tried for
  std::vector<std::string> loaded;      // IDs of the units read
  std::vector<std::pair<std::string, std::string>> failed;  // path, warning
  std::exception_ptr error;
};

// Whether the run writes a frame with this many candidates (it passes the sufficiency test):
// unknown while the number of sentences is not an integer.
bool frameIsWritten(std::optional<int32_t> numSents, size_t candidates) {
  return !numSents || !(*numSents * 1.5 > static_cast<double>(candidates));
}

// What the writing pass writes for each candidate of a frame called name.
void writeCandidates(const std::string& name, const SampleRequest& request,
                     const std::vector<lexicon::AnnotatedSentence>& labels, FrameSentences& frame) {
  // Formatted, as the run sets the test document object. A writer left inside an instance by
  // an error is replaced.
  std::optional<xml::XpMarkupWriter> instances;
  for (size_t i = 0; i < labels.size(); ++i) {
    CandidateSentence& candidate = frame.candidates[i];
    const FrameSentences::LexUnit& lexUnit = frame.lexUnits[candidate.lexUnit];
    if (!instances) instances.emplace(frame.testInstances, true, kTestInstanceDepth);
    candidate.testBegin = frame.testInstances.size();
    try {
      writeTestInstance(*instances, lexUnit.name, lexUnit.id, candidate.sentenceId,
                        labels[i].target, labels[i].feLabels, labels[i].text->noGetText(),
                        request.provideFes);
    } catch (...) {
      candidate.testError = std::current_exception();
      frame.testInstances.resize(candidate.testBegin);
      instances.reset();
    }
    candidate.testEnd = frame.testInstances.size();
    try {
      candidate.answer = answerLine(name, candidate.sentenceId, labels[i].feLabels);
    } catch (...) {
      candidate.answerError = std::current_exception();
    }
  }
}

// The walk both passes make over a frame's lexical units (luIds: those with an annotated count
// other than 0, in document order): units whose annotation file is missing are skipped; a
// sentence without a target label or (when it has frame-element labels) without an ID is
// passed over. Sentences without frame-element labels are counted; the others are the
// candidates, whose writing is prepared here when the frame will be written. Touches no
// document but its own, so frames are read in parallel; the documents go when it returns.
FrameRead readFrameSentences(const std::string& name, const std::vector<std::string>& luIds,
                             const SampleRequest& request, std::string_view dataFolder) {
  FrameRead read;
  FrameSentences& frame = read.frame;
  std::vector<std::unique_ptr<xml::TXpObjModel>> documents;  // outlive the labels' nodes
  std::vector<lexicon::AnnotatedSentence> labelsOf;          // of each candidate
  try {
    for (const std::string& luId : luIds) {
      auto model = std::make_unique<xml::TXpObjModel>();
      read.lastLoad = luId;
      // What loadLexUnitAnnotation loads, without its existence check: a file that is missing
      // fails to open all the same, and the error lines of a read document are never shown.
      const std::string path = lexicon::annotationDocumentPath(dataFolder, luId);
      if (!model->LoadDataSource(path) || !model->Document()->docGetDocumentElement()) {
        read.failed.emplace_back(path, lexicon::skippedDocumentText(path, *model));
        continue;
      }
      read.loaded.push_back(luId);
      const xml::TXpNode* root = model->Document()->docGetDocumentElement();
      frame.lexUnits.push_back({luId, xml::attributeText(root, "name")});
      for (const xml::TXpNode* textNode : lexicon::sentenceTexts(model->Document())) {
        std::optional<lexicon::AnnotatedSentence> labels = lexicon::findSentenceLabels(textNode);
        if (!labels) continue;
        if (labels->feLabels.nlGetLength() == 0) {
          ++frame.noFeSentences;
        } else if (labels->sentence->attributes() &&
                   labels->sentence->attributes()->GetNamedItem("ID")) {
          std::string sentenceId = xml::attributeText(labels->sentence, "ID");
          const int32_t id = text::strToInt(sentenceId);
          CandidateSentence& candidate = frame.candidates.emplace_back();
          candidate.lexUnit = frame.lexUnits.size() - 1;
          candidate.sentenceId = std::move(sentenceId);
          candidate.id = id;
          labelsOf.push_back(std::move(*labels));
        }
      }
      documents.push_back(std::move(model));
    }
  } catch (...) {
    read.error = std::current_exception();
    return read;
  }
  if (frameIsWritten(text::tryStrToInt(request.numSentsText), frame.candidates.size()))
    writeCandidates(name, request, labelsOf, frame);
  return read;
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
           " have between " + range + " annotated sentences; " + text::intToStr(numFrames) +
           " frames cannot be selected.";
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

namespace {

bool annotationsInRange(const SampleRequest& request, const lexicon::ListRow& row) {
  const int32_t anns = text::strToInt(row.cell(lexicon::kFrameAnns));
  return request.low <= anns && anns <= request.high;
}

// The IDs of the frames the draw may take: annotation count in range, not excluded.
std::vector<int32_t> candidateFrameIds(const SampleRequest& request,
                                       const std::vector<lexicon::ListRow>& frameRows) {
  std::vector<int32_t> ids;
  for (const lexicon::ListRow& row : frameRows) {
    if (!annotationsInRange(request, row)) continue;
    const int32_t id = text::strToInt(row.cell(lexicon::kFrameId));
    if (!isExcluded(id)) ids.push_back(id);
  }
  return ids;
}

// The five files form one data set: all are replaced, or none. They are created when the first
// frame is written (or at the end), so a count that is not an integer stops the run before any
// file is touched; the test set and the answers then go to their files as they are written.
class SampleFiles {
 public:
  explicit SampleFiles(std::string_view dataFolder) : folder_(dataFolder) {}

  text::OutputFile& training() { return file(0); }
  text::OutputFile& test() { return file(1); }
  text::OutputFile& trainingAnswers() { return file(2); }
  text::OutputFile& testAnswers() { return file(3); }
  text::OutputFile& messages() { return file(4); }

  // Replaces the older files; returns the files written.
  std::vector<std::string> commit() {
    std::vector<std::string> targets = set_.targets();
    set_.commit();
    return targets;
  }

 private:
  text::OutputFile& file(size_t i) {
    if (files_.empty()) {
      try {
        for (std::string_view name :
             {kTrainingFile, kTestFile, kTrainingAnswersFile, kTestAnswersFile, kMessagesFile})
          files_.push_back(&set_.open(folder_ + std::string(name)));
      } catch (...) {
        files_.clear();  // the set discarded the files opened
        throw;
      }
    }
    return *files_[i];
  }

  std::string folder_;
  text::OutputSet set_;
  std::vector<text::OutputFile*> files_;
};

// What the run fills: the training document, the test set written as it grows, the answers
// and the messages.
struct SampleSets {
  SampleSets(xml::TXpObjModel& training, xml::TXpObjModel& test, std::string_view dataFolder)
      : trainingCorpus(lexicon::resetToCorpusTemplate(training)),
        testSet(test),
        files(dataFolder) {}

  xml::TXpElement* trainingCorpus;
  lexicon::CorpusStream testSet;
  text::TextLines messages;
  SampleFiles files;
};

// Text gathered before it goes to a file.
constexpr size_t kTestSetPiece = size_t{256} << 10;

// The frame's training sentences, drawn from its candidates. Throws text::RuntimeError when
// the frame has fewer different candidate sentences than numSents.
std::vector<int32_t> drawTrainingSentences(const FrameSentences& frame, const std::string& name,
                                           int32_t numSents, SampleRandom& random) {
  std::vector<int32_t> candidates;
  candidates.reserve(frame.candidates.size());
  for (const CandidateSentence& found : frame.candidates) candidates.push_back(found.id);
  const std::unordered_set<int32_t> distinct(candidates.begin(), candidates.end());
  if (static_cast<size_t>(numSents) > distinct.size())
    throw text::RuntimeError("Frame " + text::quotedText(name) + " has only " +
                             text::intToStr(static_cast<int64_t>(distinct.size())) +
                             " different candidate sentences; " + text::intToStr(numSents) +
                             " cannot be selected");
  return drawDistinct(candidates, numSents, random);
}

// The writing pass over a frame: every candidate becomes a training or a test instance, with
// its answer line. lastLoad follows the documents the pass reads again.
void writeFrame(const FrameSentences& frame, const std::string& name,
                const std::vector<int32_t>& training, SampleSets& sets,
                std::optional<std::string>& lastLoad) {
  text::OutputFile& testFile = sets.files.test();
  xml::XpMarkupWriter& testSet = sets.testSet.markup();
  testSet.startElement("frame");
  testSet.workingAttribute("name", name);
  xml::TXpElement* trainingFrame = sets.trainingCorpus->CreateChildElement("frame");
  trainingFrame->SetAttribute("name", name);
  for (const CandidateSentence& found : frame.candidates) {
    const FrameSentences::LexUnit& lexUnit = frame.lexUnits[found.lexUnit];
    lastLoad = lexUnit.id;
    const bool isTraining = !training.empty() && contains(training, found.id);
    if (isTraining) {
      xml::TXpElement* instance = trainingFrame->CreateChildElement("instance");
      instance->SetAttribute("lexunit", lexUnit.name);
      instance->SetAttribute("luID", lexUnit.id);
      instance->SetAttribute("sentID", found.sentenceId);
    } else {
      if (found.testError) std::rethrow_exception(found.testError);
      testSet.markup(std::string_view(frame.testInstances)
                         .substr(found.testBegin, found.testEnd - found.testBegin));
      sets.testSet.passTo(testFile, kTestSetPiece);
    }
    if (found.answerError) std::rethrow_exception(found.answerError);
    text::OutputFile& answers =
        isTraining ? sets.files.trainingAnswers() : sets.files.testAnswers();
    answers.write(found.answer);
    answers.write("\r\n");
  }
  testSet.endElement();
}

// The run's record of the reads, kept in frame order on the calling thread.
struct AnnotationReads {
  std::optional<std::string> lastLoad;
  lexicon::SkippedDocuments skipped;
  text::Outcome warnings;
};

// One frame of the run, its documents read: note that it has too few sentences, or draw and
// write its sets.
void processFrame(const SampleRequest& request, const std::string& name, FrameRead& read,
                  AnnotationReads& reads, SampleRandom& random, SampleSets& sets,
                  SampleResult& result, text::Progress& progress) {
  if (read.lastLoad) reads.lastLoad = read.lastLoad;
  for (const auto& [path, warning] : read.failed) reads.skipped.add(path, warning, reads.warnings);
  for (std::string& id : read.loaded) result.lexUnitsRead.push_back(std::move(id));
  if (read.error) std::rethrow_exception(read.error);
  const FrameSentences& frame = read.frame;
  const int32_t numSents = text::strToInt(request.numSentsText);
  const size_t candidateCount = frame.candidates.size();
  if (!frameIsWritten(numSents, candidateCount)) {
    sets.messages.add("Frame " + quoted(name) + " has only " +
                      text::intToStr(static_cast<int64_t>(candidateCount)) +
                      " candidate sentences");
    return;
  }
  if (frame.noFeSentences > 0)
    sets.messages.add("Frame " + quoted(name) + " has " + text::intToStr(frame.noFeSentences) +
                      " sentences without FEs");
  result.sentenceTotal += static_cast<int64_t>(candidateCount);
  progress.count(kSentencesInFramesCounter, result.sentenceTotal);
  const std::vector<int32_t> training = drawTrainingSentences(frame, name, numSents, random);
  // The writing pass tries the same loads in the same order, so it ends on this one too.
  const std::optional<std::string> lastOfFrame = reads.lastLoad;
  writeFrame(frame, name, training, sets, reads.lastLoad);
  reads.lastLoad = lastOfFrame;
}

// The frames the run processes, in list order, with the IDs of their annotated lexical units:
// read from the frames document before any worker starts, since its query indexes are built
// as queries come.
struct PlannedFrame {
  std::string name;
  std::vector<std::string> luIds;
};

std::vector<PlannedFrame> planFrames(const SampleRequest& request,
                                     const std::vector<lexicon::ListRow>& frameRows,
                                     const std::vector<int32_t>& selectedFrames,
                                     const xml::TXpNode* framesRoot) {
  std::vector<PlannedFrame> planned;
  for (const lexicon::ListRow& row : frameRows) {
    if (!annotationsInRange(request, row)) continue;
    if (!selectedFrames.empty() &&
        !contains(selectedFrames, text::strToInt(row.cell(lexicon::kFrameId))))
      continue;
    PlannedFrame frame{std::string(row.caption()), {}};
    const xml::TXpNodeList lexUnits =
        framesRoot
            ? framesRoot->SelectNodes("//frame[@name='" + frame.name + "']/lexunits/lexunit")
            : xml::TXpNodeList();
    for (const xml::TXpNode* lexUnit : lexUnits)
      if (lexUnit->SelectInteger("./annotation/annotated") != 0)
        frame.luIds.push_back(xml::attributeText(lexUnit, "ID"));
    planned.push_back(std::move(frame));
  }
  return planned;
}

// Step 9: the training document and the messages join the answers and the test set, whose
// end is written now; then the five files replace the older ones.
std::vector<std::string> saveSampleFiles(xml::TXpObjModel& training, SampleSets& sets) {
  lexicon::writeDocument(sets.files.training(), training);
  sets.testSet.finish();
  sets.testSet.passTo(sets.files.test());
  sets.files.messages().write(sets.messages.text());
  return sets.files.commit();
}

}  // namespace

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
  const std::vector<int32_t> candidateFrames = candidateFrameIds(request, frameRows);
  SampleResult result;
  // Two frames may share an ID; the draw needs as many distinct IDs as frames it takes.
  const size_t distinctFrames =
      std::unordered_set<int32_t>(candidateFrames.begin(), candidateFrames.end()).size();
  if (std::string refusal =
          checkCounts(request, numFrames, distinctFrames, distinctFrames < candidateFrames.size());
      !refusal.empty()) {
    result.outcome = text::Outcome::refused(std::string(lexicon::kProgramCaption), refusal);
    return result;
  }
  const std::vector<int32_t> selectedFrames = drawDistinct(candidateFrames, numFrames, random);

  documents.training.FormattedOutput = true;
  documents.test.FormattedOutput = true;
  // The test set goes to its file as it is written; the test document keeps the empty corpus
  // (the window reads the set from nowhere but its file, frame files rebuild the document).
  SampleSets sets(documents.training, documents.test, dataFolder);

  // Afterwards, also when an error ends the run, documents.lexUnit holds what the last read
  // would have left in it had every read gone there: the document of lastLoad, or nothing when
  // that load fails.
  AnnotationReads reads;
  const auto keepLastRead = [&] {
    if (reads.lastLoad)
      lexicon::loadLexUnitAnnotation(documents.lexUnit, dataFolder, *reads.lastLoad);
  };
  try {
    // A row whose annotation count is not an integer fails here, before any frame is read.
    const std::vector<PlannedFrame> planned =
        planFrames(request, frameRows, selectedFrames, framesRoot);
    if (!progress.cancelled()) {
      text::orderedWork<FrameRead>(
          planned.size(), request.jobs,
          [&](size_t i) {
            return readFrameSentences(planned[i].name, planned[i].luIds, request, dataFolder);
          },
          [&](size_t i, FrameRead read) {
            processFrame(request, planned[i].name, read, reads, random, sets, result, progress);
            ++result.framesDone;
            progress.count(kFramesCompletedCounter, result.framesDone);
            return !progress.cancelled();
          });
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
  result.outcome.filesWritten = saveSampleFiles(documents.training, sets);
  result.outcome.notices = std::move(reads.warnings.notices);
  result.messages = sets.messages.lines();
  return result;
}

}  // namespace sorvanta::samples
