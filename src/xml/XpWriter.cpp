#include "xml/XpWriter.h"

#include "text/WorkingText.h"
#include "xml/DocStorage.h"

namespace sorvanta::xml {

namespace {

// Decodes the UTF-8 character at text[i] (input is valid UTF-8 built by this layer).
char32_t nextCodePoint(std::string_view text, size_t& i) {
  auto c = static_cast<unsigned char>(text[i++]);
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
  char32_t cp = c & (0x3F >> extra);
  for (int k = 0; k < extra && i < text.size(); ++k)
    cp = cp << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
  return cp;
}

void appendReference(std::string& out, unsigned code) {
  out += "&#";
  out += std::to_string(code);
  out += ';';
}

// Escapes per UTF-16 code unit: "&" and "<" always, in attributes also the quotation mark
// and the line feed; every character outside tab, LF, CR and 32..126 as a reference.
// decode(value, i) reads the character at value[i] and moves i past it.
template <class Decode>
void appendEscaped(std::string& out, std::string_view value, bool attribute, Decode decode) {
  size_t i = 0;
  while (i < value.size()) {
    size_t runStart = i;
    while (i < value.size()) {
      char c = value[i];
      bool plain = (c >= 32 && c <= 126 && c != '&' && c != '<' && !(attribute && c == '"')) ||
                   c == '\t' || c == '\r' || (c == '\n' && !attribute);
      if (!plain) break;
      ++i;
    }
    out.append(value.substr(runStart, i - runStart));
    if (i >= value.size()) break;
    char32_t cp = decode(value, i);
    if (cp == '&') {
      out += "&amp;";
    } else if (cp == '<') {
      out += "&lt;";
    } else if (cp == '"') {
      out += "&#34;";
    } else if (cp == '\n') {
      out += "&#xA;";
    } else if (cp >= 0x10000) {
      appendReference(out, 0xD800 + ((cp - 0x10000) >> 10));
      appendReference(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      appendReference(out, cp);
    }
  }
}

void appendEscapedUtf8(std::string& out, std::string_view utf8, bool attribute) {
  appendEscaped(out, utf8, attribute, nextCodePoint);
}

// Working text escapes as its UTF-8 would: each byte is one character.
void appendEscapedWorking(std::string& out, std::string_view working, bool attribute) {
  appendEscaped(out, working, attribute, [](std::string_view value, size_t& i) {
    return text::workingToUnicode(static_cast<unsigned char>(value[i++]));
  });
}

void appendLineBreak(std::string& out, int depth, bool formatted) {
  if (!formatted) return;
  out += "\r\n";
  out.append(static_cast<size_t>(2 * depth), ' ');
}

}  // namespace

void writeOpening(XpMarkupWriter& writer, const TXpNode* node) {
  switch (node->nodeType()) {
    case ELEMENT_NODE:
      writer.startElement(node->nameUtf8());
      for (TXpAttribute* a = node->attributes()->first(); a; a = a->nextAttribute())
        writer.attribute(a->nameUtf8(), a->valueUtf8());
      break;
    case TEXT_NODE:
    case CDATA_SECTION_NODE:
      writer.text(node->valueUtf8());
      break;
    case COMMENT_NODE:
      writer.markup("<!--" + std::string(node->valueUtf8()) + "-->");
      break;
    case PROCESSING_INSTRUCTION_NODE:
      writer.markup("<?" + std::string(node->nameUtf8()) + " " + std::string(node->valueUtf8()) +
                    "?>");
      break;
    default:
      writer.markup({});
      break;
  }
}

// Without recursion: documents may nest deeper than the stack would allow.
void writeSubtree(XpMarkupWriter& writer, const TXpNode* root) {
  const TXpNode* node = root;
  for (;;) {
    writeOpening(writer, node);
    if (node->isElement() && node->HasChildNodes()) {
      node = node->noGetFirstChild();
      continue;
    }
    if (node->isElement()) writer.endElement();
    // End every element whose last child has just been written.
    while (node != root && !node->noGetNextSibling()) {
      node = node->parentNode();
      writer.endElement();
    }
    if (node == root) return;
    node = node->noGetNextSibling();
  }
}

namespace {

bool toLatin1(std::string_view utf8, std::string& out, std::string& error) {
  out.reserve(out.size() + utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    // Runs of ASCII are the same bytes in both encodings: copied whole.
    size_t run = i;
    while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80) ++run;
    out.append(utf8.data() + i, run - i);
    i = run;
    if (i == utf8.size()) break;
    char32_t cp = nextCodePoint(utf8, i);
    if (cp > 0xFF) {
      error = "Cannot write character U+" + std::to_string(static_cast<unsigned>(cp)) +
              " in ISO-8859-1";
      return false;
    }
    out += static_cast<char>(cp);
  }
  return true;
}

void toUtf16(std::string_view utf8, bool bigEndian, bool mark, std::string& out) {
  auto put = [&](unsigned unit) {
    char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  if (mark) put(0xFEFF);
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = nextCodePoint(utf8, i);
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
}

}  // namespace

std::string serializeDocument(const TXpDocument& document, bool formatted) {
  std::string out;
  // The text comes to roughly half the document's storage (nodes, names, values): reserved
  // at once, a text of many megabytes is not copied again and again as it grows.
  out.reserve(document.storage().memoryUsage() / 2);
  XpMarkupWriter writer(out, formatted);
  for (const TXpNode* child = document.noGetFirstChild(); child; child = child->noGetNextSibling())
    writeSubtree(writer, child);
  return out;
}

void XpMarkupWriter::beforeNode(bool isText) {
  if (open_.empty()) {
    if (anyTopLevel_ && !apart_) out_ += "\r\n";
    anyTopLevel_ = true;
    return;
  }
  if (startTagOpen_) {
    out_ += '>';
    startTagOpen_ = false;
  }
  Open& parent = open_.back();
  parent.hasChildren = true;
  parent.lastIsText = isText;
  if (!isText) appendLineBreak(out_, depth_ + static_cast<int>(open_.size()), formatted_);
}

void XpMarkupWriter::startElement(std::string_view name) {
  beforeNode(false);
  out_ += '<';
  out_ += name;
  open_.push_back(
      {static_cast<uint32_t>(names_.size()), static_cast<uint32_t>(name.size()), false, false});
  names_ += name;
  startTagOpen_ = true;
}

void XpMarkupWriter::attribute(std::string_view name, std::string_view utf8Value) {
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  appendEscapedUtf8(out_, utf8Value, true);
  out_ += '"';
}

void XpMarkupWriter::workingAttribute(std::string_view name, std::string_view workingValue) {
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  appendEscapedWorking(out_, workingValue, true);
  out_ += '"';
}

void XpMarkupWriter::text(std::string_view utf8) {
  beforeNode(true);
  appendEscapedUtf8(out_, utf8, false);
}

void XpMarkupWriter::workingText(std::string_view working) {
  beforeNode(true);
  appendEscapedWorking(out_, working, false);
}

void XpMarkupWriter::markup(std::string_view verbatim) {
  beforeNode(false);
  out_ += verbatim;
}

void XpMarkupWriter::endElement() {
  const Open element = open_.back();
  if (!element.hasChildren) {
    out_ += "/>";
    startTagOpen_ = false;
  } else {
    if (!element.lastIsText)
      appendLineBreak(out_, depth_ + static_cast<int>(open_.size()) - 1, formatted_);
    out_ += "</";
    out_.append(names_, element.nameAt, element.nameLength);
    out_ += '>';
  }
  names_.resize(element.nameAt);
  open_.pop_back();
}

bool encodeOutput(std::string utf8, TCharEncoding encoding, bool utf8Signature,
                  std::string& out, std::string& error) {
  out.clear();
  // The text taken over whole where the encoding keeps its bytes: UTF-8 without signature,
  // and plain ASCII in ISO-8859-1.
  const bool latin1 = encoding == ceUnknown || encoding == ceISO88591;
  if ((encoding == ceUTF8 && !utf8Signature) || (latin1 && text::isAscii(utf8))) {
    out = std::move(utf8);
    return true;
  }
  return encodeOutputPiece(utf8, encoding, utf8Signature, true, out, error);
}

bool encodeOutputPiece(std::string_view utf8, TCharEncoding encoding, bool utf8Signature,
                       bool first, std::string& out, std::string& error) {
  switch (encoding) {
    case ceUTF8:
      if (first && utf8Signature) out += "\xEF\xBB\xBF";
      out.append(utf8);
      return true;
    case ceUTF16LE:
    case ceUTF16BE:
      toUtf16(utf8, encoding == ceUTF16BE, first, out);
      return true;
    case ceUnknown:
    case ceISO88591:
      break;
  }
  return toLatin1(utf8, out, error);
}

}  // namespace sorvanta::xml
