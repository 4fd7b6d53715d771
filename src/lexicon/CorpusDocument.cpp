#include "lexicon/CorpusDocument.h"

#include "text/Errors.h"

namespace sorvanta::lexicon {

xml::TXpElement* resetToCorpusTemplate(xml::TXpObjModel& model) {
  model.LoadMemory(kCorpusTemplate.data(), kCorpusTemplate.size());
  return model.Document()->docGetDocumentElement();
}

namespace {

[[noreturn]] void cannotEncode(const std::string& path) {
  throw text::RuntimeError("Cannot write " + path + ": a name cannot be encoded");
}

}  // namespace

void saveDocument(xml::TXpObjModel& model, const std::string& path) {
  if (!model.SaveToFile(path)) cannotEncode(path);
}

void addDocument(text::OutputSet& set, xml::TXpObjModel& model, const std::string& path) {
  std::string bytes;
  if (!model.saveToBytes(bytes)) cannotEncode(path);
  set.add(path, bytes);
}

void writeDocument(text::OutputFile& file, xml::TXpObjModel& model) {
  std::string bytes;
  if (!model.saveToBytes(bytes)) cannotEncode(file.target());
  file.write(bytes);
}

CorpusStream::CorpusStream(xml::TXpObjModel& model) {
  resetToCorpusTemplate(model);
  stream_ = std::make_unique<xml::XpDocumentStream>(model);
}

void CorpusStream::passTo(text::OutputFile& file, size_t minimum) {
  if (stream_->pending() < minimum) return;
  if (!stream_->take(bytes_)) cannotEncode(file.target());
  file.write(bytes_);
}

}  // namespace sorvanta::lexicon
