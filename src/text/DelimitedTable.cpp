#include "text/DelimitedTable.h"

namespace sorvanta::text {

namespace {

void appendTsvCell(std::string& out, const std::string& cell) {
  for (const char c : cell) out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
}

void appendCsvCell(std::string& out, const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string delimitedTable(const TextTable& rows, Delimited format) {
  std::string out;
  for (const std::vector<std::string>& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) {
      if (c > 0) out += format == Delimited::Tsv ? '\t' : ',';
      if (format == Delimited::Tsv) {
        appendTsvCell(out, row[c]);
      } else {
        appendCsvCell(out, row[c]);
      }
    }
    out += '\n';
  }
  return out;
}

}  // namespace sorvanta::text
