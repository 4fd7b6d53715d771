#include "cli/ReleaseSession.h"

#include <ostream>

#include "lexicon/DataFolder.h"
#include "lexicon/ReleaseLayout.h"
#include "text/WorkingText.h"
#include "widgets/QtSettingsStore.h"

namespace sorvanta::cli {

bool loadDocument(xml::TXpObjModel& model, const std::string& path, std::ostream& err) {
  if (model.LoadDataSource(path)) return true;
  err << "Cannot read " << text::workingToUtf8(path) << ": "
      << (model.errors().empty() ? "unknown error" : model.errors().front()) << "\n";
  return false;
}

bool ReleaseSession::open(const std::string& dataFolder, std::ostream& err) {
  dataFolder_ = dataFolder;
  if (dataFolder_.empty())
    dataFolder_ = widgets::QtSettingsStore().readString(lexicon::kLocationSetting);
  if (dataFolder_.empty()) {
    err << "No data folder: give one with --data DIR (the folder holding frXML/frames.xml), "
           "or start the window once to choose it.\n";
    return false;
  }
  if (dataFolder_.back() != '/') dataFolder_ += '/';
  if (!loadDocument(frames_, lexicon::framesDocumentPath(dataFolder_), err)) return false;
  index_ = lexicon::fillFramesIndex(framesRoot());
  return true;
}

bool ReleaseSession::loadRelations(std::ostream& err) {
  return loadDocument(relations_, lexicon::relationsDocumentPath(dataFolder_), err);
}

}  // namespace sorvanta::cli
