#include "derived/FrameFiles.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "derived/OutputName.h"
#include "lexicon/CorpusDocument.h"
#include "lexicon/DataFolder.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SentenceLabels.h"
#include "lexicon/SkippedDocument.h"
#include "text/IntegerText.h"
#include "text/OrderedWork.h"
#include "text/OutputSet.h"
#include "text/Span.h"
#include "text/TextLines.h"
#include "text/WorkingText.h"

namespace sorvanta::derived {

namespace {

void insertAt(std::string& text, long long position, std::string_view mark) {
  const long long clamped = std::clamp<long long>(position, 0, static_cast<long long>(text.size()));
  text.insert(static_cast<size_t>(clamped), mark);
}

// A ticked frame's training instances, read from the training document on the calling thread
// (its query indexes are built as queries come, so no worker touches it).
struct Instance {
  std::string luId;
  std::string sentenceId;
};

std::vector<Instance> trainingInstances(const xml::TXpNode* trainingRoot,
                                        const std::string& frame) {
  std::vector<Instance> instances;
  if (!trainingRoot) return instances;
  for (const xml::TXpNode* instance :
       trainingRoot->SelectNodes("frame[@name='" + frame + "']/instance"))
    instances.push_back(
        {xml::attributeText(instance, "luID"), xml::attributeText(instance, "sentID")});
  return instances;
}

// What "//sentence[@ID='X']/text" selects: the text children of sentence elements whose ID is
// sentenceId, in document order, from a direct walk of the document (the query's own
// evaluation cost more than the rest of the frame's work).
std::vector<const xml::TXpNode*> sentenceTexts(const xml::TXpNode* root, const std::string& sentenceId) {
  std::vector<const xml::TXpNode*> nodes;
  // A quote ends the query's literal: such an ID is looked up as it always was.
  if (sentenceId.find('\'') != std::string::npos) {
    for (const xml::TXpNode* node : root->SelectNodes("//sentence[@ID='" + sentenceId + "']/text"))
      nodes.push_back(node);
    return nodes;
  }
  const std::string id = text::isAscii(sentenceId) ? sentenceId : text::workingToUtf8(sentenceId);
  const xml::TXpNode* top = root;
  while (top->parentNode()) top = top->parentNode();
  // Texts are taken as the walk meets them, so they come in document order even where a
  // matching sentence holds another.
  for (const xml::TXpNode* node = top; node; node = xml::nextInSubtree(node, top)) {
    const xml::TXpNode* sentence = node->parentNode();
    if (!sentence || !xml::isElementNamed(node, "text") || !xml::isElementNamed(sentence, "sentence"))
      continue;
    const xml::TXpNamedNodeMap* map = sentence->attributes();
    const xml::TXpAttribute* held = map ? map->getNamedItemUtf8("ID") : nullptr;
    if (held && held->valueUtf8() == id) nodes.push_back(node);
  }
  return nodes;
}

// A sentence found for an instance: what the test document gets.
struct TestInstance {
  std::string luName;
  std::string luId;
  std::string sentenceId;
  std::string sentence;
  std::string target;
  int32_t targetStart = 0;
  int32_t targetEnd = 0;
};

// One ticked frame, read on a worker thread: the bytes of its three files and its test
// instances, with what the run records in order (the last load tried, documents skipped, an
// error met). The instances found before an error are kept, as the test document holds them.
struct FrameRead {
  std::string eval, trec, out;
  std::vector<TestInstance> testInstances;
  std::optional<std::string> lastLoad;  // the ID of the last unit a load was tried for
  std::vector<std::pair<std::string, std::string>> failed;  // path, warning
  std::exception_ptr error;
};

// The frame's files: per instance the sentence looked up in its lexical unit's annotation
// document, loaded again whenever the unit changes. A missing document leaves the instance its
// header lines; one that exists but cannot be read is named in a warning as well.
FrameRead readFrame(const std::string& frame, const std::vector<Instance>& instances,
                    const std::string& dataFolder) {
  FrameRead read;
  text::TextLines evalLines, trecLines, outLines;
  try {
    xml::TXpObjModel lexUnitModel;
    std::string currentLuId;
    std::string currentLuName;
    const xml::TXpNode* luRoot = nullptr;
    for (const Instance& instance : instances) {
      if (instance.luId != currentLuId) {
        currentLuId = instance.luId;
        read.lastLoad = currentLuId;
        const std::string path = lexicon::annotationDocumentPath(dataFolder, currentLuId);
        if (!lexUnitModel.LoadDataSource(path))
          read.failed.emplace_back(path, lexicon::skippedDocumentText(path, lexUnitModel));
        luRoot = lexUnitModel.Document()->docGetDocumentElement();
        currentLuName = xml::attributeText(luRoot, "name");
        trecLines.add(currentLuName);
      }
      const std::string header = frame + "." + instance.sentenceId;
      evalLines.add(header);
      outLines.add(header);
      if (!luRoot) continue;
      for (const xml::TXpNode* textNode : sentenceTexts(luRoot, instance.sentenceId)) {
        const std::optional<lexicon::AnnotatedSentence> labels =
            lexicon::findSentenceLabels(textNode);
        if (!labels) continue;  // no Target label: like a sentence not found
        const int32_t targetStart = lexicon::labelOffset(labels->target, "start");
        const int32_t targetEnd = lexicon::labelOffset(labels->target, "end");
        std::string sentence = textNode->noGetText();
        std::string target = text::spanOf(sentence, targetStart, targetEnd);
        // In the test document before its frame-element labels are read: an offset there
        // that is not an integer stops the command with the instance in place.
        const TestInstance& test = read.testInstances.emplace_back(
            TestInstance{currentLuName, currentLuId, instance.sentenceId, std::move(sentence),
                         std::move(target), targetStart, targetEnd});
        outLines.add(test.sentence);
        outLines.add(FormatSpanLine("Target", test.target, test.targetStart, test.targetEnd));
        for (const xml::TXpNode* label : labels->feLabels) {
          const lexicon::LabelSpan span = lexicon::readLabelSpan(label, test.sentence);
          outLines.add(span.itype.empty()
                           ? FormatSpanLine(span.name, span.text, span.start, span.end)
                           : FormatSpanLine(span.name, span.itype, 0, 0));
        }
        outLines.add("");
        evalLines.add(markTarget(test.sentence, test.targetStart, test.targetEnd));
        evalLines.add("");
      }
    }
  } catch (...) {
    read.error = std::current_exception();
    return read;
  }
  read.eval = evalLines.text();
  read.trec = trecLines.text();
  read.out = outLines.text();
  return read;
}

// Appends the frame's instances to the test document's frame element.
void addTestInstances(xml::TXpElement* testFrame, const std::vector<TestInstance>& instances) {
  for (const TestInstance& test : instances) {
    xml::TXpElement* testInstance = testFrame->CreateChildElement("instance");
    testInstance->SetAttribute("lexunit", test.luName);
    testInstance->SetAttribute("luID", test.luId);
    testInstance->SetAttribute("sentID", test.sentenceId);
    testInstance->CreateChildElement("sentence")->CreateChildText(test.sentence);
    xml::TXpElement* target = testInstance->CreateChildElement("target");
    target->CreateChildText(test.target);
    target->SetAttribute("start", text::intToStr(test.targetStart));
    target->SetAttribute("end", text::intToStr(test.targetEnd));
  }
}

}  // namespace

std::string FormatSpanLine(std::string_view label, std::string_view text, long long start,
                           long long end) {
  return std::string(label) + ": " + std::string(text) + " (" + text::intToStr(start) + "," +
         text::intToStr(end) + ")";
}

std::string markTarget(std::string_view sentence, long long targetStart, long long targetEnd) {
  std::string marked(sentence);
  insertAt(marked, targetEnd + 1, "</>");
  insertAt(marked, targetStart, "<tag>");
  return marked;
}

text::Outcome createFrameFiles(const std::vector<std::string>& checkedFrames,
                               std::string_view dataFolder, FrameFilesDocuments documents,
                               text::Progress& progress, unsigned jobs) {
  for (const std::string& frame : checkedFrames) {
    // ".eval" and ".trec" are the longest suffixes of the three frame files.
    std::string problem = outputNameProblem("Frame", frame, 5);
    if (!problem.empty())
      return text::Outcome::refused(std::string(lexicon::kProgramCaption), std::move(problem));
  }
  text::Outcome outcome;
  const std::string folder(dataFolder);
  documents.test.FormattedOutput = true;
  xml::TXpElement* testCorpus = lexicon::resetToCorpusTemplate(documents.test);
  const xml::TXpNode* trainingRoot = documents.training.Document()->docGetDocumentElement();
  std::vector<std::vector<Instance>> instances;
  for (const std::string& frame : checkedFrames)
    instances.push_back(trainingInstances(trainingRoot, frame));

  // A frame's three files form one data set: all are replaced, or none. The sets of all frames
  // and the test document share one flush; frames finished before an error keep their files.
  std::vector<std::unique_ptr<text::OutputSet>> frameSets;
  std::vector<text::OutputSet*> finished;
  int done = 0;
  lexicon::SkippedDocuments skipped;
  std::optional<std::string> lastLoad;
  bool cancelled = false;
  // Afterwards, also when an error ends the run, documents.lexUnit holds the document the
  // last load tried would have left in it, as if every load had gone there.
  const auto keepLastLoad = [&] {
    if (lastLoad)
      documents.lexUnit.LoadDataSource(lexicon::annotationDocumentPath(folder, *lastLoad));
  };
  try {
    text::orderedWork<FrameRead>(
        checkedFrames.size(), jobs,
        [&](size_t i) { return readFrame(checkedFrames[i], instances[i], folder); },
        [&](size_t i, FrameRead read) {
          if (progress.cancelled()) {
            cancelled = true;
            return false;
          }
          const std::string& frame = checkedFrames[i];
          if (read.lastLoad) lastLoad = read.lastLoad;
          for (const auto& [path, warning] : read.failed) skipped.add(path, warning, outcome);
          xml::TXpElement* testFrame = testCorpus->CreateChildElement("frame");
          testFrame->SetAttribute("name", frame);
          addTestInstances(testFrame, read.testInstances);
          if (read.error) std::rethrow_exception(read.error);
          frameSets.push_back(std::make_unique<text::OutputSet>());
          frameSets.back()->add(folder + frame + ".eval", read.eval);
          frameSets.back()->add(folder + frame + ".trec", read.trec);
          frameSets.back()->add(folder + frame + ".out", read.out);
          finished.push_back(frameSets.back().get());
          progress.count(kFramesWrittenCounter, ++done, frame);
          return true;
        });
  } catch (...) {
    keepLastLoad();
    text::OutputSet::commitTogether(finished);
    throw;
  }
  keepLastLoad();
  // Cancelled: the test document stays as it was.
  text::OutputSet testDocument;
  if (!cancelled) {
    try {
      lexicon::addDocument(testDocument, documents.test, folder + std::string(kTrainingTestFile));
    } catch (...) {
      text::OutputSet::commitTogether(finished);
      throw;
    }
    finished.push_back(&testDocument);
  }
  std::vector<std::string> targets;
  for (const text::OutputSet* set : finished)
    for (std::string& target : set->targets()) targets.push_back(std::move(target));
  text::OutputSet::commitTogether(finished);
  for (std::string& target : targets) outcome.filesWritten.push_back(std::move(target));
  if (cancelled) {
    text::Outcome stopped = text::Outcome::cancelled();
    stopped.filesWritten = std::move(outcome.filesWritten);
    stopped.notices = std::move(outcome.notices);
    return stopped;
  }
  return outcome;
}

}  // namespace sorvanta::derived
