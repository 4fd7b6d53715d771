// The sentence frame-element dialog: finding the sentence, its labels and their spans.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/Errors.h"
#include "views/SentenceFrameElements.h"
#include "xml/XpObjModel.h"

using namespace sorvanta;

namespace {

const std::string kLexUnit =
    "<lexunit-annotation name='sit.v'><subcorpus name='all'>"
    "<set><layers><layer name='FE'><label name='Agent' start='0' end='2'/>"
    "<label name='Place' itype='DNI'/><label name='Manner' itype='' start='4' end='6'/></layer>"
    "<layer name='Target'><label name='Target' start='4' end='8'/></layer>"
    "<layer name='FE'><label name='Time' start='13' end='40'/></layer></layers>"
    "<sentence ID='5'><text>The cat sat down</text></sentence></set>"
    "<set><layers><layer name='Target'><label name='Target' start='0' end='3'/></layer></layers>"
    "<sentence ID='6'><text>Sits (on mats) often</text></sentence></set>"
    "<set><layers><layer name='FE'><label name='Agent' start='0' end='0'/></layer></layers>"
    "<sentence ID='7'><text>No target here</text></sentence></set>"
    "<set><layers><layer name='Target'><label name='Target' start='1'/></layer></layers>"
    "<sentence ID='8'><text>Bad target</text></sentence></set>"
    "<set><layers><layer name='Target'><label name='Target' start='0' end='0'/></layer>"
    "<layer name='FE'><label name='Agent' start='0' end='x'/></layer></layers>"
    "<sentence ID='9'><text>Bad label</text></sentence></set>"
    "<set><layers><layer name='Target'><label name='Target' start='0' end='0'/></layer>"
    "</layers><sentence><text>Without ID</text></sentence></set>"
    "</subcorpus></lexunit-annotation>";

struct LexUnitDoc {
  xml::TXpObjModel model;
  LexUnitDoc() { EXPECT_TRUE(model.LoadMemory(kLexUnit.data(), kLexUnit.size())); }
  const xml::TXpNode* root() { return model.Document()->docGetDocumentElement(); }
};

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rowsOf(const views::SentenceFrameElements& dialog) {
  Rows rows;
  for (const auto& row : dialog.rows) rows.emplace_back(row.caption, row.text);
  return rows;
}

TEST(SentenceFrameElements, TargetThenEveryFeLayerInOrder) {
  LexUnitDoc doc;
  struct Case {
    std::string rowText, shown;
    Rows rows;
  };
  for (const Case& c : std::vector<Case>{
           {"(5) The cat sat down",
            "The cat sat down",
            {{"Target", "cat s"},
             {"Agent", "The"},
             {"Place", "DNI"},
             {"Manner", "cat"},
             {"Time", "own"}}},
           // Only the first ")" ends the ID.
           {"(6) Sits (on mats) often", "Sits (on mats) often", {{"Target", "Sits"}}}}) {
    const auto dialog = views::sentenceFrameElements(doc.root(), c.rowText, "Posture", "sit.v");
    ASSERT_TRUE(dialog) << c.rowText;
    EXPECT_EQ(dialog->frame + "|" + dialog->lexicalUnit, "Posture|sit.v");
    EXPECT_EQ(dialog->sentence, c.shown);
    EXPECT_EQ(rowsOf(*dialog), c.rows);
  }
}

TEST(SentenceFrameElements, SpansKeepTheirOffsetsAndNullInstantiationsHaveNone) {
  LexUnitDoc doc;
  const auto dialog = views::sentenceFrameElements(doc.root(), "(5) The cat sat down", "F", "v");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->sentenceId, "5");
  std::vector<std::string> offsets;
  for (const views::SentenceLabelRow& row : dialog->rows)
    offsets.push_back(row.start ? std::to_string(*row.start) + "-" + std::to_string(*row.end)
                                : (row.end ? "end only" : "none"));
  // An empty itype is no null instantiation: Manner keeps its span.
  EXPECT_EQ(offsets, (std::vector<std::string>{"4-8", "0-2", "none", "4-6", "13-40"}));
}

TEST(SentenceFrameElements, RowsNamingNoSentenceOrLackingATargetGiveNoDialog) {
  LexUnitDoc doc;
  for (const std::string row : {"", "5) The cat sat down", "(5 The cat", "() Without ID",
                                "(99) Gone", "(7) No target here", "(5' x) odd"}) {
    EXPECT_FALSE(views::sentenceFrameElements(doc.root(), row, "F", "sit.v")) << row;
  }
  EXPECT_FALSE(views::sentenceFrameElements(nullptr, "(5) The cat sat down", "F", "sit.v"));
}

TEST(SentenceFrameElements, OffsetsThatAreNotIntegersEndTheCommand) {
  LexUnitDoc doc;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"(8) Bad target", "'' is not a valid integer value"},
      {"(9) Bad label", "'x' is not a valid integer value"},
  };
  for (const auto& [row, message] : cases) {
    try {
      views::sentenceFrameElements(doc.root(), row, "F", "sit.v");
      ADD_FAILURE() << "no error for " << row;
    } catch (const text::ConversionError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
}

}  // namespace
