#include "xml/XpDocumentStream.h"

#include "text/WorkingText.h"

namespace sorvanta::xml {

XpDocumentStream::XpDocumentStream(TXpObjModel& start)
    : start_(start), writer_(text_, start.FormattedOutput) {
  const TXpNode* root = start_.Document()->docGetDocumentElement();
  for (const TXpNode* node = start_.Document()->noGetFirstChild(); node != root;
       node = node->noGetNextSibling())
    writeSubtree(writer_, node);
  writeOpening(writer_, root);
  for (const TXpNode* child = root->noGetFirstChild(); child; child = child->noGetNextSibling())
    writeSubtree(writer_, child);
}

bool XpDocumentStream::take(std::string& out) {
  out.clear();
  const TCharEncoding encoding = start_.OutCharSet;
  const bool latin1 = encoding == ceUnknown || encoding == ceISO88591;
  const bool sameBytes = (encoding == ceUTF8 && !(first_ && start_.WriteUTF8Signature)) ||
                         (latin1 && text::isAscii(text_));
  bool encoded = true;
  if (sameBytes)
    out.swap(text_);  // the writer keeps appending to text_, now holding out's old buffer
  else
    encoded = encodeOutputPiece(text_, encoding, start_.WriteUTF8Signature, first_, out, error_);
  text_.clear();
  first_ = false;
  return encoded;
}

void XpDocumentStream::finish() {
  const TXpNode* root = start_.Document()->docGetDocumentElement();
  writer_.endElement();
  for (const TXpNode* node = root->noGetNextSibling(); node; node = node->noGetNextSibling())
    writeSubtree(writer_, node);
}

}  // namespace sorvanta::xml
