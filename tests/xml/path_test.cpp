// Path queries: every expression form the program issues, ordering, and unusable expressions.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "xml/XpObjModel.h"
#include "xml/XpPath.h"

using namespace sorvanta::xml;
using namespace std::string_view_literals;

namespace {

const std::map<std::string, std::string> kDocuments = {
    {"frames",
     "<frames><frame name='Motion' ID='f1'><fes><fe name='Theme' ID='e1'/><fe name='Goal' "
     "ID='e2'/></fes><lexunits><lexunit ID='u1'><annotation><annotated>12</annotated>"
     "</annotation></lexunit><lexunit ID='u2'/></lexunits></frame>"
     "<frame name='Arriving' ID='f2'><fes><fe name='agent' ID='e3'/><fe name='Agent' ID='e4'/>"
     "</fes><lexunits><lexunit ID='u3'><annotation><annotated>12a</annotated></annotation>"
     "</lexunit></lexunits></frame><frame name=\"O'Brien\" ID='f3'/><caf\xC3\xA9 "
     "ID='k'/></frames>"},
    {"lu",
     "<lexunit-annotation ID='root'><subcorpus name='X' ID='c1'><sentence ID='1'>"
     "<text ID='t1'>He ran.</text><set ID='a1'><layer name='FE' ID='l1'><label name='Agent' "
     "start='0' ID='b1'/><label name='Goal' start='7' ID='b2'/></layer><layer name='Target' "
     "ID='l2'><label name='Target' start='3' ID='b3'/></layer><layer name='PENN' ID='l3'>"
     "<label name='PP' start='07' ID='b4'/></layer></set></sentence><sentence ID='2'>"
     "<text ID='t2'>She ran.</text></sentence></subcorpus><subcorpus name='x' ID='c2'>"
     "<sentence ID='3'/></subcorpus><subcorpus name='X' ID='c3'><sentence ID='4'/><sentence>"
     "<text ID='t5'>No id.</text></sentence></subcorpus><label ID='b9'><label ID='b10'/></label>"
     "</lexunit-annotation>"},
    {"misc",
     "<set><frame name='Motion' ID='m1'><instance ID='i1'/><instance ID='i2'/></frame>"
     "<frame name='Arriving' ID='m2'><instance ID='i3'/></frame><frame-relation-type "
     "name='Inheritance' ID='t1'><frame-relation ID='r1' superFrameName='Motion'><fe-relation "
     "ID='x1'/><fe-relation ID='x2'/></frame-relation><frame-relation ID='r2' "
     "superFrameName='Event'/></frame-relation-type><frame-relation-type name='Using' ID='t2'>"
     "<frame-relation ID='r3' superFrameName='Motion'/></frame-relation-type><FERealizations>"
     "<FERealization ID='z1'><valence-unit ID='v1'/><valence-unit ID='v2'/></FERealization>"
     "<FERealization ID='z2'/></FERealizations></set>"},
    // a2 lies inside a1; x1 before x2 makes "//x/.." list the inner a2 before a1.
    {"nest",
     "<r><a ID='a1'><b ID='b1'/><a ID='a2'><b ID='b2'/><x ID='x1'/></a><b ID='b3'/><x ID='x2'/>"
     "</a></r>"},
};

// Name and ID of an element ("sentence#4", or "sentence" without ID).
std::string describe(const TXpNode* node) {
  std::string id = attributeText(node, "ID");
  return std::string(node->nameUtf8()) + (id.empty() ? "" : "#" + id);
}

std::string describe(const TXpNodeList& nodes) {
  std::string out;
  for (const TXpNode* node : nodes) out += (out.empty() ? "" : " ") + describe(node);
  return out;
}

// The first element in document order described as wanted, found without path queries.
const TXpNode* findElement(const TXpNode* node, const std::string& wanted) {
  if (node->isElement() && describe(node) == wanted) return node;
  for (const TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling())
    if (const TXpNode* found = findElement(child, wanted)) return found;
  return nullptr;
}

class PathQuery : public ::testing::Test {
 protected:
  // The described element of a document; "" names the document element.
  const TXpNode* context(const std::string& document, const std::string& element) {
    TXpObjModel& model = models_[document];
    if (!model.Document()->docGetDocumentElement()) {
      const std::string& xml = kDocuments.at(document);
      EXPECT_TRUE(model.LoadMemory(xml.data(), xml.size())) << document;
    }
    const TXpNode* found = element.empty() ? model.Document()->docGetDocumentElement()
                                           : findElement(model.Document(), element);
    EXPECT_NE(found, nullptr) << element;
    return found;
  }
  std::map<std::string, TXpObjModel> models_;
};

}  // namespace

TEST_F(PathQuery, SelectsInDocumentOrderAndConcatenatesPerInputNode) {
  struct Case {
    const char *document, *context, *expression, *expected;
  } cases[] = {
      {"frames", "frames", "//frame", "frame#f1 frame#f2 frame#f3"},
      {"frames", "frame#f1", "./fes/fe", "fe#e1 fe#e2"},
      {"frames", "frame#f1", "./lexunits/lexunit", "lexunit#u1 lexunit#u2"},
      {"frames", "frame#f3", "./lexunits/lexunit", ""},
      {"frames", "frames", "//fe[@name='Agent']", "fe#e4"},
      {"frames", "frames", "//frame[@name='Motion']/lexunits/lexunit", "lexunit#u1 lexunit#u2"},
      {"frames", "frames", "//frame[@name='O'Brien']", ""},
      {"frames", "frame#f2", ".//fe", "fe#e3 fe#e4"},
      {"frames", "frame#f1", ".//lexunit", "lexunit#u1 lexunit#u2"},
      {"frames", "fe#e1", "//frames", "frames"},
      {"frames", "frames", "frame[@name='Motion'][@ID='f1']", "frame#f1"},
      {"frames", "frames", "frame[@name='Motion'][@ID='f2']", ""},
      {"frames", "frames", " // frame [ @name = \"Arriving\" ] ", "frame#f2"},
      {"frames", "frames", "/frames/*", "frame#f1 frame#f2 frame#f3 caf\xC3\xA9#k"},
      {"frames", "frame#f1", "/frame", ""},
      {"frames", "frame#f1", "*/*", "fe#e1 fe#e2 lexunit#u1 lexunit#u2"},
      {"frames", "lexunit#u1", "../..", "frame#f1"},
      {"frames", "frame#f1", ".", "frame#f1"},
      {"frames", "frames", "..", ""},
      {"frames", "frame#f2", "fes/./fe/../../lexunits/lexunit", "lexunit#u3 lexunit#u3"},
      {"frames", "frame#f1", "fes/fe/..", "fes fes"},
      {"frames", "frames", "//caf\xE9", "caf\xC3\xA9#k"},
      {"lu", "label#b3", "//sentence", "sentence#1 sentence#2 sentence#3 sentence#4 sentence"},
      {"lu", "", "//subcorpus", "subcorpus#c1 subcorpus#c2 subcorpus#c3"},
      {"lu", "", "//subcorpus[@name='X']//sentence", "sentence#1 sentence#2 sentence#4 sentence"},
      {"lu", "", "//sentence[@ID='4']", "sentence#4"},
      {"lu", "", "//sentence[@ID='']", "sentence"},
      {"lu", "", "//sentence[@id='1']", ""},
      {"lu", "", "//Sentence", ""},
      {"lu", "", "//lexunit-annotation", "lexunit-annotation#root"},
      {"lu", "set#a1", ".//label[@name='Target']", "label#b3"},
      {"lu", "set#a1", ".//layer[@name='FE']//label", "label#b1 label#b2"},
      {"lu", "set#a1", ".//label[@name='PP']", "label#b4"},
      {"lu", "set#a1", ".//layer[@name='FE']//label[@start='7']", "label#b2"},
      {"lu", "set#a1", ".//label[@start='07']", "label#b4"},
      {"lu", "", "//sentence/text", "text#t1 text#t2 text#t5"},
      {"lu", "", "//sentence[@ID='1']/text", "text#t1"},
      {"lu", "", "//layer[@name='FE']//label[@name='Goal']", "label#b2"},
      {"lu", "layer#l1", ".//label", "label#b1 label#b2"},
      {"lu", "label#b9", ".//label", "label#b10"},
      {"misc", "set", "frame", "frame#m1 frame#m2"},
      {"misc", "set", "frame[@name='Motion']/instance", "instance#i1 instance#i2"},
      {"misc", "set",
       "//frame-relation-type[@name=\"Inheritance\"]//frame-relation[@superFrameName=\"Motion\"]",
       "frame-relation#r1"},
      {"misc", "set", "//frame-relation-type[@name=\"Inheritance\"]//frame-relation",
       "frame-relation#r1 frame-relation#r2"},
      {"misc", "frame-relation#r1", ".//fe-relation", "fe-relation#x1 fe-relation#x2"},
      {"misc", "set", "//FERealizations/FERealization", "FERealization#z1 FERealization#z2"},
      {"misc", "FERealization#z1", "./valence-unit", "valence-unit#v1 valence-unit#v2"},
      {"nest", "r", "//a//b", "b#b1 b#b2 b#b3 b#b2"},
      {"nest", "r", "//x/..//b", "b#b2 b#b1 b#b2 b#b3"},
      {"nest", "r", "//x/../*", "b#b2 x#x1 b#b1 a#a2 b#b3 x#x2"},
      {"nest", "r", "//b/../b", "b#b1 b#b3 b#b2 b#b1 b#b3"},
      {"nest", "r", "//b/..//x", "x#x1 x#x2 x#x1 x#x1 x#x2"},
  };
  for (const Case& c : cases) {
    const TXpNode* node = context(c.document, c.context);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(describe(node->SelectNodes(c.expression)), c.expected)
        << c.expression << " from " << c.context;
  }
}

TEST_F(PathQuery, SingleNodeAndIntegerTakeTheFirstSelected) {
  const TXpNode* frames = context("frames", "frames");
  EXPECT_EQ(describe(frames->SelectSingleNode("//fe")), "fe#e1");
  EXPECT_EQ(frames->SelectSingleNode("//fe[@name='Actor']"), nullptr);
  EXPECT_EQ(context("frames", "lexunit#u1")->SelectInteger("./annotation/annotated"), 12);
  EXPECT_EQ(context("frames", "lexunit#u2")->SelectInteger("./annotation/annotated"), 0);
  EXPECT_EQ(context("frames", "lexunit#u3")->SelectInteger("./annotation/annotated"), 0);
  EXPECT_EQ(frames->SelectInteger("//annotated["), 0);
}

TEST_F(PathQuery, UnusableExpressionsSelectNothing) {
  const TXpNode* root = context("lu", "");
  // clang-format off
  const std::string_view expressions[] = {
      "", "/", "//", "a/", "a//", "a[", "a[@b='x", "a[@b='x'", "a[@b=\"x']", "//a[1]", "text()",
      "//sentence/text()", "sentence [ position() = 1 ]", "@x", "//label[@*='0']",
      "//label[@name=Goal]", "//label[name='Goal']", "a b", "a | b", "(a)", "//.", "a//..",
      ".[@ID='x']", "a]", "12", "\xFF\x01\x80", "a=b", "./", "...", "a\0b"sv};
  // clang-format on
  for (std::string_view expression : expressions) {
    // An exact-size copy lets sanitizers catch any read past the end.
    std::vector<char> bytes(expression.begin(), expression.end());
    XpPath path;
    EXPECT_FALSE(path.compile(std::string_view(bytes.data(), bytes.size()))) << expression;
    EXPECT_EQ(path.evaluate(root).nlGetLength(), 0) << expression;
    EXPECT_EQ(root->SelectNodes(expression).nlGetLength(), 0) << expression;
  }
}

TEST(PathQueryDeep, DeepDocumentsNeedNoRecursionAndNestedInputsStayLinear) {
  constexpr int kDepth = 100000;
  std::string xml;
  for (int i = 0; i < kDepth; ++i) xml += "<d>";
  xml += "<x/>";
  for (int i = 0; i < kDepth; ++i) xml += "</d>";
  TXpObjModel model;
  ASSERT_TRUE(model.LoadMemory(xml.data(), xml.size()));
  const TXpNode* root = model.Document()->docGetDocumentElement();
  const TXpNode* x = root->SelectSingleNode("//x");
  ASSERT_NE(x, nullptr);
  const TXpNode* deepest = x->parentNode();
  EXPECT_EQ(deepest->SelectNodes("//d").nlGetLength(), kDepth);
  EXPECT_EQ(deepest->SelectNodes("//d").Item(0), root);
  EXPECT_EQ(root->SelectNodes(".//x").nlGetLength(), 1);
  EXPECT_EQ(root->SelectNodes("d//x").nlGetLength(), 1);
  // Every d finds the one x: nested inputs share one walk.
  TXpNodeList all = root->SelectNodes("//d//x");
  ASSERT_EQ(all.nlGetLength(), kDepth);
  EXPECT_EQ(all.Item(kDepth - 1), all.Item(0));
  EXPECT_EQ(root->SelectNodes("//d//y").nlGetLength(), 0);
  // About 5e9 nodes would result: beyond the bound, so nothing.
  EXPECT_EQ(root->SelectNodes("//d//d").nlGetLength(), 0);
}

TEST(PathQueryBuilt, DocumentWideQueriesSeeElementsAddedAfterEarlierQueries) {
  const char kTemplate[] = "<?xml version=\"1.0\"?><r/>";
  TXpObjModel model;
  ASSERT_TRUE(model.LoadMemory(kTemplate, sizeof kTemplate - 1));
  TXpElement* root = model.Document()->docGetDocumentElement();
  TXpElement* first = root->CreateChildElement("c");
  first->SetAttribute("ID", "1");
  EXPECT_EQ(describe(root->SelectNodes("//c")), "c#1");
  TXpElement* inner = first->CreateChildElement("c");
  inner->SetAttribute("ID", "2");
  root->CreateChildElement("c")->SetAttribute("ID", "3");
  EXPECT_EQ(describe(root->SelectNodes("//c")), "c#1 c#2 c#3");
  inner->SetAttribute("ID", "4");
  EXPECT_EQ(describe(root->SelectNodes("//c[@ID='4']")), "c#4");
}
