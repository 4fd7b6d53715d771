#pragma once
// "Create Frame Files": for every ticked frame of the loaded training set, the ".eval",
// ".trec" and ".out" files, and the test document "SensSemRolesTrgTest.xml".
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::derived {

inline constexpr std::string_view kTrainingTestFile = "SensSemRolesTrgTest.xml";

// label + ": " + text + " (" + start + "," + end + ")"
std::string FormatSpanLine(std::string_view label, std::string_view text, long long start,
                           long long end);

// The sentence with "</>" inserted at targetEnd + 1 and then "<tag>" at targetStart; a
// position past the end means the end, a negative one the beginning.
std::string markTarget(std::string_view sentence, long long targetStart, long long targetEnd);

// Called after each frame's three files are written.
class FrameFilesProgress {
 public:
  virtual ~FrameFilesProgress() = default;
  virtual void frameWritten(std::string_view frameName, int framesDone) = 0;
};

// The window's document objects the command uses: the training set (read), the test document
// (rebuilt), the annotation document object (holds the file read last afterwards).
struct FrameFilesDocuments {
  xml::TXpObjModel& training;
  xml::TXpObjModel& test;
  xml::TXpObjModel& lexUnit;
};

// Writes the files of checkedFrames (the ticked items' texts in list order) into dataFolder.
// Returns a refusal message, with nothing changed or written, when a name would write outside
// the data folder; else empty text. Throws text::ConversionError for an offset that is not an
// integer and text::FileCreateError when a file cannot be written. progress may be null.
std::string createFrameFiles(const std::vector<std::string>& checkedFrames,
                             std::string_view dataFolder, FrameFilesDocuments documents,
                             FrameFilesProgress* progress);

}  // namespace sorvanta::derived
