#include "lexicon/CorpusDocument.h"

#include "text/Errors.h"

namespace sorvanta::lexicon {

xml::TXpElement* resetToCorpusTemplate(xml::TXpObjModel& model) {
  model.LoadMemory(kCorpusTemplate.data(), kCorpusTemplate.size());
  return model.Document()->docGetDocumentElement();
}

void saveDocument(xml::TXpObjModel& model, const std::string& path) {
  if (!model.SaveToFile(path))
    throw text::RuntimeError("Cannot write " + path + ": a name cannot be encoded");
}

}  // namespace sorvanta::lexicon
