#pragma once
// A document written out while it grows: first what a starting document holds up to the end
// of its document element, then the nodes the caller writes into that element, then the end
// of the element and whatever follows it. The bytes equal those SaveToFile writes for the
// finished tree with the same settings, but the tree is never built: a large output costs
// memory only for the text not yet taken.
#include <string>

#include "xml/XpObjModel.h"
#include "xml/XpWriter.h"

namespace sorvanta::xml {

class XpDocumentStream {
 public:
  // Writes the opening of start, which must have a document element; its settings
  // (FormattedOutput, OutCharSet, WriteUTF8Signature) decide layout and encoding. The stream
  // reads start again in finish, so it must stay unchanged until then.
  explicit XpDocumentStream(TXpObjModel& start);
  XpDocumentStream(const XpDocumentStream&) = delete;
  XpDocumentStream& operator=(const XpDocumentStream&) = delete;

  // The writer, inside the document element.
  XpMarkupWriter& markup() { return writer_; }
  // Bytes of text written and not yet taken.
  size_t pending() const { return text_.size(); }
  // Replaces out by the encoded bytes of the text written since the last take. False, with
  // error(), when a character cannot be written in the encoding.
  bool take(std::string& out);
  // Ends the document element and writes the nodes after it; take the rest afterwards.
  void finish();
  const std::string& error() const { return error_; }

 private:
  TXpObjModel& start_;
  std::string text_;  // UTF-8, not yet taken
  XpMarkupWriter writer_;
  bool first_ = true;  // no bytes taken yet: the byte-order mark is still to come
  std::string error_;
};

}  // namespace sorvanta::xml
