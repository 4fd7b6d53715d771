// TARKO name and definition rules, and the relation index that must select exactly what the
// row queries select. Whole entries are checked through the dictionaries command.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "derived/TarkoEntries.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {
namespace {

struct Loaded {
  xml::TXpObjModel model;
  const xml::TXpNode* root = nullptr;
  explicit Loaded(std::string_view text) {
    model.LoadMemory(text.data(), text.size());
    root = model.Document()->docGetDocumentElement();
  }
};

TEST(TarkoEntries, NameAndDefinitionRules) {
  // clang-format off
  const struct { const char *name, *headword, *code; } names[] = {
      {"give.v", "give", "vrb"}, {"e.g..adv", "e", "nil"}, {"set off.n", "set off", "nou"},
      {"in.prep", "in", "prp"}, {"calm.a", "calm", "adj"}, {"run.V", "run", "nil"},
      {"adv", "", "adv"} /* no ".": the whole name is the suffix */, {"x.", "x", "nil"}};
  const struct { const char *definition, *text, *source; } definitions[] = {
      {"SV: to give", "to give", "SV"}, {"COD: SV: x", "x", "SV"}, {"SV: COD: x", "COD: x", "SV"},
      {"COD: hand", "hand", "COD"}, {"a COD: b", "a COD: b", ""}, {"COD:x", "COD:x", ""}};
  // clang-format on
  for (const auto& c : names) {
    EXPECT_EQ(lexUnitHeadword(c.name), c.headword) << c.name;
    EXPECT_EQ(partOfSpeechCode(c.name), c.code) << c.name;
  }
  for (const auto& c : definitions) {
    const SourcedDefinition split = splitDefinitionSource(c.definition);
    EXPECT_EQ(split.text + "|" + split.source, std::string(c.text) + "|" + c.source);
  }
}

// Relation documents of odd shapes: nested and repeated type elements, relations inside
// relations, missing attributes, types outside the table, names that need conversion.
std::string oddRelations(unsigned seed) {
  std::mt19937 rng(seed);
  const char* types[] = {"Inheritance", "Using", "Using", "Precedes", "Perspective_on", "using"};
  const char* names[] = {"A", "B", "Caf&#xE9;", "X&#x4E00;", "X?", "", "Q&quot;q"};
  const auto pick = [&rng](const auto& list) { return list[rng() % std::size(list)]; };
  std::string out = "<r>";
  std::vector<std::string> open;
  for (int i = 0; i < 70; ++i) {
    const unsigned what = rng() % 5;
    if (what == 0 && open.size() < 4) {
      out += std::string("<frame-relation-type name=\"") + pick(types) + "\">";
      open.push_back("</frame-relation-type>");
    } else if (what == 1 && !open.empty()) {
      out += open.back();
      open.pop_back();
    } else {
      out += "<frame-relation";
      for (const char* side : {"superFrameName", "subFrameName"})
        if (rng() % 6) out += std::string(" ") + side + "=\"" + pick(names) + "\"";
      const bool nest = what == 2 && open.size() < 4;
      out += nest ? ">" : "/>";
      if (nest) open.push_back("</frame-relation>");
    }
  }
  for (; !open.empty(); open.pop_back()) out += open.back();
  return out + "</r>";
}

TEST(FrameRelationRowsIndex, SelectsWhatTheRowQueriesSelect) {
  const char* frames[] = {"A", "B", "Caf\xE9", "X?", "", "Q\"q", "Caf\xC3\xA9", "C"};
  size_t found = 0;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    Loaded doc(oddRelations(seed));
    ASSERT_NE(doc.root, nullptr) << seed;
    const FrameRelationRowsIndex& index = FrameRelationRowsIndex::of(doc.root);
    for (size_t row = 0; row < kFrameRelationRows.size(); ++row) {
      for (const char* frame : frames) {
        const std::vector<xml::TXpNode*> expected =
            relatedByQuery(doc.root, kFrameRelationRows[row], frame);
        EXPECT_EQ(index.related(row, frame), expected) << seed << " " << row << " " << frame;
        found += expected.size();
      }
    }
  }
  EXPECT_GT(found, 500u);  // the documents do relate these names, often repeatedly
}

}  // namespace
}  // namespace sorvanta::derived
