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
void appendEscaped(std::string& out, std::string_view value, bool attribute) {
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
    char32_t cp = nextCodePoint(value, i);
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

void appendLineBreak(std::string& out, int depth, bool formatted) {
  if (!formatted) return;
  out += "\r\n";
  out.append(static_cast<size_t>(2 * depth), ' ');
}

// Writes a leaf node whole, or the start tag of an element with children.
void writeOpening(std::string& out, const TXpNode* node) {
  switch (node->nodeType()) {
    case ELEMENT_NODE:
      out += '<';
      out += node->nameUtf8();
      for (TXpAttribute* a = node->attributes()->first(); a; a = a->nextAttribute()) {
        out += ' ';
        out += a->nameUtf8();
        out += "=\"";
        appendEscaped(out, a->valueUtf8(), true);
        out += '"';
      }
      out += node->HasChildNodes() ? ">" : "/>";
      break;
    case TEXT_NODE:
    case CDATA_SECTION_NODE:
      appendEscaped(out, node->valueUtf8(), false);
      break;
    case COMMENT_NODE:
      out += "<!--";
      out += node->valueUtf8();
      out += "-->";
      break;
    case PROCESSING_INSTRUCTION_NODE:
      out += "<?";
      out += node->nameUtf8();
      out += ' ';
      out += node->valueUtf8();
      out += "?>";
      break;
    default:
      break;
  }
}

// Writes a subtree at the given depth without recursion.
void writeSubtree(std::string& out, const TXpNode* root, bool formatted) {
  const TXpNode* node = root;
  int depth = 0;
  for (;;) {
    writeOpening(out, node);
    if (node->isElement() && node->HasChildNodes()) {
      node = node->noGetFirstChild();
      ++depth;
      if (!node->isText()) appendLineBreak(out, depth, formatted);
      continue;
    }
    // Close every element whose last child has just been written.
    while (node != root && !node->noGetNextSibling()) {
      bool lastIsText = node->isText();
      node = node->parentNode();
      --depth;
      if (!lastIsText) appendLineBreak(out, depth, formatted);
      out += "</";
      out += node->nameUtf8();
      out += '>';
    }
    if (node == root) return;
    node = node->noGetNextSibling();
    if (!node->isText()) appendLineBreak(out, depth, formatted);
  }
}

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

void toUtf16(std::string_view utf8, bool bigEndian, std::string& out) {
  auto put = [&](unsigned unit) {
    char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  put(0xFEFF);
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
  bool first = true;
  for (const TXpNode* child = document.noGetFirstChild(); child; child = child->noGetNextSibling()) {
    if (!first) out += "\r\n";
    first = false;
    writeSubtree(out, child, formatted);
  }
  return out;
}

bool encodeOutput(std::string utf8, TCharEncoding encoding, bool utf8Signature,
                  std::string& out, std::string& error) {
  out.clear();
  switch (encoding) {
    case ceUTF8:
      if (!utf8Signature) {
        out = std::move(utf8);
        return true;
      }
      out = "\xEF\xBB\xBF";
      out.append(utf8);
      return true;
    case ceUTF16LE:
    case ceUTF16BE:
      toUtf16(utf8, encoding == ceUTF16BE, out);
      return true;
    case ceUnknown:
    case ceISO88591:
      break;
  }
  // Plain ASCII is the same bytes in ISO-8859-1: the document's text is taken over whole.
  if (text::isAscii(utf8)) {
    out = std::move(utf8);
    return true;
  }
  return toLatin1(utf8, out, error);
}

}  // namespace sorvanta::xml
