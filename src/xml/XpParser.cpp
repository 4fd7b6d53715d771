#include "xml/XpParser.h"

#include <array>
#include <cstring>

#include "text/WorkingText.h"
#include "xml/XpScan.h"

namespace sorvanta::xml {

namespace {

enum : uint8_t {
  kSpace = 1,      // space, tab, line feed, carriage return
  kNameStart = 2,  // letters, "_", ":" and every byte of a multi-byte character
  kName = 4,       // name start characters, digits, "-" and "."
  kTextStop = 8,   // ends a run of ordinary character data: "<", "&", NUL and white space
};

constexpr std::array<uint8_t, 256> makeTable() {
  std::array<uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    uint8_t bits = 0;
    bool letter =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') bits |= kSpace | kTextStop;
    if (letter) bits |= kNameStart | kName;
    if ((c >= '0' && c <= '9') || c == '-' || c == '.') bits |= kName;
    if (c == '<' || c == '&' || c == 0) bits |= kTextStop;
    table[static_cast<size_t>(c)] = bits;
  }
  return table;
}

constexpr std::array<uint8_t, 256> kClass = makeTable();

inline bool is(char c, uint8_t bits) { return kClass[static_cast<unsigned char>(c)] & bits; }

inline void skipSpace(char*& p) {
  if (is(*p, kSpace)) p = skipWhiteSpace(p + 1);
}

bool startsWith(const char* p, const char* prefix) {
  return std::strncmp(p, prefix, std::strlen(prefix)) == 0;
}

// Writes the UTF-8 form of c at w (in place; the reference it replaces is never shorter).
void putUtf8(char*& w, char32_t c) {
  if (c < 0x80) {
    *w++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *w++ = static_cast<char>(0xC0 | (c >> 6));
    *w++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *w++ = static_cast<char>(0xE0 | (c >> 12));
    *w++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *w++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *w++ = static_cast<char>(0xF0 | (c >> 18));
    *w++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *w++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *w++ = static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool isSpaceCode(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

constexpr uint8_t kPreserveSpace = 1;

}  // namespace

bool Parser::fail(const char* at, XpParseStatus status, const std::string& what) {
  result_->status = status;
  result_->description = what;
  failedAt_ = at;
  return false;
}

bool Parser::parse(char* begin, char* end, XpParseResult& result) {
  begin_ = begin;
  result_ = &result;
  parent_ = &storage_.document();
  rootSeen_ = false;
  char* p = begin;
  if (startsWith(p, "<?xml") && is(p[5], kSpace) && !parseDeclaration(p)) return false;
  bool doctypeAllowed = true;
  for (;;) {
    if (*p == '<') {
      bool ok;
      switch (p[1]) {
        case '/':
          p += 2;
          ok = parseEndTag(p);
          break;
        case '?':
          p += 2;
          ok = parseProcessingInstruction(p);
          break;
        case '!':
          if (startsWith(p + 2, "--")) {
            p += 4;
            ok = parseComment(p);
          } else if (startsWith(p + 2, "[CDATA[")) {
            if (parent_ == &storage_.document())
              return fail(p, XpParseStatus::OutsideDocumentElement,
                          "CDATA section outside the document element");
            p += 9;
            ok = parseCData(p);
          } else if (startsWith(p + 2, "DOCTYPE") && is(p[9], kSpace)) {
            if (!doctypeAllowed)
              return fail(p, XpParseStatus::BadDoctype, "misplaced document type declaration");
            doctypeAllowed = false;
            p += 10;
            ok = skipDoctype(p);
          } else {
            return fail(p, XpParseStatus::BadMarkup, "unknown markup declaration");
          }
          break;
        default:
          doctypeAllowed = false;
          ++p;
          ok = parseStartTag(p);
          break;
      }
      if (!ok) return false;
    } else if (*p == '\0') {
      if (p != end)
        return fail(p, XpParseStatus::BadCharacter, "character not allowed in XML (code 0)");
      break;
    } else if (parent_ == &storage_.document()) {
      char* start = p;
      skipSpace(p);
      if (*p != '<' && *p != '\0')
        return fail(start, XpParseStatus::OutsideDocumentElement,
                    "text outside the document element");
    } else if (!parseText(p)) {
      return false;
    }
  }
  if (parent_ != &storage_.document())
    return fail(p, XpParseStatus::UnclosedElement,
                std::string("element <") + parent_->name_ + "> is not closed");
  if (!rootSeen_)
    return fail(p, XpParseStatus::NoDocumentElement, "the document has no document element");
  return true;
}

// XMLDecl ::= '<?xml' VersionInfo EncodingDecl? SDDecl? S? '?>'
bool Parser::parseDeclaration(char*& p) {
  char* const start = p;
  p += 5;
  std::string data;
  static const char* const kNames[] = {"version", "encoding", "standalone"};
  int next = 0;
  for (;;) {
    bool hadSpace = is(*p, kSpace);
    skipSpace(p);
    if (startsWith(p, "?>")) {
      p += 2;
      break;
    }
    if (!hadSpace) return fail(p, XpParseStatus::BadDeclaration, "malformed XML declaration");
    int which = -1;
    for (int i = next; i < 3 && which < 0; ++i)
      if (startsWith(p, kNames[i])) which = i;
    if (which < 0 || (next == 0 && which != 0))
      return fail(p, XpParseStatus::BadDeclaration, "malformed XML declaration");
    p += std::strlen(kNames[which]);
    skipSpace(p);
    if (*p != '=') return fail(p, XpParseStatus::BadDeclaration, "malformed XML declaration");
    ++p;
    skipSpace(p);
    char quote = *p;
    if (quote != '"' && quote != '\'')
      return fail(p, XpParseStatus::BadDeclaration, "malformed XML declaration");
    char* valueStart = ++p;
    while (*p && *p != quote && *p != '<' && *p != '>') ++p;
    if (*p != quote) return fail(p, XpParseStatus::BadDeclaration, "malformed XML declaration");
    std::string_view value(valueStart, static_cast<size_t>(p - valueStart));
    ++p;
    if (which == 0 && value != "1.0")
      return fail(valueStart, XpParseStatus::BadDeclaration,
                  "unsupported XML version \"" + std::string(value) + "\"");
    if (which == 2 && value != "yes" && value != "no")
      return fail(valueStart, XpParseStatus::BadDeclaration, "malformed XML declaration");
    if (!data.empty()) data += ' ';
    data.append(kNames[which]).append("=\"").append(value).append("\"");
    next = which + 1;
  }
  if (next == 0)
    return fail(start, XpParseStatus::BadDeclaration, "the XML declaration has no version");
  auto* pi = storage_.arena().make<TXpProcessingInstruction>();
  pi->name_ = "xml";
  pi->value_ = storage_.arena().copyString(data.data(), data.size());
  pi->valueLength_ = static_cast<uint32_t>(data.size());
  parent_->appendChild(pi);
  return true;
}

bool Parser::checkUniqueName(const char* name) {
  // Linear for the usual handful of attributes; a set once there are many.
  constexpr size_t kLinearLimit = 16;
  size_t count = pending_.size();
  if (count < kLinearLimit) {
    for (const PendingAttribute& a : pending_)
      if (a.name[0] == name[0] && std::strcmp(a.name, name) == 0) return false;
    return true;
  }
  if (count == kLinearLimit) {
    attributeNames_.clear();
    for (const PendingAttribute& a : pending_) attributeNames_.insert(a.name);
  }
  return attributeNames_.insert(name).second;
}

// Moves the attributes read from a start tag into the element's attribute array.
void Parser::attachAttributes(TXpElement* element) {
  if (pending_.empty()) return;
  TXpAttribute* array = TXpAttribute::makeArray(storage_.arena(), pending_.size());
  for (size_t i = 0; i < pending_.size(); ++i) {
    array[i].name_ = pending_[i].name;
    array[i].value_ = pending_[i].value;
    array[i].valueLength_ = pending_[i].length;
    array[i].parent_ = element;
  }
  element->attributes_.first_ = array;
}

// STag ::= '<' Name (S Attribute)* S? '>' ; EmptyElemTag ::= '<' Name (S Attribute)* S? '/>'
bool Parser::parseStartTag(char*& p) {
  if (!is(*p, kNameStart)) return fail(p, XpParseStatus::BadMarkup, "malformed markup");
  if (parent_ == &storage_.document()) {
    if (rootSeen_)
      return fail(p, XpParseStatus::OutsideDocumentElement, "more than one document element");
    rootSeen_ = true;
  }
  auto* element = storage_.arena().make<TXpElement>();
  element->name_ = p;
  while (is(*p, kName)) ++p;
  element->flags_ = parent_->flags_ & kPreserveSpace;
  parent_->appendChild(element);
  char c = *p;
  *p = '\0';
  pending_.clear();
  for (;;) {
    bool hadSpace = false;
    if (is(c, kSpace)) {
      do ++p;
      while (is(*p, kSpace));
      c = *p;
      hadSpace = true;
    }
    if (c == '>') {
      ++p;
      attachAttributes(element);
      parent_ = element;
      return true;
    }
    if (c == '/') {
      if (p[1] != '>') return fail(p, XpParseStatus::BadMarkup, "malformed empty-element tag");
      p += 2;
      attachAttributes(element);
      return true;
    }
    if (c == '\0')
      return fail(p, XpParseStatus::UnclosedElement,
                  std::string("unterminated start tag <") + element->name_ + ">");
    if (!hadSpace || !is(c, kNameStart))
      return fail(p, XpParseStatus::BadAttribute, "malformed attribute");
    PendingAttribute attribute;
    attribute.name = p;
    while (is(*p, kName)) ++p;
    c = *p;
    *p = '\0';
    if (is(c, kSpace)) {
      do ++p;
      while (is(*p, kSpace));
      c = *p;
    }
    if (c != '=')
      return fail(p, XpParseStatus::BadAttribute,
                  std::string("attribute ") + attribute.name + " has no value");
    ++p;
    skipSpace(p);
    char quote = *p;
    if (quote != '"' && quote != '\'')
      return fail(p, XpParseStatus::BadAttribute, "attribute value without quotes");
    ++p;
    if (!parseAttributeValue(p, quote, attribute)) return false;
    if (!checkUniqueName(attribute.name))
      return fail(p, XpParseStatus::DuplicateAttribute,
                  std::string("duplicate attribute ") + attribute.name);
    pending_.push_back(attribute);
    if (attribute.name[0] == 'x' && std::strcmp(attribute.name, "xml:space") == 0) {
      std::string_view value(attribute.value, attribute.length);
      if (value == "preserve") element->flags_ |= kPreserveSpace;
      if (value == "default") element->flags_ &= static_cast<uint8_t>(~kPreserveSpace);
    }
    c = *p;
  }
}

// AttValue ::= '"' ([^<&"] | Reference)* '"' ; white space characters become spaces
bool Parser::parseAttributeValue(char*& p, char quote, PendingAttribute& attribute) {
  char* start = p;
  char* w = p;
  for (;;) {
    char* run = skipPlainAttributeText(p);
    if (w != p) std::memmove(w, p, static_cast<size_t>(run - p));
    w += run - p;
    p = run;
    char c = *p;
    if (c == quote) break;
    if (is(c, kSpace)) {
      *w++ = ' ';
      ++p;
    } else if (c == '&') {
      char32_t decoded;
      if (!decodeReference(p, w, decoded)) return false;
    } else if (c == '"' || c == '\'') {
      *w++ = *p++;
    } else if (c == '<') {
      return fail(p, XpParseStatus::BadAttribute, "character < in attribute value");
    } else {
      return fail(p, XpParseStatus::BadAttribute, "unterminated attribute value");
    }
  }
  ++p;
  attribute.value = start;
  attribute.length = static_cast<uint32_t>(w - start);
  return true;
}

// Reference ::= '&' Name ';' | '&#' [0-9]+ ';' | '&#x' [0-9a-fA-F]+ ';'
bool Parser::decodeReference(char*& p, char*& w, char32_t& decoded) {
  char* const start = p;
  ++p;
  if (*p == '#') {
    ++p;
    bool hex = *p == 'x';
    if (hex) ++p;
    uint32_t value = 0;
    int digits = 0;
    for (;; ++p, ++digits) {
      char c = *p;
      int digit = c >= '0' && c <= '9'          ? c - '0'
                  : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                : -1;
      if (digit < 0) break;
      value = value * (hex ? 16u : 10u) + static_cast<uint32_t>(digit);
      if (value > 0x10FFFF)
        return fail(start, XpParseStatus::BadCharacterReference,
                    "character reference out of range");
    }
    if (digits == 0 || *p != ';')
      return fail(start, XpParseStatus::BadCharacterReference, "malformed character reference");
    if (!allowedXmlChar(value))
      return fail(start, XpParseStatus::BadCharacterReference,
                  "character reference to a character not allowed in XML");
    ++p;
    decoded = value;
  } else {
    struct Entity {
      const char* name;
      char value;
    };
    static constexpr Entity kEntities[] = {
        {"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"apos;", '\''}, {"quot;", '"'}};
    bool found = false;
    for (const Entity& entity : kEntities) {
      if (startsWith(p, entity.name)) {
        p += std::strlen(entity.name);
        decoded = static_cast<char32_t>(entity.value);
        found = true;
        break;
      }
    }
    if (!found) {
      char* nameEnd = p;
      while (is(*nameEnd, kName) && nameEnd - p < 64) ++nameEnd;
      return fail(start, XpParseStatus::UndefinedEntity,
                  "undefined entity '&" + std::string(p, nameEnd) + ";'");
    }
  }
  putUtf8(w, decoded);
  return true;
}

// CharData, normalised unless white space is preserved: trimmed, inner runs collapsed.
bool Parser::parseText(char*& p) {
  bool normalize = normalize_ && !(parent_->flags_ & kPreserveSpace);
  if (normalize) {
    skipSpace(p);
    if (*p == '<') return true;  // indentation between tags leaves no node
  }
  char* const start = p;
  char* w = p;
  if (normalize) {
    // Most text needs no change: words separated by single spaces. Skip over that part,
    // then normalise the rest in place.
    p = const_cast<char*>(skipCleanText(p));
    if (p > start && p[-1] == ' ') --p;  // a space before the stop may be trailing
    w = p;
    bool pendingSpace = false;
    for (;;) {
      if (!is(*p, kTextStop)) {
        if (pendingSpace && w != start) *w++ = ' ';
        pendingSpace = false;
        do *w++ = *p++;
        while (!is(*p, kTextStop));
        continue;
      }
      char c = *p;
      if (is(c, kSpace)) {
        pendingSpace = true;
        do ++p;
        while (is(*p, kSpace));
        continue;
      }
      if (c != '&') break;
      char32_t decoded;
      char* out = w;
      if (!decodeReference(p, out, decoded)) return false;
      if (isSpaceCode(decoded)) {
        pendingSpace = true;  // a referenced space collapses like a written one
        continue;
      }
      if (pendingSpace && w != start) {
        // Skipped input leaves room to put the pending space before the decoded bytes.
        std::memmove(w + 1, w, static_cast<size_t>(out - w));
        *w = ' ';
        ++out;
      }
      w = out;
      pendingSpace = false;
    }
  } else {
    for (;;) {
      while (!is(*p, kTextStop) || is(*p, kSpace)) *w++ = *p++;
      if (*p != '&') break;
      char32_t decoded;
      if (!decodeReference(p, w, decoded)) return false;
    }
  }
  if (w == start) return true;
  auto* node = storage_.arena().make<TXpText>();
  node->value_ = start;
  node->valueLength_ = static_cast<uint32_t>(w - start);
  parent_->appendChild(node);
  return true;
}

// ETag ::= '</' Name S? '>'
bool Parser::parseEndTag(char*& p) {
  char* const start = p - 2;
  if (parent_ == &storage_.document())
    return fail(start, XpParseStatus::UnexpectedEndTag, "end tag without start tag");
  const char* name = parent_->name_;
  while (*name && *name == *p) {
    ++name;
    ++p;
  }
  if (*name || is(*p, kName))
    return fail(start, XpParseStatus::MismatchedEndTag,
                std::string("end tag does not match start tag <") + parent_->name_ + ">");
  skipSpace(p);
  if (*p != '>') return fail(p, XpParseStatus::BadMarkup, "malformed end tag");
  ++p;
  parent_ = static_cast<TXpParentNode*>(parent_->parent_);
  return true;
}

// Comment ::= '<!--' ((Char - '-') | ('-' (Char - '-')))* '-->'
bool Parser::parseComment(char*& p) {
  char* const start = p - 4;
  char* end = std::strstr(p, "--");
  if (!end) return fail(start, XpParseStatus::BadComment, "unterminated comment");
  if (end[2] != '>') return fail(end, XpParseStatus::BadComment, "two hyphens inside a comment");
  auto* comment = storage_.arena().make<TXpComment>();
  comment->value_ = p;
  comment->valueLength_ = static_cast<uint32_t>(end - p);
  parent_->appendChild(comment);
  p = end + 3;
  return true;
}

// PI ::= '<?' PITarget (S (Char* - (Char* '?>' Char*)))? '?>'
bool Parser::parseProcessingInstruction(char*& p) {
  char* const start = p - 2;
  if (!is(*p, kNameStart))
    return fail(start, XpParseStatus::BadProcessingInstruction, "malformed processing instruction");
  auto* pi = storage_.arena().make<TXpProcessingInstruction>();
  pi->name_ = p;
  while (is(*p, kName)) ++p;
  size_t targetLength = static_cast<size_t>(p - pi->name_);
  if (targetLength == 3 && (p[-3] | 0x20) == 'x' && (p[-2] | 0x20) == 'm' && (p[-1] | 0x20) == 'l')
    return fail(start, XpParseStatus::BadDeclaration,
                "XML declaration not at the start of the document");
  char c = *p;
  *p = '\0';
  if (c == '?' && p[1] == '>') {
    p += 2;
  } else if (is(c, kSpace)) {
    ++p;
    skipSpace(p);
    char* end = std::strstr(p, "?>");
    if (!end)
      return fail(start, XpParseStatus::BadProcessingInstruction,
                  "unterminated processing instruction");
    pi->value_ = p;
    pi->valueLength_ = static_cast<uint32_t>(end - p);
    p = end + 2;
  } else {
    return fail(start, XpParseStatus::BadProcessingInstruction, "malformed processing instruction");
  }
  parent_->appendChild(pi);
  return true;
}

// CDSect ::= '<![CDATA[' (Char* - (Char* ']]>' Char*)) ']]>'
bool Parser::parseCData(char*& p) {
  char* end = std::strstr(p, "]]>");
  if (!end) return fail(p - 9, XpParseStatus::BadCData, "unterminated CDATA section");
  auto* section = storage_.arena().make<TXpCDataSection>();
  section->value_ = p;
  section->valueLength_ = static_cast<uint32_t>(end - p);
  parent_->appendChild(section);
  p = end + 3;
  return true;
}

// doctypedecl ::= '<!DOCTYPE' S Name (S ExternalID)? S? ('[' intSubset ']' S?)? '>'
// Skipped whole: quoted strings, comments and processing instructions are stepped over.
bool Parser::skipDoctype(char*& p) {
  char* const start = p - 10;
  bool inSubset = false;
  for (;;) {
    char c = *p;
    if (c == '\0')
      return fail(start, XpParseStatus::BadDoctype, "unterminated document type declaration");
    if (c == '"' || c == '\'') {
      char* close = std::strchr(p + 1, c);
      if (!close)
        return fail(start, XpParseStatus::BadDoctype, "unterminated document type declaration");
      p = close + 1;
    } else if (inSubset && startsWith(p, "<!--")) {
      char* close = std::strstr(p + 4, "-->");
      if (!close) return fail(start, XpParseStatus::BadComment, "unterminated comment");
      p = close + 3;
    } else if (inSubset && startsWith(p, "<?")) {
      char* close = std::strstr(p + 2, "?>");
      if (!close)
        return fail(start, XpParseStatus::BadProcessingInstruction,
                    "unterminated processing instruction");
      p = close + 2;
    } else if (c == '[' && !inSubset) {
      inSubset = true;
      ++p;
    } else if (c == ']' && inSubset) {
      inSubset = false;
      ++p;
    } else if (c == '>' && !inSubset) {
      ++p;
      return true;
    } else {
      ++p;
    }
  }
}

}  // namespace sorvanta::xml
