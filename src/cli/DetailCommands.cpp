// sorvanta frame | fe | lu | sentence-fes: what the browsing views show for one item.
#include <algorithm>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/Listing.h"
#include "cli/ReleaseSession.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/LexUnitDocument.h"
#include "text/WorkingText.h"
#include "views/FrameElementsView.h"
#include "views/FrameView.h"
#include "views/SentenceFrameElements.h"
#include "views/SentencesView.h"

namespace sorvanta::cli {

namespace {

// Declares the command's positional arguments: exactly count of them, read as working text.
void expectWords(CommandLine& line, size_t count, const char* what) {
  line.check([&line, count, what] {
    if (line.words().size() != count) throw UsageError{std::string("expected ") + what};
  });
}

std::vector<std::string> workingWords(const CommandLine& line) {
  std::vector<std::string> values;
  for (const std::string& word : line.words()) values.push_back(text::utf8ToWorking(word));
  return values;
}

// The first row whose cell in column equals value, or none.
const lexicon::ListRow* findRow(const std::vector<lexicon::ListRow>& rows, int column,
                                std::string_view value) {
  auto it = std::find_if(rows.begin(), rows.end(),
                         [&](const lexicon::ListRow& row) { return row.cell(column) == value; });
  return it == rows.end() ? nullptr : &*it;
}

// Loads the lexical unit's annotation document; its root, or none after a message on err.
const xml::TXpNode* loadAnnotation(xml::TXpObjModel& model, const ReleaseSession& release,
                                   const std::string& luId, std::ostream& err) {
  lexicon::AnnotationLoad load = lexicon::loadLexUnitAnnotation(model, release.dataFolder(), luId);
  if (!load.loaded) {
    err << kMessagePrefix << text::workingToUtf8(load.message) << "\n";
    return nullptr;
  }
  return model.Document()->docGetDocumentElement();
}

// The names of a "; "-separated list, or none for an empty one.
nlohmann::ordered_json jsonNames(std::string_view joined) {
  nlohmann::ordered_json names = nlohmann::ordered_json::array();
  while (!joined.empty()) {
    const size_t separator = joined.find("; ");
    names.push_back(jsonText(joined.substr(0, separator)));
    joined =
        separator == std::string_view::npos ? std::string_view() : joined.substr(separator + 2);
  }
  return names;
}

// A sentence row "(ID) text" as {"sentence_id", "text"}.
nlohmann::ordered_json jsonSentenceRow(std::string_view row) {
  nlohmann::ordered_json object;
  const size_t close = row.find(')');
  if (row.starts_with('(') && close != std::string_view::npos) {
    object["sentence_id"] = jsonInteger(row.substr(1, close - 1));
    object["text"] = jsonText(row.substr(std::min(row.size(), close + 2)));
  } else {
    object["sentence_id"] = nullptr;
    object["text"] = jsonText(row);
  }
  return object;
}

std::string offsetText(std::optional<int32_t> offset) {
  return offset ? std::to_string(*offset) : std::string();
}

nlohmann::ordered_json jsonOffset(std::optional<int32_t> offset) {
  return offset ? nlohmann::ordered_json(*offset) : nlohmann::ordered_json(nullptr);
}

int notFound(const CliContext& context, const char* what, std::string_view value) {
  context.err << kMessagePrefix << "No " << what << " " << text::workingToUtf8(value)
              << " in the release\n";
  return 1;
}

}  // namespace

CommandRun declareFrame(CommandLine& line) {
  const ListingFormat format(line);
  expectWords(line, 1, "a frame name");
  return [&line, format](CliContext& context) {
    const std::string name = workingWords(line)[0];
    ReleaseSession& release = context.release();
    const lexicon::ListRow* row = findRow(release.index().frames, lexicon::kFrameName, name);
    if (!row) return notFound(context, "frame named", name);
    if (!release.loadRelations(context.err)) return 1;
    views::FrameView view = views::frameView(row->data, release.relationsRoot());
    if (format.json()) {
      nlohmann::ordered_json frame;
      frame["frame"] = jsonText(view.name);
      frame["description"] = jsonText(view.description);
      nlohmann::ordered_json& fes = frame["fes"] = nlohmann::ordered_json::array();
      for (const views::FrameElementRow& fe : view.elements)
        fes.push_back({{"name", jsonText(fe.name)},
                       {"core_type", jsonText(fe.coreType)},
                       {"definition", jsonText(fe.definition)}});
      nlohmann::ordered_json& lexemes = frame["lexemes"] = nlohmann::ordered_json::array();
      for (const std::string& lexeme : view.lexemeNames) lexemes.push_back(jsonText(lexeme));
      nlohmann::ordered_json& relations = frame["relations"] = nlohmann::ordered_json::array();
      for (const lexicon::RelationEntry& entry : view.relations)
        if (!entry.names.empty())
          relations.push_back(
              {{"relation", jsonText(entry.label)}, {"frames", jsonNames(entry.names)}});
      writeJson(context.out, frame);
      return 0;
    }
    format.writeHeader(context.out, {"Field", "Value", "Detail"});
    writeRecord(context.out, {"Frame:", view.name});
    writeRecord(context.out, {"Description:", view.description});
    for (const views::FrameElementRow& fe : view.elements)
      writeRecord(context.out, {"FE:", fe.nameAndType, fe.definition});
    writeRecord(context.out, {"Lexemes:", view.lexemes});
    if (view.relations.empty()) writeRecord(context.out, {"Relation:", "None", ""});
    for (const lexicon::RelationEntry& entry : view.relations)
      writeRecord(context.out, {"Relation:", entry.label, entry.names});
    return 0;
  };
}

CommandRun declareFe(CommandLine& line) {
  const ListingFormat format(line);
  expectWords(line, 1, "a frame-element name");
  return [&line, format](CliContext& context) {
    const std::string name = workingWords(line)[0];
    ReleaseSession& release = context.release();
    if (!findRow(release.index().frameElements, lexicon::kFeName, name))
      return notFound(context, "frame element named", name);
    const auto rows = views::frameElementDefinitions(release.framesRoot(), name);
    if (format.json()) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const auto& row : rows)
        list.push_back({{"frame_element", jsonText(row.element)},
                        {"frame", jsonText(row.frame)},
                        {"type", jsonText(row.type)},
                        {"definition", jsonText(row.definition)}});
      writeJson(context.out, list);
      return 0;
    }
    format.writeHeader(context.out, {"Element", "Frame", "Type", "Definition"});
    for (const auto& row : rows)
      writeRecord(context.out, {row.element, row.frame, row.type, row.definition});
    return 0;
  };
}

CommandRun declareLu(CommandLine& line) {
  CLI::Option* listSubcorpora = line.flag("--subcorpora");
  CLI::Option* subcorpus = line.value("--subcorpus", "a name");
  const ListingFormat format(line);
  line.check([=] {
    if (listSubcorpora->count() > 0 && subcorpus->count() > 0)
      throw UsageError{"choose --subcorpora or --subcorpus"};
  });
  expectWords(line, 1, "a lexical-unit ID");
  return [&line, listSubcorpora, subcorpus, format](CliContext& context) {
    const std::string id = workingWords(line)[0];
    ReleaseSession& release = context.release();
    if (!findRow(release.index().lexUnits, lexicon::kLuId, id))
      return notFound(context, "lexical unit with LU-ID", id);
    xml::TXpObjModel lexUnit;
    const xml::TXpNode* root = loadAnnotation(lexUnit, release, id, context.err);
    if (!root) return 1;
    std::vector<std::string> entries = views::subcorpusEntries(root);
    std::vector<std::string> lines;
    if (listSubcorpora->count() > 0) {
      lines = entries;
    } else if (const std::optional<std::string> name = CommandLine::last(subcorpus)) {
      if (std::find(entries.begin(), entries.end(), *name) == entries.end())
        return notFound(context, "subcorpus offered named", *name);
      lines = views::subcorpusSentenceRows(root, *name);
    } else {
      lines = views::sentenceRows(root);
    }
    const bool subcorpora = listSubcorpora->count() > 0;
    if (format.json()) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const std::string& text : lines)
        list.push_back(subcorpora ? nlohmann::ordered_json{{"subcorpus", jsonText(text)}}
                                  : jsonSentenceRow(text));
      writeJson(context.out, list);
      return 0;
    }
    format.writeHeader(context.out, {subcorpora ? "Subcorpus" : "Sentence"});
    for (const std::string& text : lines) writeRecord(context.out, {text});
    return 0;
  };
}

CommandRun declareSentenceFes(CommandLine& line) {
  const ListingFormat format(line);
  CLI::Option* offsetsFlag = line.flag("--offsets");
  expectWords(line, 2, "a lexical-unit ID and a sentence ID");
  return [&line, format, offsetsFlag](CliContext& context) {
    const std::vector<std::string> values = workingWords(line);
    const std::string& luId = values[0];
    const std::string& sentenceId = values[1];
    ReleaseSession& release = context.release();
    const lexicon::ListRow* row = findRow(release.index().lexUnits, lexicon::kLuId, luId);
    if (!row) return notFound(context, "lexical unit with LU-ID", luId);
    xml::TXpObjModel lexUnit;
    const xml::TXpNode* root = loadAnnotation(lexUnit, release, luId, context.err);
    if (!root) return 1;
    std::vector<std::string> rows = views::sentenceRows(root);
    std::string prefix = "(" + sentenceId + ")";
    auto sentence = std::find_if(rows.begin(), rows.end(),
                                 [&](const std::string& text) { return text.starts_with(prefix); });
    if (sentence == rows.end()) return notFound(context, "sentence with ID", sentenceId);
    std::optional<views::SentenceFrameElements> dialog = views::sentenceFrameElements(
        root, *sentence, row->cell(lexicon::kLuFrameName), row->caption());
    if (!dialog) {
      context.err << kMessagePrefix << "Sentence " << text::workingToUtf8(sentenceId)
                  << " has no Target label to show frame elements for\n";
      return 1;
    }
    if (format.json()) {
      nlohmann::ordered_json sentence;
      sentence["frame"] = jsonText(dialog->frame);
      sentence["lexical_unit"] = jsonText(dialog->lexicalUnit);
      sentence["sentence_id"] = jsonInteger(dialog->sentenceId);
      sentence["sentence"] = jsonText(dialog->sentence);
      nlohmann::ordered_json& labels = sentence["labels"] = nlohmann::ordered_json::array();
      for (const views::SentenceLabelRow& label : dialog->rows)
        labels.push_back({{"label", jsonText(label.caption)},
                          {"text", jsonText(label.text)},
                          {"start", jsonOffset(label.start)},
                          {"end", jsonOffset(label.end)}});
      writeJson(context.out, sentence);
      return 0;
    }
    const bool offsets = offsetsFlag->count() > 0;
    format.writeHeader(context.out,
                       offsets ? std::vector<std::string_view>{"Field", "Text", "Start", "End"}
                               : std::vector<std::string_view>{"Field", "Text"});
    writeRecord(context.out, {"Frame:", dialog->frame});
    writeRecord(context.out, {"Lexical Unit:", dialog->lexicalUnit});
    writeRecord(context.out, {"Sentence:", dialog->sentence});
    for (const views::SentenceLabelRow& label : dialog->rows) {
      if (offsets)
        writeRecord(context.out,
                    {label.caption, label.text, offsetText(label.start), offsetText(label.end)});
      else
        writeRecord(context.out, {label.caption, label.text});
    }
    return 0;
  };
}

}  // namespace sorvanta::cli
