#pragma once
// The in-place parser: builds the tree of a document from decoded text (see XpDecoder.h).
#include <string>
#include <unordered_set>
#include <string_view>
#include <vector>

#include "xml/DocStorage.h"

namespace sorvanta::xml {

class Parser {
 public:
  Parser(DocStorage& storage, bool normalizeData) : storage_(storage), normalize_(normalizeData) {}

  // Parses the NUL-terminated text [begin, end), writing into it. Node names and values
  // point into that text, which must live as long as the document. Offsets in error
  // messages are counted from begin plus offsetBase.
  bool parse(char* begin, char* end, size_t offsetBase, std::string& error);

 private:
  bool fail(const char* at, const std::string& what);
  bool parseDeclaration(char*& p);
  bool parseStartTag(char*& p);
  bool parseEndTag(char*& p);
  bool parseComment(char*& p);
  bool parseProcessingInstruction(char*& p);
  bool parseCData(char*& p);
  bool skipDoctype(char*& p);
  bool parseText(char*& p);
  struct PendingAttribute {
    const char* name = nullptr;
    const char* value = nullptr;
    uint32_t length = 0;
  };
  bool parseAttributeValue(char*& p, char quote, PendingAttribute& attribute);
  bool decodeReference(char*& p, char*& w, char32_t& decoded);
  bool checkUniqueName(const char* name);
  void attachAttributes(TXpElement* element);

  DocStorage& storage_;
  bool normalize_;
  TXpParentNode* parent_ = nullptr;
  bool rootSeen_ = false;
  char* begin_ = nullptr;
  size_t offsetBase_ = 0;
  std::string* error_ = nullptr;
  std::unordered_set<std::string_view> attributeNames_;
  std::vector<PendingAttribute> pending_;  // attributes of the start tag being read
};

}  // namespace sorvanta::xml
