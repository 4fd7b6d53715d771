// The element index answers every query shape the program issues exactly as the plain
// evaluation does: same nodes, same order, same repetitions, on randomly shaped documents
// (nested namesakes, missing and empty attributes, text and comments between elements), from
// any context, and again after the document changed.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xml/XpObjModel.h"
#include "xml/XpPath.h"

using namespace sorvanta::xml;

namespace {

const char* const kNames[] = {"a", "b", "label", "layer", "s"};
const char* const kValues[] = {"", "FE", "x", "Target", "it's"};

class RandomDocuments {
 public:
  explicit RandomDocuments(unsigned seed) : random_(seed) {}

  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  const char* name() { return kNames[below(5)]; }
  const char* value() { return kValues[below(5)]; }

  // A document of up to about budget elements: deep chains and wide lists both occur.
  std::string document(int budget) {
    std::string xml = "<?xml version=\"1.0\"?><!--lead-->";
    element(xml, budget, 0);
    return xml + "<!--tail-->";
  }

  // A query of one of the shapes the program issues, with random names and values.
  std::string query() {
    const std::string a = name();
    const std::string b = name();
    const std::string v = value();
    const std::string predicate = "[@name=\"" + v + "\"]";
    switch (below(10)) {
      case 0:
        return "//" + a;
      case 1:
        return "//" + a + predicate;
      case 2:
        return "//" + a + "/" + b;
      case 3:
        return "//" + a + predicate + "//" + b;
      case 4:
        return "./" + a + "/" + b;
      case 5:
        return ".//" + a;
      case 6:
        return ".//" + a + predicate + "//" + b;
      case 7:
        return "//" + a + "//" + b + predicate;
      case 8:
        return ".//*";
      default:
        return "..//" + a + "//" + b;
    }
  }

 private:
  void element(std::string& xml, int& budget, int depth) {
    --budget;
    const std::string tag = name();
    xml += "<" + tag;
    if (below(3) > 0) xml += " name=\"" + std::string(value()) + "\"";
    if (below(4) == 0) xml += " ID=\"" + std::to_string(below(4)) + "\"";
    xml += ">";
    const int children = depth > 12 ? 0 : below(depth < 2 ? 6 : 4);
    for (int i = 0; i < children && budget > 0; ++i) {
      switch (below(6)) {
        case 0:
          xml += "t";
          break;
        case 1:
          xml += "<!--c-->";
          break;
        default:
          element(xml, budget, depth + 1);
      }
    }
    xml += "</" + tag + ">";
  }

  std::mt19937 random_;
};

// Every node of the document in document order: the contexts queries are tried from.
std::vector<const TXpNode*> allNodes(const TXpDocument* document) {
  std::vector<const TXpNode*> nodes{document};
  for (const TXpNode* node = document->noGetFirstChild(); node;
       node = nextInSubtree(node, document))
    nodes.push_back(node);
  return nodes;
}

// Runs count random queries from random contexts, each plain, indexed (twice, so the value
// maps built for a repeated query are compared as well) and as the engine chooses.
void expectIndexedEqualsPlain(RandomDocuments& random, TXpObjModel& model, int count,
                              const std::string& xml) {
  const std::vector<const TXpNode*> nodes = allNodes(model.Document());
  for (int i = 0; i < count; ++i) {
    const std::string expression = random.query();
    XpPath path;
    ASSERT_TRUE(path.compile(expression)) << expression;
    const TXpNode* context =
        nodes[static_cast<size_t>(random.below(static_cast<int>(nodes.size())))];
    const std::vector<TXpNode*> plain = path.evaluate(context, XpEvaluation::Plain).nodes();
    for (XpEvaluation how : {XpEvaluation::Auto, XpEvaluation::Indexed, XpEvaluation::Indexed}) {
      EXPECT_EQ(path.evaluate(context, how).nodes(), plain)
          << expression << " from a " << context->nameUtf8() << " in " << xml;
    }
  }
}

}  // namespace

TEST(IndexedQueries, SelectWhatThePlainEvaluationSelects) {
  RandomDocuments random(20261209);
  for (int document = 0; document < 300; ++document) {
    const std::string xml = random.document(1 + random.below(60));
    TXpObjModel model;
    ASSERT_TRUE(model.LoadMemory(xml.data(), xml.size())) << xml;
    expectIndexedEqualsPlain(random, model, 40, xml);
    if (HasFailure()) return;
  }
}

TEST(IndexedQueries, FollowTheDocumentWhenItChanges) {
  RandomDocuments random(7);
  for (int document = 0; document < 100; ++document) {
    const std::string xml = random.document(1 + random.below(30));
    TXpObjModel model;
    ASSERT_TRUE(model.LoadMemory(xml.data(), xml.size())) << xml;
    for (int change = 0; change < 5; ++change) {
      expectIndexedEqualsPlain(random, model, 10, xml);
      // Grow the tree below a random element, or rename an element's value.
      std::vector<TXpElement*> elements;
      for (const TXpNode* node : allNodes(model.Document()))
        if (node->isElement())
          elements.push_back(static_cast<TXpElement*>(const_cast<TXpNode*>(node)));
      TXpElement* element =
          elements[static_cast<size_t>(random.below(static_cast<int>(elements.size())))];
      if (random.below(2) == 0)
        element->CreateChildElement(random.name())->SetAttribute("name", random.value());
      else
        element->SetAttribute("name", random.value());
    }
    if (HasFailure()) return;
  }
}
