#pragma once
// The corpus documents commands write (training and test sets, the frame files' test set,
// the frames dictionary): the empty corpus they start from, and saving.
#include <memory>
#include <string>
#include <string_view>

#include "text/OutputSet.h"
#include "xml/XpDocumentStream.h"
#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::lexicon {

// The empty corpus the training and test sets (and the frame files' test document) start from.
inline constexpr std::string_view kCorpusTemplate =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
    "<corpus lang=\"en\">\n</corpus>\n";

// Replaces the model's document by the empty corpus and returns its "corpus" element.
xml::TXpElement* resetToCorpusTemplate(xml::TXpObjModel& model);

// Saves a document with SaveToFile; throws text::RuntimeError when it cannot be encoded.
void saveDocument(xml::TXpObjModel& model, const std::string& path);
// Adds the document's bytes to a data set written together; throws like saveDocument.
void addDocument(text::OutputSet& set, xml::TXpObjModel& model, const std::string& path);
// Writes the document's bytes to a file of a data set; throws like saveDocument.
void writeDocument(text::OutputFile& file, xml::TXpObjModel& model);

// A corpus document written to its file while it grows, never held whole: the file gets the
// bytes saveDocument would write for the same tree. The model is reset to the empty corpus,
// which it keeps; elements written through markup() go into "corpus".
class CorpusStream {
 public:
  explicit CorpusStream(xml::TXpObjModel& model);
  xml::XpMarkupWriter& markup() { return stream_->markup(); }
  // Hands the text written so far to file once at least `minimum` bytes have gathered (call
  // between elements). Throws like saveDocument.
  void passTo(text::OutputFile& file, size_t minimum = 0);
  // Ends the corpus; the rest still has to be passed.
  void finish() { stream_->finish(); }

 private:
  std::unique_ptr<xml::XpDocumentStream> stream_;
  std::string bytes_;  // reused for every piece
};

}  // namespace sorvanta::lexicon
