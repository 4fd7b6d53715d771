#include "lexicon/ReleaseLayout.h"

namespace sorvanta::lexicon {

namespace {

std::string joined(std::string_view folder, std::string_view middle, std::string_view id,
                   std::string_view suffix) {
  std::string path;
  path.reserve(folder.size() + middle.size() + id.size() + suffix.size());
  path.append(folder).append(middle).append(id).append(suffix);
  return path;
}

}  // namespace

std::string framesDocumentPath(std::string_view dataFolder) {
  return joined(dataFolder, kFramesRelativePath, {}, {});
}

std::string relationsDocumentPath(std::string_view dataFolder) {
  return joined(dataFolder, kRelationsRelativePath, {}, {});
}

std::string annotationDocumentPath(std::string_view dataFolder, std::string_view luId) {
  return joined(dataFolder, "luXML/lu", luId, ".xml");
}

std::string subcorpusDocumentPath(std::string_view dataFolder, std::string_view luId) {
  return joined(dataFolder, "xml/lu", luId, ".xml");
}

std::string lexicalEntryDocumentPath(std::string_view dataFolder, std::string_view luId) {
  return joined(dataFolder, "leXML/le", luId, ".xml");
}

}  // namespace sorvanta::lexicon
