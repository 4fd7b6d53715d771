#pragma once
// Word banks of the release generator and the word helpers that inflect and join them.
// Internal to releasegen.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace sorvanta::tools::detail {

using Words = std::span<const std::string_view>;

// Verbs are "base|past|present participle" (see verbForms).
extern const Words kVerbs;
extern const Words kNouns;
extern const Words kAdjectives;
extern const Words kAdverbs;
extern const Words kPrepositions;
extern const Words kDeterminers;
extern const Words kPeople;
extern const Words kCompanies;
extern const Words kFrameElements;
extern const Words kSemTypes;
extern const Words kCreators;
extern const Words kLuStatus;
extern const Words kWeekdays;
extern const Words kTimeZones;
extern const Words kOtherPos;
extern const Words kMultiwordPreps;
extern const Words kIdioms;
extern const Words kNumbers;
extern const Words kConjunctions;
extern const Words kInterjections;
extern const Words kParticles;
extern const Words kOpeners;
extern const Words kClosers;

struct VerbForms {
  std::string_view base, past, ing;
};
VerbForms verbForms(std::string_view entry);

bool isVowel(char c);
bool isAsciiText(std::string_view text);
// Regular English -s ending (plural nouns, third person verbs).
std::string withS(std::string_view word);
std::string capitalized(std::string_view word);
// The word with "a " or "an " before it.
std::string article(std::string_view word);
// Lower case, underscores as spaces.
std::string lowered(std::string_view word);
std::string number(int value);
// Joins pieces in order. Draws are written as the pieces of one braced list, whose elements
// are evaluated left to right, unlike the operands of a chain of + (so every compiler gives
// the same text for a seed).
std::string cat(std::initializer_list<std::string_view> pieces);
// The pos attribute of a lexical unit: its name's suffix in capitals ("v" -> "V").
std::string posAttribute(std::string_view pos);

}  // namespace sorvanta::tools::detail
