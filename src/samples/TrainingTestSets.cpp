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

void addTestInstance(xml::TXpElement* testFrame, std::string_view lexUnitName,
                     std::string_view luId, std::string_view sentenceId, const xml::TXpNode* target,
                     const xml::TXpNodeList& feLabels, std::string_view sentence, bool provideFes) {
  xml::TXpElement* instance = testFrame->CreateChildElement("instance");
  instance->SetAttribute("lexunit", lexUnitName);
  instance->SetAttribute("luID", luId);
  instance->SetAttribute("sentID", sentenceId);
  xml::TXpElement* sentenceElement = instance->CreateChildElement("sentence");
  const int32_t targetStart = lexicon::labelOffset(target, "start");
  const int32_t targetEnd = lexicon::labelOffset(target, "end");
  sentenceElement->CreateChildText(sentence);
  xml::TXpElement* targetElement = instance->CreateChildElement("target");
  targetElement->CreateChildText(text::spanOf(sentence, targetStart, targetEnd));
  targetElement->SetAttribute("start", text::intToStr(targetStart));
  targetElement->SetAttribute("end", text::intToStr(targetEnd));
  if (!provideFes) return;
  xml::TXpElement* elements = instance->CreateChildElement("frame_elements");
  for (const xml::TXpNode* label : feLabels) {
    const lexicon::LabelSpan span = lexicon::readLabelSpan(label, sentence);
    xml::TXpElement* element = elements->CreateChildElement("frame_element");
    if (span.itype.empty()) element->CreateChildText(span.text);
    element->SetAttribute("name", span.name);
    element->SetAttribute("start", text::intToStr(span.start));
    element->SetAttribute("end", text::intToStr(span.end));
    if (!span.itype.empty()) element->SetAttribute("itype", span.itype);
  }
}

}  // namespace sorvanta::samples
