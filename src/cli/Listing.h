#pragma once
// How a listing command prints: TSV records (optionally under a header row) or one JSON
// document with named fields. Every listing command declares `--format tsv|json` and
// `--header` the same way and hands its rows to the helpers here.
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliCommand.h"
#include "lexicon/ListRow.h"

namespace sorvanta::cli {

// The options "--format tsv|json" and "--header" of a listing command.
class ListingFormat {
 public:
  // Declares both options on line, with the check that refuses any other format and a header
  // asked for JSON.
  explicit ListingFormat(CommandLine& line);

  bool json() const;
  bool header() const { return header_->count() > 0; }

  // The header row, when one was asked for: the captions, tab-separated.
  void writeHeader(std::ostream& out, const std::vector<std::string_view>& captions) const;

 private:
  CLI::Option* format_;
  CLI::Option* header_;
};

// One column of a list: its caption in the TSV header, its JSON field, and whether its cells
// are integers (JSON numbers) or text.
struct ListColumn {
  std::string_view caption;
  std::string_view field;
  bool integer = false;
};

// Working text as a JSON string (UTF-8).
nlohmann::ordered_json jsonText(std::string_view working);
// A cell that holds an integer as a JSON number; any other text (empty, not a number, out of
// range) as a JSON string, so nothing is lost.
nlohmann::ordered_json jsonInteger(std::string_view working);

// The JSON document, indented by two spaces, and a line end.
void writeJson(std::ostream& out, const nlohmann::ordered_json& document);

// Prints rows as the format asks: TSV records of their cells, or a JSON array with one object
// per row whose fields are the columns'.
void writeListRows(std::ostream& out, const ListingFormat& format,
                   const std::vector<ListColumn>& columns,
                   const std::vector<lexicon::ListRow>& rows);

}  // namespace sorvanta::cli
