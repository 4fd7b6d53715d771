#pragma once
// A table of text cells as TSV or CSV: what the window's lists and grids copy to the clipboard
// and export. Cells are UTF-8; lines end with LF.
#include <string>
#include <vector>

namespace sorvanta::text {

enum class Delimited { Tsv, Csv };

using TextTable = std::vector<std::vector<std::string>>;

// TSV: cells joined by tabs; a tab or line break inside a cell becomes a space, so every row
// stays one line. CSV (RFC 4180): cells joined by commas; a cell holding a comma, a quote or a
// line break is quoted, its quotes doubled.
std::string delimitedTable(const TextTable& rows, Delimited format);

}  // namespace sorvanta::text
