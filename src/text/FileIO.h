#pragma once
// File access by working-text paths (converted to the file system's UTF-8 names).
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::text {

// The file system name of a working-text path.
std::string toFsPath(std::string_view workingPath);

bool fileExists(std::string_view workingPath);

// The names in a folder (working text), in no particular order; empty when it cannot be read.
std::vector<std::string> folderEntries(std::string_view workingFolder);

// Reads the whole file into out; false (out empty) when it cannot be read or is not a regular
// file. Never blocks: a FIFO or device named like a document is refused, not opened for
// waiting. extraCapacity reserves room after the bytes (a parser's padding) in the same
// allocation.
bool readWholeFile(std::string_view workingPath, std::string& out, size_t extraCapacity = 0);

// Writes bytes to a temporary file in the target's folder, flushes it and renames it over the
// target (a one-file OutputSet), so a failed save never leaves a truncated file. Throws FileCreateError
// "Cannot create file <path>" when the file cannot be created or written.
void writeFileAtomically(std::string_view workingPath, std::string_view bytes);

}  // namespace sorvanta::text
