#pragma once
// The valence tables as TSV (with a header line) and JSON, for the command line and exports.
#include <iosfwd>
#include <string>
#include <vector>

#include "reports/Valence.h"

namespace sorvanta::reports {

// FE, Annotated, PT, GF, Total: one line per realization; an FE without any has one line with
// the last three cells empty.
void writeValenceTsv(std::ostream& out, const ValenceTable& table);
// Total, Pattern, Sentences: the pattern as patternText(), the sentence IDs joined by ",".
void writePatternsTsv(std::ostream& out, const std::vector<ValencePattern>& patterns);

// {"lu_id", "lu", "frame", "fes":[{"fe", "annotated", "realizations":[{"pt", "gf", "total"}]}]}
std::string valenceJson(const LexicalUnitData& lu, const ValenceTable& table);
// {"lu_id", "lu", "frame", "patterns":[{"total", "units":[{"fe", "pt", "gf"}], "sentences":[ID]}]}
std::string patternsJson(const LexicalUnitData& lu, const std::vector<ValencePattern>& patterns);

}  // namespace sorvanta::reports
