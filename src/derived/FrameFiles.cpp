#include "derived/FrameFiles.h"

#include <algorithm>
#include <unordered_map>

#include "derived/OutputName.h"
#include "lexicon/DataFolder.h"
#include "lexicon/ReleaseLayout.h"
#include "samples/AnnotatedSentence.h"
#include "samples/TrainingTestSets.h"
#include "text/IntegerText.h"
#include "text/Span.h"
#include "text/TextLines.h"
#include "text/WorkingText.h"

namespace sorvanta::derived {

namespace {

void insertAt(std::string& text, long long position, std::string_view mark) {
  const long long clamped = std::clamp<long long>(position, 0, static_cast<long long>(text.size()));
  text.insert(static_cast<size_t>(clamped), mark);
}

// What "//sentence[@ID='" + id + "']/text" selects in one annotation document: the "text"
// children of its sentences with that ID, in document order. The sentences are indexed by ID in
// one walk when the document is loaded, rather than filtered again for every instance; an ID
// holding an apostrophe, which ends the query's literal early, is still queried.
class SentenceTexts {
 public:
  void reset(const xml::TXpNode* root) {
    root_ = root;
    byId_.clear();
    const xml::TXpDocument* document = root ? root->ownerDocument() : nullptr;
    if (!document) return;
    for (const xml::TXpNode* node = document->noGetFirstChild(); node;
         node = xml::nextInSubtree(node, document)) {
      if (!samples::isElementNamed(node, "sentence")) continue;
      const xml::TXpAttribute* id = node->attributes()->getNamedItemUtf8("ID");
      byId_[id ? id->valueUtf8() : std::string_view()].push_back(node);
    }
  }

  std::vector<const xml::TXpNode*> of(const std::string& sentenceId) const {
    std::vector<const xml::TXpNode*> texts;
    if (!root_) return texts;
    if (sentenceId.find('\'') != std::string::npos) {
      for (const xml::TXpNode* text :
           root_->SelectNodes("//sentence[@ID='" + sentenceId + "']/text"))
        texts.push_back(text);
      return texts;
    }
    const auto sentences = byId_.find(text::workingToUtf8(sentenceId));
    if (sentences == byId_.end()) return texts;
    for (const xml::TXpNode* sentence : sentences->second)
      for (const xml::TXpNode* child = sentence->noGetFirstChild(); child;
           child = child->noGetNextSibling())
        if (samples::isElementNamed(child, "text")) texts.push_back(child);
    return texts;
  }

 private:
  const xml::TXpNode* root_ = nullptr;
  std::unordered_map<std::string_view, std::vector<const xml::TXpNode*>> byId_;
};

// One ticked frame: its three line lists and the test document's frame element. The files
// written are added to written.
void writeFrame(const std::string& frame, const xml::TXpNode* trainingRoot,
                xml::TXpElement* testCorpus, const std::string& dataFolder,
                xml::TXpObjModel& lexUnitModel, std::vector<std::string>& written) {
  text::TextLines evalLines, trecLines, outLines;
  xml::TXpElement* testFrame = testCorpus->CreateChildElement("frame");
  testFrame->SetAttribute("name", frame);
  const xml::TXpNodeList instances =
      trainingRoot ? trainingRoot->SelectNodes("frame[@name='" + frame + "']/instance")
                   : xml::TXpNodeList();
  std::string currentLuId;
  std::string currentLuName;
  const xml::TXpNode* luRoot = nullptr;
  SentenceTexts sentenceTexts;
  for (const xml::TXpNode* instance : instances) {
    const std::string luId = xml::attributeText(instance, "luID");
    const std::string sentenceId = xml::attributeText(instance, "sentID");
    if (luId != currentLuId) {
      currentLuId = luId;
      // A missing file leaves no root: its instances keep their header lines only.
      lexUnitModel.LoadDataSource(lexicon::annotationDocumentPath(dataFolder, luId));
      luRoot = lexUnitModel.Document()->docGetDocumentElement();
      currentLuName = xml::attributeText(luRoot, "name");
      sentenceTexts.reset(luRoot);
      trecLines.add(currentLuName);
    }
    const std::string header = frame + "." + sentenceId;
    evalLines.add(header);
    outLines.add(header);
    if (!luRoot) continue;
    for (const xml::TXpNode* textNode : sentenceTexts.of(sentenceId)) {
      const std::optional<samples::AnnotatedSentence> labels =
          samples::findSentenceLabels(textNode);
      if (!labels) continue;  // no Target label: like a sentence not found
      const int32_t targetStart = samples::labelOffset(labels->target, "start");
      const int32_t targetEnd = samples::labelOffset(labels->target, "end");
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
        const samples::LabelSpan span = samples::readLabelSpan(label, sentence);
        outLines.add(span.itype.empty() ? FormatSpanLine(span.name, span.text, span.start, span.end)
                                        : FormatSpanLine(span.name, span.itype, 0, 0));
      }
      outLines.add("");
      evalLines.add(markTarget(sentence, targetStart, targetEnd));
      evalLines.add("");
    }
  }
  written.push_back(dataFolder + frame + ".eval");
  evalLines.saveToFile(written.back());
  written.push_back(dataFolder + frame + ".trec");
  trecLines.saveToFile(written.back());
  written.push_back(dataFolder + frame + ".out");
  outLines.saveToFile(written.back());
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
    std::string problem = outputNameProblem("Frame", frame);
    if (!problem.empty())
      return text::Outcome::refused(std::string(lexicon::kProgramCaption), std::move(problem));
  }
  text::Outcome outcome;
  const std::string folder(dataFolder);
  documents.test.FormattedOutput = true;
  xml::TXpElement* testCorpus = samples::resetToCorpusTemplate(documents.test);
  const xml::TXpNode* trainingRoot = documents.training.Document()->docGetDocumentElement();
  int done = 0;
  for (const std::string& frame : checkedFrames) {
    if (progress.cancelled()) {
      text::Outcome cancelled = text::Outcome::cancelled();
      cancelled.filesWritten = std::move(outcome.filesWritten);
      return cancelled;
    }
    writeFrame(frame, trainingRoot, testCorpus, folder, documents.lexUnit, outcome.filesWritten);
    progress.count(kFramesWrittenCounter, ++done, frame);
  }
  outcome.filesWritten.push_back(folder + std::string(kTrainingTestFile));
  samples::saveDocument(documents.test, outcome.filesWritten.back());
  return outcome;
}

}  // namespace sorvanta::derived
