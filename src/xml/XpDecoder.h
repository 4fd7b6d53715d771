#pragma once
// Turns the bytes of an input document into the parser's text: UTF-8, every character one
// that XML allows, CR LF and lone CR folded to LF, followed by a terminating NUL byte.
#include <string>

#include "xml/XpEncoding.h"
#include "xml/XpParseResult.h"

namespace sorvanta::xml {

struct DecodedInput {
  size_t begin = 0;  // offset of the first character after a byte-order mark
  TCharEncoding encoding = ceUTF8;
};

// Decodes bytes in place (transcoding into a new string where needed). On failure returns
// false, sets the status and description of failure, and leaves in bytes, from result.begin
// to decodedEnd, the text decoded before the failing character.
bool decodeInput(std::string& bytes, DecodedInput& result, XpParseResult& failure,
                 size_t& decodedEnd);

}  // namespace sorvanta::xml
