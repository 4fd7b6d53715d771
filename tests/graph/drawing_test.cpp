// The drawn graph: DOT escaping and marks, Graphviz's SVG read back as XML, PNG bytes, the
// window's layout, file formats, and failures reported rather than crashing.
#include <gtest/gtest.h>

#include <algorithm>

#include "graph/GraphExport.h"
#include "graph/GraphFixture.h"
#include "graph/GraphStyle.h"
#include "graph/GraphText.h"
#include "graph/GraphvizLayout.h"
#include "support/TempDir.h"
#include "text/Errors.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::graph;
using namespace sorvanta::testing;

namespace {

TEST(DotText, QuotesEscapeQuotesAndBackslashesAndKeepUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"Motion", "\"Motion\""},
      {"", "\"\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash\\", "\"back\\\\slash\\\\\""},
      {"\\\"", "\"\\\\\\\"\""},
      {"Caf\xC3\xA9 \xE2\x82\xAC", "\"Caf\xC3\xA9 \xE2\x82\xAC\""},
      {"a -> b; }", "\"a -> b; }\""},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(dotQuoted(name), quoted) << name;
}

// Frame names that need escaping, one missing frame, and a self-relation.
std::unique_ptr<LoadedGraph> awkwardGraph() {
  const std::string doc = relationsDocument(
      {{"Inheritance", relation("Say &quot;hi&quot;", "Back\\slash") +
                           relation("Say &quot;hi&quot;", "Caf&#233;")},
       {"Using", relation("Caf&#233;", "Ghost &amp; Co")},
       {"CoreSet", relation("Caf&#233;", "Caf&#233;")}});
  return graphFromText(doc, {"Say \"hi\"", "Back\\slash", "Caf\xE9"});
}

TEST(DotText, NamesEscapedMissingMarkedCentreFilledLegendPerType) {
  auto loaded = awkwardGraph();
  ASSERT_NE(loaded, nullptr);
  const GraphSelection selection =
      neighbourhoodSelection(loaded->graph, loaded->id("Caf\xE9"), {1, allTypes(), Direction::Both});
  const std::string dot = graphDot(loaded->graph, selection);
  EXPECT_NE(dot.find("\"Say \\\"hi\\\"\" -> \"Caf\xC3\xA9\""), std::string::npos) << dot;
  EXPECT_NE(dot.find("\"Caf\xC3\xA9\" [id=\"f2\", style=\"rounded,filled,bold\""), std::string::npos);
  const std::string ghost = "\"Ghost & Co\" [id=\"f3\", style=\"rounded,dashed\", color=\"" +
                            std::string(kMissingColour) + "\"";
  EXPECT_NE(dot.find(ghost), std::string::npos) << dot;
  EXPECT_NE(dot.find("label=\"Ghost & Co\\n(missing)\""), std::string::npos);
  EXPECT_EQ(dot.find("Back\\\\slash"), std::string::npos);  // two steps away
  // One legend entry per drawn type, styled like the edges, and the missing mark.
  for (std::string_view type : {"Inheritance", "Using", "CoreSet"}) {
    const EdgeStyle& style = kEdgeStyles[*relationTypeIndex(type)];
    const std::string styled = "color=\"" + std::string(style.colour) +
                               "\", style=" + std::string(dotLineStyle(style.line)) +
                               ", arrowhead=" + std::string(style.arrowhead);
    EXPECT_NE(dot.find("[label=\"" + std::string(type) + "\", " + styled), std::string::npos)
        << type;
  }
  EXPECT_EQ(dot.find("label=\"Subframe\""), std::string::npos);
  EXPECT_NE(dot.find("label=\"missing frame\""), std::string::npos);
}

TEST(DotText, EveryTypeHasItsOwnStyle) {
  for (size_t a = 0; a < kEdgeStyles.size(); ++a)
    for (size_t b = a + 1; b < kEdgeStyles.size(); ++b)
      EXPECT_FALSE(kEdgeStyles[a].colour == kEdgeStyles[b].colour &&
                   kEdgeStyles[a].line == kEdgeStyles[b].line &&
                   kEdgeStyles[a].arrowhead == kEdgeStyles[b].arrowhead)
          << kRelationTypes[a] << " / " << kRelationTypes[b];
}

TEST(DotText, LegendNodesNeverTakeAFrameName) {
  const std::string doc = relationsDocument({{"Using", relation("legend 2 from", "legend 2 to")}});
  auto loaded = graphFromText(doc, {"legend 2 from", "legend 2 to"});
  ASSERT_NE(loaded, nullptr);
  const std::string dot = graphDot(loaded->graph, wholeGraphSelection(loaded->graph, allTypes()));
  EXPECT_NE(dot.find("\"_legend 2 from\" -> \"_legend 2 to\""), std::string::npos) << dot;
  // Graphviz reads it back with exactly the two frames and the two legend points.
  const std::string svg = renderDot(dot, "svg");
  sorvanta::xml::TXpObjModel parsed;
  ASSERT_TRUE(parsed.LoadMemory(svg.data(), svg.size()));
  EXPECT_EQ(parsed.Document()->docGetDocumentElement()->SelectNodes("//g[@class='node']").nlGetLength(),
            4);
}

TEST(Drawing, SvgIsWellFormedWithANodePerFrameAndAnEdgePerRelation) {
  auto loaded = awkwardGraph();
  ASSERT_NE(loaded, nullptr);
  const GraphSelection selection = wholeGraphSelection(loaded->graph, allTypes());
  const std::string svg = graphBytes(loaded->graph, selection, GraphFormat::Svg);
  sorvanta::xml::TXpObjModel parsed;
  ASSERT_TRUE(parsed.LoadMemory(svg.data(), svg.size()))
      << (parsed.errors().empty() ? "" : parsed.errors().front());
  const sorvanta::xml::TXpNode* root = parsed.Document()->docGetDocumentElement();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->nodeName(), "svg");
  for (FrameId frame = 0; frame < loaded->graph.frameCount(); ++frame) {
    // The shown name is exact; the title keeps Graphviz's escaped form of the node name.
    const sorvanta::xml::TXpNodeList text =
        root->SelectNodes("//g[@id='f" + std::to_string(frame) + "']//text");
    ASSERT_GE(text.nlGetLength(), 1) << frame;
    EXPECT_EQ(text.Item(0)->noGetText(), loaded->graph.frameName(frame));
  }
  for (EdgeId edge = 0; edge < loaded->graph.edges().size(); ++edge)
    EXPECT_EQ(root->SelectNodes("//g[@id='e" + std::to_string(edge) + "']").nlGetLength(), 1);
  // The missing frame's label carries the mark, in the missing colour.
  const std::string missingText =
      "//g[@id='f3']//text[@fill='" + std::string(kMissingColour) + "']";
  EXPECT_EQ(root->SelectNodes(missingText).nlGetLength(), 2);
}

TEST(Drawing, PngHasItsSignatureAndLargeGraphsUseForcePlacement) {
  std::string relations;
  for (int i = 0; i < 200; ++i)
    relations += relation("Frame" + std::to_string(i / 3), "Frame" + std::to_string(i + 1));
  auto loaded = graphFromText(relationsDocument({{"Inheritance", relations}}), {});
  ASSERT_NE(loaded, nullptr);
  const GraphSelection selection = wholeGraphSelection(loaded->graph, allTypes());
  EXPECT_NE(graphDot(loaded->graph, selection).find("layout=sfdp;"), std::string::npos);
  const std::string png = graphBytes(loaded->graph, selection, GraphFormat::Png);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
  // The window's layout of the same graph places every frame inside the drawing.
  const GraphLayout layout = layoutDot(graphDot(loaded->graph, selection, {false}));
  EXPECT_EQ(layout.nodes.size(), loaded->graph.frameCount());
  EXPECT_EQ(layout.edges.size(), 200u);
  for (const LayoutNode& node : layout.nodes) {
    EXPECT_GE(node.centre.x, 0);
    EXPECT_LE(node.centre.x, layout.width);
  }
}

TEST(Drawing, RankedLayoutPutsSuperFramesAboveSubFrames) {
  auto loaded = graphOfRelease(sampleReleasePath() + "/");
  ASSERT_NE(loaded, nullptr);
  const GraphSelection selection = neighbourhoodSelection(loaded->graph, loaded->id("Motion"),
                                                          {1, allTypes(), Direction::Down});
  const GraphLayout layout = layoutDot(graphDot(loaded->graph, selection, {false}));
  ASSERT_EQ(layout.nodes.size(), 5u);  // legend left out
  ASSERT_EQ(layout.edges.size(), selection.edges.size());
  auto y = [&](std::string_view name) {
    for (const LayoutNode& node : layout.nodes)
      if (loaded->graph.frameName(node.frame) == name) return node.centre.y;
    return -1.0;
  };
  for (std::string_view sub : {"Self_motion", "Arriving", "Departing", "Cause_motion"})
    EXPECT_GT(y("Motion"), y(sub)) << sub;
  for (const LayoutEdge& edge : layout.edges) {
    EXPECT_EQ(edge.path.size() % 3, 1u);
    EXPECT_TRUE(edge.arrowTip.has_value());
  }
}

TEST(Drawing, GraphvizFailuresAreReportedAsErrors) {
  EXPECT_THROW(renderDot("digraph { a -> }", "svg"), sorvanta::text::RuntimeError);
  EXPECT_THROW(renderDot("digraph { a -> b }", "no-such-format"), sorvanta::text::RuntimeError);
  // Graphviz stays usable afterwards.
  EXPECT_NE(renderDot("digraph { a -> b }", "svg").find("</svg>"), std::string::npos);
}

TEST(Export, FormatsByNameAndByFileExtension) {
  EXPECT_EQ(graphFormatNamed("svg"), GraphFormat::Svg);
  EXPECT_EQ(graphFormatNamed("SVG"), std::nullopt);
  const std::pair<const char*, std::optional<GraphFormat>> files[] = {
      {"a/graph.svg", GraphFormat::Svg}, {"graph.PNG", GraphFormat::Png},
      {"graph.gv", GraphFormat::Dot},    {"graph.dot", GraphFormat::Dot},
      {"graph.tsv", GraphFormat::Tsv},   {"graph", std::nullopt},
      {"my.dir/graph", std::nullopt},    {"graph.jpg", std::nullopt}};
  for (const auto& [file, format] : files) EXPECT_EQ(graphFormatOfFile(file), format) << file;
}

TEST(Export, SavesAtomicallyAndRefusesAnUnwritablePath) {
  TempDir dir;
  auto loaded = awkwardGraph();
  ASSERT_NE(loaded, nullptr);
  const GraphSelection selection = wholeGraphSelection(loaded->graph, allTypes());
  saveGraph(loaded->graph, selection, GraphFormat::Dot, dir.file("g.dot"));
  EXPECT_EQ(readBytes(dir.file("g.dot")), graphDot(loaded->graph, selection));
  EXPECT_THROW(saveGraph(loaded->graph, selection, GraphFormat::Tsv, dir.file("none/g.tsv")),
               sorvanta::text::FileCreateError);
}

}  // namespace
