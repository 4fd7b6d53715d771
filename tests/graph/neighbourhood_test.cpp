// Neighbourhoods and the whole graph: edges against the sample release's relations document
// and against the model of a generated release, for each depth, type filter and direction;
// cycles and self-relations; the listing order; frames only relations name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

#include "graph/GraphExport.h"
#include "graph/GraphText.h"
#include "graph/RelationGraph.h"
#include "releasegen/ReleaseGenerator.h"
#include "support/TempDir.h"
#include "graph/GraphFixture.h"

using namespace sorvanta::graph;
using namespace sorvanta::testing;

namespace {

TypeSet typesNamed(std::initializer_list<std::string_view> names) {
  TypeSet types;
  for (std::string_view name : names) types.set(*relationTypeIndex(name));
  return types;
}

struct SampleCase {
  const char* frame;
  WalkOptions options;
  const char* tsv;
};

TEST(SampleNeighbourhood, EdgesForEachDepthTypeFilterAndDirection) {
  auto loaded = graphOfRelease(sampleReleasePath() + "/");
  ASSERT_NE(loaded, nullptr);
  const SampleCase cases[] = {
      {"Motion", {1, allTypes(), Direction::Both},
       "Causative_of\tCause_motion\tMotion\nCoreSet\tMotion\tMotion\n"
       "Inheritance\tMotion\tSelf_motion\nSubframe\tMotion\tArriving\n"
       "Subframe\tMotion\tDeparting\nUsing\tMotion\tCause_motion\n"},
      {"Motion", {1, allTypes(), Direction::Up},
       "Causative_of\tCause_motion\tMotion\nCoreSet\tMotion\tMotion\n"},
      {"Motion", {1, allTypes(), Direction::Down},
       "CoreSet\tMotion\tMotion\nInheritance\tMotion\tSelf_motion\nSubframe\tMotion\tArriving\n"
       "Subframe\tMotion\tDeparting\nUsing\tMotion\tCause_motion\n"},
      {"Motion", {2, allTypes(), Direction::Down},
       "Causative_of\tCause_motion\tMotion\nCoreSet\tCause_motion\tPlacing\n"
       "CoreSet\tMotion\tMotion\nInchoative_of\tArriving\tLocative_relation\n"
       "Inheritance\tMotion\tSelf_motion\nPrecedes\tDeparting\tArriving\n"
       "Subframe\tMotion\tArriving\nSubframe\tMotion\tDeparting\n"
       "Using\tCause_motion\tPlacing\nUsing\tMotion\tCause_motion\n"},
      {"Placing", {1, typesNamed({"Inheritance", "Using"}), Direction::Up},
       "Inheritance\tIntentionally_act\tPlacing\nUsing\tCause_motion\tPlacing\n"
       "Using\tLocative_relation\tPlacing\n"},
      {"Commerce_buy", {1, typesNamed({"Perspective_on"}), Direction::Both},
       "Perspective_on\tCommerce_goods_transfer\tCommerce_buy\n"},
      {"Commerce_buy", {2, typesNamed({"Perspective_on"}), Direction::Both},
       "Perspective_on\tCommerce_goods_transfer\tCommerce_buy\n"
       "Perspective_on\tCommerce_goods_transfer\tCommerce_sell\n"},
      // Up then down is not "up": the sibling is reached only with both directions.
      {"Commerce_buy", {2, typesNamed({"Perspective_on"}), Direction::Up},
       "Perspective_on\tCommerce_goods_transfer\tCommerce_buy\n"},
      {"Self_motion", {3, typesNamed({"Inheritance"}), Direction::Up},
       "Inheritance\tIntentionally_act\tSelf_motion\nInheritance\tMotion\tSelf_motion\n"},
      {"Emotion_directed", {5, allTypes(), Direction::Both},
       "Excludes\tEmotion_directed\tEmotion_directed\n"},
      {"Motion", {0, allTypes(), Direction::Both}, ""},
      // Only a relation of a type the format does not know (Metaphor) names Chatter.
      {"Chatter", {3, allTypes(), Direction::Both}, ""},
      {"Discourse_marker", {2, allTypes(), Direction::Both}, ""},
  };
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(std::string(c.frame) + " depth " + std::to_string(c.options.depth));
    const auto frame = loaded->graph.findFrame(c.frame);
    ASSERT_TRUE(frame);
    EXPECT_EQ(graphTsv(loaded->graph, neighbourhood(loaded->graph, *frame, c.options)), c.tsv);
  }
}

TEST(SampleNeighbourhood, WholeGraphListsEveryKnownRelationOnce) {
  auto loaded = graphOfRelease(sampleReleasePath() + "/");
  ASSERT_NE(loaded, nullptr);
  const std::string all = graphTsv(loaded->graph, allEdges(loaded->graph, allTypes()));
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 18);
  EXPECT_EQ(all.find("Chatter"), std::string::npos);
  EXPECT_EQ(graphTsv(loaded->graph, allEdges(loaded->graph, typesNamed({"Subframe", "See_also"}))),
            "See_also\tCommerce_sell\tCommerce_buy\nSubframe\tMotion\tArriving\n"
            "Subframe\tMotion\tDeparting\n");
  EXPECT_TRUE(missingFrames(loaded->graph, allEdges(loaded->graph, allTypes())).empty());
}

// The edges an independent walk over the generated model reaches: at each step every relation
// touching a frame of the frontier, scanned from the whole list.
using Triple = std::tuple<std::string, std::string, std::string>;

std::set<Triple> modelNeighbourhood(const sorvanta::tools::ReleaseModel& model, size_t centre,
                                    const WalkOptions& options) {
  std::set<Triple> edges;
  std::set<size_t> seen{centre};
  std::vector<size_t> frontier{centre};
  for (int step = 0; step < options.depth && !frontier.empty(); ++step) {
    std::vector<size_t> next;
    for (const auto& relation : model.relations) {
      if (!options.types.test(relation.type)) continue;
      for (size_t frame : frontier) {
        const bool up = options.direction != Direction::Down && relation.subFrame == frame;
        const bool down = options.direction != Direction::Up && relation.superFrame == frame;
        if (!up && !down) continue;
        edges.emplace(sorvanta::tools::kFrameRelationTypes[relation.type],
                      model.frames[relation.superFrame].name, model.frames[relation.subFrame].name);
        for (size_t reached : {up ? relation.superFrame : centre, down ? relation.subFrame : centre})
          if (seen.insert(reached).second) next.push_back(reached);
      }
    }
    frontier = std::move(next);
  }
  return edges;
}

TEST(GeneratedNeighbourhood, MatchesAnIndependentWalkOfTheModel) {
  TempDir dir;
  const auto model = sorvanta::tools::generateReleaseModel({300, 11});
  std::filesystem::create_directories(dir.path() / "frXML");
  dir.write("frXML/frames.xml", sorvanta::tools::renderFramesDocument(model));
  dir.write("frXML/frRelation.xml", sorvanta::tools::renderRelationsDocument(model));
  auto loaded = graphOfRelease(dir.path().string() + "/");
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(std::string(kRelationTypes.back()), sorvanta::tools::kFrameRelationTypes.back());
  const TypeSet filters[] = {allTypes(), typesNamed({"Inheritance"}),
                             typesNamed({"Using", "Subframe", "Perspective_on"})};
  size_t nonEmpty = 0;
  for (size_t centre : {size_t{0}, size_t{3}, size_t{57}, size_t{150}, size_t{299}}) {
    for (int depth = 0; depth <= 3; ++depth) {
      for (const TypeSet& types : filters) {
        for (Direction direction : {Direction::Up, Direction::Down, Direction::Both}) {
          const WalkOptions options{depth, types, direction};
          SCOPED_TRACE(model.frames[centre].name + " depth " + std::to_string(depth) + " types " +
                       types.to_string() + " direction " + std::to_string(int(direction)));
          const auto frame = loaded->graph.findFrame(model.frames[centre].name);
          ASSERT_TRUE(frame);
          const std::vector<EdgeId> edges = neighbourhood(loaded->graph, *frame, options);
          std::vector<Triple> listed;
          for (EdgeId id : edges) {
            const Edge& edge = loaded->graph.edge(id);
            listed.emplace_back(std::string(kRelationTypes[edge.type]),
                                loaded->graph.frameNameUtf8(edge.superFrame),
                                loaded->graph.frameNameUtf8(edge.subFrame));
          }
          // Listed once each, sorted by type, super and sub frame names in byte order.
          EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
          EXPECT_EQ(std::adjacent_find(listed.begin(), listed.end()), listed.end());
          const std::set<Triple> expected = modelNeighbourhood(model, centre, options);
          EXPECT_EQ(std::set<Triple>(listed.begin(), listed.end()), expected);
          nonEmpty += !expected.empty();
        }
      }
    }
  }
  EXPECT_GT(nonEmpty, 60u);  // the cases above exercise real walks, not empty ones
  // The whole graph: every relation of the model, duplicates once.
  std::set<Triple> everything;
  for (const auto& relation : model.relations)
    everything.emplace(sorvanta::tools::kFrameRelationTypes[relation.type],
                       model.frames[relation.superFrame].name, model.frames[relation.subFrame].name);
  EXPECT_EQ(allEdges(loaded->graph, allTypes()).size(), everything.size());
}

TEST(GraphWalks, CyclesAndSelfRelationsEnd) {
  const std::string doc = relationsDocument(
      {{"Inheritance", relation("A", "B") + relation("B", "C") + relation("C", "A")},
       {"Using", relation("C", "C") + relation("C", "D")},
       {"Excludes", relation("A", "A")}});
  auto loaded = graphFromText(doc, {"A", "B", "C", "D"});
  ASSERT_NE(loaded, nullptr);
  for (Direction direction : {Direction::Up, Direction::Down, Direction::Both}) {
    const auto edges = neighbourhood(loaded->graph, loaded->id("A"), {1000000, allTypes(), direction});
    const std::string tsv = graphTsv(loaded->graph, edges);
    EXPECT_NE(tsv.find("Excludes\tA\tA\n"), std::string::npos);
    EXPECT_NE(tsv.find("Inheritance\tC\tA\n"), std::string::npos);
    EXPECT_NE(tsv.find("Using\tC\tC\n"), std::string::npos);
    // Down reaches D from C; up never does (D is only a sub frame).
    EXPECT_EQ(tsv.find("Using\tC\tD\n") != std::string::npos, direction != Direction::Up) << tsv;
  }
  EXPECT_EQ(graphTsv(loaded->graph, neighbourhood(loaded->graph, loaded->id("A"),
                                                  {1, allTypes(), Direction::Down})),
            "Excludes\tA\tA\nInheritance\tA\tB\n");
}

TEST(GraphWalks, RepeatedRelationsBecomeOneEdgeWithEveryMapping) {
  const std::string doc = relationsDocument(
      {{"Inheritance",
        relation("A", "B", {"X>Y"}) + relation("A", "B", {"X>Y", "Z>W", "\u03b2>W"})},
       {"Metaphor", relation("A", "B")},
       {"Using", relation("A", "B")}});
  auto loaded = graphFromText(doc, {"A", "B"});
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->graph.edges().size(), 2u);
  // A name working text cannot hold keeps its UTF-8 for the screen.
  EXPECT_EQ(loaded->graph.edge(0).feMappings,
            (std::vector<FeMapping>{
                {"X", "Y", "X", "Y"}, {"Z", "W", "Z", "W"}, {"?", "W", "\u03b2", "W"}}));
  EXPECT_TRUE(loaded->graph.edge(1).feMappings.empty());
}

TEST(GraphWalks, FramesOnlyRelationsNameAreKeptAndCountedMissing) {
  const std::string doc = relationsDocument(
      {{"Using", relation("Known", "Ghost") + relation("Ghost", "Known") + relation("Known", "")},
       {"Inheritance", relation("Phantom", "Known")}});
  auto loaded = graphFromText(doc, {"Known", "Isolated"});
  ASSERT_NE(loaded, nullptr);
  EXPECT_FALSE(loaded->graph.isMissing(loaded->id("Known")));
  EXPECT_FALSE(loaded->graph.isMissing(loaded->id("Isolated")));
  EXPECT_TRUE(loaded->graph.isMissing(loaded->id("Ghost")));
  EXPECT_FALSE(loaded->graph.findFrame("Nobody"));
  const auto edges = neighbourhood(loaded->graph, loaded->id("Known"), {1, allTypes(), Direction::Both});
  EXPECT_EQ(edges.size(), 4u);
  EXPECT_EQ(missingFrameWarnings(loaded->graph, edges),
            (std::vector<std::string>{
                "frame '' is named by 1 relation but is not in the frames document",
                "frame 'Ghost' is named by 2 relations but is not in the frames document",
                "frame 'Phantom' is named by 1 relation but is not in the frames document"}));
  EXPECT_TRUE(neighbourhood(loaded->graph, loaded->id("Isolated"), {3, allTypes(), Direction::Both})
                  .empty());
}

TEST(GraphWalks, ListingOrderIsUtf8ByteOrder) {
  // "Zoo" < "a" < "É"(C3 89) < "é"(C3 A9) in UTF-8 bytes; in working text 'É' is 0xC9.
  const std::string doc = relationsDocument(
      {{"Using", relation("P", "\xC3\xA9t\xC3\xA9") + relation("P", "a") + relation("P", "Zoo") +
                     relation("P", "\xC3\x89t\xC3\xA9")},
       {"CoreSet", relation("P", "P")}});
  auto loaded = graphFromText(doc, {"P"});
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(graphTsv(loaded->graph, allEdges(loaded->graph, allTypes())),
            "CoreSet\tP\tP\nUsing\tP\tZoo\nUsing\tP\ta\nUsing\tP\t\xC3\x89t\xC3\xA9\n"
            "Using\tP\t\xC3\xA9t\xC3\xA9\n");
  EXPECT_EQ(loaded->graph.frameName(loaded->id("\xC9t\xE9")), "\xC9t\xE9");  // working text
}

}  // namespace

namespace {

TEST(GraphWalks, NamesKeepTheCharactersTheDocumentsHold) {
  // "β" has no byte in working text: both spellings below are the frame "?_decay" to every
  // comparison, and the output shows the first met, the frames document's.
  const std::string doc = relationsDocument(
      {{"Using", relation("\xCE\xB2_decay", "Nasal") + relation("\xCE\xB3_decay", "Nasal")}});
  auto loaded = std::make_unique<LoadedGraph>();
  ASSERT_TRUE(loaded->relations.LoadMemory(doc.data(), doc.size()));
  loaded->graph = RelationGraph(loaded->relations.Document()->docGetDocumentElement(),
                                {{"?_decay", "\xCE\xB2_decay"}, {"Nasal", ""}});
  EXPECT_EQ(loaded->graph.frameCount(), 2u);
  EXPECT_EQ(graphTsv(loaded->graph, allEdges(loaded->graph, allTypes())),
            "Using\t\xCE\xB2_decay\tNasal\n");
  EXPECT_EQ(loaded->graph.frameName(*loaded->graph.findFrame("?_decay")), "?_decay");
}

}  // namespace
