#pragma once
// "Create Frame Files": for every ticked frame of the loaded training set, the ".eval",
// ".trec" and ".out" files, and the test document "SensSemRolesTrgTest.xml".
#include <string>
#include <string_view>
#include <vector>

#include "text/Outcome.h"
#include "text/Progress.h"
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

// The counter reported after each frame's three files are written, with the frame's name.
inline constexpr std::string_view kFramesWrittenCounter = "Frames written";

// The window's document objects the command uses: the training set (read), the test document
// (rebuilt), the annotation document object (holds the file read last afterwards).
struct FrameFilesDocuments {
  xml::TXpObjModel& training;
  xml::TXpObjModel& test;
  xml::TXpObjModel& lexUnit;
};

// Writes the files of checkedFrames (the ticked items' texts in list order) into dataFolder,
// reading the frames' annotation documents on `jobs` worker threads (0: every core); the files
// are the same for any number.
// Refused (caption: the program's), with nothing changed or written, when a name would write
// outside the data folder. Cancelled between frames: the frames done keep their new files, the
// others and the test document stay as they were. Throws text::ConversionError for an offset
// that is not an integer and text::FileCreateError when a file cannot be written.
text::Outcome createFrameFiles(const std::vector<std::string>& checkedFrames,
                               std::string_view dataFolder, FrameFilesDocuments documents,
                               text::Progress& progress, unsigned jobs = 0);

}  // namespace sorvanta::derived
