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

// The UTF-8 value of node's attribute name; empty when absent.
std::string_view attributeUtf8(const xml::TXpNode* node, std::string_view name) {
  const xml::TXpNamedNodeMap* map = node->attributes();
  const xml::TXpAttribute* held = map ? map->getNamedItemUtf8(name) : nullptr;
  return held ? held->valueUtf8() : std::string_view();
}

// Appends UTF-8 text to line as working text.
void appendWorking(std::string& line, std::string_view utf8) {
  if (text::isAscii(utf8))
    line += utf8;
  else
    line += text::utf8ToWorking(utf8);
}

// The first of ".//label" from layer whose "start" text equals start exactly: a direct walk
// in document order, as it runs for every label.
const xml::TXpNode* labelAt(const xml::TXpNode* layer, std::string_view start) {
  for (const xml::TXpNode* node = layer->noGetFirstChild(); node; node = xml::nextInSubtree(node, layer))
    if (xml::isElementNamed(node, "label") && startIs(node, start)) return node;
  return nullptr;
}

// What the lines of one document share, kept from the label before: the line's start (frame,
// frame element and lexical unit) for the same lexical-unit element and frame element, and the
// working text of the same sentence, as the labels of a sentence come one after another.
class LineParts {
 public:
  const std::string& startOf(const xml::TXpNode* head, std::string_view fe) {
    if (head != head_ || fe != fe_) {
      head_ = head;
      fe_.assign(fe);
      start_.clear();
      xml::appendAttributeText(start_, head, "frame");
      start_ += '\t';
      start_ += fe;
      start_ += '\t';
      xml::appendAttributeText(start_, head, "name");
    }
    return start_;
  }
  // The buffer a line is built in, kept to spare an allocation per label.
  std::string& line() { return line_; }
  const std::string& textOf(const xml::TXpNode* sentence) {
    if (sentence != sentence_) {
      sentence_ = sentence;
      text_ = sentence ? sentence->noGetText() : std::string();
    }
    return text_;
  }

 private:
  const xml::TXpNode* head_ = nullptr;
  std::string fe_, start_;
  const xml::TXpNode* sentence_ = nullptr;
  std::string text_, line_;
};

// The realization line of one FE-layer label of fe, handed to add (valid until the next line
// built with parts); none when the label does not sit at the depth of an annotated lexical
// unit. The line is built in place: frame, fe and lexical unit, then the label's itype, or the
// names of the grammatical-function and phrase-type labels at its start, and for a PP the
// first word of its span.
template <typename Add>
void addLabelLine(const xml::TXpNode* label, std::string_view fe, LineParts& parts, Add& add) {
  // label, label container, layer, layer container, annotation set, subcorpus, lexical unit
  const xml::TXpNode* head = ancestor(label, 6);
  if (!head) return;
  std::string& line = parts.line();
  line = parts.startOf(head, fe);
  const std::string_view startUtf8 = attributeUtf8(label, "start");
  if (startUtf8.empty()) {
    const std::string_view itype = attributeUtf8(label, "itype");
    if (!itype.empty()) {
      line += '\t';
      appendWorking(line, itype);
      add(std::as_const(line));
      return;
    }
  }
  const std::string start = text::utf8ToWorking(startUtf8);
  const xml::TXpNode* layers = ancestor(label, 3);
  const xml::TXpNode* feLayer = ancestor(label, 2);
  if (const xml::TXpNode* functions = feLayer->noGetNextSibling()) {
    if (const xml::TXpNode* function = labelAt(functions, start)) {
      if (const std::string_view name = attributeUtf8(function, "name"); !name.empty()) {
        line += '\t';
        appendWorking(line, name);
      }
    }
    if (const xml::TXpNode* phrases = functions->noGetNextSibling()) {
      const xml::TXpNode* phrase = labelAt(phrases, start);
      const std::string_view name = phrase ? attributeUtf8(phrase, "name") : std::string_view();
      if (!name.empty()) {
        line += '\t';
        appendWorking(line, name);
        if (name == "PP") {
          const std::string& sentence = parts.textOf(layers->noGetNextSibling());
          const std::string span = text::spanOf(sentence, text::strToInt(start),
                                                text::strToInt(text::utf8ToWorking(attributeUtf8(label, "end"))));
          const size_t space = span.find(' ');
          line += '\t';
          if (space != std::string::npos) line.append(span, 0, space);
        }
      }
    }
  }
  add(std::as_const(line));
}

// The realization lines of fe in the document of model, each handed to add.
template <typename Add>
void addRealizationLines(xml::TXpObjModel& model, std::string_view fe, Add add) {
  const xml::TXpNode* root = model.Document()->docGetDocumentElement();
  if (!root) return;
  const std::string query = "//layer[@name='FE']//label[@name='" + std::string(fe) + "']";
  LineParts parts;
  for (const xml::TXpNode* label : root->SelectNodes(query)) addLabelLine(label, fe, parts, add);
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
      // "//layer[@name='FE']//label", walked directly from the document node, and grouped by
      // name: several frame elements are asked for in one document.
      for (const xml::TXpNode* label : lexicon::frameElementLabels(model_.Document())) {
        const xml::TXpNamedNodeMap* attributes = label->attributes();
        if (const xml::TXpAttribute* held = attributes ? attributes->getNamedItemUtf8("name") : nullptr)
          labelsNamed_[held->valueUtf8()].push_back(label);
      }
      queried_ = true;
    }
    const auto found = labelsNamed_.find(text::workingToUtf8(fe));
    if (found == labelsNamed_.end()) return;
    for (const xml::TXpNode* label : found->second) addLabelLine(label, fe, parts_, add);
  }

 private:
  xml::TXpObjModel& model_;
  bool queried_ = false;
  std::unordered_map<std::string_view, std::vector<const xml::TXpNode*>> labelsNamed_;
  LineParts parts_;
};

// Lines in the order, and with the refusal of equal lines, of text::SortedTextLines added one
// by one: of lines equal but for case, the first added stays. Exact repeats (most lines) are
// dropped by hash first; the rest are sorted stably, so the first of equals comes first. Lines
// are sorted in runs as they come (settle()) and each run merged, stably, into those before, so
// most of the sorting is done while documents are still being read.
class AlterLines {
 public:
  // line must stay where it is until sorted() has been called.
  void add(std::string& line) {
    if (seen_.insert(line).second) lines_.push_back(&line);
  }
  // Sorts the lines added since the last run into those before, once there are enough of them.
  void settle(size_t least = 4096) {
    if (lines_.size() - sortedCount_ < least) return;
    const auto middle = lines_.begin() + static_cast<std::ptrdiff_t>(sortedCount_);
    std::stable_sort(middle, lines_.end(), lessIgnoringCase);
    std::inplace_merge(lines_.begin(), middle, lines_.end(), lessIgnoringCase);
    sortedCount_ = lines_.size();
  }
  text::SortedTextLines sorted() {
    settle(1);
    text::SortedTextLines result;
    for (std::string* line : lines_) result.add(std::move(*line));  // refuses the later equals
    return result;
  }

 private:
  static bool lessIgnoringCase(const std::string* a, const std::string* b) {
    return text::compareTextIgnoreCase(*a, *b) < 0;
  }
  std::unordered_set<std::string_view> seen_;
  std::vector<std::string*> lines_;
  size_t sortedCount_ = 0;  // lines_ sorted up to here
};

// What "//frame[@name='NAME']" selects first from the frames document, for many names: the
// frame elements by name, from one walk in document order on the first look-up.
class FrameFinder {
 public:
  explicit FrameFinder(const xml::TXpNode* framesRoot) : root_(framesRoot) {}

  const xml::TXpNode* find(const std::string& name) {
    if (!root_) return nullptr;
    // A quote ends the query's literal: such a name is looked up as it always was.
    if (name.find('\'') != std::string::npos)
      return root_->SelectSingleNode("//frame[@name='" + name + "']");
    if (!walked_) {
      const xml::TXpNode* top = root_;
      while (top->parentNode()) top = top->parentNode();
      for (const xml::TXpNode* node = top; node; node = xml::nextInSubtree(node, top)) {
        if (!xml::isElementNamed(node, "frame")) continue;
        const xml::TXpNamedNodeMap* map = node->attributes();
        if (const xml::TXpAttribute* held = map ? map->getNamedItemUtf8("name") : nullptr)
          byName_.try_emplace(held->valueUtf8(), node);
      }
      walked_ = true;
    }
    const auto found = byName_.find(text::isAscii(name) ? name : text::workingToUtf8(name));
    return found == byName_.end() ? nullptr : found->second;
  }

 private:
  const xml::TXpNode* root_;
  bool walked_ = false;
  std::unordered_map<std::string_view, const xml::TXpNode*> byName_;  // names in the tree
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
  addRealizationLines(model, fe, [&](const std::string& line) { alterLines.add(line); });
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
  FrameFinder frames(framesRoot);
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
        const xml::TXpNode* frame = frames.find(frameName);
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
  // The lines of a pass join the output as soon as all its documents are in, in the order of
  // the passes, so the merge runs while later documents are still being read.
  AlterLines alterLines;
  std::vector<size_t> documentsNeeded;  // per pass: documents read before its lines are all in
  for (const Pass& pass : passes)
    documentsNeeded.push_back(pass.documents.empty()
                                  ? 0
                                  : *std::max_element(pass.documents.begin(), pass.documents.end()) + 1);
  size_t passesMerged = 0;
  const auto mergeReadyPasses = [&](size_t documentsIn) {
    for (; passesMerged < passes.size(); ++passesMerged) {
      if (documentsNeeded[passesMerged] > documentsIn) break;
      for (Gathered& each : gathered[passesMerged]) {
        for (std::string& line : each.lines) alterLines.add(line);
        if (each.error) std::rethrow_exception(each.error);
      }
    }
    alterLines.settle();
  };
  mergeReadyPasses(0);
  bool cancelled = false;
  text::orderedWork<Parsed>(
      paths.size(), jobs,
      [&](size_t d) {
        Parsed parsed;
        auto model = std::make_unique<xml::TXpObjModel>();
        model->LoadDataSource(paths[d]);
        DocumentRealizations realizations(*model);
        // A line seen before in this document is dropped here, on the worker: the merge keeps
        // only the first of exact repeats anyway, and earlier uses of a document come first.
        std::unordered_set<std::string> seen;
        for (const auto& [pass, place] : usesOf[d]) {
          (void)place;
          Gathered& each = parsed.uses.emplace_back();
          try {
            realizations.add(passes[pass].fe, [&](const std::string& line) {
              if (seen.insert(line).second) each.lines.push_back(line);
            });
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
        mergeReadyPasses(d + 1);
        progress.count(kDocumentsParsedCounter, static_cast<int64_t>(result.documentsParsed));
        cancelled = progress.cancelled();
        return !cancelled;
      });
  if (cancelled) {
    result.outcome = text::Outcome::cancelled();
    return result;
  }
  text::SortedTextLines sorted = alterLines.sorted();
  result.outputPath = prepositionAlternativesPath(folder, preposition);
  sorted.saveToFile(result.outputPath);
  result.outcome.filesWritten.push_back(result.outputPath);
  result.realizationLines = sorted.size();
  return result;
}

}  // namespace sorvanta::derived
