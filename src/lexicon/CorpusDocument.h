#pragma once
// The corpus documents commands write (training and test sets, the frame files' test set,
// the frames dictionary): the empty corpus they start from, and saving.
#include <string>
#include <string_view>

#include "text/OutputSet.h"
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

}  // namespace sorvanta::lexicon
