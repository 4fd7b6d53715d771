#include <gtest/gtest.h>

#include "samples/TrainingSetLoad.h"
#include "support/TempDir.h"

namespace sorvanta::samples {
namespace {

TEST(TrainingSetLoad, ListsTheFrameNamesOfTheFile) {
  struct Case {
    const char* file;
    std::vector<std::string> names;
  } cases[] = {
      {"<corpus lang=\"en\"><frame name=\"A\"><instance luID=\"1\" sentID=\"2\"/></frame>"
       "<frame name=\"B\"/></corpus>",
       {"A", "B"}},
      {"<corpus lang=\"en\"/>", {}},
      {"<corpus><x><frame name=\"Deep\"/></x><frame name=\"A&amp;B\"/></corpus>", {"A&B"}},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    dir.write("SensSemRolesTrg.xml", c.file);
    xml::TXpObjModel training;
    const TrainingSetLoad load = loadTrainingSet(training, dir.path().string() + "/");
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(load.frameNames, c.names) << c.file;
  }
}

TEST(TrainingSetLoad, AFileThatCannotBeReadIsNamedInTheMessage) {
  const char* contents[] = {"", "<corpus><frame></corpus>", nullptr};
  for (const char* content : contents) {
    testing::TempDir dir;
    if (content) dir.write("SensSemRolesTrg.xml", content);
    xml::TXpObjModel training;
    const std::string folder = dir.path().string() + "/";
    const TrainingSetLoad load = loadTrainingSet(training, folder);
    EXPECT_FALSE(load.loaded);
    EXPECT_TRUE(load.frameNames.empty());
    EXPECT_EQ(
        load.message.rfind("Cannot read the training set " + folder + "SensSemRolesTrg.xml", 0), 0u)
        << load.message;
  }
}

}  // namespace
}  // namespace sorvanta::samples
