#pragma once
// "Load Training Set": reads the training set file back into the training document object
// and lists the names of its frames.
#include <string>
#include <string_view>
#include <vector>

#include "text/WorkingText.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {

struct TrainingSetLoad {
  bool loaded = false;
  std::string message;                  // why the file could not be used; empty when loaded
  std::vector<std::string> frameNames;  // the "name" of every "frame" child of the root
  // The same names for the screen: each with its UTF-8 beside when working text cannot hold it.
  std::vector<text::ShownText> frameNamesShown;
};

// Loads dataFolder + "SensSemRolesTrg.xml" into training. When the file cannot be read or
// holds no element, loaded is false and message names the file.
TrainingSetLoad loadTrainingSet(xml::TXpObjModel& training, std::string_view dataFolder);

}  // namespace sorvanta::samples
