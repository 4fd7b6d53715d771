#include "derived/FrameFiles.h"

#include <algorithm>
#include <memory>

#include "derived/OutputName.h"
#include "lexicon/CorpusDocument.h"
#include "lexicon/DataFolder.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SentenceLabels.h"
#include "lexicon/SkippedDocument.h"
#include "text/IntegerText.h"
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

// One ticked frame: its three line lists, added to files, and the test document's frame element.
void writeFrame(const std::string& frame, const xml::TXpNode* trainingRoot,
                xml::TXpElement* testCorpus, const std::string& dataFolder,
                xml::TXpObjModel& lexUnitModel, text::OutputSet& files,
                lexicon::SkippedDocuments& skipped, text::Outcome& outcome) {
  text::TextLines evalLines, trecLines, outLines;
  xml::TXpElement* testFrame = testCorpus->CreateChildElement("frame");
  testFrame->SetAttribute("name", frame);
  const xml::TXpNodeList instances =
      trainingRoot ? trainingRoot->SelectNodes("frame[@name='" + frame + "']/instance")
                   : xml::TXpNodeList();
  std::string currentLuId;
  std::string currentLuName;
  const xml::TXpNode* luRoot = nullptr;
  for (const xml::TXpNode* instance : instances) {
    const std::string luId = xml::attributeText(instance, "luID");
    const std::string sentenceId = xml::attributeText(instance, "sentID");
    if (luId != currentLuId) {
      currentLuId = luId;
      // A missing file leaves no root: its instances keep their header lines only. One that
      // exists but cannot be read is named in a warning.
      const std::string path = lexicon::annotationDocumentPath(dataFolder, luId);
      if (!lexUnitModel.LoadDataSource(path)) skipped.add(path, lexUnitModel, outcome);
      luRoot = lexUnitModel.Document()->docGetDocumentElement();
      currentLuName = xml::attributeText(luRoot, "name");
      trecLines.add(currentLuName);
    }
    const std::string header = frame + "." + sentenceId;
    evalLines.add(header);
    outLines.add(header);
    if (!luRoot) continue;
    for (const xml::TXpNode* textNode :
         luRoot->SelectNodes("//sentence[@ID='" + sentenceId + "']/text")) {
      const std::optional<lexicon::AnnotatedSentence> labels =
          lexicon::findSentenceLabels(textNode);
      if (!labels) continue;  // no Target label: like a sentence not found
      const int32_t targetStart = lexicon::labelOffset(labels->target, "start");
      const int32_t targetEnd = lexicon::labelOffset(labels->target, "end");
      const std::string sentence = textNode->noGetText();
      outLines.add(sentence);

      xml::TXpElement* testInstance = testFrame->CreateChildElement("instance");
      testInstance->SetAttribute("lexunit", currentLuName);
      testInstance->SetAttribute("luID", currentLuId);
      testInstance->SetAttribute("sentID", sentenceId);
      testInstance->CreateChildElement("sentence")->CreateChildText(sentence);
      const std::string targetText = text::spanOf(sentence, targetStart, targetEnd);
      xml::TXpElement* target = testInstance->CreateChildElement("target");
      target->CreateChildText(targetText);
      target->SetAttribute("start", text::intToStr(targetStart));
      target->SetAttribute("end", text::intToStr(targetEnd));

      outLines.add(FormatSpanLine("Target", targetText, targetStart, targetEnd));
      for (const xml::TXpNode* label : labels->feLabels) {
        const lexicon::LabelSpan span = lexicon::readLabelSpan(label, sentence);
        outLines.add(span.itype.empty() ? FormatSpanLine(span.name, span.text, span.start, span.end)
                                        : FormatSpanLine(span.name, span.itype, 0, 0));
      }
      outLines.add("");
      evalLines.add(markTarget(sentence, targetStart, targetEnd));
      evalLines.add("");
    }
  }
  files.add(dataFolder + frame + ".eval", evalLines.text());
  files.add(dataFolder + frame + ".trec", trecLines.text());
  files.add(dataFolder + frame + ".out", outLines.text());
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
                               text::Progress& progress) {
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
  // A frame's three files form one data set: all are replaced, or none. The sets of all frames
  // and the test document share one flush; frames finished before an error keep their files.
  std::vector<std::unique_ptr<text::OutputSet>> frameSets;
  std::vector<text::OutputSet*> finished;
  int done = 0;
  lexicon::SkippedDocuments skipped;
  bool cancelled = false;
  try {
    for (const std::string& frame : checkedFrames) {
      if (progress.cancelled()) {
        cancelled = true;
        break;
      }
      frameSets.push_back(std::make_unique<text::OutputSet>());
      writeFrame(frame, trainingRoot, testCorpus, folder, documents.lexUnit, *frameSets.back(),
                 skipped, outcome);
      finished.push_back(frameSets.back().get());
      progress.count(kFramesWrittenCounter, ++done, frame);
    }
  } catch (...) {
    text::OutputSet::commitTogether(finished);
    throw;
  }
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
