#include "text/MessageText.h"

namespace sorvanta::text {

bool isControlCharacter(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::string messageText(std::string_view working) {
  const bool cut = working.size() > kMessageTextLimit;
  if (cut) working = working.substr(0, kMessageTextLimit);
  std::string out;
  out.reserve(working.size() + 3);
  for (const char ch : working) {
    const auto c = static_cast<unsigned char>(ch);
    if (!isControlCharacter(c)) {
      out += ch;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  if (cut) out += "...";
  return out;
}

std::string quotedText(std::string_view working) { return '"' + messageText(working) + '"'; }

}  // namespace sorvanta::text
