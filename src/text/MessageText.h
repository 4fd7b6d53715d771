#pragma once
// User or data text quoted in a message: control characters made visible and long text cut,
// so a name read from a document can neither break a message's lines nor flood it.
#include <cstddef>
#include <string>
#include <string_view>

namespace sorvanta::text {

// The most characters of a text a message shows; a longer text is cut and ends in "...".
inline constexpr size_t kMessageTextLimit = 200;

// True for the bytes of working text that are control characters: C0, DEL, and the C1
// controls that Windows-1252 keeps (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool isControlCharacter(unsigned char c);

// Working text as a message shows it: "\n", "\r", "\t" and "\xHH" for control characters,
// at most kMessageTextLimit characters of it. messageText("a\nb") gives "a\nb" with a
// visible backslash-n.
std::string messageText(std::string_view working);

// The same between double quotes: quotedText("x") gives "\"x\"".
std::string quotedText(std::string_view working);

}  // namespace sorvanta::text
