#pragma once
// Serialization of a document in the program's XML layout, and the output encodings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpEncoding.h"
#include "xml/XpNode.h"

namespace sorvanta::xml {

// The document's text (UTF-8). Formatted: every element on a line of its own, indented by
// two spaces per level, CR LF line ends; an element holding only text stays on one line.
std::string serializeDocument(const TXpDocument& document, bool formatted);

// Writes markup node by node in the layout serializeDocument gives a tree, appending to out:
// a document written through it piece by piece has the bytes of the same tree serialized
// whole. Formatted, every node other than text starts a line indented by two spaces per
// level, and an element whose last child is not text ends on a line of its own; unformatted,
// nodes follow each other directly. Top-level nodes are separated by CR LF either way. An
// element without children is one empty tag. Names are UTF-8 and written as given; values
// are escaped, from UTF-8 or from working text.
class XpMarkupWriter {
 public:
  XpMarkupWriter(std::string& out, bool formatted) : out_(out), formatted_(formatted) {}
  // Writes elements apart, each to be passed whole to markup() of a writer in which it stands
  // at the given depth (elements open there): their lines are indented for that place, and
  // nothing comes between them, markup() writing what goes before each.
  XpMarkupWriter(std::string& out, bool formatted, size_t depth)
      : out_(out), formatted_(formatted), apart_(true), depth_(static_cast<int>(depth)) {}

  void startElement(std::string_view name);
  // Attributes of the element just started, before any of its children.
  void attribute(std::string_view name, std::string_view utf8Value);
  void workingAttribute(std::string_view name, std::string_view workingValue);
  void text(std::string_view utf8);
  void workingText(std::string_view working);
  // A node other than an element or text (comment, processing instruction), written as given.
  void markup(std::string_view verbatim);
  void endElement();

  // Elements started and not yet ended.
  size_t openElements() const { return open_.size(); }
  std::string& out() { return out_; }

 private:
  struct Open {
    uint32_t nameAt;  // in names_
    uint32_t nameLength;
    bool hasChildren;
    bool lastIsText;
  };
  void beforeNode(bool isText);

  std::string& out_;
  bool formatted_;
  bool apart_ = false;         // elements written apart
  int depth_ = 0;              // of the top-level nodes
  bool startTagOpen_ = false;  // the last element started still takes attributes
  bool anyTopLevel_ = false;
  std::vector<Open> open_;
  std::string names_;  // the names of the open elements, one after the other
};

// Writes node and its subtree.
void writeSubtree(XpMarkupWriter& writer, const TXpNode* node);
// Starts an element with its attributes, or writes any other node whole.
void writeOpening(XpMarkupWriter& writer, const TXpNode* node);

// Encodes the serialized text in the given encoding (with its byte-order mark where one is
// written). False with error set when a character cannot be written in that encoding.
bool encodeOutput(std::string utf8, TCharEncoding encoding, bool utf8Signature,
                  std::string& out, std::string& error);
// The same for a piece of a text encoded piece by piece, appended to out: the byte-order mark
// only with the first piece. Pieces must not split a character.
bool encodeOutputPiece(std::string_view utf8, TCharEncoding encoding, bool utf8Signature,
                       bool first, std::string& out, std::string& error);

}  // namespace sorvanta::xml
