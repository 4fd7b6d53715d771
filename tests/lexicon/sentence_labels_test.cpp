// The sentence texts of a document and the target and frame-element labels of a sentence are
// found by direct walks; they must give what the path queries they stand for give, from every
// node of documents with nested, unnamed, misplaced and repeated sentences, layers and labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/SentenceLabels.h"
#include "xml/SubtreeWalk.h"
#include "xml/XpObjModel.h"
#include "xml/XpPath.h"

using namespace sorvanta;

namespace {

const char* const kDocuments[] = {
    // An ordinary annotation set.
    R"(<set><layers><layer name="Target"><labels><label name="Target" start="4" end="8"/></labels></layer>
       <layer name="FE"><labels><label name="Goal" start="10" end="15"/><label name="Theme" itype="DNI"/></labels></layer>
       <layer name="GF"><labels><label name="Dep" start="10" end="15"/></labels></layer></layers>
       <sentence><text>We walked into town</text></sentence></set>)",
    // Two FE layers (ranks), an FE layer nested in another, a label inside a label, a layer
    // without a name, a Target label outside any layer, names in other case.
    R"(<set><label name="Target" start="0" end="1"/>
       <layer name="FE" rank="1"><label name="A"><label name="A2"/></label>
         <layer name="FE" rank="9"><label name="B"/></layer><label name="C"/></layer>
       <layer><label name="Target"/></layer><layer name="fe"><label name="D"/></layer>
       <layer name="FE" rank="2"><labels><label name="E"/><label/></labels></layer>
       <layer name="FE"/><label name="F"/><LABEL name="Target"/></set>)",
    // No labels at all; an FE layer as the document element; text and comments around.
    R"(<layer name="FE">text<!-- c --><x><label name="G">t</label></x><label name="Target"/></layer>)",
    // Sentences nested, with several texts, none, and texts below other elements.
    R"(<sentence><text>a</text>x<text/><sentence><text>b</text></sentence><p><text/></p></sentence>)",
};

}  // namespace

TEST(SentenceLabels, DirectWalksEqualThePathQueries) {
  const xml::XpPath target(".//label[@name='Target']");
  const xml::XpPath frameElements(".//layer[@name='FE']//label");
  for (const char* text : kDocuments) {
    xml::TXpObjModel model;
    ASSERT_TRUE(model.LoadMemory(text, std::char_traits<char>::length(text))) << text;
    const xml::TXpNode* root = model.Document()->docGetDocumentElement();
    int compared = 0;
    xml::walkSubtree(
        root,
        [&](const xml::TXpNode* from) {
          EXPECT_EQ(lexicon::targetLabel(from), target.evaluate(from).Item(0)) << text;
          EXPECT_EQ(lexicon::frameElementLabels(from).nodes(), frameElements.evaluate(from).nodes())
              << text;
          ++compared;
        },
        [](const xml::TXpNode*) {});
    EXPECT_GT(compared, 3);
    // From the document node: the absolute query, the document element included.
    EXPECT_EQ(lexicon::frameElementLabels(model.Document()).nodes(),
              root->SelectNodes("//layer[@name='FE']//label").nodes())
        << text;
    const xml::TXpNodeList texts = root->SelectNodes("//sentence/text");
    EXPECT_EQ(lexicon::sentenceTexts(model.Document()),
              std::vector<const xml::TXpNode*>(texts.begin(), texts.end()))
        << text;
  }
  // The walks find something where the queries do (the comparison above is not vacuous).
  xml::TXpObjModel model;
  ASSERT_TRUE(model.LoadMemory(kDocuments[1], std::char_traits<char>::length(kDocuments[1])));
  const xml::TXpNode* set = model.Document()->docGetDocumentElement();
  std::vector<std::string> names;
  for (const xml::TXpNode* label : lexicon::frameElementLabels(set)) names.push_back(xml::attributeText(label, "name"));
  // Per FE layer: the nested layer's label comes again after those of the outer layer.
  EXPECT_EQ(names, (std::vector<std::string>{"A", "A2", "B", "C", "B", "E", ""}));
  EXPECT_EQ(lexicon::targetLabel(set), set->noGetFirstChild());
  EXPECT_EQ(lexicon::targetLabel(nullptr), nullptr);
  EXPECT_EQ(lexicon::frameElementLabels(nullptr).nlGetLength(), 0);
}
