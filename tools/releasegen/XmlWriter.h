#pragma once
// Writes indented XML text into a string: one element per line, texts and attribute values
// escaped for the declared encoding. Internal to releasegen.
#include <string>
#include <string_view>
#include <vector>

#include "releasegen/ReleaseGenerator.h"

namespace sorvanta::tools::detail {

class XmlWriter {
 public:
  // Appends the XML declaration naming the encoding.
  XmlWriter(std::string& out, Encoding encoding);

  // "<name"; attributes follow, then close(), closeEmpty() or closeWithText().
  void start(std::string_view name);
  void attribute(std::string_view name, std::string_view value);
  void attribute(std::string_view name, int value);
  // Ends the start tag; children follow on the next lines.
  void close() { out_ += ">\n"; }
  void closeEmpty() {
    out_ += "/>\n";
    stack_.pop_back();
  }
  // Ends the start tag, writes the text and the end tag on the same line.
  void closeWithText(std::string_view text);
  void end();
  // An element holding only text.
  void textElement(std::string_view name, std::string_view text) {
    start(name);
    closeWithText(text);
  }

 private:
  void indent() { out_.append(2 * stack_.size(), ' '); }
  void endTagInline();
  // Escapes markup characters; in ISO-8859-1 output, characters beyond U+00FF become numeric
  // references.
  void escaped(std::string_view text);

  std::string& out_;
  Encoding encoding_;
  std::vector<std::string_view> stack_;
};

}  // namespace sorvanta::tools::detail
