#include "views/SentencesView.h"

#include <optional>

#include "views/QueryText.h"

namespace sorvanta::views {

namespace {

// The rows of sentenceRowText, with the texts of sentences that nest computed in one walk.
std::vector<std::string> rowsOf(const xml::TXpNodeList& sentences) {
  std::vector<std::string> rows = xml::nodeTexts(sentences);
  // Built by appending: inserting "(" + ID + ") " in front draws a false overlap warning
  // (-Wrestrict) from GCC 12 at -O3.
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string row = "(";
    row += xml::attributeText(sentences.nodes()[i], "ID");
    row += ") ";
    row += rows[i];
    rows[i] = std::move(row);
  }
  return rows;
}

// The rows of rowsOf, each with its UTF-8 when working text cannot hold it.
std::vector<text::ShownText> shownRowsOf(const xml::TXpNodeList& sentences) {
  std::vector<text::ShownText> rows = xml::nodeTextsShown(sentences);
  for (size_t i = 0; i < rows.size(); ++i) {
    const text::ShownText id = xml::attributeShown(sentences.nodes()[i], "ID");
    text::ShownText& row = rows[i];
    if (!row.unicode.empty() || !id.unicode.empty()) {
      std::string unicode = "(";
      unicode += id.utf8();
      unicode += ") ";
      unicode += row.utf8();
      row.unicode = std::move(unicode);
    }
    std::string working = "(";
    working += id.working;
    working += ") ";
    working += row.working;
    row.working = std::move(working);
  }
  return rows;
}

}  // namespace

std::string sentenceRowText(const xml::TXpNode* sentence) {
  std::string row = "(";
  row += xml::attributeText(sentence, "ID");
  row += ") ";
  if (sentence) row += sentence->noGetText();
  return row;
}

std::vector<std::string> sentenceRows(const xml::TXpNode* luRoot) {
  if (!luRoot) return {};
  return rowsOf(luRoot->SelectNodes("//sentence"));
}

std::vector<text::ShownText> sentenceRowsShown(const xml::TXpNode* luRoot) {
  if (!luRoot) return {};
  return shownRowsOf(luRoot->SelectNodes("//sentence"));
}

std::vector<text::ShownText> subcorpusSentenceRowsShown(const xml::TXpNode* luRoot,
                                                        const text::ShownText& subcorpus) {
  if (subcorpus.unicode.empty()) {
    const std::optional<std::string> predicate = attributePredicate("name", subcorpus.working);
    if (!luRoot || !predicate) return {};
    return shownRowsOf(luRoot->SelectNodes("//subcorpus" + *predicate + "//sentence"));
  }
  // A name working text cannot hold ("β" reads "?") is matched by its UTF-8, which no
  // working-text query can express.
  if (!luRoot) return {};
  xml::TXpNodeList sentences;
  for (const xml::TXpNode* entry : luRoot->SelectNodes("//subcorpus")) {
    if (xml::attributeShown(entry, "name").unicode != subcorpus.unicode) continue;
    for (xml::TXpNode* sentence : entry->SelectNodes(".//sentence")) sentences.add(sentence);
  }
  return shownRowsOf(sentences);
}

std::vector<text::ShownText> subcorpusEntriesShown(const xml::TXpNode* luRoot) {
  std::vector<text::ShownText> entries;
  if (!luRoot) return entries;
  for (const xml::TXpNode* subcorpus : luRoot->SelectNodes("//subcorpus")) {
    if (subcorpus->HasChildNodes()) entries.push_back(xml::attributeShown(subcorpus, "name"));
  }
  return entries;
}

std::vector<std::string> subcorpusEntries(const xml::TXpNode* luRoot) {
  std::vector<std::string> entries;
  for (text::ShownText& entry : subcorpusEntriesShown(luRoot))
    entries.push_back(std::move(entry.working));
  return entries;
}

std::vector<std::string> subcorpusSentenceRows(const xml::TXpNode* luRoot,
                                               std::string_view subcorpus) {
  const std::optional<std::string> predicate = attributePredicate("name", subcorpus);
  if (!luRoot || !predicate) return {};
  return rowsOf(luRoot->SelectNodes("//subcorpus" + *predicate + "//sentence"));
}

}  // namespace sorvanta::views
