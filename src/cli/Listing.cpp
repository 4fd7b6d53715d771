#include "cli/Listing.h"

#include <charconv>
#include <cstdint>
#include <ostream>

#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

bool isJson(const CLI::Option* format) {
  return !format->results().empty() && format->results().back() == "json";
}

}  // namespace

ListingFormat::ListingFormat(CommandLine& line)
    : format_(line.choice("--format", {"tsv", "json"})), header_(line.flag("--header")) {
  // The options, not this object, are captured: the command keeps a copy of it.
  line.check([format = format_, header = header_] {
    if (isJson(format) && header->count() > 0)
      throw UsageError{"--header applies to --format tsv only"};
  });
}

bool ListingFormat::json() const { return isJson(format_); }

void ListingFormat::writeHeader(std::ostream& out,
                                const std::vector<std::string_view>& captions) const {
  if (!header()) return;
  for (size_t i = 0; i < captions.size(); ++i) out << (i ? "\t" : "") << captions[i];
  out << '\n';
}

nlohmann::ordered_json jsonText(std::string_view working) { return text::workingToUtf8(working); }

nlohmann::ordered_json jsonInteger(std::string_view working) {
  int64_t value = 0;
  const char* end = working.data() + working.size();
  const auto [stop, error] = std::from_chars(working.data(), end, value);
  if (!working.empty() && error == std::errc() && stop == end) return value;
  return jsonText(working);
}

void writeJson(std::ostream& out, const nlohmann::ordered_json& document) {
  out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void writeListRows(std::ostream& out, const ListingFormat& format,
                   const std::vector<ListColumn>& columns,
                   const std::vector<lexicon::ListRow>& rows) {
  if (!format.json()) {
    std::vector<std::string_view> captions;
    for (const ListColumn& column : columns) captions.push_back(column.caption);
    format.writeHeader(out, captions);
    for (const lexicon::ListRow& row : rows) writeRecord(out, row.cells);
    return;
  }
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const lexicon::ListRow& row : rows) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (size_t i = 0; i < columns.size(); ++i) {
      const std::string_view cell = row.cell(static_cast<int>(i));
      object[std::string(columns[i].field)] =
          columns[i].integer ? jsonInteger(cell) : jsonText(cell);
    }
    list.push_back(std::move(object));
  }
  writeJson(out, list);
}

}  // namespace sorvanta::cli
