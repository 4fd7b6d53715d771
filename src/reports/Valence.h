#pragma once
// Valence of a lexical unit: how each frame element is realized (phrase type, grammatical
// function, counts) and the valence patterns of its annotation sets.
#include <cstdint>
#include <string>
#include <vector>

#include "reports/ReportData.h"

namespace sorvanta::reports {

// One frame element of one annotation set: PT and GF of the constituent with the FE label's
// span; a null instantiation has its itype (INI, DNI, CNI, ...) as PT and an empty GF.
struct ValenceUnit {
  std::string fe, pt, gf;
  auto operator<=>(const ValenceUnit&) const = default;
};

struct Realization {
  std::string pt, gf;
  int64_t total = 0;
};

struct FeValence {
  std::string fe;
  int64_t annotated = 0;  // annotation sets holding the FE (overt or null instantiated)
  std::vector<Realization> realizations;
};

struct ValenceTable {
  bool fromLexicalEntry = false;  // realizations from the lexical-entry document
  std::vector<FeValence> fes;
};

struct ValencePattern {
  std::vector<ValenceUnit> units;  // sorted by FE, PT, GF
  int64_t total = 0;
  std::vector<const AnnotationSet*> sets;  // in set order
};

// The valence units of one set: the FE layer of the lowest rank, each label with the GF and PT
// labels of the same rank and span (empty when there is none), in the layer's order.
std::vector<ValenceUnit> valenceUnits(const AnnotationSet& set);

// Per FE: the sets holding it and its realizations. Realizations come from the lexical-entry
// document when the unit has one (one per FERealization, in document order), else they are
// counted from the sets (most frequent first, ties in order of first appearance). FEs are in
// the frame's order, then FEs the frame lacks in order of first appearance; an FE that is
// neither annotated nor realized is left out.
ValenceTable computeValence(const LexicalUnitData& lu);

// Sets with the same sorted units form one pattern; most frequent first, ties by their units.
// Sets without FE labels have no pattern.
std::vector<ValencePattern> computePatterns(const LexicalUnitData& lu);

// "NP(Ext)", or the PT alone when there is no GF ("INI").
std::string realizationText(const std::string& pt, const std::string& gf);
// "Agent NP(Ext), Goal PP(Dep), Source INI".
std::string patternText(const std::vector<ValenceUnit>& units);

}  // namespace sorvanta::reports
