#include "releasegen/XmlWriter.h"

#include <charconv>
#include <cstdint>

namespace sorvanta::tools::detail {

XmlWriter::XmlWriter(std::string& out, Encoding encoding) : out_(out), encoding_(encoding) {
  out_ += encoding == Encoding::Utf8 ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     : "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
}

void XmlWriter::start(std::string_view name) {
  indent();
  out_ += '<';
  out_ += name;
  stack_.push_back(name);
}

void XmlWriter::attribute(std::string_view name, std::string_view value) {
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  escaped(value);
  out_ += '"';
}

void XmlWriter::attribute(std::string_view name, int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  out_.append(buffer, result.ptr);
  out_ += '"';
}

void XmlWriter::closeWithText(std::string_view text) {
  if (text.empty()) return closeEmpty();
  out_ += '>';
  escaped(text);
  endTagInline();
}

void XmlWriter::end() {
  const std::string_view name = stack_.back();
  stack_.pop_back();
  indent();
  out_ += "</";
  out_ += name;
  out_ += ">\n";
}

void XmlWriter::endTagInline() {
  out_ += "</";
  out_ += stack_.back();
  out_ += ">\n";
  stack_.pop_back();
}

void XmlWriter::escaped(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '&':
        out_ += "&amp;";
        continue;
      case '<':
        out_ += "&lt;";
        continue;
      case '>':
        out_ += "&gt;";
        continue;
      case '"':
        out_ += "&quot;";
        continue;
      default:
        break;
    }
    if (c < 0x80 || encoding_ == Encoding::Utf8) {
      out_ += static_cast<char>(c);
      continue;
    }
    const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    char32_t cp = c & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + 1 < text.size(); ++k) cp = (cp << 6) | (text[++i] & 0x3F);
    if (cp <= 0xFF) {
      out_ += static_cast<char>(cp);
    } else {
      out_ += "&#";
      out_ += std::to_string(static_cast<uint32_t>(cp));
      out_ += ';';
    }
  }
}

}  // namespace sorvanta::tools::detail
