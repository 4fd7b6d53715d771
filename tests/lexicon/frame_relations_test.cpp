// A frame's relations: labels, order, duplicates, super-only types, unknown types, and the
// index that must give exactly what the queries give.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lexicon/FrameRelations.h"
#include "lexicon/RelationTypes.h"
#include "lexicon/RelationsIndex.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::lexicon;
using sorvanta::xml::TXpNode;
using sorvanta::xml::TXpObjModel;

namespace sorvanta::lexicon {
bool operator==(const RelationEntry& a, const RelationEntry& b) {
  return a.label == b.label && a.names == b.names;
}
void PrintTo(const RelationEntry& e, std::ostream* out) { *out << e.label << ": " << e.names; }
}  // namespace sorvanta::lexicon

namespace {

using Entries = std::vector<RelationEntry>;

// Inheritance appears twice; Precedes is not shown; the second Motion-to-Self_motion
// inheritance is a real duplicate.
const char kRelations[] = R"(<?xml version="1.0"?>
<frameRelations>
  <frame-relation-type name="Inheritance"><frame-relations>
    <frame-relation superFrameName="Motion" subFrameName="Self_motion">
      <fe-relation superFEName="Theme" subFEName="Self_mover"/></frame-relation>
    <frame-relation superFrameName="Event" subFrameName="Self_motion"/>
    <frame-relation superFrameName="Motion" subFrameName="Self_motion"/>
  </frame-relations></frame-relation-type>
  <frame-relation-type name="Causative_of"><frame-relations>
    <frame-relation superFrameName="Cause_motion" subFrameName="Motion"/>
  </frame-relations></frame-relation-type>
  <frame-relation-type name="Using"><frame-relations>
    <frame-relation superFrameName="Self_motion" subFrameName="Fleeing"/>
    <frame-relation superFrameName="Motion" subFrameName="Self_motion"/>
  </frame-relations></frame-relation-type>
  <frame-relation-type name="CoreSet"><frame-relations>
    <frame-relation superFrameName="Self_motion" subFrameName="Motion"/>
  </frame-relations></frame-relation-type>
  <frame-relation-type name="Precedes"><frame-relations>
    <frame-relation superFrameName="Self_motion" subFrameName="Arriving"/>
  </frame-relations></frame-relation-type>
  <frame-relation-type name="Inheritance"><frame-relations>
    <frame-relation superFrameName="Self_motion" subFrameName="Sprinting"/>
  </frame-relations></frame-relation-type>
</frameRelations>)";

struct Loaded {
  TXpObjModel model;
  const TXpNode* root = nullptr;
  explicit Loaded(std::string_view text) {
    model.LoadMemory(text.data(), text.size());
    root = model.Document()->docGetDocumentElement();
  }
};

// Relation documents of odd shapes: nested and repeated type elements, relations inside
// relations, missing attributes, unknown types, names that do not survive conversion.
std::string oddRelations(unsigned seed) {
  std::mt19937 rng(seed);
  const char* types[] = {"Inheritance", "Using", "CoreSet", "Subframe", "Precedes",
                         "inheritance", "Causative_of", "Requires"};
  const char* names[] = {"A", "B", "Caf&#xE9;", "X&#x4E00;", "X?", "", "Q&quot;q"};
  std::string out = "<r>";
  const auto pick = [&rng](const auto& list) { return list[rng() % std::size(list)]; };
  const auto attribute = [&](const char* name) {
    return rng() % 6 == 0 ? std::string() : std::string(" ") + name + "=\"" + pick(names) + "\"";
  };
  int open = 0;
  std::vector<std::string> stack;
  for (int i = 0; i < 60; ++i) {
    const unsigned what = rng() % 5;
    if (what == 0 && stack.size() < 4) {
      out += std::string("<frame-relation-type name=\"") + pick(types) + "\">";
      stack.push_back("</frame-relation-type>");
    } else if (what == 1 && stack.size() < 4) {
      out += "<frame-relation" + attribute("superFrameName") + attribute("subFrameName") + ">";
      stack.push_back("</frame-relation>");
    } else if (what == 2 && !stack.empty()) {
      out += stack.back();
      stack.pop_back();
    } else {
      out += "<frame-relation" + attribute("superFrameName") + attribute("subFrameName") + "/>";
    }
    ++open;
  }
  while (!stack.empty()) {
    out += stack.back();
    stack.pop_back();
  }
  return out + "</r>";
}

}  // namespace

TEST(FrameRelations, EntriesFollowTheTableSuperBeforeSub) {
  Loaded doc(kRelations);
  const struct {
    const char* frame;
    Entries entries;
  } cases[] = {
      {"Self_motion",
       {{"Is Inherited By", "Sprinting"},
        {"Inherits From", "Motion; Event; Motion"},
        {"Is Used By", "Fleeing"},
        {"Uses", "Motion"},
        {"Has CoreSet", "Motion"}}},
      {"Motion",  // the sub side of CoreSet is not looked up
       {{"Is Inherited By", "Self_motion; Self_motion"},
        {"Is Used By", "Self_motion"},
        {"Is Caused By", "Cause_motion"}}},
      {"Cause_motion", {{"Is Causative Of", "Motion"}}},
      {"Arriving", {}},  // Precedes only
      {"Nowhere", {}},
      {"motion", {}},  // names compare case-sensitively
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frameRelations(doc.root, c.frame), c.entries) << c.frame;
    EXPECT_EQ(frameRelationsByQuery(doc.root, c.frame), c.entries) << c.frame;
    const RelationsIndex index(doc.root);
    EXPECT_EQ(index.entries(c.frame), c.entries) << c.frame;
  }
  EXPECT_TRUE(frameRelations(nullptr, "Motion").empty());
}

TEST(FrameRelations, QueryTextUsesDoubleQuotes) {
  EXPECT_EQ(relationQuery("Inheritance", "super", "Motion"),
            "//frame-relation-type[@name=\"Inheritance\"]//frame-relation"
            "[@superFrameName=\"Motion\"]");
  EXPECT_EQ(relationQuery("Using", "sub", "A b"),
            "//frame-relation-type[@name=\"Using\"]//frame-relation[@subFrameName=\"A b\"]");
  EXPECT_EQ(relationQuery("Using"), "//frame-relation-type[@name=\"Using\"]//frame-relation");
}

TEST(FrameRelations, TableHasTenTypesThreeOfThemSuperOnly) {
  ASSERT_EQ(RelationTypeTable.size(), 10u);
  std::vector<std::string> superOnly;
  for (const RelationType& type : RelationTypeTable) {
    EXPECT_FALSE(type.superLabel.empty()) << type.name;
    if (type.subLabel.empty()) superOnly.emplace_back(type.name);
  }
  EXPECT_EQ(superOnly, (std::vector<std::string>{"CoreSet", "Excludes", "Requires"}));
}

TEST(RelationsIndex, MatchesTheQueriesOnOddDocuments) {
  const char* frames[] = {"A", "B", "Caf\xE9", "X?", "", "Q\"q", "Caf\xC3\xA9", "C"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Loaded doc(oddRelations(seed));
    ASSERT_NE(doc.root, nullptr) << seed;
    const RelationsIndex index(doc.root);
    for (const char* frame : frames) {
      EXPECT_EQ(index.entries(frame), frameRelationsByQuery(doc.root, frame))
          << "seed " << seed << " frame " << frame;
    }
  }
}

TEST(RelationsIndex, AnswersForItsRootOnlyWhileItLives) {
  Loaded doc(kRelations);
  const Entries before = frameRelations(doc.root, "Cause_motion");
  auto* relation = const_cast<TXpNode*>(doc.root->SelectSingleNode(
      "//frame-relation[@superFrameName=\"Cause_motion\"]"));
  ASSERT_NE(relation, nullptr);
  {
    const RelationsIndex index(doc.root);
    static_cast<sorvanta::xml::TXpElement*>(relation)->SetAttribute("subFrameName", "Changed");
    // The index was built before the change; queries see it.
    EXPECT_EQ(frameRelations(doc.root, "Cause_motion"), before);
    EXPECT_NE(frameRelationsByQuery(doc.root, "Cause_motion"), before);
    Loaded other(kRelations);
    EXPECT_EQ(frameRelations(other.root, "Cause_motion"), before);
  }
  EXPECT_EQ(frameRelations(doc.root, "Cause_motion"),
            (Entries{{"Is Causative Of", "Changed"}}));
}
