#pragma once
// JSON text written straight into a buffer, byte for byte as nlohmann-json's dump() writes it
// without indentation, non-ASCII kept as UTF-8 and invalid UTF-8 replaced by U+FFFD: the export
// writes a few hundred thousand records, too many to build a json object for each.
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanta::exports {

// Appends text as a quoted JSON string.
void appendJsonString(std::string& out, std::string_view text);

void appendJsonInteger(std::string& out, int64_t value);

}  // namespace sorvanta::exports
