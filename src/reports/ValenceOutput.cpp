#include "reports/ValenceOutput.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace sorvanta::reports {

namespace {

// A sentence ID as a number, or as the text written when it is not an integer.
nlohmann::ordered_json sentenceIdJson(const AnnotationSet& set) {
  if (set.sentenceId) return *set.sentenceId;
  return set.sentenceKey;
}

// Tabs and line ends inside a cell would break the record; they become spaces.
std::string cell(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

std::string dump(const nlohmann::ordered_json& json) {
  return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace

void writeValenceTsv(std::ostream& out, const ValenceTable& table) {
  out << "FE\tAnnotated\tPT\tGF\tTotal\n";
  for (const FeValence& fe : table.fes) {
    if (fe.realizations.empty()) out << cell(fe.fe) << '\t' << fe.annotated << "\t\t\t\n";
    for (const Realization& r : fe.realizations)
      out << cell(fe.fe) << '\t' << fe.annotated << '\t' << cell(r.pt) << '\t' << cell(r.gf)
          << '\t' << r.total << '\n';
  }
}

void writePatternsTsv(std::ostream& out, const std::vector<ValencePattern>& patterns) {
  out << "Total\tPattern\tSentences\n";
  for (const ValencePattern& pattern : patterns) {
    out << pattern.total << '\t' << cell(patternText(pattern.units)) << '\t';
    for (size_t i = 0; i < pattern.sets.size(); ++i)
      out << (i ? "," : "") << cell(pattern.sets[i]->sentenceKey);
    out << '\n';
  }
}

std::string valenceJson(const LexicalUnitData& lu, const ValenceTable& table) {
  nlohmann::ordered_json fes = nlohmann::ordered_json::array();
  for (const FeValence& fe : table.fes) {
    nlohmann::ordered_json realizations = nlohmann::ordered_json::array();
    for (const Realization& r : fe.realizations)
      realizations.push_back({{"pt", r.pt}, {"gf", r.gf}, {"total", r.total}});
    fes.push_back({{"fe", fe.fe}, {"annotated", fe.annotated}, {"realizations", realizations}});
  }
  nlohmann::ordered_json json = {{"lu_id", lu.id}, {"lu", lu.name}, {"frame", lu.frame}, {"fes", fes}};
  return dump(json);
}

std::string patternsJson(const LexicalUnitData& lu, const std::vector<ValencePattern>& patterns) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ValencePattern& pattern : patterns) {
    nlohmann::ordered_json units = nlohmann::ordered_json::array();
    for (const ValenceUnit& unit : pattern.units)
      units.push_back({{"fe", unit.fe}, {"pt", unit.pt}, {"gf", unit.gf}});
    nlohmann::ordered_json sentences = nlohmann::ordered_json::array();
    for (const AnnotationSet* set : pattern.sets) sentences.push_back(sentenceIdJson(*set));
    list.push_back({{"total", pattern.total}, {"units", units}, {"sentences", sentences}});
  }
  nlohmann::ordered_json json = {
      {"lu_id", lu.id}, {"lu", lu.name}, {"frame", lu.frame}, {"patterns", list}};
  return dump(json);
}

}  // namespace sorvanta::reports
