#include "views/SentenceFrameElements.h"

#include "text/IntegerText.h"
#include "text/Span.h"
#include "views/QueryText.h"

namespace sorvanta::views {

namespace {

// The row of a label that covers the span of sentText its "start" and "end" offsets give.
SentenceLabelRow spanRow(std::string caption, const xml::TXpNode* label,
                         std::string_view sentText) {
  const int32_t start = text::strToInt(xml::attributeText(label, "start"));
  const int32_t end = text::strToInt(xml::attributeText(label, "end"));
  return {std::move(caption), text::spanOf(sentText, start, end), start, end};
}

}  // namespace

std::optional<SentenceFrameElements> sentenceFrameElements(const xml::TXpNode* luRoot,
                                                           std::string_view rowText,
                                                           std::string_view frameName,
                                                           std::string_view lexUnitName) {
  if (!luRoot || rowText.empty() || rowText.front() != '(') return std::nullopt;
  const size_t close = rowText.find(')');  // the first ")" ends the ID; the text may hold more
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view sentenceId = rowText.substr(1, close - 1);
  // An empty literal would also match sentences that have no ID at all.
  if (sentenceId.empty()) return std::nullopt;

  const std::optional<std::string> predicate = attributePredicate("ID", sentenceId);
  if (!predicate) return std::nullopt;
  const xml::TXpNode* sentence = luRoot->SelectSingleNode("//sentence" + *predicate);
  const xml::TXpNode* annotationSet = sentence ? sentence->parentNode() : nullptr;
  if (!annotationSet) return std::nullopt;
  const std::string sentText = sentence->noGetText();

  SentenceFrameElements result;
  result.frame = frameName;
  result.lexicalUnit = lexUnitName;
  result.sentenceId = sentenceId;
  if (close + 2 < rowText.size()) result.sentence = rowText.substr(close + 2);

  const xml::TXpNode* target = annotationSet->SelectSingleNode(".//label[@name='Target']");
  if (!target) return std::nullopt;
  result.rows.push_back(spanRow("Target", target, sentText));

  for (const xml::TXpNode* label : annotationSet->SelectNodes(".//layer[@name='FE']//label")) {
    std::string name = xml::attributeText(label, "name");
    std::string itype = xml::attributeText(label, "itype");
    if (itype.empty())
      result.rows.push_back(spanRow(std::move(name), label, sentText));
    else
      result.rows.push_back({std::move(name), std::move(itype), std::nullopt, std::nullopt});
  }
  return result;
}

}  // namespace sorvanta::views
