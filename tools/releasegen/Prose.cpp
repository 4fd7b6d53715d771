#include "releasegen/Prose.h"

#include <algorithm>
#include <cstdio>

#include "releasegen/WordLists.h"

namespace sorvanta::tools::detail {

namespace {

// One sentence of a definition, naming frame elements of fes in <fen> markup, some with an
// <ex> example.
std::string proseSentence(Rng& rng, const std::vector<std::string>& fes) {
  // Consecutive mentions name different frame elements where the frame has several.
  std::string_view last;
  const auto fe = [&]() {
    std::string_view name = rng.pick(fes);
    if (name == last && fes.size() > 1) name = rng.pick(fes);
    last = name;
    return cat({"<fen>", name, "</fen>"});
  };
  const auto pick = [&](const Words& words) { return rng.pick(words); };
  const VerbForms verb = verbForms(rng.pick(kVerbs));
  switch (rng.between(0, 11)) {
    case 0:
      return cat({"This frame concerns ", article(pick(kAdjectives)), " ", fe(), " who ",
                  withS(verb.base), " ", nounPhrase(rng), " ", pick(kPrepositions), " ",
                  nounPhrase(rng), "."});
    case 1:
      return cat({"The ", fe(), " is typically ", pick(kAdjectives), ", and the ", fe(),
                  " may be expressed as ", article(pick(kAdjectives)), " ", pick(kNouns), "."});
    case 2:
      return cat({"Words in this frame describe situations in which ", nounPhrase(rng), " ",
                  verb.past, " ", pick(kAdverbs), "."});
    case 3:
      return cat({"Compare the frame in which ", nounPhrase(rng), " ", withS(verb.base),
                  " without any ", fe(), " – the ", pick(kNouns),
                  " is then understood from context."});
    case 4:
      return cat({"Note that the ", fe(), " need not be ", pick(kAdjectives), "; it may also be ",
                  pick(kAdjectives), " or even absent."});
    case 5:
      return cat({"In many uses the ", fe(), " is left implicit, as in <ex>",
                  capitalized(nounPhrase(rng)), " ", verb.past, " ", nounPhrase(rng), ".</ex>"});
    case 6:
      return cat({"Typical cases involve a ", pick(kNouns), " & ", pick(kNouns),
                  " relation between the ", fe(), " and the ", fe(), "."});
    case 7:
      return cat(
          {"Annotators mark the \"", pick(kNouns), "\" reading separately from the ", fe(), "."});
    case 8:
      return cat({"The ", fe(), " ", withS(verb.base), " the ", fe(), " ", pick(kPrepositions), " ",
                  nounPhrase(rng), ", which distinguishes this frame from its neighbours."});
    case 9:
      return cat({"<ex><fex name=\"", rng.pick(fes), "\">", capitalized(nounPhrase(rng)),
                  "</fex> <t>", verb.past, "</t> ", nounPhrase(rng), " ", pick(kAdverbs),
                  ".</ex>"});
    case 10:
      return cat({"Uses with ", article(pick(kNouns)), " as ", fe(),
                  " are rare but attested (roughly 1 in ", number(rng.between(3, 40)), ")."});
    default:
      return cat({capitalized(nounPhrase(rng)), " that ", verb.past, " is not always the ", fe(),
                  "; the café-and-façade examples show why."});
  }
}

std::string frameNameDraw(Rng& rng) {
  const VerbForms verb = verbForms(rng.pick(kVerbs));
  switch (rng.between(0, 5)) {
    case 0:
      return capitalized(rng.pick(kNouns));
    case 1:
      return cat({capitalized(rng.pick(kNouns)), "_", rng.pick(kNouns)});
    case 2:
      return cat({"Cause_to_", verb.base});
    case 3:
      return capitalized(verb.ing);
    case 4:
      return cat({capitalized(rng.pick(kAdjectives)), "_", rng.pick(kNouns)});
    default:
      return cat({capitalized(rng.pick(kNouns)), "_", verb.base});
  }
}

}  // namespace

std::string dateText(Rng& rng) {
  const int fields[] = {rng.between(1, 12), rng.between(1, 28), rng.between(2001, 2010),
                        rng.between(0, 23), rng.between(0, 59), rng.between(0, 59)};
  const std::string_view zone = rng.pick(kTimeZones);
  const std::string_view day = rng.pick(kWeekdays);
  char buffer[48];
  const int length = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d %.*s %.*s",
                                   fields[0], fields[1], fields[2], fields[3], fields[4], fields[5],
                                   static_cast<int>(zone.size()), zone.data(),
                                   static_cast<int>(day.size()), day.data());
  return std::string(buffer, static_cast<size_t>(std::clamp(length, 0, 47)));
}

std::string nounPhrase(Rng& rng) {
  const int form = rng.between(0, 99);
  if (form < 8) return std::string(rng.pick(kPeople));
  if (form < 11) return std::string(rng.pick(kCompanies));
  if (form < 13) return cat({"the \"", capitalized(rng.pick(kNouns)), "\" ", rng.pick(kNouns)});
  std::string determiner(rng.pick(kDeterminers));
  const std::string adjective = rng.chance(40) ? std::string(rng.pick(kAdjectives)) : "";
  const std::string_view noun = rng.pick(kNouns);
  const bool singularOnly = determiner == "a" || determiner == "one" || determiner == "every" ||
                            determiner == "each" || determiner == "this" || determiner == "that";
  if (determiner == "a" && isVowel(adjective.empty() ? noun[0] : adjective[0])) determiner = "an";
  std::string np = determiner + " ";
  if (!adjective.empty()) np += adjective + " ";
  np += !singularOnly && rng.chance(25) ? withS(noun) : std::string(noun);
  return np;
}

std::string frameDefinition(Rng& rng, const std::vector<std::string>& fes) {
  std::string text = "<def-root>";
  const int sentences = rng.between(3, 7);
  for (int i = 0; i < sentences; ++i) {
    if (i > 0) text += rng.chance(15) ? "\n\n" : " ";
    text += proseSentence(rng, fes);
  }
  text += "</def-root>";
  return text;
}

std::string feDefinition(Rng& rng, std::string_view name, const std::vector<std::string>& fes) {
  const VerbForms verb = verbForms(rng.pick(kVerbs));
  std::string text = cat({"<def-root>The <fen>", name, "</fen> is the ", rng.pick(kNouns), " that ",
                          withS(verb.base), " ", nounPhrase(rng), "."});
  if (rng.chance(60)) text.append(" ").append(proseSentence(rng, fes));
  if (rng.chance(40)) {
    text += cat({" <ex>", capitalized(nounPhrase(rng)), " ", verb.past, " <fex name=\"", name,
                 "\">", nounPhrase(rng), "</fex>.</ex>"});
  }
  return text + "</def-root>";
}

std::string luDefinition(Rng& rng) {
  const int kind = rng.between(0, 99);
  if (kind < 20) return {};
  const VerbForms verb = verbForms(rng.pick(kVerbs));
  std::string text = cat({kind < 70 ? "COD: " : "SV: ", verb.base, " ", rng.pick(kAdverbs), " or ",
                          rng.pick(kPrepositions), " ", nounPhrase(rng)});
  if (rng.chance(40)) text += cat({"; ", rng.pick(kAdjectives), " in manner"});
  return text + ".";
}

std::string frameName(Rng& rng) {
  std::string name = frameNameDraw(rng);
  while (!isAsciiText(name)) name = frameNameDraw(rng);
  return name;
}

std::string abbreviation(std::string_view name) {
  std::string out;
  for (size_t i = 0; i < name.size() && out.size() < 4; ++i) {
    if (i == 0 || (name[i - 1] == '_' && name[i] != '_')) {
      out += name[i];
    } else if (out.size() < 3 && name[i] != '_' && !isVowel(name[i])) {
      out += name[i];
    }
  }
  return out;
}

std::pair<std::string, std::string> lexUnitLemma(Rng& rng) {
  const int kind = rng.between(0, 99);
  if (kind < 42) {
    std::string lemma(verbForms(rng.pick(kVerbs)).base);
    if (rng.chance(10)) lemma.append(" ").append(rng.pick(kParticles));
    return {lemma, "v"};
  }
  if (kind < 75) return {std::string(rng.pick(kNouns)), "n"};
  if (kind < 90) return {std::string(rng.pick(kAdjectives)), "a"};
  const std::string pos(rng.pick(kOtherPos));
  if (pos == "adv") return {std::string(rng.pick(kAdverbs)), pos};
  if (pos == "prep") {
    return {std::string(rng.chance(50) ? rng.pick(kPrepositions) : rng.pick(kMultiwordPreps)), pos};
  }
  if (pos == "idio") return {std::string(rng.pick(kIdioms)), pos};
  if (pos == "num") return {std::string(rng.pick(kNumbers)), pos};
  if (pos == "scon") return {std::string(rng.pick(kConjunctions)), pos};
  return {std::string(rng.pick(kInterjections)), pos};
}

}  // namespace sorvanta::tools::detail
