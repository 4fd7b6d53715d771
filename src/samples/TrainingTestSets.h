#pragma once
// The training and test set documents, their answer lines and the files the sample draw
// writes into the data folder.
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"
#include "xml/XpWriter.h"

namespace sorvanta::samples {

inline constexpr std::string_view kTrainingFile = "SensSemRolesTrg.xml";
inline constexpr std::string_view kTestFile = "SensSemRolesTest.xml";
inline constexpr std::string_view kTrainingAnswersFile = "SensSemRolesTrgAns.txt";
inline constexpr std::string_view kTestAnswersFile = "SensSemRolesTestAns.txt";
inline constexpr std::string_view kMessagesFile = "SensSemRolesMessages.txt";

// frame + "." + sentenceId, then " name (start,end)" per frame-element label, (0,0) for a
// null instantiation. Throws text::ConversionError for an offset that is not an integer.
std::string answerLine(std::string_view frame, std::string_view sentenceId,
                       const xml::TXpNodeList& feLabels);

// Writes the instance of a test sentence into the test set's open frame element: "sentence",
// "target" and, with provideFes, "frame_elements". Names and values are working text. Throws
// text::ConversionError for an offset that is not an integer.
void writeTestInstance(xml::XpMarkupWriter& testSet, std::string_view lexUnitName,
                       std::string_view luId, std::string_view sentenceId,
                       const xml::TXpNode* target, const xml::TXpNodeList& feLabels,
                       std::string_view sentence, bool provideFes);

}  // namespace sorvanta::samples
