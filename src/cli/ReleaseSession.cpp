#include "cli/ReleaseSession.h"

#include <ostream>

#include "cli/CliCommand.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

bool loadDocument(xml::TXpObjModel& model, const std::string& path, std::ostream& err) {
  if (model.LoadDataSource(path)) return true;
  err << kMessagePrefix << "Cannot read " << text::workingToUtf8(path) << ": "
      << (model.errors().empty() ? "unknown error" : model.errors().front()) << "\n";
  return false;
}

bool ReleaseSession::open(const lexicon::ReleaseFolder& folder, std::ostream& err) {
  folder_ = folder;
  if (!loadDocument(frames_, folder_.frames(), err)) return false;
  index_ = lexicon::fillFramesIndex(framesRoot());
  return true;
}

bool ReleaseSession::loadRelations(std::ostream& err) {
  return loadDocument(relations_, folder_.relations(), err);
}

}  // namespace sorvanta::cli
