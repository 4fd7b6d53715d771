// The walks the sample commands use instead of path queries must select exactly what the
// queries select; the run parses each annotation document once, yet leaves the window's
// annotation document as if every read had gone there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "samples/AnnotatedSentence.h"
#include "samples/SampleSelection.h"
#include "support/MiniRelease.h"
#include "text/Errors.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {
namespace {

using testing::MiniFrame;
using testing::MiniLexUnit;
using testing::plainSentence;

std::vector<const xml::TXpNode*> nodesOf(const xml::TXpNodeList& list) {
  return {list.begin(), list.end()};
}

TEST(SentenceWalks, SelectWhatTheQueriesSelect) {
  const std::string fe =
      "<layer name=\"FE\"><labels><label name=\"A\"/><label name=\"B\"/>"
      "</labels></layer>";
  const std::string target =
      "<layer name=\"Target\"><labels><label name=\"Target\"/></labels>"
      "</layer>";
  const std::string sentence = "<sentence ID=\"1\"><text>t</text><text>u</text></sentence>";
  const std::string cases[] = {
      "<s><layers>" + fe + target + "</layers>" + sentence + "</s>",
      // FE layers nested in one another: their labels once per layer around them
      "<s><layers><layer name=\"FE\"><labels><label name=\"A\"/></labels>" + fe + "</layer>" +
          target + "</layers>" + sentence + "</s>",
      // the Target label inside an FE layer; a second Target after it
      "<s><layers><layer name=\"FE\"><labels><label name=\"Target\"/><label/></labels></layer>" +
          target + "</layers>" + sentence + "</s>",
      // the Target deeper, so its third ancestor is not the element before the sentence
      "<s><layers><x><y>" + target + "</y>" + fe + "</x>" + fe + "</layers>" + sentence + "</s>",
      // no Target label; a layer without a name; a sentence after an element without labels
      "<s><layers>" + fe + "<layer><labels><label name=\"A\"/></labels></layer></layers>" +
          sentence + "<t>words</t>" + sentence + "</s>",
      // the document element a sentence; text before a sentence
      "<sentence><text>alone</text></sentence>",
      "<s>lead<sentence><text>x</text></sentence></s>",
  };
  for (const std::string& text : cases) {
    xml::TXpObjModel model;
    ASSERT_TRUE(model.LoadMemory(text.data(), text.size())) << text;
    const xml::TXpNode* root = model.Document()->docGetDocumentElement();
    std::vector<const xml::TXpNode*> walked;
    forEachSentenceText(root, [&](const xml::TXpNode* node) { walked.push_back(node); });
    EXPECT_EQ(walked, nodesOf(root->SelectNodes("//sentence/text"))) << text;
    for (const xml::TXpNode* node : walked) {
      const std::optional<AnnotatedSentence> found = findSentenceLabels(node);
      const xml::TXpNode* layers = node->parentNode()->noGetPreviousSibling();
      const xml::TXpNode* queried =
          layers ? layers->SelectNodes(".//label[@name='Target']").Item(0) : nullptr;
      ASSERT_EQ(found.has_value(), queried != nullptr) << text;
      if (!found) continue;
      EXPECT_EQ(found->target, queried) << text;
      const xml::TXpNode* container = queried->parentNode()->parentNode()->parentNode();
      EXPECT_EQ(nodesOf(found->feLabels),
                nodesOf(container->SelectNodes(".//layer[@name='FE']//label")))
          << text;
    }
  }
}

// Frames whose lexical units each hold one plain sentence; a missing file when id ends in 9.
MiniFrame frameOf(const std::string& name, const std::string& frameId,
                  const std::vector<std::string>& luIds) {
  MiniFrame frame{name, frameId, {}};
  for (const std::string& id : luIds) {
    MiniLexUnit lu{id, "lu" + id + ".v", 1, {plainSentence(id + "00")}, id.back() != '9'};
    frame.lexUnits.push_back(lu);
  }
  return frame;
}

TEST(SampleSelection, LeavesLoadedTheAnnotationDocumentReadLast) {
  struct Case {
    const char* what;
    std::vector<MiniFrame> frames;
    std::string sentences;
    std::string loaded;  // name of the document element afterwards; empty: none
  } cases[] = {
      {"last unit of the last frame",
       {frameOf("A", "1", {"11", "12"}), frameOf("B", "2", {"21"})},
       "0",
       "lu21.v"},
      {"its file is missing",
       {frameOf("A", "1", {"11"}), frameOf("B", "2", {"21", "29"})},
       "0",
       ""},
      {"a frame without annotated units",
       {frameOf("A", "1", {"11"}), {"B", "2", {}}},
       "0",
       "lu11.v"},
      {"too few sentences: no writing pass", {frameOf("A", "1", {"11", "12"})}, "9", "lu12.v"},
      {"no document read at all", {{"A", "1", {}}}, "0", "earlier.v"},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    const std::string folder = testing::writeMiniRelease(dir, c.frames);
    xml::TXpObjModel frames, training, test, lexUnit;
    frames.LoadDataSource(folder + "frXML/frames.xml");
    const lexicon::FramesIndex index =
        lexicon::fillFramesIndex(frames.Document()->docGetDocumentElement());
    const std::string earlier = "<lexunit-annotation name=\"earlier.v\"/>";
    lexUnit.LoadMemory(earlier.data(), earlier.size());
    SampleRequest request;
    request.high = 100;
    request.numFramesText = "0";
    request.numSentsText = c.sentences;
    selectSample(request, index.frames, frames.Document()->docGetDocumentElement(), folder,
                 {training, test, lexUnit}, text::noProgress());
    EXPECT_EQ(xml::attributeText(lexUnit.Document()->docGetDocumentElement(), "name"), c.loaded)
        << c.what;
  }
}

TEST(SampleSelection, AnErrorLeavesLoadedTheDocumentBeingRead) {
  MiniFrame frame = frameOf("A", "1", {"11", "12", "13"});
  frame.lexUnits[1].sentences[0].id = "1q";  // not an integer: the first pass stops there
  testing::TempDir dir;
  const std::string folder = testing::writeMiniRelease(dir, {frame});
  xml::TXpObjModel frames, training, test, lexUnit;
  frames.LoadDataSource(folder + "frXML/frames.xml");
  const lexicon::FramesIndex index =
      lexicon::fillFramesIndex(frames.Document()->docGetDocumentElement());
  SampleRequest request;
  request.high = 100;
  request.numFramesText = "0";
  request.numSentsText = "0";
  EXPECT_THROW(selectSample(request, index.frames, frames.Document()->docGetDocumentElement(),
                            folder, {training, test, lexUnit}, text::noProgress()),
               text::ConversionError);
  EXPECT_EQ(xml::attributeText(lexUnit.Document()->docGetDocumentElement(), "name"), "lu12.v");
}

}  // namespace
}  // namespace sorvanta::samples
