#include "reports/Valence.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace sorvanta::reports {

namespace {

// Ranks compare as integers; a rank that is not one goes after every number, by its text.
bool rankBefore(const std::string& a, const std::string& b) {
  const auto number = [](const std::string& text) -> long long {
    if (text.empty() || text.size() > 9) return -1;
    long long value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return -1;
      value = value * 10 + (c - '0');
    }
    return value;
  };
  const long long x = number(a), y = number(b);
  if (x >= 0 && y >= 0) return x < y;
  if ((x >= 0) != (y >= 0)) return x >= 0;
  return a < b;
}

const Label* sameSpan(const AnnotationSet& set, const char* layer, const Label& fe) {
  for (const Label& label : set.labels)
    if (label.layer == layer && label.rank == fe.rank && label.itype.empty() &&
        label.start == fe.start && label.end == fe.end)
      return &label;
  return nullptr;
}

}  // namespace

std::vector<ValenceUnit> valenceUnits(const AnnotationSet& set) {
  const std::string* rank = nullptr;
  for (const Label& label : set.labels)
    if (label.layer == "FE" && (!rank || rankBefore(label.rank, *rank))) rank = &label.rank;
  std::vector<ValenceUnit> units;
  if (!rank) return units;
  for (const Label& label : set.labels) {
    if (label.layer != "FE" || label.rank != *rank) continue;
    if (!label.itype.empty()) {
      units.push_back({label.name, label.itype, ""});
      continue;
    }
    const Label* gf = label.start && label.end ? sameSpan(set, "GF", label) : nullptr;
    const Label* pt = label.start && label.end ? sameSpan(set, "PT", label) : nullptr;
    units.push_back({label.name, pt ? pt->name : "", gf ? gf->name : ""});
  }
  return units;
}

ValenceTable computeValence(const LexicalUnitData& lu) {
  // FE order: the frame's, then others as they appear.
  std::vector<FeValence> rows;
  std::unordered_map<std::string, size_t> rowOf;
  const auto row = [&](const std::string& fe) -> FeValence& {
    auto [it, added] = rowOf.try_emplace(fe, rows.size());
    if (added) rows.push_back({fe, 0, {}});
    return rows[it->second];
  };
  for (const FrameElementInfo& fe : lu.frameFes) row(fe.name);
  const size_t frameCount = rows.size();

  ValenceTable table;
  table.fromLexicalEntry = lu.hasLexicalEntry;
  if (lu.hasLexicalEntry)
    for (const EntryRealization& r : lu.entryRealizations)
      row(r.fe).realizations.push_back({r.pt, r.gf, r.total});

  // Computed realizations: counts per (FE, PT, GF) in order of first appearance.
  std::map<std::string, std::vector<std::pair<Realization, size_t>>> counted;
  size_t appearance = 0;
  for (const AnnotationSet& set : lu.sets) {
    const std::vector<ValenceUnit> units = valenceUnits(set);
    for (size_t i = 0; i < units.size(); ++i) {
      const ValenceUnit& unit = units[i];
      bool seen = false;
      for (size_t j = 0; j < i; ++j) seen = seen || units[j].fe == unit.fe;
      FeValence& fe = row(unit.fe);
      if (!seen) ++fe.annotated;
      if (lu.hasLexicalEntry) continue;
      auto& list = counted[unit.fe];
      auto it = std::find_if(list.begin(), list.end(), [&](const auto& entry) {
        return entry.first.pt == unit.pt && entry.first.gf == unit.gf;
      });
      if (it == list.end())
        list.push_back({{unit.pt, unit.gf, 1}, appearance++});
      else
        ++it->first.total;
    }
  }
  for (auto& [name, list] : counted) {
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
      return a.first.total > b.first.total;
    });
    FeValence& fe = row(name);
    for (const auto& entry : list) fe.realizations.push_back(entry.first);
  }

  for (size_t i = 0; i < rows.size(); ++i)
    if (i >= frameCount || rows[i].annotated > 0 || !rows[i].realizations.empty())
      table.fes.push_back(std::move(rows[i]));
  return table;
}

std::vector<ValencePattern> computePatterns(const LexicalUnitData& lu) {
  std::vector<ValencePattern> patterns;
  std::map<std::vector<ValenceUnit>, size_t> patternOf;
  for (const AnnotationSet& set : lu.sets) {
    std::vector<ValenceUnit> units = valenceUnits(set);
    if (units.empty()) continue;
    std::sort(units.begin(), units.end());
    auto [it, added] = patternOf.try_emplace(units, patterns.size());
    if (added) patterns.push_back({std::move(units), 0, {}});
    ValencePattern& pattern = patterns[it->second];
    ++pattern.total;
    pattern.sets.push_back(&set);
  }
  std::sort(patterns.begin(), patterns.end(), [](const ValencePattern& a, const ValencePattern& b) {
    if (a.total != b.total) return a.total > b.total;
    return a.units < b.units;
  });
  return patterns;
}

std::string realizationText(const std::string& pt, const std::string& gf) {
  return gf.empty() ? pt : pt + "(" + gf + ")";
}

std::string patternText(const std::vector<ValenceUnit>& units) {
  std::string text;
  for (const ValenceUnit& unit : units) {
    if (!text.empty()) text += ", ";
    text += unit.fe;
    const std::string realization = realizationText(unit.pt, unit.gf);
    if (!realization.empty()) text += " " + realization;
  }
  return text;
}

}  // namespace sorvanta::reports
