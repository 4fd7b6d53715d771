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
  const text::ShownText sentText = xml::textShown(sentence);

  SentenceFrameElements result;
  result.frame = frameName;
  result.lexicalUnit = lexUnitName;
  result.sentenceId = sentenceId;
  if (close + 2 < rowText.size()) result.sentence = rowText.substr(close + 2);
  // Spans of the UTF-8 are read only when the sentence shown is this sentence's text.
  const bool unicodeSpans = !sentText.unicode.empty() && result.sentence == sentText.working;
  if (unicodeSpans) result.sentenceUnicode = sentText.unicode;
  const auto unicodeSpan = [&](int32_t start, int32_t end) {
    return unicodeSpans ? text::utf8ToShown(text::utf8SpanOf(sentText.unicode, start, end)).unicode
                        : std::string();
  };

  const xml::TXpNode* target = lexicon::targetLabel(annotationSet);
  if (!target) return std::nullopt;
  const int32_t targetStart = lexicon::labelOffset(target, "start");
  const int32_t targetEnd = lexicon::labelOffset(target, "end");
  SentenceLabelRow& targetRow = result.rows.emplace_back();
  targetRow.caption = "Target";
  targetRow.text = text::spanOf(sentText.working, targetStart, targetEnd);
  targetRow.start = targetStart;
  targetRow.end = targetEnd;
  targetRow.textUnicode = unicodeSpan(targetStart, targetEnd);

  for (const xml::TXpNode* label : lexicon::frameElementLabels(annotationSet)) {
    lexicon::LabelSpan span = lexicon::readLabelSpan(label, sentText.working);
    SentenceLabelRow& row = result.rows.emplace_back();
    row.caption = std::move(span.name);
    row.captionUnicode = xml::attributeShown(label, "name").unicode;
    if (span.itype.empty()) {
      row.text = std::move(span.text);
      row.start = span.start;
      row.end = span.end;
      row.textUnicode = unicodeSpan(span.start, span.end);
    } else {
      row.text = std::move(span.itype);
      row.textUnicode = xml::attributeShown(label, "itype").unicode;
    }
  }
  return result;
}

}  // namespace sorvanta::views
