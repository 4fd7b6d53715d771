#include "derived/OtherRealizations.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "lexicon/SentenceLabels.h"
#include "text/FileIO.h"
#include "text/IntegerText.h"
#include "text/OrderedWork.h"
#include "text/Span.h"
#include "text/WorkingText.h"
#include "xml/XpPath.h"

namespace sorvanta::derived {

namespace {

// The node levels up from node, or none when the tree is not that deep.
const xml::TXpNode* ancestor(const xml::TXpNode* node, int levels) {
  for (int i = 0; i < levels && node; ++i) node = node->parentNode();
  return node;
}

// The "start" attribute of label, as working text, equals start (working text as well).
bool startIs(const xml::TXpNode* label, std::string_view start) {
  const xml::TXpNamedNodeMap* map = label->attributes();
  const xml::TXpAttribute* held = map ? map->getNamedItemUtf8("start") : nullptr;
  const std::string_view value = held ? held->valueUtf8() : std::string_view();
  // ASCII reads the same in both; other text is compared as working text.
  if (text::isAscii(value)) return value == start;
  return text::utf8ToWorking(value) == start;
}

// The "name" of the first of ".//label" from layer whose "start" text equals start exactly:
// a direct walk in document order, as it runs for every label.
std::string labelNameAt(const xml::TXpNode* layer, std::string_view start) {
  for (const xml::TXpNode* node = layer->noGetFirstChild(); node; node = xml::nextInSubtree(node, layer))
    if (xml::isElementNamed(node, "label") && startIs(node, start)) return xml::attributeText(node, "name");
  return {};
}

// The realization line of one FE-layer label of fe, handed to add; none when the label does
// not sit at the depth of an annotated lexical unit.
template <typename Add>
void addLabelLine(const xml::TXpNode* label, std::string_view fe, Add& add) {
  // label, label container, layer, layer container, annotation set, subcorpus, lexical unit
  const xml::TXpNode* head = ancestor(label, 6);
  if (!head) return;
  const std::string start = xml::attributeText(label, "start");
  const std::string end = xml::attributeText(label, "end");
  const std::string itype = start.empty() ? xml::attributeText(label, "itype") : std::string();
  std::string line = xml::attributeText(head, "frame") + '\t' + std::string(fe) + '\t' +
                     xml::attributeText(head, "name");
  if (!itype.empty()) {
    add(line + '\t' + itype);
    return;
  }
  const xml::TXpNode* layers = ancestor(label, 3);
  const xml::TXpNode* sentence = layers->noGetNextSibling();
  const xml::TXpNode* feLayer = ancestor(label, 2);
  if (const xml::TXpNode* functions = feLayer->noGetNextSibling()) {
    const std::string function = labelNameAt(functions, start);
    if (!function.empty()) line += '\t' + function;
    if (const xml::TXpNode* phrases = functions->noGetNextSibling()) {
      const std::string phrase = labelNameAt(phrases, start);
      if (!phrase.empty()) {
        line += '\t' + phrase;
        if (phrase == "PP") {
          const std::string span = text::spanOf(sentence ? sentence->noGetText() : std::string(),
                                                text::strToInt(start), text::strToInt(end));
          const size_t space = span.find(' ');
          line += '\t' + (space == std::string::npos ? std::string() : span.substr(0, space));
        }
      }
    }
  }
  add(std::move(line));
}

// The realization lines of fe in the document of model, each handed to add.
template <typename Add>
void addRealizationLines(xml::TXpObjModel& model, std::string_view fe, Add add) {
  const xml::TXpNode* root = model.Document()->docGetDocumentElement();
  if (!root) return;
  const std::string query = "//layer[@name='FE']//label[@name='" + std::string(fe) + "']";
  for (const xml::TXpNode* label : root->SelectNodes(query)) addLabelLine(label, fe, add);
}

// The lines of several frame elements in one document from one query of its FE-layer labels:
// those of fe are the labels whose name is fe, in the order the query per fe gives them.
class DocumentRealizations {
 public:
  explicit DocumentRealizations(xml::TXpObjModel& model) : model_(model) {}

  template <typename Add>
  void add(std::string_view fe, Add add) {
    // A name with a quote ends the query's literal: the query per fe reports it as it always has.
    if (fe.find('\'') != std::string_view::npos) return addRealizationLines(model_, fe, add);
    const xml::TXpNode* root = model_.Document()->docGetDocumentElement();
    if (!root) return;
    if (!queried_) {
      // "//layer[@name='FE']//label", walked directly from the document node.
      labels_ = lexicon::frameElementLabels(model_.Document());
      queried_ = true;
    }
    const std::string name = text::workingToUtf8(fe);
    for (const xml::TXpNode* label : labels_) {
      const xml::TXpNamedNodeMap* attributes = label->attributes();
      const xml::TXpAttribute* held = attributes ? attributes->getNamedItemUtf8("name") : nullptr;
      if (held && held->valueUtf8() == name) addLabelLine(label, fe, add);
    }
  }

 private:
  xml::TXpObjModel& model_;
  bool queried_ = false;
  xml::TXpNodeList labels_;
};

// Lines in the order, and with the refusal of equal lines, of text::SortedTextLines added one
// by one: of lines equal but for case, the first added stays. Exact repeats (most lines) are
// dropped by hash first; the rest are sorted once, stably, so the first of equals comes first.
class AlterLines {
 public:
  // line must stay where it is until sorted() has been called.
  void add(std::string& line) {
    if (seen_.insert(line).second) lines_.push_back(&line);
  }
  text::SortedTextLines sorted() {
    std::stable_sort(lines_.begin(), lines_.end(), [](const std::string* a, const std::string* b) {
      return text::compareTextIgnoreCase(*a, *b) < 0;
    });
    text::SortedTextLines result;
    for (std::string* line : lines_) result.add(std::move(*line));  // refuses the later equals
    return result;
  }

 private:
  std::unordered_set<std::string_view> seen_;
  std::vector<std::string*> lines_;
};

// The second TAB-separated field of a line, or empty text when it has none.
std::string_view secondField(std::string_view line) {
  const size_t first = line.find('\t');
  if (first == std::string_view::npos) return {};
  const std::string_view rest = line.substr(first + 1);
  return rest.substr(0, rest.find('\t'));
}

}  // namespace

std::string takeWord(std::string& rest) {
  const size_t space = rest.find(' ');
  if (space == std::string::npos) return {};
  std::string word = rest.substr(0, space);
  const size_t next = rest.find_first_not_of(' ', space);
  rest.erase(0, next == std::string::npos ? rest.size() : next);
  return word;
}

void AddFeRealizationLines(xml::TXpObjModel& model, std::string_view fe,
                           text::SortedTextLines& alterLines) {
  addRealizationLines(model, fe, [&](std::string line) { alterLines.add(std::move(line)); });
}

RealizationsResult findOtherRealizations(std::string_view preposition, std::string_view folder,
                                         const xml::TXpNode* framesRoot,
                                         xml::TXpObjModel& lexUnitModel,
                                         text::Progress& progress, unsigned jobs) {
  RealizationsResult result;
  const auto refuse = [&result](std::string text) -> RealizationsResult& {
    result.outcome = text::Outcome::refused(std::string(kPrepositionCaption), std::move(text));
    return result;
  };
  if (std::string_view problem = lexicon::framesDocumentProblem(framesRoot); !problem.empty()) {
    result.outcome =
        text::Outcome::refused(std::string(lexicon::kProgramCaption), std::string(problem));
    return result;
  }
  if (preposition.empty()) return refuse(std::string(kNoPrepositionMessage));
  if (std::optional<text::Outcome> refused = refusePrepositionName(preposition)) {
    result.outcome = std::move(*refused);
    return result;
  }
  const std::string listPath = prepositionListPath(folder, preposition);
  text::TextLines lines;
  if (!text::fileExists(listPath)) return refuse(std::string(kNoPrepositionFileMessage));
  if (!lines.loadFromFile(listPath))
    return refuse("Cannot read the preposition file " + listPath + ".");
  result.linesRead = lines.size();
  progress.count(kListLinesCounter, static_cast<int64_t>(lines.size()));

  // The passes of the list: each a frame element and the subcorpus documents of its frame's
  // annotated lexical units. Different frame elements of one frame use the same documents.
  struct Pass {
    std::string fe;
    std::vector<size_t> documents;  // indexes into paths
  };
  std::vector<Pass> passes;
  std::vector<std::string> paths;  // each document once, in the order first used
  std::vector<std::vector<std::pair<size_t, size_t>>> usesOf;  // per document: (pass, place)
  std::unordered_map<std::string, size_t> indexOf;
  std::unordered_map<std::string, std::vector<size_t>> documentsOfFrame;  // indexes into paths
  std::string previousFrame;
  std::string previousFe;
  for (size_t k = 0; k < lines.size(); ++k) {
    if (progress.cancelled()) {
      result.outcome = text::Outcome::cancelled();
      return result;
    }
    std::string rest = lines[k];
    std::replace(rest.begin(), rest.end(), '\t', ' ');
    const std::string frameName = takeWord(rest);
    const std::string fe = takeWord(rest);
    const bool passOver =
        secondField(lines[k]) == kNoInstances || (frameName == previousFrame && fe == previousFe);
    if (!passOver) {
      ++result.framesWorked;
      Pass pass{fe, {}};
      // A frame's documents are looked up once, for its first pass.
      auto [known, first] = documentsOfFrame.try_emplace(frameName);
      if (first) {
        const xml::TXpNode* frame =
            framesRoot ? framesRoot->SelectSingleNode("//frame[@name='" + frameName + "']") : nullptr;
        if (frame) {
          for (const xml::TXpNode* lexUnit : frame->SelectNodes(".//lexunit")) {
            if (lexUnit->SelectInteger("./annotation/annotated") == 0) continue;
            std::string path =
                lexicon::subcorpusDocumentPath(folder, xml::attributeText(lexUnit, "ID"));
            if (!text::fileExists(path)) continue;
            const auto [it, added] = indexOf.try_emplace(path, paths.size());
            if (added) {
              paths.push_back(std::move(path));
              usesOf.emplace_back();
            }
            known->second.push_back(it->second);
          }
        }
      }
      for (size_t document : known->second) {
        usesOf[document].emplace_back(passes.size(), pass.documents.size());
        pass.documents.push_back(document);
      }
      result.documentsRead += pass.documents.size();
      passes.push_back(std::move(pass));
      previousFrame = frameName;
      previousFe = fe;
    }
    progress.count(kNextLineCounter, static_cast<int64_t>(k + 2));
  }

  // Each document parsed once, for every pass that uses it; the lines of each (pass, document)
  // are kept apart, with the error their gathering met, to be merged in the order of the list.
  struct Gathered {
    std::vector<std::string> lines;
    std::exception_ptr error;
  };
  std::vector<std::vector<Gathered>> gathered(passes.size());
  for (size_t p = 0; p < passes.size(); ++p) gathered[p].resize(passes[p].documents.size());
  // The document the last load of the passes read stays in lexUnitModel afterwards.
  const std::optional<size_t> lastDocument =
      passes.empty() || passes.back().documents.empty()
          ? std::nullopt
          : std::optional<size_t>(passes.back().documents.back());
  struct Parsed {
    std::vector<Gathered> uses;  // in the order of usesOf
    std::unique_ptr<xml::TXpObjModel> model;  // kept for the last document only
  };
  bool cancelled = false;
  text::orderedWork<Parsed>(
      paths.size(), jobs,
      [&](size_t d) {
        Parsed parsed;
        auto model = std::make_unique<xml::TXpObjModel>();
        model->LoadDataSource(paths[d]);
        DocumentRealizations realizations(*model);
        for (const auto& [pass, place] : usesOf[d]) {
          (void)place;
          Gathered& each = parsed.uses.emplace_back();
          try {
            realizations.add(passes[pass].fe,
                             [&](std::string line) { each.lines.push_back(std::move(line)); });
          } catch (...) {
            each.error = std::current_exception();
          }
        }
        if (d == lastDocument) parsed.model = std::move(model);
        return parsed;
      },
      [&](size_t d, Parsed parsed) {
        for (size_t u = 0; u < usesOf[d].size(); ++u) {
          const auto [pass, place] = usesOf[d][u];
          gathered[pass][place] = std::move(parsed.uses[u]);
        }
        if (parsed.model) lexUnitModel.swapDocument(*parsed.model);
        ++result.documentsParsed;
        progress.count(kDocumentsParsedCounter, static_cast<int64_t>(result.documentsParsed));
        cancelled = progress.cancelled();
        return !cancelled;
      });
  if (cancelled) {
    result.outcome = text::Outcome::cancelled();
    return result;
  }
  AlterLines alterLines;
  for (std::vector<Gathered>& pass : gathered) {
    for (Gathered& each : pass) {
      for (std::string& line : each.lines) alterLines.add(line);
      if (each.error) std::rethrow_exception(each.error);
    }
  }
  text::SortedTextLines sorted = alterLines.sorted();
  result.outputPath = prepositionAlternativesPath(folder, preposition);
  sorted.saveToFile(result.outputPath);
  result.outcome.filesWritten.push_back(result.outputPath);
  result.realizationLines = sorted.size();
  return result;
}

}  // namespace sorvanta::derived
