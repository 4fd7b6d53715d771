// Frames and sentences the derived commands look up by name or ID: repeated names and IDs, an
// empty ID, and an apostrophe that ends the query's literal early.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "derived/FrameFiles.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionFixture.h"
#include "samples/TrainingSetLoad.h"
#include "support/MiniRelease.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {
namespace {

using namespace sorvanta::testing;

std::string frameElement(const std::string& name, int luId) {
  const std::string id = std::to_string(luId);
  return "<frame name=\"" + name + "\"><lexunits><lexunit name=\"u" + id + ".v\" ID=\"" + id +
         "\"><annotation><annotated>1</annotated></annotation></lexunit></lexunits></frame>";
}

// One Goal label with a PP realization headed by word.
std::string oneRealization(const std::string& frame, const std::string& word) {
  return subcorpusDocument(
      "u.v", frame,
      subcorpus("V-ppon", annotationSet("1", word + " it.",
                                        threeLayers(label("Goal", "0", "4"), label("Dep", "0", "4"),
                                                    label("PP", "0", "4")))));
}

TEST(OtherRealizations, FramesAreFoundAsTheQueryFindsThem) {
  TempDir folder;
  writeSubcorpusDocument(
      folder, 1,
      subcorpusDocument(
          "u.v", "F",
          subcorpus("V-ppon", annotationSet("1", "ON it.",
                                            threeLayers(label("Goal", "0", "4") + label("Go'al", "0", "1") +
                                                            label("Path", "3", "4"),
                                                        label("Dep", "0", "4") + label("Obj", "3", "4"),
                                                        label("PP", "0", "4") + label("NP", "3", "4"))))));
  writeSubcorpusDocument(folder, 2, oneRealization("F", "on"));    // equal but for case: left out
  writeSubcorpusDocument(folder, 3, oneRealization("F", "Upon"));  // second frame named F
  writeSubcorpusDocument(folder, 4, oneRealization("O'K", "by"));
  const std::string framesXml = "<frames><x>" + frameElement("F", 1) + "</x>" +
                                frameElement("G", 2) + frameElement("F", 3) +
                                frameElement("O'K", 4) + "</frames>";
  struct Case {
    std::string list, output;
  } cases[] = {
      {"F\tGoal\tu.v\n", "F\tGoal\tu.v\tDep\tPP\tON\r\n"},
      {"F\tGoal\tu.v\nG\tGoal\tu.v\n", "F\tGoal\tu.v\tDep\tPP\tON\r\n"},
      // the apostrophe ends the query's literal early: nothing found
      {"O'K\tGoal\tu.v\n", ""},
      // the same for a frame element named with one, though a label of that name exists
      {"F\tGo'al\tu.v\n", ""},
      // frame elements of one frame read from one query of each document
      {"F\tGoal\tu.v\nF\tPath\tu.v\n",
       "F\tGoal\tu.v\tDep\tPP\tON\r\nF\tPath\tu.v\tObj\tNP\r\n"},
  };
  for (const Case& c : cases) {
    folder.write("pp-on.txt", c.list);
    xml::TXpObjModel frames, lexUnit;
    frames.LoadMemory(framesXml.data(), framesXml.size());
    const RealizationsResult result = findOtherRealizations(
        "on", folderOf(folder), frames.Document()->docGetDocumentElement(), lexUnit,
        text::noProgress());
    EXPECT_TRUE(result.outcome.done()) << c.list;
    EXPECT_EQ(readBytes(folder.file("pp-on.alters.txt")), c.output) << c.list;
  }
}

TEST(FrameFiles, SentencesAreFoundAsTheQueryFindsThem) {
  MiniLexUnit unit{"10", "give.v", 2, {}, true};
  for (const char* id : {"1", "1", "2'3", ""})
    unit.sentences.push_back({id, std::string("Text ") + id + ".", "0", "3", {}});
  TempDir dir;
  const std::string folder = writeMiniRelease(dir, {{"F", "1", {unit}}});
  std::string corpus = "<corpus><frame name=\"F\">";
  for (const char* id : {"1", "2'3", "", "4"})
    corpus += std::string("<instance luID=\"10\" sentID=\"") + id + "\"/>";
  dir.write("SensSemRolesTrg.xml", corpus + "</frame></corpus>");
  xml::TXpObjModel training, test, lexUnit;
  const samples::TrainingSetLoad load = samples::loadTrainingSet(training, folder);
  ASSERT_TRUE(
      createFrameFiles(load.frameNames, folder, {training, test, lexUnit}, text::noProgress())
          .done());
  // Both sentences with ID 1 in order; "2'3" makes the query unusable; the empty ID finds the
  // sentence without one; 4 finds nothing.
  EXPECT_EQ(readBytes(folder + "F.eval"),
            "F.1\r\n<tag>Text</> 1.\r\n\r\n<tag>Text</> 1.\r\n\r\nF.2'3\r\nF.\r\n"
            "<tag>Text</> .\r\n\r\nF.4\r\n");
}

}  // namespace
}  // namespace sorvanta::derived
