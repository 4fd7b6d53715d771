#pragma once
// Serialization of a document in the program's XML layout, and the output encodings.
#include <string>
#include <string_view>

#include "xml/XpEncoding.h"
#include "xml/XpNode.h"

namespace sorvanta::xml {

// The document's text (UTF-8). Formatted: every element on a line of its own, indented by
// two spaces per level, CR LF line ends; an element holding only text stays on one line.
std::string serializeDocument(const TXpDocument& document, bool formatted);

// Encodes the serialized text in the given encoding (with its byte-order mark where one is
// written). False with error set when a character cannot be written in that encoding.
bool encodeOutput(std::string utf8, TCharEncoding encoding, bool utf8Signature,
                  std::string& out, std::string& error);

}  // namespace sorvanta::xml
