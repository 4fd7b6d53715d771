#include "derived/OtherRealizations.h"

#include <algorithm>
#include <set>
#include <vector>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "text/FileIO.h"
#include "text/IntegerText.h"
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

// The "name" of the first of ".//label" from layer whose "start" text equals start exactly.
std::string labelNameAt(const xml::TXpNode* layer, std::string_view start) {
  static const xml::XpPath kLabels(".//label");  // compiled once: it runs for every label
  for (const xml::TXpNode* label : kLabels.evaluate(layer))
    if (xml::attributeText(label, "start") == start) return xml::attributeText(label, "name");
  return {};
}

// The realization lines of fe in the document of model, each handed to add.
template <typename Add>
void addRealizationLines(xml::TXpObjModel& model, std::string_view fe, Add add) {
  const xml::TXpNode* root = model.Document()->docGetDocumentElement();
  if (!root) return;
  const std::string query = "//layer[@name='FE']//label[@name='" + std::string(fe) + "']";
  for (const xml::TXpNode* label : root->SelectNodes(query)) {
    // label, label container, layer, layer container, annotation set, subcorpus, lexical unit
    const xml::TXpNode* head = ancestor(label, 6);
    if (!head) continue;
    const std::string start = xml::attributeText(label, "start");
    const std::string end = xml::attributeText(label, "end");
    const std::string itype = start.empty() ? xml::attributeText(label, "itype") : std::string();
    std::string line = xml::attributeText(head, "frame") + '\t' + std::string(fe) + '\t' +
                       xml::attributeText(head, "name");
    if (!itype.empty()) {
      add(line + '\t' + itype);
      continue;
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
}

// Lines in the order, and with the refusal of equal lines, of text::SortedTextLines; a tree
// keeps each insertion logarithmic where the sorted list shifts its lines.
struct IgnoreCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return text::compareTextIgnoreCase(a, b) < 0;
  }
};
using AlterLineSet = std::set<std::string, IgnoreCaseLess>;

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
                                         text::Progress& progress) {
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

  AlterLineSet alterLines;
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
      const xml::TXpNode* frame =
          framesRoot ? framesRoot->SelectSingleNode("//frame[@name='" + frameName + "']") : nullptr;
      if (frame) {
        for (const xml::TXpNode* lexUnit : frame->SelectNodes(".//lexunit")) {
          if (lexUnit->SelectInteger("./annotation/annotated") == 0) continue;
          const std::string path =
              lexicon::subcorpusDocumentPath(folder, xml::attributeText(lexUnit, "ID"));
          if (!text::fileExists(path)) continue;
          lexUnitModel.LoadDataSource(path);
          ++result.documentsRead;
          addRealizationLines(lexUnitModel, fe,
                              [&](std::string line) { alterLines.insert(std::move(line)); });
        }
      }
      previousFrame = frameName;
      previousFe = fe;
    }
    progress.count(kNextLineCounter, static_cast<int64_t>(k + 2));
  }
  // In order already, each line lands at the end of the sorted list.
  text::SortedTextLines sorted;
  for (auto it = alterLines.begin(); it != alterLines.end();)
    sorted.add(std::move(alterLines.extract(it++).value()));
  result.outputPath = prepositionAlternativesPath(folder, preposition);
  sorted.saveToFile(result.outputPath);
  result.outcome.filesWritten.push_back(result.outputPath);
  result.realizationLines = sorted.size();
  return result;
}

}  // namespace sorvanta::derived
