// Feeds arbitrary bytes to the loader, then exercises the tree that came out of it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "xml/XpObjModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvanta::xml;
  TXpObjModel model;
  if (!model.LoadMemory(reinterpret_cast<const char*>(data), size)) return 0;
  TXpElement* root = model.Document()->docGetDocumentElement();
  if (!root) __builtin_trap();  // a successful load always has a document element
  (void)root->noGetText();
  (void)root->stringValueUtf8();
  for (TXpNode* child = root->noGetFirstChild(); child; child = child->noGetNextSibling())
    (void)child->noGetPreviousSibling();
  for (bool formatted : {false, true}) {
    model.FormattedOutput = formatted;
    for (TCharEncoding encoding : {ceISO88591, ceUTF8, ceUTF16LE}) {
      model.OutCharSet = encoding;
      std::string bytes;
      if (model.saveToBytes(bytes)) {
        TXpObjModel again;
        again.LoadMemory(bytes.data(), bytes.size());
      }
    }
  }
  return 0;
}
