// A frame's relations: labels, order, duplicates, super-only and unknown types, and the index
// that must give exactly what the queries give.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lexicon/FrameRelations.h"
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

// Inheritance appears twice and holds a real duplicate; Precedes is never shown.
const char kRelations[] = R"(<frameRelations>
<frame-relation-type name="Inheritance"><frame-relations>
  <frame-relation superFrameName="Motion" subFrameName="Self_motion"><fe-relation/></frame-relation>
  <frame-relation superFrameName="Event" subFrameName="Self_motion"/>
  <frame-relation superFrameName="Motion" subFrameName="Self_motion"/></frame-relations>
</frame-relation-type>
<frame-relation-type name="Causative_of">
  <frame-relation superFrameName="Cause_motion" subFrameName="Motion"/></frame-relation-type>
<frame-relation-type name="Using">
  <frame-relation superFrameName="Self_motion" subFrameName="Fleeing"/>
  <frame-relation superFrameName="Motion" subFrameName="Self_motion"/></frame-relation-type>
<frame-relation-type name="CoreSet">
  <frame-relation superFrameName="Self_motion" subFrameName="Motion"/></frame-relation-type>
<frame-relation-type name="Precedes">
  <frame-relation superFrameName="Self_motion" subFrameName="Arriving"/></frame-relation-type>
<frame-relation-type name="Inheritance">
  <frame-relation superFrameName="Self_motion" subFrameName="Sprinting"/></frame-relation-type>
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
  const char* types[] = {"Inheritance", "Using", "CoreSet", "Using", "Precedes", "using"};
  const char* names[] = {"A", "B", "Caf&#xE9;", "X&#x4E00;", "X?", "", "Q&quot;q"};
  const auto pick = [&rng](const auto& list) { return list[rng() % std::size(list)]; };
  const auto relation = [&](const char* end) {
    std::string text = "<frame-relation";
    for (const char* side : {"superFrameName", "subFrameName"})
      if (rng() % 6) text += std::string(" ") + side + "=\"" + pick(names) + "\"";
    return text + end;
  };
  std::string out = "<r>";
  std::vector<std::string> open;
  for (int i = 0; i < 60; ++i) {
    const unsigned what = rng() % 5;
    if (what == 0 && open.size() < 4) {
      out += std::string("<frame-relation-type name=\"") + pick(types) + "\">";
      open.push_back("</frame-relation-type>");
    } else if (what == 1 && open.size() < 4) {
      out += relation(">");
      open.push_back("</frame-relation>");
    } else if (what == 2 && !open.empty()) {
      out += open.back();
      open.pop_back();
    } else {
      out += relation("/>");
    }
  }
  for (; !open.empty(); open.pop_back()) out += open.back();
  return out + "</r>";
}

}  // namespace

TEST(FrameRelations, EntriesFollowTheTableSuperBeforeSub) {
  Loaded doc(kRelations);
  const RelationsIndex index(doc.root);
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
      {"Arriving", {}},  // Precedes only
      {"motion", {}},    // names compare case-sensitively
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frameRelationsByQuery(doc.root, c.frame), c.entries) << c.frame;
    EXPECT_EQ(index.entries(c.frame), c.entries) << c.frame;
  }
  EXPECT_TRUE(frameRelations(nullptr, "Motion").empty());
}

TEST(RelationsIndex, MatchesTheQueriesOnOddDocuments) {
  const char* frames[] = {"A", "B", "Caf\xE9", "X?", "", "Q\"q", "Caf\xC3\xA9", "C"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Loaded doc(oddRelations(seed));
    ASSERT_NE(doc.root, nullptr) << seed;
    const RelationsIndex index(doc.root);
    for (const char* frame : frames)
      EXPECT_EQ(index.entries(frame), frameRelationsByQuery(doc.root, frame)) << seed << frame;
  }
}

TEST(RelationsIndex, KeptWithTheDocumentUntilItChangesOrLoadsAgain) {
  Loaded doc(kRelations);
  auto* relation = static_cast<sorvanta::xml::TXpElement*>(
      doc.root->SelectSingleNode("//frame-relation[@superFrameName=\"Cause_motion\"]"));
  ASSERT_NE(relation, nullptr);
  const Entries before = {{"Is Causative Of", "Motion"}};
  EXPECT_EQ(frameRelations(doc.root, "Cause_motion"), before);
  EXPECT_EQ(&RelationsIndex::of(doc.root), &RelationsIndex::of(doc.root));
  relation->SetAttribute("superFrameName", "Moved");  // drops the kept index
  EXPECT_TRUE(frameRelations(doc.root, "Cause_motion").empty());
  EXPECT_EQ(frameRelations(doc.root, "Moved"), before);
  EXPECT_TRUE(frameRelations(Loaded("<r/>").root, "Cause_motion").empty());
}
