#pragma once
// Text into HTML: every character that needs it escaped, so the pages are also well-formed XML.
#include <string>
#include <string_view>

namespace sorvanta::reports {

// & < > " ' as references; control characters other than tab and line ends (not allowed in
// XML) and malformed UTF-8 bytes become U+FFFD.
void appendEscaped(std::string& out, std::string_view utf8);
std::string escapeHtml(std::string_view utf8);

}  // namespace sorvanta::reports
