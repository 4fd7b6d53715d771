// The sample draw parses each annotation document once, yet leaves the window's annotation
// document as if every read had gone there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/FramesIndex.h"
#include "samples/SampleSelection.h"
#include "support/MiniRelease.h"
#include "text/Errors.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {
namespace {

using testing::MiniFrame;
using testing::MiniLexUnit;
using testing::plainSentence;

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
