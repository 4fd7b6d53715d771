#include "lexicon/ReleaseFolder.h"

#include "lexicon/ReleaseLayout.h"

namespace sorvanta::lexicon {

ReleaseFolder::ReleaseFolder(std::string folder) : path_(std::move(folder)) {
  if (!path_.empty() && path_.back() != '/') path_ += '/';
}

std::string ReleaseFolder::file(std::string_view name) const {
  std::string path;
  path.reserve(path_.size() + name.size());
  return path.append(path_).append(name);
}

std::string ReleaseFolder::frames() const { return framesDocumentPath(path_); }
std::string ReleaseFolder::relations() const { return relationsDocumentPath(path_); }
std::string ReleaseFolder::annotation(std::string_view luId) const {
  return annotationDocumentPath(path_, luId);
}
std::string ReleaseFolder::subcorpus(std::string_view luId) const {
  return subcorpusDocumentPath(path_, luId);
}
std::string ReleaseFolder::lexicalEntry(std::string_view luId) const {
  return lexicalEntryDocumentPath(path_, luId);
}

}  // namespace sorvanta::lexicon
