#pragma once
// Building path-query predicates from names taken out of documents or controls.
#include <optional>
#include <string>
#include <string_view>

namespace sorvanta::views {

// "[@attribute='value']", or with double quotes when value holds a single quote; nothing
// when value holds both kinds of quote, since no literal can then express it.
std::optional<std::string> attributePredicate(std::string_view attribute, std::string_view value);

}  // namespace sorvanta::views
