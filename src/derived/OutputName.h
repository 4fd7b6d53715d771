#pragma once
// Names taken from documents or controls that become parts of output file names.
#include <cstddef>
#include <string>
#include <string_view>

namespace sorvanta::derived {

// The longest file name the file systems we write to accept (NAME_MAX), in bytes of UTF-8.
inline constexpr size_t kMaxFileNameBytes = 255;

// Why name cannot be part of a file name in the data folder, or empty text when it can: it is
// empty, holds a path separator, "..", or a control character (C0, DEL or C1), or its longest
// file name (the name plus affixBytes of prefix and suffix) would exceed kMaxFileNameBytes.
// what says what the name is ("Frame"); the message quotes the name escaped and cut.
std::string outputNameProblem(std::string_view what, std::string_view name, size_t affixBytes);

}  // namespace sorvanta::derived
