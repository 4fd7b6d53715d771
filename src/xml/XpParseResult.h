#pragma once
// The outcome of a load: a status, where in the input the load stopped, and what was wrong.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanta::xml {

enum class XpParseStatus : uint8_t {
  Ok,
  CannotOpen,      // the file is missing or cannot be read
  TooLarge,        // 4 GiB or more
  BadEncoding,     // malformed UTF-8 or UTF-16
  BadCharacter,    // a character XML does not allow
  BadDeclaration,  // malformed XML declaration, unsupported version
  BadMarkup,       // malformed start, end or empty-element tag, unknown declaration
  BadAttribute,    // attribute without value or quotes, "<" in a value, unterminated
  DuplicateAttribute,
  UndefinedEntity,        // an entity other than the five predefined ones
  BadCharacterReference,  // malformed, out of range or to a character XML does not allow
  UnclosedElement,        // the input ends inside an element or a start tag
  MismatchedEndTag,
  UnexpectedEndTag,  // an end tag with no element open
  BadComment,
  BadProcessingInstruction,
  BadCData,
  BadDoctype,
  NoDocumentElement,
  OutsideDocumentElement,  // text, CDATA or a second element beside the document element
};

struct XpParseResult {
  XpParseStatus status = XpParseStatus::Ok;
  size_t offset = 0;        // byte offset into the input (its byte-order mark included)
  int line = 0;             // 1-based; 0 when the failure has no place in the input
  int column = 0;           // 1-based, in characters; a tab counts as one
  std::string description;  // what is wrong, e.g. "undefined entity '&foo;'"

  bool ok() const { return status == XpParseStatus::Ok; }
  explicit operator bool() const { return ok(); }

  // The description with its place: "... at line 12, column 7".
  std::string message() const;
  // "Cannot read " + file + ": " + message().
  std::string messageFor(std::string_view file) const;
};

// Where a load stopped, found from the text decoded before that point (decodedPrefix: the
// input as the parser saw it, line ends folded to LF). Line and column count the same in the
// input; the byte offset is found again in input (the raw bytes, encoding given by its
// byte-order mark or utf16/latin1) by walking to that line and column.
void locateFailure(XpParseResult& result, std::string_view decodedPrefix, std::string_view input,
                   int utf16 /* 0 none, 1 little-endian, 2 big-endian */, bool latin1);

}  // namespace sorvanta::xml
