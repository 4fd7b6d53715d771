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

void addDocument(text::OutputSet& set, xml::TXpObjModel& model, const std::string& path) {
  std::string bytes;
  if (!model.saveToBytes(bytes))
    throw text::RuntimeError("Cannot write " + path + ": a name cannot be encoded");
  set.add(path, bytes);
}

}  // namespace sorvanta::lexicon
