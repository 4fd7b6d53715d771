#include "views/SentenceFrameElements.h"

#include "lexicon/SentenceLabels.h"
#include "text/Span.h"
#include "views/QueryText.h"

namespace sorvanta::views {

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

  const xml::TXpNode* target = lexicon::targetLabel(annotationSet);
  if (!target) return std::nullopt;
  const int32_t targetStart = lexicon::labelOffset(target, "start");
  const int32_t targetEnd = lexicon::labelOffset(target, "end");
  result.rows.push_back(
      {"Target", text::spanOf(sentText, targetStart, targetEnd), targetStart, targetEnd});

  for (const xml::TXpNode* label : lexicon::frameElementLabels(annotationSet)) {
    lexicon::LabelSpan span = lexicon::readLabelSpan(label, sentText);
    if (span.itype.empty())
      result.rows.push_back({std::move(span.name), std::move(span.text), span.start, span.end});
    else
      result.rows.push_back(
          {std::move(span.name), std::move(span.itype), std::nullopt, std::nullopt});
  }
  return result;
}

}  // namespace sorvanta::views
