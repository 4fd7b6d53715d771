#pragma once
// The in-place parser: builds the tree of a document from decoded text (see XpDecoder.h).
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "xml/DocStorage.h"
#include "xml/XpParseResult.h"

namespace sorvanta::xml {

class Parser {
 public:
  Parser(DocStorage& storage, bool normalizeData) : storage_(storage), normalize_(normalizeData) {}

  // Parses the NUL-terminated text [begin, end), writing into it. Node names and values
  // point into that text, which must live as long as the document. On failure sets the
  // status and description of result; failedAt() is then where in the text it stopped.
  bool parse(char* begin, char* end, XpParseResult& result);
  const char* failedAt() const { return failedAt_; }

 private:
  bool fail(const char* at, XpParseStatus status, const std::string& what);
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
  XpParseResult* result_ = nullptr;
  const char* failedAt_ = nullptr;
  std::unordered_set<std::string_view> attributeNames_;
  std::vector<PendingAttribute> pending_;  // attributes of the start tag being read
};

}  // namespace sorvanta::xml
