#pragma once
// Drawn texts of the model: dates, noun phrases, definitions, frame names and lemmas.
// Internal to releasegen.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "releasegen/ReleaseGenerator.h"

namespace sorvanta::tools::detail {

// "MM/DD/YYYY hh:mm:ss PST Day".
std::string dateText(Rng& rng);
// A noun phrase in plain words (no markup).
std::string nounPhrase(Rng& rng);
// Definitions: English-like prose naming the frame elements (fes) in <fen> markup, with <ex>
// examples; the markup is part of the text (written escaped).
std::string frameDefinition(Rng& rng, const std::vector<std::string>& fes);
std::string feDefinition(Rng& rng, std::string_view name, const std::vector<std::string>& fes);
// "COD: ...", "SV: ..." or empty.
std::string luDefinition(Rng& rng);
// Frame names are ASCII, as they become parts of file names.
std::string frameName(Rng& rng);
// Up to four letters: the initials of the name's parts, then consonants.
std::string abbreviation(std::string_view name);
// Lemma and POS suffix of a lexical unit.
std::pair<std::string, std::string> lexUnitLemma(Rng& rng);

}  // namespace sorvanta::tools::detail
