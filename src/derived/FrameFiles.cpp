#include "derived/FrameFiles.h"

#include <algorithm>

#include "derived/OutputName.h"
#include "lexicon/CorpusDocument.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SentenceLabels.h"
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

// One ticked frame: its three line lists and the test document's frame element.
void writeFrame(const std::string& frame, const xml::TXpNode* trainingRoot,
                xml::TXpElement* testCorpus, const std::string& dataFolder,
                xml::TXpObjModel& lexUnitModel) {
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
      // A missing file leaves no root: its instances keep their header lines only.
      lexUnitModel.LoadDataSource(lexicon::annotationDocumentPath(dataFolder, luId));
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
  evalLines.saveToFile(dataFolder + frame + ".eval");
  trecLines.saveToFile(dataFolder + frame + ".trec");
  outLines.saveToFile(dataFolder + frame + ".out");
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

std::string createFrameFiles(const std::vector<std::string>& checkedFrames,
                             std::string_view dataFolder, FrameFilesDocuments documents,
                             FrameFilesProgress* progress) {
  for (const std::string& frame : checkedFrames) {
    std::string problem = outputNameProblem("Frame", frame);
    if (!problem.empty()) return problem;
  }
  const std::string folder(dataFolder);
  documents.test.FormattedOutput = true;
  xml::TXpElement* testCorpus = lexicon::resetToCorpusTemplate(documents.test);
  const xml::TXpNode* trainingRoot = documents.training.Document()->docGetDocumentElement();
  int done = 0;
  for (const std::string& frame : checkedFrames) {
    writeFrame(frame, trainingRoot, testCorpus, folder, documents.lexUnit);
    if (progress) progress->frameWritten(frame, ++done);
  }
  lexicon::saveDocument(documents.test, folder + std::string(kTrainingTestFile));
  return {};
}

}  // namespace sorvanta::derived
