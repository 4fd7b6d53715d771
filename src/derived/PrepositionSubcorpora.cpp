#include "derived/PrepositionSubcorpora.h"

#include <memory>
#include <optional>

#include "derived/OutputName.h"
#include "lexicon/DataFolder.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SkippedDocument.h"
#include "text/Errors.h"
#include "text/FileIO.h"
#include "text/IntegerText.h"
#include "text/OrderedWork.h"
#include "text/OutputSet.h"
#include "text/TextLines.h"
#include "text/WorkingText.h"

namespace sorvanta::derived {

namespace {

constexpr std::string_view kSentencesHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DOCS>\n";
constexpr std::string_view kSentencesFooter = "</DOCS>\n";

// Appends working text to the sentences file as UTF-8 with '&', '<' and '>' escaped, so the
// file is the well-formed XML its declaration announces.
void appendEscaped(std::string& out, std::string_view working) {
  std::string escaped;
  escaped.reserve(working.size());
  for (char c : working) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  out += text::isAscii(escaped) ? escaped : text::workingToUtf8(escaped);
}

// The fields joined by single TABs.
std::string joinFields(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) line += '\t';
    first = false;
    line += field;
  }
  return line;
}

}  // namespace

std::optional<text::Outcome> refusePrepositionName(std::string_view preposition) {
  // The empty preposition names "pp-.txt" and its siblings, which stay inside the folder.
  if (preposition.empty()) return std::nullopt;
  // "pp-" and ".alters.txt" are the longest affixes of the study's three files.
  std::string problem = outputNameProblem("Preposition", preposition, 14);
  if (problem.empty()) return std::nullopt;
  return text::Outcome::refused(std::string(kPrepositionCaption), std::move(problem));
}

std::string prepositionSentencesPath(std::string_view folder, std::string_view preposition) {
  return std::string(folder) + "pp-" + std::string(preposition) + ".sents.xml";
}

std::string prepositionListPath(std::string_view folder, std::string_view preposition) {
  return std::string(folder) + "pp-" + std::string(preposition) + ".txt";
}

std::string prepositionAlternativesPath(std::string_view folder, std::string_view preposition) {
  return std::string(folder) + "pp-" + std::string(preposition) + ".alters.txt";
}

char lowerWorkingChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
    return static_cast<char>(byte + 0x20);
  if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<char>(byte + 0x10);
  if (byte == 0x9F) return static_cast<char>(0xFF);
  return c;
}

std::optional<PrepositionPhrase> findPrepositionPhrase(const xml::TXpNode* annotationSet,
                                                       std::string_view sentenceText,
                                                       std::string_view preposition) {
  if (!annotationSet) return std::nullopt;
  const auto length = static_cast<long long>(preposition.size());
  const auto textLength = static_cast<long long>(sentenceText.size());
  for (const xml::TXpNode* label : annotationSet->SelectNodes(".//label[@name='PP']")) {
    const int32_t start = text::strToInt(xml::attributeText(label, "start"));
    // The preposition must be followed by a space, so the text reaches past its end.
    if (start < 0 || start + length >= textLength) continue;
    if (sentenceText[static_cast<size_t>(start + length)] != ' ') continue;
    bool same = true;
    for (long long i = 0; i < length && same; ++i)
      same = lowerWorkingChar(sentenceText[static_cast<size_t>(start + i)]) ==
             preposition[static_cast<size_t>(i)];
    if (!same) continue;
    const xml::TXpNodeList starts = annotationSet->SelectNodes(
        ".//layer[@name='FE']//label[@start='" + text::intToStr(start) + "']");
    if (starts.nlGetLength() != 1) continue;
    std::string frameElement = xml::attributeText(starts.Item(0), "name");
    if (!frameElement.empty()) return PrepositionPhrase{start, std::move(frameElement)};
  }
  return std::nullopt;
}

SubcorporaResult selectSubcorpora(const SubcorporaRequest& request, xml::TXpObjModel& lexUnitModel,
                                  text::Progress& progress) {
  const int32_t low = text::strToInt(request.lowText);
  const int32_t high = text::strToInt(request.highText);
  const std::string& p = request.preposition;
  SubcorporaResult result;
  if (std::optional<text::Outcome> refused = refusePrepositionName(p)) {
    result.outcome = std::move(*refused);
    return result;
  }
  result.sentencesPath = prepositionSentencesPath(request.folder, p);
  result.listPath = prepositionListPath(request.folder, p);

  std::string sentences(kSentencesHeader);
  text::TextLines lines;
  const std::string marker = "-pp" + p;
  // The documents that exist in the range, from one listing: the same ones, in the same order,
  // as trying every ID, without trying four billion of them.
  const std::vector<int32_t> ids = lexicon::subcorpusDocumentIds(request.folder, low, high);
  lexicon::SkippedDocuments skipped;
  text::Outcome warnings;
  // One document's share of the outputs, gathered on a worker thread.
  struct DocumentPart {
    bool exists = false;
    std::string warning;  // the load failed: why
    std::vector<std::string> lines;
    std::string sentences;
    int selected = 0;
    int empty = 0;
    std::unique_ptr<xml::TXpObjModel> model;  // kept for the last document only
  };
  bool cancelled = !ids.empty() && progress.cancelled();  // polled before each document
  if (!cancelled) text::orderedWork<DocumentPart>(
      ids.size(), request.jobs,
      [&](size_t i) {
        DocumentPart part;
        const std::string path = lexicon::subcorpusDocumentPath(request.folder, text::intToStr(ids[i]));
        part.exists = text::fileExists(path);  // it may have gone since the listing
        if (!part.exists) return part;
        auto model = std::make_unique<xml::TXpObjModel>();
        if (!model->LoadDataSource(path)) {
          part.warning = lexicon::skippedDocumentText(path, *model);
        } else {
          const xml::TXpNode* root = model->Document();
          const xml::TXpNode* head = root->SelectSingleNode("//lexunit-annotation");
          const std::string lexUnit = xml::attributeText(head, "name");
          const std::string frame = xml::attributeText(head, "frame");
          for (const xml::TXpNode* subcorpus : root->SelectNodes("//subcorpus")) {
            const std::string name = xml::attributeText(subcorpus, "name");
            if (name.find(marker) == std::string::npos) continue;
            if (!subcorpus->HasChildNodes()) {
              part.lines.push_back(joinFields({frame, kNoInstances, lexUnit, name}));
              ++part.empty;
              continue;
            }
            for (const xml::TXpNode* set = subcorpus->noGetFirstChild(); set;
                 set = set->noGetNextSibling()) {
              const xml::TXpNode* sentence = set->noGetLastChild();
              if (!sentence) continue;
              const std::string sentenceText = sentence->noGetText();
              std::optional<PrepositionPhrase> phrase = findPrepositionPhrase(set, sentenceText, p);
              if (!phrase) continue;
              const std::string sentenceId = xml::attributeText(sentence, "ID");
              const std::string position = text::intToStr(int64_t{phrase->start} + 1);
              part.lines.push_back(joinFields(
                  {frame, phrase->frameElement, lexUnit, name, sentenceId + "-" + position}));
              part.sentences += "<DOC>\n<DOCNO>";
              appendEscaped(part.sentences, p + "-" + sentenceId + "-" + position);
              part.sentences += "</DOCNO>\n<TEXT>";
              appendEscaped(part.sentences, sentenceText);
              part.sentences += "</TEXT>\n</DOC>\n";
              ++part.selected;
            }
          }
        }
        if (i + 1 == ids.size()) part.model = std::move(model);
        return part;
      },
      [&](size_t i, DocumentPart part) {
        if (part.exists) {
          // A document that cannot be read is skipped with a warning, not counted as read.
          if (!part.warning.empty()) {
            skipped.add(lexicon::subcorpusDocumentPath(request.folder, text::intToStr(ids[i])),
                        part.warning, warnings);
          } else {
            ++result.documentsRead;
            for (std::string& line : part.lines) lines.add(std::move(line));
            sentences += part.sentences;
            result.sentencesSelected += part.selected;
            result.emptySubcorpora += part.empty;
          }
          // The last document read stays in lexUnitModel, as had every document been read there.
          if (part.model) lexUnitModel.swapDocument(*part.model);
        }
        progress.count(kLexUnitTriedCounter, ids[i]);
        cancelled = progress.cancelled();
        return !cancelled;
      });
  if (cancelled) {
    result.outcome = text::Outcome::cancelled();
    return result;
  }
  // The progress ends on the range's end, as when every ID was tried.
  if (low <= high && (ids.empty() || ids.back() != high)) progress.count(kLexUnitTriedCounter, high);
  sentences += kSentencesFooter;

  // The sentences file and the list form one data set: both are replaced, or neither.
  text::OutputSet files;
  files.add(result.sentencesPath, sentences);
  files.add(result.listPath, lines.text());
  const std::vector<std::string> targets = files.targets();
  files.commit();
  result.outcome.filesWritten = targets;
  result.outcome.notices = std::move(warnings.notices);
  return result;
}

}  // namespace sorvanta::derived
