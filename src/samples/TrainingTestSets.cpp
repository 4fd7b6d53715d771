#include "samples/TrainingTestSets.h"

#include "lexicon/SentenceLabels.h"
#include "text/Errors.h"
#include "text/IntegerText.h"
#include "text/Span.h"

namespace sorvanta::samples {

std::string answerLine(std::string_view frame, std::string_view sentenceId,
                       const xml::TXpNodeList& feLabels) {
  std::string line;
  line.reserve(frame.size() + sentenceId.size() + 24 * feLabels.nodes().size());
  line.append(frame).append(".").append(sentenceId);
  for (const xml::TXpNode* label : feLabels) {
    // The offsets lexicon::readLabelSpan reads, in the same order; the span text is not needed
    // here.
    const xml::TXpAttribute* itype = label->attributes()->GetNamedItem("itype");
    const bool nullInstance = itype && !itype->valueUtf8().empty();
    const int32_t start = nullInstance ? 0 : lexicon::labelOffset(label, "start");
    const int32_t end = nullInstance ? 0 : lexicon::labelOffset(label, "end");
    line.append(" ").append(xml::attributeText(label, "name")).append(" (");
    line.append(text::intToStr(start)).append(",").append(text::intToStr(end)).append(")");
  }
  return line;
}

void writeTestInstance(xml::XpMarkupWriter& testSet, std::string_view lexUnitName,
                       std::string_view luId, std::string_view sentenceId,
                       const xml::TXpNode* target, const xml::TXpNodeList& feLabels,
                       std::string_view sentence, bool provideFes) {
  // The offsets are read in the order the elements of the instance need them, so a label
  // that is not an integer stops the run at the same one whatever is written.
  testSet.startElement("instance");
  testSet.workingAttribute("lexunit", lexUnitName);
  testSet.workingAttribute("luID", luId);
  testSet.workingAttribute("sentID", sentenceId);
  const int32_t targetStart = lexicon::labelOffset(target, "start");
  const int32_t targetEnd = lexicon::labelOffset(target, "end");
  testSet.startElement("sentence");
  testSet.workingText(sentence);
  testSet.endElement();
  testSet.startElement("target");
  testSet.attribute("start", text::intToStr(targetStart));
  testSet.attribute("end", text::intToStr(targetEnd));
  testSet.workingText(text::spanOf(sentence, targetStart, targetEnd));
  testSet.endElement();
  if (provideFes) {
    testSet.startElement("frame_elements");
    for (const xml::TXpNode* label : feLabels) {
      const lexicon::LabelSpan span = lexicon::readLabelSpan(label, sentence);
      testSet.startElement("frame_element");
      testSet.workingAttribute("name", span.name);
      testSet.attribute("start", text::intToStr(span.start));
      testSet.attribute("end", text::intToStr(span.end));
      if (!span.itype.empty())
        testSet.workingAttribute("itype", span.itype);
      else
        testSet.workingText(span.text);
      testSet.endElement();
    }
    testSet.endElement();
  }
  testSet.endElement();
}

}  // namespace sorvanta::samples
