#include "index/DocumentRows.h"

#include <charconv>

#include "text/WorkingText.h"
#include "xml/XpObjModel.h"

namespace sorvanta::index {

namespace {

using xml::TXpNode;

bool named(const TXpNode* node, const char* name) { return xml::isElementNamed(node, name); }

std::optional<std::string_view> attrOf(const TXpNode* node, std::string_view name) {
  const xml::TXpNamedNodeMap* map = node->attributes();
  if (!map) return std::nullopt;
  const xml::TXpAttribute* found = map->getNamedItemUtf8(name);
  if (!found) return std::nullopt;
  return found->valueUtf8();
}

std::string valueOf(const TXpNode* node, std::string_view name) {
  return std::string(attrOf(node, name).value_or(std::string_view()));
}

const TXpNode* firstChildNamed(const TXpNode* node, const char* name) {
  for (const TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling())
    if (named(child, name)) return child;
  return nullptr;
}

std::string childText(const TXpNode* node, const char* name) {
  const TXpNode* child = firstChildNamed(node, name);
  return child ? child->textUtf8() : std::string();
}

// Next node of a pre-order walk of root's subtree; with skipChildren the current node's
// subtree is passed over.
const TXpNode* nextInWalk(const TXpNode* node, const TXpNode* root, bool skipChildren = false) {
  if (!skipChildren) {
    if (const TXpNode* child = node->noGetFirstChild()) return child;
  }
  while (node != root) {
    if (const TXpNode* sibling = node->noGetNextSibling()) return sibling;
    node = node->parentNode();
  }
  return nullptr;
}

std::string quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '\'';
  out += text;
  out += '\'';
  return out;
}

void readFrames(const TXpNode* root, DocumentRows& rows) {
  for (const TXpNode* node = root; node;) {
    if (!named(node, "frame")) {
      node = nextInWalk(node, root);
      continue;
    }
    FrameRow& frame = rows.frames.emplace_back();
    frame.name = valueOf(node, "name");
    frame.idText = valueOf(node, "ID");
    frame.definition = childText(node, "definition");
    const std::string where = "frame " + quoted(frame.name);
    if (!decimalValue(frame.idText))
      rows.problems.push_back({where, "bad-id", "frame ID " + quoted(frame.idText) + " is not an integer"});
    if (const TXpNode* fes = firstChildNamed(node, "fes")) {
      for (const TXpNode* fe = fes->noGetFirstChild(); fe; fe = fe->noGetNextSibling()) {
        if (!named(fe, "fe")) continue;
        frame.fes.push_back({valueOf(fe, "ID"), valueOf(fe, "name"),
                             valueOf(fe, "abbrev"), valueOf(fe, "coreType"),
                             childText(fe, "definition")});
      }
    }
    if (const TXpNode* lexunits = firstChildNamed(node, "lexunits")) {
      for (const TXpNode* lu = lexunits->noGetFirstChild(); lu; lu = lu->noGetNextSibling()) {
        if (!named(lu, "lexunit")) continue;
        LuRow& row = frame.lus.emplace_back();
        row.idText = valueOf(lu, "ID");
        row.name = valueOf(lu, "name");
        row.posAttr = valueOf(lu, "pos");
        row.status = valueOf(lu, "status");
        row.definition = childText(lu, "definition");
        if (const TXpNode* annotation = firstChildNamed(lu, "annotation"))
          if (const TXpNode* annotated = firstChildNamed(annotation, "annotated"))
            row.annotatedText = annotated->textUtf8();
        if (!decimalValue(row.idText))
          rows.problems.push_back({where + " lexical unit " + quoted(row.name), "bad-id",
                                   "lexical-unit ID " + quoted(row.idText) + " is not an integer"});
      }
    }
    node = nextInWalk(node, root, true);
  }
}

void readRelations(const TXpNode* root, DocumentRows& rows) {
  for (const TXpNode* node = root; node;) {
    if (!named(node, "frame-relation-type")) {
      node = nextInWalk(node, root);
      continue;
    }
    RelationTypeRow& type = rows.relationTypes.emplace_back();
    type.idText = valueOf(node, "ID");
    type.name = valueOf(node, "name");
    for (const TXpNode* inner = nextInWalk(node, node); inner;) {
      if (!named(inner, "frame-relation")) {
        inner = nextInWalk(inner, node);
        continue;
      }
      RelationRow& relation = type.relations.emplace_back();
      relation.idText = valueOf(inner, "ID");
      relation.superFrame = valueOf(inner, "superFrameName");
      relation.subFrame = valueOf(inner, "subFrameName");
      for (const TXpNode* fe = nextInWalk(inner, inner); fe; fe = nextInWalk(fe, inner)) {
        if (named(fe, "fe-relation"))
          relation.feRelations.push_back({valueOf(fe, "ID"), valueOf(fe, "superFEName"),
                                          valueOf(fe, "subFEName")});
      }
      inner = nextInWalk(inner, node, true);
    }
    node = nextInWalk(node, root, true);
  }
}

// The labels of one annotation set: every label beneath the set outside its sentence, with
// the name and rank of the layer holding it.
void readLabels(const TXpNode* set, const TXpNode* sentence, SentenceRow& row) {
  // The layer of the label before, whose name and rank most labels share.
  const TXpNode* lastLayer = nullptr;
  size_t lastLabel = 0;  // its index in row.labels (the vector may move)
  for (const TXpNode* node = nextInWalk(set, set); node;) {
    if (node == sentence) {
      node = nextInWalk(node, set, true);
      continue;
    }
    if (named(node, "label")) {
      LabelRow& label = row.labels.emplace_back();
      // Straight from the document into the row: a label's fields are short and many.
      label.name.assign(attrOf(node, "name").value_or(std::string_view()));
      label.itype.assign(attrOf(node, "itype").value_or(std::string_view()));
      if (auto start = attrOf(node, "start")) label.startText.emplace(*start);
      if (auto end = attrOf(node, "end")) label.endText.emplace(*end);
      const TXpNode* layer = nullptr;
      for (const TXpNode* up = node->parentNode(); up && up != set; up = up->parentNode()) {
        if (named(up, "layer")) {
          layer = up;
          break;
        }
      }
      if (layer && layer == lastLayer) {
        label.layer = row.labels[lastLabel].layer;
        label.rank = row.labels[lastLabel].rank;
      } else if (layer) {
        label.layer = valueOf(layer, "name");
        label.rank = valueOf(layer, "rank");
      }
      lastLayer = layer;
      lastLabel = row.labels.size() - 1;
    }
    node = nextInWalk(node, set);
  }
}

void readSentences(const TXpNode* root, DocumentRows& rows) {
  for (const TXpNode* node = root; node;) {
    if (named(node, "subcorpus")) {
      int64_t sets = 0;
      for (const TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling())
        sets += child->isElement();
      rows.subcorpora.push_back({valueOf(node, "name"), sets});
    }
    if (!named(node, "sentence")) {
      node = nextInWalk(node, root);
      continue;
    }
    SentenceRow& sentence = rows.sentences.emplace_back();
    sentence.key = valueOf(node, "ID");
    const TXpNode* text = firstChildNamed(node, "text");
    sentence.text = text ? text->textUtf8() : node->textUtf8();
    for (const TXpNode* up = node->parentNode(); up; up = up->parentNode()) {
      if (named(up, "subcorpus")) {
        sentence.subcorpus = valueOf(up, "name");
        break;
      }
    }
    // Built only for a problem: most sentences have none.
    auto where = [&] { return "sentence " + quoted(sentence.key); };
    if (!attrOf(node, "ID"))
      rows.problems.push_back({where(), "missing-id", "a sentence has no ID attribute"});
    else if (!decimalValue(sentence.key))
      rows.problems.push_back({where(), "bad-id", "sentence ID " + quoted(sentence.key) + " is not an integer"});
    const TXpNode* set = node->parentNode();
    if (set && set != root && set->isElement()) readLabels(set, node, sentence);
    for (const LabelRow& label : sentence.labels) {
      if (!label.itype.empty()) continue;
      for (const auto* value : {&label.startText, &label.endText}) {
        if (value->has_value() && !decimalValue(**value))
          rows.problems.push_back({where() + " label " + quoted(label.name), "bad-offset",
                                   "offset " + quoted(**value) + " is not an integer"});
      }
    }
    node = nextInWalk(node, root, true);
  }
}

void readRealizations(const TXpNode* root, DocumentRows& rows) {
  for (const TXpNode* node = root; node;) {
    if (!named(node, "FERealization") || !node->parentNode() ||
        !named(node->parentNode(), "FERealizations")) {
      node = nextInWalk(node, root);
      continue;
    }
    RealizationRow& row = rows.realizations.emplace_back();
    row.totalText = valueOf(node, "total");
    if (const TXpNode* unit = firstChildNamed(node, "valence-unit")) {
      row.fe = valueOf(unit, "fe");
      row.pt = valueOf(unit, "pt");
      row.gf = valueOf(unit, "gf");
    } else {
      rows.problems.push_back({"realization " + std::to_string(rows.realizations.size()),
                               "missing-valence-unit", "an FERealization has no valence-unit"});
    }
    if (!decimalValue(row.totalText))
      rows.problems.push_back({"realization " + std::to_string(rows.realizations.size()),
                               "bad-total", "total " + quoted(row.totalText) + " is not an integer"});
    node = nextInWalk(node, root, true);
  }
}

}  // namespace

std::string_view kindName(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::Frames: return "frames";
    case DocumentKind::Relations: return "relations";
    case DocumentKind::Annotation: return "annotation";
    case DocumentKind::Subcorpus: return "subcorpus";
    case DocumentKind::LexicalEntry: return "lexical-entry";
  }
  return "";
}

std::optional<int64_t> decimalValue(std::string_view text) {
  if (text.empty() || text == "-" || (text[0] == '+')) return std::nullopt;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

DocumentRows readDocument(DocumentKind kind, const std::string& path, xml::TXpObjModel& model) {
  DocumentRows rows;
  // The model takes working-text paths; a path that working text cannot hold is not read.
  const std::string workingPath = text::utf8ToWorking(path);
  if (text::workingToUtf8(workingPath) != path) {
    rows.problems.push_back({"", "unreadable", "the file name cannot be opened by the XML reader"});
    return rows;
  }
  if (!model.LoadDataSource(workingPath)) {
    std::string why = model.errors().empty() ? "unknown error" : model.errors().front();
    // Where the parser stopped, as LINE:COLUMN, when the failure has a place in the input.
    const xml::XpParseResult& result = model.parseResult();
    std::string where;
    if (result.line > 0) where = std::to_string(result.line) + ":" + std::to_string(result.column);
    rows.problems.push_back({std::move(where), "unreadable", text::workingToUtf8(why)});
    return rows;
  }
  const TXpNode* root = model.Document()->docGetDocumentElement();
  if (!root) {
    rows.problems.push_back({"", "unreadable", "the document has no element"});
    return rows;
  }
  rows.readable = true;
  switch (kind) {
    case DocumentKind::Frames: readFrames(root, rows); break;
    case DocumentKind::Relations: readRelations(root, rows); break;
    case DocumentKind::Annotation:
    case DocumentKind::Subcorpus:
      readSentences(root, rows);
      rows.labelFacts = labelFacts(rows.sentences);
      break;
    case DocumentKind::LexicalEntry: readRealizations(root, rows); break;
  }
  return rows;
}

}  // namespace sorvanta::index
