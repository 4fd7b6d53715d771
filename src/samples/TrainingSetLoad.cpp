#include "samples/TrainingSetLoad.h"

#include "samples/TrainingTestSets.h"

namespace sorvanta::samples {

TrainingSetLoad loadTrainingSet(xml::TXpObjModel& training, std::string_view dataFolder) {
  TrainingSetLoad result;
  const std::string path = std::string(dataFolder) + std::string(kTrainingFile);
  const bool parsed = training.LoadDataSource(path);
  const xml::TXpNode* root = training.Document()->docGetDocumentElement();
  if (!parsed || !root) {
    result.message = "Cannot read the training set " + path;
    if (!training.errors().empty()) result.message += ": " + training.errors().front();
    return result;
  }
  result.loaded = true;
  for (const xml::TXpNode* frame : root->SelectNodes("frame")) {
    result.frameNamesShown.push_back(xml::attributeShown(frame, "name"));
    result.frameNames.push_back(result.frameNamesShown.back().working);
  }
  return result;
}

}  // namespace sorvanta::samples
