// Colours, definition markup, annotated sentences and the HTML pages.
#include <gtest/gtest.h>

#include "reports/AnnotationDisplay.h"
#include "reports/DefinitionMarkup.h"
#include "reports/HtmlReport.h"
#include "reports/HtmlText.h"
#include "reports/Palette.h"
#include "support/CliRun.h"
#include "support/TempDir.h"
#include "xml/XpObjModel.h"

namespace sorvanta::testing {
namespace {

using namespace reports;

std::vector<FrameElementInfo> fes(std::initializer_list<const char*> names) {
  std::vector<FrameElementInfo> list;
  for (const char* name : names) list.push_back({name, "", "Core", ""});
  return list;
}

TEST(FeColours, AssignedInFrameOrderAndStable) {
  const FeColours colours(fes({"Agent", "Theme", "Goal", "time", "Time", "A6", "A7", "A8", "A9",
                               "A10", "A11", "A12", "A13"}));
  EXPECT_STREQ(colours.of("Agent").hex, fePalette()[0].hex);
  EXPECT_STREQ(colours.of("Goal").hex, fePalette()[2].hex);
  EXPECT_STRNE(colours.of("time").hex, colours.of("Time").hex);  // names match exactly
  EXPECT_STREQ(colours.of("A13").hex, fePalette()[0].hex);       // the 13th wraps round
  EXPECT_STREQ(colours.of("Nobody").hex, unknownFeColour().hex);
  // The twelve colours are distinct.
  for (size_t i = 0; i < kPaletteSize; ++i)
    for (size_t k = i + 1; k < kPaletteSize; ++k)
      EXPECT_STRNE(fePalette()[i].hex, fePalette()[k].hex);

  // The same FE keeps its colour in the frame report and in its units' reports.
  FrameInfo frame;
  frame.name = "Placing";
  frame.fes = fes({"Agent", "Theme", "Goal"});
  frame.definition = "<def-root>The <fen>Goal</fen>.</def-root>";
  LexicalUnitData lu;
  lu.name = "put.v";
  lu.frame = "Placing";
  lu.frameFes = frame.fes;
  lu.sets.push_back({"1", 1, "Put it here.", "", {{"FE", "1", "Goal", "", 7, 10, "7", "10"}}});
  const std::string goal = std::string("background-color:") + fePalette()[2].hex + "\">Goal<";
  EXPECT_NE(frameReportPage(frame).find(goal), std::string::npos);
  EXPECT_NE(lexUnitReportPage(lu).find(std::string("background-color:") + fePalette()[2].hex +
                                       "\" title=\"Goal\">here"),
            std::string::npos);
}

TEST(DefinitionMarkup, EveryTagKindAndMalformedMarkup) {
  const FeColours colours(fes({"Theme", "Goal"}));
  const std::string theme = std::string("<span class=\"fe\" style=\"background-color:") +
                            fePalette()[0].hex + "\">";
  const std::string goalTitled = std::string("<span class=\"fe\" style=\"background-color:") +
                                 fePalette()[1].hex + "\" title=\"Goal\">";
  struct Case {
    const char* markup;
    std::string html;
    const char* plain;
  };
  const Case cases[] = {
      {"<def-root>A <fen>Theme</fen> moves.</def-root>",
       "<div class=\"def-root\">A " + theme + "Theme</span> moves.</div>", "A Theme moves."},
      {"Go <ex><fex name=\"Goal\">home</fex> <t>now</t></ex>",
       "Go <div class=\"ex\" style=\"margin-left:2em\"><i>" + goalTitled +
           "home</span> <b>now</b></i></div>",
       "Go\n    home now"},
      {"An <em>odd</em> <i>one</i>", "An <em>odd</em> <em>one</em>", "An odd one"},
      // Unknown tags stay as their text.
      {"a <foo x=\"1\">b</foo>", "a &lt;foo x=&quot;1&quot;&gt;b&lt;/foo&gt;",
       "a <foo x=\"1\">b</foo>"},
      // Unclosed: closed at the end, nothing lost.
      {"<ex>never closed", "<div class=\"ex\" style=\"margin-left:2em\"><i>never closed</i></div>",
       "    never closed"},
      // An end tag that closes nothing, a "<" that starts no tag, an unterminated tag.
      {"x</fen> a < b <fen", "x&lt;/fen&gt; a &lt; b &lt;fen", "x</fen> a < b <fen"},
      // Crossed nesting: </ex> closes the <em> left open inside it.
      {"<ex><em>a</ex>b</em>",
       "<div class=\"ex\" style=\"margin-left:2em\"><i><em>a</em></i></div>b&lt;/em&gt;",
       "    a\nb</em>"},
      // Nested known tags; FE names outside the frame in grey; entities decoded once.
      {"<fen>Nobody</fen> &amp;lt; &amp; & x",
       std::string("<span class=\"fe\" style=\"background-color:") + unknownFeColour().hex +
           "\">Nobody</span> &amp;lt; &amp; &amp; x",
       "Nobody &lt; & & x"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(definitionHtml(c.markup, colours), c.html) << c.markup;
    EXPECT_EQ(definitionPlainText(c.markup), c.plain) << c.markup;
  }

  // Nesting far deeper than the limit: no crash, every character kept.
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<em>";
  deep += "core";
  const std::string plain = definitionPlainText(deep);
  EXPECT_NE(plain.find("core"), std::string::npos);
  EXPECT_NE(plain.find("<em>"), std::string::npos);  // beyond the limit, kept as text
}

AnnotationSet sentence(std::string text, std::vector<Label> labels) {
  return {"9", 9, std::move(text), "", std::move(labels)};
}

Label label(const char* layer, const char* name, int start, int end, const char* rank = "1") {
  return {layer, rank, name, "", start, end, std::to_string(start), std::to_string(end)};
}

TEST(AnnotationDisplay, SpansTargetsTagsAndLabelsOutsideTheText) {
  struct Case {
    const char* what;
    AnnotationSet set;
    const char* text;
  };
  Label ni{"FE", "1", "Goal", "DNI", std::nullopt, std::nullopt, "", ""};
  Label bad{"FE", "1", "Path", "", std::nullopt, 4, "x", "4"};
  const Case cases[] = {
      {"spans with GF and PT, target, null instantiation",
       sentence("Kim went.", {label("FE", "Agent", 0, 2), label("GF", "Ext", 0, 2),
                              label("PT", "NP", 0, 2), label("Target", "Target", 4, 7), ni}),
       "[Kim]Agent *went*. [DNI Goal]\nAgent: Ext NP\n"},
      {"overlapping and crossing spans",
       sentence("abcdef", {label("FE", "A", 0, 3), label("FE", "B", 2, 5),
                           label("FE", "C", 2, 3, "2")}),
       "[ab[[cd]A]C [2]ef]B\nA: - - | B: - - | C [2]: - -\n"},
      {"offsets outside the text or not numbers",
       sentence("short", {label("FE", "Far", 3, 40), bad, label("Target", "Target", 0, 4)}),
       "*short* [Far 3-40: outside the text] [Path x-4: outside the text]\n\n"},
      {"offsets count characters, not bytes",
       sentence("Zürich café ok", {label("FE", "Place", 0, 5), label("FE", "Thing", 7, 10)}),
       "[Zürich]Place [café]Thing ok\nPlace: - - | Thing: - -\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(sentenceText(buildSentenceDisplay(c.set)), c.text) << c.what;

  // In HTML the overlap shows both colours and both names; the outside label is listed.
  const FeColours colours(fes({"A", "B", "C"}));
  const std::string html = sentenceHtml(buildSentenceDisplay(cases[1].set), colours);
  EXPECT_NE(html.find(std::string("background-color:") + fePalette()[2].hex +
                      ";text-decoration:underline;text-decoration-color:" + fePalette()[1].hex),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("title=\"C [2]; B; A\""), std::string::npos) << html;
  EXPECT_NE(sentenceHtml(buildSentenceDisplay(cases[2].set), colours)
                .find("<span class=\"outside\">[Far 3-40: outside the text]</span>"),
            std::string::npos);
}

// Parses a page with the XML layer; the body's string value.
std::string parsedBody(const std::string& page) {
  xml::TXpObjModel model;
  EXPECT_TRUE(model.LoadMemory(page.data(), page.size()))
      << (model.errors().empty() ? "" : model.errors().front());
  const xml::TXpNode* body = model.Document()->docGetDocumentElement()->SelectSingleNode("body");
  EXPECT_NE(body, nullptr);
  return body ? body->stringValueUtf8() : "";
}

TEST(HtmlPages, WellFormedAndEscaped) {
  EXPECT_EQ(escapeHtml("a&b<c>d\"e'f\x01g\xFFh\tü"),
            "a&amp;b&lt;c&gt;d&quot;e&#39;f\xEF\xBF\xBDg\xEF\xBF\xBDh\tü");

  const std::string hostile = "<script>alert('x')</script> & \"q\" \x02";
  LexicalUnitData lu;
  lu.id = 7;
  lu.name = hostile;
  lu.frame = "F<&>";
  lu.definition = "<def-root>Def " + hostile + " <fen>A&B</fen></def-root>";
  lu.frameFes = fes({"A&B", "<x>"});
  lu.sets.push_back({"1\"", 1, hostile, "sub<1>",
                     {label("FE", "A&B", 0, 7), label("FE", "<x>", 9, 12),
                      {"FE", "1", "<x>", "I\"NI", std::nullopt, std::nullopt, "", ""}}});
  FrameInfo frame;
  frame.name = hostile;
  frame.idText = "1<";
  frame.definition = lu.definition;
  frame.fes = lu.frameFes;
  frame.fes[0].definition = "<ex>x</ex>";
  frame.fes[0].abbrev = "'";
  frame.lexicalUnits.push_back({7, "7", hostile, hostile, 1});
  frame.relations.push_back({"Inheritance", hostile, "F<&>"});

  for (const std::string& page : {lexUnitReportPage(lu), frameReportPage(frame)}) {
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find('\x02'), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos);  // nothing fetched
    const std::string body = parsedBody(page);
    // What the release holds comes back through the parser (the control character replaced).
    EXPECT_NE(body.find("<script>alert('x')</script> & \"q\" \xEF\xBF\xBD"), std::string::npos)
        << body;
  }
}

TEST(HtmlPages, SampleReportsFromTheCommandLine) {
  TempDir dir;
  const std::string index = dir.file("index.sqlite");
  for (const std::vector<std::string>& which :
       {std::vector<std::string>{"--lu", "1301"}, {"--frame", "Commerce_buy"},
        {"--frame", "commerce_BUY"}, {"--lu", "1002"}}) {
    std::vector<std::string> args = {"report"};
    args.insert(args.end(), which.begin(), which.end());
    args.insert(args.end(), {"--index", index, "--out", dir.file("page.html")});
    const CliOutput result = runOn(sampleReleasePath(), args);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string body = parsedBody(readBytes(dir.file("page.html")));
    EXPECT_FALSE(body.empty());
  }
  // The page of put.v: the second FE layer is shown, and the CNI tag.
  const CliOutput put = runOn(sampleReleasePath(), {"report", "--lu", "1301", "--index", index});
  ASSERT_EQ(put.status, 0);
  EXPECT_NE(put.out.find(">Theme [2]</sub>"), std::string::npos);
  EXPECT_NE(put.out.find("[CNI Agent]"), std::string::npos);

  struct Failure {
    std::vector<std::string> args;
    int status;
  };
  const Failure failures[] = {
      {{"report", "--lu", "4242"}, 1},
      {{"report", "--frame", "No_such_frame"}, 1},
      {{"report"}, 2},
      {{"report", "--lu", "1301", "--frame", "Placing"}, 2},
      {{"report", "--lu", "1301", "--out", dir.file("missing/folder/x.html")}, 1},
  };
  for (const Failure& f : failures) {
    std::vector<std::string> args = f.args;
    args.insert(args.end(), {"--index", index});
    const CliOutput result = runOn(sampleReleasePath(), args);
    EXPECT_EQ(result.status, f.status) << result.err;
    EXPECT_FALSE(result.err.empty());
  }
}

}  // namespace
}  // namespace sorvanta::testing
