#include "lexicon/LexUnitDocument.h"

#include "lexicon/ReleaseLayout.h"
#include "text/FileIO.h"

namespace sorvanta::lexicon {

AnnotationLoad loadLexUnitAnnotation(xml::TXpObjModel& model, std::string_view dataFolder,
                                     std::string_view luId) {
  AnnotationLoad result;
  result.path = annotationDocumentPath(dataFolder, luId);
  if (!text::fileExists(result.path)) {
    model.ClearDocument();  // a failed load never leaves an older document behind
    result.message = "The annotation file " + result.path + " does not exist";
    return result;
  }
  const bool parsed = model.LoadDataSource(result.path);
  const xml::TXpDocument* document = model.Document();
  if (!parsed || !document || !document->docGetDocumentElement()) {
    model.ClearDocument();
    result.message = "Cannot read the annotation file " + result.path;
    if (!model.errors().empty()) result.message += ": " + model.errors().front();
    return result;
  }
  result.loaded = true;
  return result;
}

}  // namespace sorvanta::lexicon
