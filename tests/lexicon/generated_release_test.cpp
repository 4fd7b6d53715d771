// A generated release folder holds what the lexicon layer and the derived commands rely on:
// the per-unit files of every annotated unit, annotated counts that match the sentences,
// relations between real frames and frame elements, and prepositional subcorpora whose PP
// labels the preposition extraction can select.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "lexicon/FrameRelations.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"
#include "support/TempDir.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::lexicon;
using sorvanta::testing::TempDir;
using sorvanta::xml::attributeText;
using sorvanta::xml::TXpNode;
using sorvanta::xml::TXpObjModel;

namespace tools = sorvanta::tools;

namespace {

class GeneratedRelease : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = tools::generateReleaseModel({15, 3});
    summary_ = tools::writeReleaseFolder(model_, dir_.path());
    folder_ = dir_.path().string() + "/";
    ASSERT_TRUE(frames_.LoadDataSource(framesDocumentPath(folder_)));
    ASSERT_TRUE(relations_.LoadDataSource(relationsDocumentPath(folder_)));
    index_ = fillFramesIndex(root(frames_));
  }

  static const TXpNode* root(TXpObjModel& doc) { return doc.Document()->docGetDocumentElement(); }

  // The document element of a document of the release; nullptr when it does not load.
  static const TXpNode* load(TXpObjModel& doc, const std::string& path) {
    return doc.LoadDataSource(path) ? root(doc) : nullptr;
  }

  TempDir dir_;
  tools::ReleaseModel model_;
  tools::ReleaseSummary summary_;
  std::string folder_;
  TXpObjModel frames_, relations_;
  FramesIndex index_;
};

TEST_F(GeneratedRelease, EveryAnnotatedUnitHasItsFilesAndMatchingSentenceCount) {
  ASSERT_EQ(index_.numFrames, 15);
  ASSERT_EQ(static_cast<int>(index_.lexUnits.size()), summary_.lexUnits);
  int annotated = 0;
  for (const ListRow& row : index_.lexUnits) {
    const std::string id(row.cell(kLuId));
    const std::string count(row.cell(kLuAnns));
    const std::string paths[] = {annotationDocumentPath(folder_, id),
                                 subcorpusDocumentPath(folder_, id),
                                 lexicalEntryDocumentPath(folder_, id)};
    if (count == "0") {
      for (const std::string& path : paths) EXPECT_FALSE(std::filesystem::exists(path)) << path;
      continue;
    }
    ++annotated;
    SCOPED_TRACE("lexical unit " + id);
    TXpObjModel doc;
    const TXpNode* sentences = load(doc, paths[0]);
    ASSERT_NE(sentences, nullptr);
    EXPECT_EQ(std::to_string(sentences->SelectNodes("//sentence").nlGetLength()), count);
    const TXpNode* subcorpora = load(doc, paths[1]);
    ASSERT_NE(subcorpora, nullptr);
    EXPECT_EQ(attributeText(subcorpora, "name"), row.caption());
    EXPECT_EQ(attributeText(subcorpora, "frame"), row.cell(kLuFrameName));
    EXPECT_EQ(std::to_string(subcorpora->SelectNodes("//subcorpus/*/sentence").nlGetLength()),
              count);
    // Every realization has its valence unit and a count.
    int realized = 0;
    const TXpNode* entry = load(doc, paths[2]);
    ASSERT_NE(entry, nullptr);
    for (const TXpNode* realization : entry->SelectNodes("//FERealizations/FERealization")) {
      EXPECT_NE(realization->SelectSingleNode("./valence-unit"), nullptr);
      realized += std::stoi(attributeText(realization, "total"));
    }
    EXPECT_GT(realized, 0);
  }
  EXPECT_EQ(annotated, summary_.annotatedUnits);
  EXPECT_GT(annotated, 0);
  EXPECT_EQ(summary_.files, 2 + 3 * annotated);
}

TEST_F(GeneratedRelease, RelationsNameExistingFramesAndFrameElements) {
  std::map<std::string, std::set<std::string>> elementsOf;
  for (const ListRow& row : index_.frames) {
    for (const TXpNode* fe : row.data->SelectNodes("./fes/fe"))
      elementsOf[std::string(row.caption())].insert(attributeText(fe, "name"));
  }
  const TXpNode* relationsRoot = root(relations_);
  EXPECT_EQ(relationsRoot->SelectNodes("//frame-relation-type").nlGetLength(), 12);
  const auto relations = relationsRoot->SelectNodes("//frame-relation");
  ASSERT_EQ(relations.nlGetLength(), summary_.relations);
  ASSERT_GT(relations.nlGetLength(), 15);
  int shown = 0;
  for (const TXpNode* relation : relations) {
    const std::string super = attributeText(relation, "superFrameName");
    const std::string sub = attributeText(relation, "subFrameName");
    ASSERT_TRUE(elementsOf.count(super) && elementsOf.count(sub)) << super << " / " << sub;
    for (const TXpNode* pair : relation->SelectNodes(".//fe-relation")) {
      EXPECT_TRUE(elementsOf[super].count(attributeText(pair, "superFEName"))) << super;
      EXPECT_TRUE(elementsOf[sub].count(attributeText(pair, "subFEName"))) << sub;
    }
    // Types the frames view shows give the sub frame an entry naming the super frame.
    const std::string type = attributeText(relation->parentNode()->parentNode(), "name");
    if (type == "Precedes" || type == "Perspective_on" || type == "CoreSet" || type == "Excludes" ||
        type == "Requires") {
      continue;
    }
    ++shown;
    bool named = false;
    for (const RelationEntry& entry : frameRelations(relationsRoot, sub))
      named = named || ("; " + entry.names + "; ").find("; " + super + "; ") != std::string::npos;
    EXPECT_TRUE(named) << sub << " should name " << super << " (" << type << ")";
  }
  EXPECT_GT(shown, 0);
}

TEST_F(GeneratedRelease, PrepositionalSubcorporaHaveSelectablePpLabels) {
  int ppSentences = 0;
  for (const ListRow& row : index_.lexUnits) {
    if (row.cell(kLuAnns) == "0") continue;
    TXpObjModel doc;
    const TXpNode* units = load(doc, subcorpusDocumentPath(folder_, row.cell(kLuId)));
    ASSERT_NE(units, nullptr);
    for (const TXpNode* subcorpus : units->SelectNodes("//subcorpus")) {
      const std::string name = attributeText(subcorpus, "name");
      const size_t pp = name.find("-pp");
      if (pp == std::string::npos) continue;
      const std::string prep = name.substr(pp + 3) + " ";
      for (const TXpNode* set : subcorpus->childNodes()) {
        ++ppSentences;
        const TXpNode* layers = set->noGetFirstChild();
        ASSERT_NE(layers, nullptr);
        ASSERT_GE(layers->childNodes().nlGetLength(), 3);
        const char* const order[] = {"FE", "GF", "PT"};
        for (int i = 0; i < 3; ++i)
          EXPECT_EQ(attributeText(layers->childNodes().Item(i), "name"), order[i]);
        const std::string text = set->noGetLastChild()->noGetText();
        const auto labels = set->SelectNodes(".//label[@name='PP']");
        EXPECT_EQ(labels.nlGetLength(), 1) << text;
        for (const TXpNode* label : labels) {
          const std::string start = attributeText(label, "start");
          EXPECT_EQ(text.compare(std::stoul(start), prep.size(), prep), 0)
              << name << ": " << text << " at " << start;
          EXPECT_EQ(
              set->SelectNodes(".//layer[@name='FE']//label[@start='" + start + "']").nlGetLength(),
              1);
        }
      }
    }
  }
  EXPECT_GT(ppSentences, 0);
}

TEST(GeneratedReleaseModel, RelationsDependOnlyOnTheSeed) {
  const auto relations = [](uint64_t seed) {
    return tools::renderRelationsDocument(tools::generateReleaseModel({40, seed}));
  };
  EXPECT_EQ(relations(5), relations(5));
  EXPECT_NE(relations(5), relations(6));
}

}  // namespace
