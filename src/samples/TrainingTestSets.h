#pragma once
// The training and test set documents, their answer lines and the files the sample draw
// writes into the data folder.
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"
#include "text/OutputSet.h"
#include "xml/XpObjModel.h"

namespace sorvanta::samples {

inline constexpr std::string_view kTrainingFile = "SensSemRolesTrg.xml";
inline constexpr std::string_view kTestFile = "SensSemRolesTest.xml";
inline constexpr std::string_view kTrainingAnswersFile = "SensSemRolesTrgAns.txt";
inline constexpr std::string_view kTestAnswersFile = "SensSemRolesTestAns.txt";
inline constexpr std::string_view kMessagesFile = "SensSemRolesMessages.txt";

// The empty corpus both sets (and the frame files' test document) start from.
inline constexpr std::string_view kCorpusTemplate =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
    "<corpus lang=\"en\">\n</corpus>\n";

// Replaces the model's document by the empty corpus and returns its "corpus" element.
xml::TXpElement* resetToCorpusTemplate(xml::TXpObjModel& model);

// frame + "." + sentenceId, then " name (start,end)" per frame-element label, (0,0) for a
// null instantiation. Throws text::ConversionError for an offset that is not an integer.
std::string answerLine(std::string_view frame, std::string_view sentenceId,
                       const xml::TXpNodeList& feLabels);

// Appends to testFrame the instance of a test sentence: "sentence", "target" and, with
// provideFes, "frame_elements". Throws text::ConversionError for an offset that is not an
// integer.
void addTestInstance(xml::TXpElement* testFrame, std::string_view lexUnitName,
                     std::string_view luId, std::string_view sentenceId, const xml::TXpNode* target,
                     const xml::TXpNodeList& feLabels, std::string_view sentence, bool provideFes);

// Saves a document with SaveToFile; throws text::RuntimeError when it cannot be encoded.
void saveDocument(xml::TXpObjModel& model, const std::string& path);
// Adds the document's bytes to a data set written together; throws like saveDocument.
void addDocument(text::OutputSet& set, xml::TXpObjModel& model, const std::string& path);

}  // namespace sorvanta::samples
