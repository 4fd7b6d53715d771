// Node texts of whole query results: the same texts as node by node, with shared work.
#include <gtest/gtest.h>

#include <string>

#include "xml/XpObjModel.h"

using namespace sorvanta::xml;

namespace {

TXpElement* load(TXpObjModel& model, const std::string& xml) {
  EXPECT_TRUE(model.LoadMemory(xml.data(), xml.size())) << xml;
  return model.Document()->docGetDocumentElement();
}

std::string nested(size_t depth, const std::string& inner) {
  std::string xml = "<r>";
  for (size_t i = 0; i < depth; ++i) xml += "<a>";
  xml += inner;
  for (size_t i = 0; i < depth; ++i) xml += "</a>";
  return xml + "</r>";
}

}  // namespace

TEST(NodeTexts, EqualNodeByNodeTexts) {
  struct Case {
    const char* xml;
    const char* query;
  } cases[] = {
      {"<r><a>one <a>two</a> three</a><a>four</a></r>", "//a"},
      {"<r><a>x<a/><a> </a><a>y</a></a></r>", "//a"},                      // empty pieces skipped
      {"<r><a>1<b>2<a>3</a></b></a><b><a>4</a></b></r>", "//a/.."},       // parents repeat
      {"<r><a>1<b>2<a>3</a></b></a></r>", "//a | //b"},                   // unreadable: empty
      {"<r><a>caf\xC3\xA9<![CDATA[ & ]]></a><!-- c --><a>\xE2\x82\xAC</a></r>", "//a"},
      {"<r><a><a><a>deep</a></a></a>shallow<a>z</a></r>", "//a/../a"},   // duplicates kept
      {"<r><a>1</a><b>2</b></r>", "."},
      {"<r><a>1</a><b>2</b></r>", ".."},
  };
  for (const Case& c : cases) {
    TXpObjModel model;
    TXpElement* root = load(model, c.xml);
    const TXpNodeList nodes = root->SelectNodes(c.query);
    std::vector<std::string> expected;
    for (const TXpNode* node : nodes) expected.push_back(node->noGetText());
    EXPECT_EQ(nodeTexts(nodes), expected) << c.xml << " " << c.query;
  }
}

TEST(NodeTexts, TextAndAttributeNodesGiveTheirValues) {
  TXpObjModel model;
  TXpElement* root = load(model, "<r n='v'>t<a/></r>");
  TXpNodeList nodes;
  nodes.add(root->noGetFirstChild());
  nodes.add(root->attributes()->Item(0));
  nodes.add(root);
  EXPECT_EQ(nodeTexts(nodes), (std::vector<std::string>{"t", "v", "t"}));
}

// 200,000 nested elements, all selected: the texts cost one walk, not one walk per element.
TEST(NodeTexts, DeepNestingCostsLinearWork) {
  constexpr size_t kDepth = 200000;
  TXpObjModel model;
  TXpElement* root = load(model, nested(kDepth, "t"));
  const TXpNodeList nodes = root->SelectNodes("//a");
  ASSERT_EQ(nodes.nlGetLength(), static_cast<int>(kDepth));

  const uint64_t before = textNodesVisited();
  const std::vector<std::string> texts = nodeTexts(nodes);
  EXPECT_LE(textNodesVisited() - before, kDepth + 1);
  EXPECT_EQ(texts.front(), "t");
  EXPECT_EQ(texts.back(), "t");
  // Listed innermost first: the climbs that look for listed ancestors stay linear too.
  TXpNodeList reversed;
  for (auto it = nodes.nodes().rbegin(); it != nodes.nodes().rend(); ++it) reversed.add(*it);
  const uint64_t again = textNodesVisited();
  EXPECT_EQ(nodeTexts(reversed).size(), kDepth);
  EXPECT_LE(textNodesVisited() - again, kDepth + 1);
}

// Loading, querying and writing 200,000 levels use no recursion: on an 8 MiB stack a frame per
// level would overflow long before the end.
TEST(NodeTexts, DeepDocumentLoadsAndWritesBack) {
  constexpr size_t kDepth = 200000;
  const std::string xml = nested(kDepth, "t");
  TXpObjModel model;
  TXpElement* root = load(model, xml);
  EXPECT_EQ(root->SelectNodes("//a/a").nlGetLength(), static_cast<int>(kDepth - 1));
  std::string written;
  ASSERT_TRUE(model.saveToBytes(written));
  EXPECT_NE(written.find(xml), std::string::npos);
}
