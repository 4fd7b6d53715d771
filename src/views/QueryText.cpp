#include "views/QueryText.h"

namespace sorvanta::views {

std::optional<std::string> attributePredicate(std::string_view attribute, std::string_view value) {
  // Literals have no escapes, so the quote must be one the value does not contain.
  char quote = '\'';
  if (value.find('\'') != std::string_view::npos) {
    if (value.find('"') != std::string_view::npos) return std::nullopt;
    quote = '"';
  }
  std::string out = "[@";
  out.append(attribute);
  out += '=';
  out += quote;
  out.append(value);
  out += quote;
  out += ']';
  return out;
}

}  // namespace sorvanta::views
