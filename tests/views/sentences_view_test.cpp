// Sentence grid rows, the subcorpus choice, and loading a lexical unit's annotation file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "lexicon/LexUnitDocument.h"
#include "views/SentencesView.h"
#include "xml/XpObjModel.h"

using namespace sorvanta;
using Rows = std::vector<std::string>;

namespace {

const std::string kLexUnit =
    "<lexunit-annotation name='walk.v'>"
    "<subcorpus name='V-np'><set><layers/><sentence ID='11'><text>Kim walked home.</text>"
    "</sentence></set><set><layers/><sentence ID='12'><text>We  walk (slowly).</text>"
    "</sentence></set></subcorpus>"
    "<subcorpus name='empty'/>"
    "<subcorpus name=\"O'Neil\"><set><sentence ID='13'><text>They walk.</text></sentence>"
    "</set></subcorpus>"
    "<subcorpus name='V-np'><set><sentence><text>No number.</text></sentence></set></subcorpus>"
    "</lexunit-annotation>";

struct LexUnitDoc {
  xml::TXpObjModel model;
  explicit LexUnitDoc(const std::string& text = kLexUnit) {
    EXPECT_TRUE(model.LoadMemory(text.data(), text.size()));
  }
  const xml::TXpNode* root() { return model.Document()->docGetDocumentElement(); }
};

TEST(SentencesView, RowsInDocumentOrderAndSubcorporaWithChildren) {
  LexUnitDoc doc;
  EXPECT_EQ(views::sentenceRows(doc.root()),
            (Rows{"(11) Kim walked home.", "(12) We walk (slowly).", "(13) They walk.",
                  "() No number."}));
  EXPECT_EQ(views::subcorpusEntries(doc.root()), (Rows{"V-np", "O'Neil", "V-np"}));
  LexUnitDoc none("<lexunit-annotation name='x.v'><subcorpus name='a'/></lexunit-annotation>");
  EXPECT_TRUE(views::sentenceRows(none.root()).empty());
  EXPECT_TRUE(views::subcorpusEntries(none.root()).empty());
}

TEST(SentencesView, ChoosingASubcorpusShowsItsSentences) {
  LexUnitDoc doc;
  const std::vector<std::pair<std::string, Rows>> cases = {
      {"V-np", {"(11) Kim walked home.", "(12) We walk (slowly).", "() No number."}},
      {"O'Neil", {"(13) They walk."}},
      {"empty", {}},
      {"absent", {}},
      {"a'b\"c", {}},
  };
  for (const auto& [name, rows] : cases) {
    EXPECT_EQ(views::subcorpusSentenceRows(doc.root(), name), rows) << name;
  }
}

TEST(SentencesView, LoadReportsMissingAndMalformedFiles) {
  sorvanta::testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "luXML");
  dir.write("luXML/lu7.xml", kLexUnit);
  dir.write("luXML/lu8.xml", "<lexunit-annotation><subcorpus>");
  const std::string folder = dir.path().string() + "/";

  xml::TXpObjModel model;
  lexicon::AnnotationLoad good = lexicon::loadLexUnitAnnotation(model, folder, "7");
  EXPECT_TRUE(good.loaded);
  EXPECT_EQ(good.path, folder + "luXML/lu7.xml");
  EXPECT_EQ(good.message, "");
  EXPECT_EQ(views::sentenceRows(model.Document()->docGetDocumentElement()).size(), 4u);

  for (const std::string id : {"8", "9"}) {
    const lexicon::AnnotationLoad bad = lexicon::loadLexUnitAnnotation(model, folder, id);
    EXPECT_FALSE(bad.loaded);
    EXPECT_NE(bad.message.find(folder + "luXML/lu" + id + ".xml"), std::string::npos);
    EXPECT_EQ(model.Document()->docGetDocumentElement(), nullptr) << "older document kept";
  }
}

}  // namespace

// 200,000 sentences nested in one another: every row's text lies in the one innermost text
// element, and the rows must be found with work linear in the document, not in depth × size.
TEST(SentencesView, DeeplyNestedSentencesCostLinearWork) {
  constexpr size_t kDepth = 200000;
  std::string text = "<lexunit-annotation name='deep.v'>";
  for (size_t i = 0; i < kDepth; ++i) text += "<sentence ID='7'>";
  text += "<text>Deep.</text>";
  for (size_t i = 0; i < kDepth; ++i) text += "</sentence>";
  text += "</lexunit-annotation>";
  LexUnitDoc doc(text);

  const uint64_t before = xml::textNodesVisited();
  const Rows rows = views::sentenceRows(doc.root());
  const uint64_t visited = xml::textNodesVisited() - before;
  ASSERT_EQ(rows.size(), kDepth);
  EXPECT_EQ(rows.front(), "(7) Deep.");
  EXPECT_EQ(rows.back(), "(7) Deep.");
  EXPECT_LE(visited, 2 * (kDepth + 2));
}
