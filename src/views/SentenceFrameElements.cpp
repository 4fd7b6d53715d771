#include "views/SentenceFrameElements.h"

#include "text/IntegerText.h"
#include "text/Span.h"
#include "views/QueryText.h"

namespace sorvanta::views {

namespace {

// The span of sentText the label's "start" and "end" offsets cover.
std::string labelSpan(const xml::TXpNode* label, std::string_view sentText) {
  const int32_t start = text::strToInt(xml::attributeText(label, "start"));
  const int32_t end = text::strToInt(xml::attributeText(label, "end"));
  return text::spanOf(sentText, start, end);
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
  if (close + 2 < rowText.size()) result.sentence = rowText.substr(close + 2);

  const xml::TXpNode* target = annotationSet->SelectSingleNode(".//label[@name='Target']");
  if (!target) return std::nullopt;
  result.rows.push_back({"Target", labelSpan(target, sentText)});

  for (const xml::TXpNode* label : annotationSet->SelectNodes(".//layer[@name='FE']//label")) {
    std::string itype = xml::attributeText(label, "itype");
    result.rows.push_back({xml::attributeText(label, "name"),
                           itype.empty() ? labelSpan(label, sentText) : std::move(itype)});
  }
  return result;
}

}  // namespace sorvanta::views
