#include "releasegen/ReleaseGenerator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <tuple>
#include <utility>

namespace sorvanta::tools {

uint64_t Rng::next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int Rng::between(int lo, int hi) {
  const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
  return static_cast<int>(lo + static_cast<int64_t>(next() % span));
}

int codePointCount(std::string_view utf8) {
  int count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

namespace {

using Words = std::vector<std::string_view>;

// clang-format off
// Word banks. Verbs are "base|past|present participle"; a few entries carry characters
// outside ASCII so every document exercises decoding.
const Words kVerbs = {
    "run|ran|running",        "carry|carried|carrying",   "move|moved|moving",
    "throw|threw|throwing",   "build|built|building",     "sell|sold|selling",
    "buy|bought|buying",      "give|gave|giving",         "take|took|taking",
    "bring|brought|bringing", "send|sent|sending",        "hold|held|holding",
    "leave|left|leaving",     "find|found|finding",       "keep|kept|keeping",
    "break|broke|breaking",   "cut|cut|cutting",          "open|opened|opening",
    "close|closed|closing",   "push|pushed|pushing",      "pull|pulled|pulling",
    "follow|followed|following", "reach|reached|reaching", "cross|crossed|crossing",
    "watch|watched|watching", "notice|noticed|noticing",  "observe|observed|observing",
    "say|said|saying",        "tell|told|telling",        "explain|explained|explaining",
    "argue|argued|arguing",   "claim|claimed|claiming",   "promise|promised|promising",
    "fear|feared|fearing",    "admire|admired|admiring",  "resent|resented|resenting",
    "repair|repaired|repairing", "paint|painted|painting", "cook|cooked|cooking",
    "wash|washed|washing",    "fill|filled|filling",      "empty|emptied|emptying",
    "store|stored|storing",   "hide|hid|hiding",          "seek|sought|seeking",
    "win|won|winning",        "lose|lost|losing",         "earn|earned|earning",
    "spend|spent|spending",   "borrow|borrowed|borrowing", "lend|lent|lending",
    "arrive|arrived|arriving", "depart|departed|departing", "wander|wandered|wandering",
    "climb|climbed|climbing", "swim|swam|swimming",       "fly|flew|flying",
    "grow|grew|growing",      "shrink|shrank|shrinking",  "rise|rose|rising",
    "fall|fell|falling",      "judge|judged|judging",     "praise|praised|praising",
    "blame|blamed|blaming",   "forgive|forgave|forgiving", "attack|attacked|attacking",
    "defend|defended|defending", "protect|protected|protecting", "warn|warned|warning",
    "teach|taught|teaching",  "learn|learned|learning",   "measure|measured|measuring",
    "weigh|weighed|weighing", "gather|gathered|gathering", "scatter|scattered|scattering"};

const Words kNouns = {
    "river",    "bridge",   "village",  "market",   "harbour",  "window",   "garden",
    "letter",   "journey",  "argument", "promise",  "decision", "storm",    "engine",
    "kitchen",  "ladder",   "basket",   "blanket",  "council",  "merchant", "farmer",
    "teacher",  "soldier",  "sailor",   "doctor",   "neighbour", "stranger", "child",
    "student",  "report",   "contract", "payment",  "debt",     "price",    "wage",
    "valley",   "mountain", "forest",   "island",   "road",     "path",     "corner",
    "tower",    "wall",     "door",     "table",    "chair",    "lamp",     "box",
    "story",    "rumour",   "warning",  "question", "answer",   "reason",   "plan",
    "café",     "façade",   "résumé",   "fiancée",  "crêpe",    "pâté",     "rôle",
    "machine",  "tool",     "rope",     "wheel",    "stone",    "coin",     "ticket",
    "committee", "company", "factory",  "shop",     "station",  "airport",  "office",
    "evening",  "morning",  "winter",   "summer",   "season",   "hour",     "week"};

const Words kAdjectives = {
    "old",      "young",    "quiet",    "loud",     "heavy",    "light",    "narrow",
    "broad",    "careful",  "careless", "sudden",   "gradual",  "bright",   "dark",
    "wooden",   "metal",    "rough",    "smooth",   "eager",    "reluctant", "angry",
    "calm",     "distant",  "nearby",   "typical",  "unusual",  "formal",   "casual",
    "brief",    "lengthy",  "costly",   "cheap",    "fragile",  "sturdy",   "naïve",
    "public",   "private",  "hidden",   "obvious",  "strange",  "familiar", "tired"};

const Words kAdverbs = {
    "quickly", "slowly",    "carefully", "suddenly", "quietly",  "gradually", "often",
    "rarely",  "usually",   "deliberately", "openly", "eagerly", "reluctantly", "again",
    "nearly",  "barely",    "simply",    "directly", "finally",  "briefly"};

const Words kPrepositions = {"in",   "on",     "at",      "from",    "to",     "into",
                             "onto", "across", "through", "along",   "toward", "against",
                             "with", "without", "about",  "over",    "under",  "behind",
                             "for",  "by",     "between", "beyond"};

const Words kDeterminers = {"the", "a", "this", "that", "her", "his", "their", "our", "every",
                            "each", "one", "some"};

const Words kPeople = {"Dana",  "Morgan", "Ellis", "Robin",  "Kit",     "Noor",   "Sasha",
                       "Tobin", "Ilse",   "Marek", "Renée",  "Zoë",     "Ansel",  "Petra",
                       "Joss",  "Lior",   "Mirela", "Oskar", "Greta",   "Hamid"};

const Words kCompanies = {"Hallam & Reed", "Osgood & Daughters", "Brant & Co.", "Veyne & Pell"};

const Words kFrameElements = {
    "Agent",      "Theme",        "Goal",        "Source",       "Path",         "Manner",
    "Time",       "Place",        "Purpose",     "Means",        "Degree",       "Explanation",
    "Instrument", "Speaker",      "Addressee",   "Message",      "Topic",        "Experiencer",
    "Stimulus",   "Cognizer",     "Content",     "Entity",       "Duration",     "Frequency",
    "Circumstances", "Depictive", "Result",      "Reason",       "Beneficiary",  "Co_participant",
    "Area",       "Direction",    "Distance",    "Speed",        "Containing_event", "Evidence",
    "Medium",     "Buyer",        "Seller",      "Goods",        "Money",        "Recipient",
    "Donor",      "Victim",       "Assailant",   "Container",    "Contents",     "Judge",
    "Evaluee",    "Behavior",     "Protagonist", "Patient",      "Cause",        "Item",
    "Attribute",  "Value",        "Group",       "Member",       "Duration_of_final_state",
    "Particular_iteration"};

const Words kSemTypes = {"Sentient",         "Physical_object", "Container",        "Location",
                         "Time",             "State_of_affairs", "Transitive_action", "Goal",
                         "Source",           "Path",            "Message",          "Human",
                         "Positive_judgment", "Negative_judgment", "Non-lexical_frame",
                         "Artifact",         "Manner",          "Causative_of",     "Mass"};

const Words kCreators = {"ChW", "MJE", "KmG", "RLS", "AbS", "JKR", "EmC", "TwB"};
const Words kLuStatus = {"Finished_Initial", "Created",  "FN1_Sent", "Finished_Checked",
                         "Insufficient_Attestations", "New", "Needs_SCs", "In_Use"};
const Words kWeekdays = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const Words kTimeZones = {"PST", "PDT"};

// Extra POS suffixes for lexical units that are not verbs, nouns or adjectives, with lemmas.
const Words kOtherPos = {"adv", "prep", "idio", "num", "scon", "intj"};
const Words kMultiwordPreps = {"in front of", "on top of", "by means of", "in spite of",
                               "close to", "ahead of", "apart from"};
const Words kIdioms = {"keep an eye on", "at the drop of a hat", "by the way",
                       "give or take", "on the dot", "in the long run"};
const Words kNumbers = {"dozen", "hundred", "thousand", "couple", "score", "half"};
const Words kConjunctions = {"although", "because", "unless", "whereas", "since", "once"};
const Words kInterjections = {"alas", "hooray", "oops", "hush", "bravo", "ahem"};
const Words kParticles = {"up", "out", "away", "off", "down", "back"};

// Fillers written around the labelled phrases of annotated sentences: no label refers to them.
const Words kOpeners = {"Yesterday,", "In the end,", "As usual,",   "Later that week,",
                        "Without a word,", "By then,", "Even so,",  "At first,"};
const Words kClosers = {", which surprised nobody", ", or so it seemed", ", as planned",
                        " – twice", " (<5 minutes later)", ", much to everyone’s relief"};
// clang-format on

struct VerbForms {
  std::string_view base, past, ing;
};

VerbForms verbForms(std::string_view entry) {
  const size_t a = entry.find('|');
  const size_t b = entry.find('|', a + 1);
  return {entry.substr(0, a), entry.substr(a + 1, b - a - 1), entry.substr(b + 1)};
}

bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool isVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// Regular English -s ending (plural nouns, third person verbs).
std::string withS(std::string_view word) {
  std::string out(word);
  if (endsWith(word, "s") || endsWith(word, "sh") || endsWith(word, "ch") || endsWith(word, "x")) {
    out += "es";
  } else if (word.size() > 1 && word.back() == 'y' && !isVowel(word[word.size() - 2])) {
    out.back() = 'i';
    out += "es";
  } else if (word == "child") {
    out += "ren";
  } else {
    out += 's';
  }
  return out;
}

std::string capitalized(std::string_view word) {
  std::string out(word);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z')
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
  return out;
}

std::string article(std::string_view word) {
  return std::string(!word.empty() && isVowel(word[0]) ? "an " : "a ") + std::string(word);
}

std::string lowered(std::string_view word) {
  std::string out(word);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '_') c = ' ';
  }
  return out;
}

std::string number(int value) { return std::to_string(value); }

// Joins pieces in order. Draws are written as the pieces of one braced list, whose elements
// are evaluated left to right, unlike the operands of a chain of + (so every compiler gives
// the same text for a seed).
std::string cat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view piece : pieces) out += piece;
  return out;
}

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

// A noun phrase in plain words (no markup).
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

// Definitions: English-like prose naming the frame elements in <fen> markup, with an <ex>
// example; the markup is part of the text (written escaped).
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
  if (rng.chance(60)) text += " " + proseSentence(rng, fes);
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

bool isAsciiText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// Frame names are ASCII, as they become parts of file names.
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

// Lemma and POS suffix of a lexical unit.
std::pair<std::string, std::string> lexUnitLemma(Rng& rng) {
  const int kind = rng.between(0, 99);
  if (kind < 42) {
    std::string lemma(verbForms(rng.pick(kVerbs)).base);
    if (rng.chance(10)) lemma += " " + std::string(rng.pick(kParticles));
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

std::string posAttribute(std::string_view pos) {
  std::string out(pos);
  for (char& c : out) c = static_cast<char>(c - 'a' + 'A');
  return out;
}

LexUnitModel makeLexUnit(Rng& rng, int id) {
  LexUnitModel lu;
  lu.id = id;
  std::tie(lu.lemma, lu.pos) = lexUnitLemma(rng);
  lu.status = std::string(rng.pick(kLuStatus));
  lu.definition = luDefinition(rng);
  if (rng.chance(55)) {
    lu.annotated = 0;
    lu.total = rng.chance(50) ? 0 : rng.between(1, 60);
  } else {
    const double skew = rng.unit();  // few lexical units have many annotated sentences
    lu.annotated = 1 + static_cast<int>(skew * rng.unit() * 150);
    lu.total = lu.annotated + rng.between(0, 200);
  }
  return lu;
}

struct IdCounters {
  int frame = 1;
  int frameElement = 1;
  int lexUnit = 1;
};

FrameModel makeFrame(Rng& rng, IdCounters& ids) {
  FrameModel frame;
  frame.id = ids.frame;
  ids.frame += rng.between(1, 4);
  frame.name = frameName(rng);
  frame.cDate = dateText(rng);

  // Frame elements: the first one to three are core, names unique within the frame.
  const int feCount = rng.between(2, 15);
  std::vector<std::string> names;
  while (static_cast<int>(names.size()) < feCount) {
    std::string name(rng.pick(kFrameElements));
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  const int coreCount = rng.between(1, std::min(3, feCount));
  for (int i = 0; i < feCount; ++i) {
    FrameElementModel fe;
    fe.id = ids.frameElement;
    ids.frameElement += rng.between(1, 3);
    fe.name = names[static_cast<size_t>(i)];
    fe.abbrev = abbreviation(fe.name);
    if (i < coreCount) {
      fe.coreType = "Core";
    } else {
      const int r = rng.between(0, 99);
      fe.coreType = r < 70 ? "Peripheral" : r < 95 ? "Extra-Thematic" : "Core-Unexpressed";
    }
    fe.definition = feDefinition(rng, fe.name, names);
    if (rng.chance(25)) fe.semTypes.emplace_back(rng.pick(kSemTypes));
    frame.frameElements.push_back(std::move(fe));
  }
  frame.definition = frameDefinition(rng, names);

  // About one frame in twelve has no lexical units; the others average twelve.
  const int luCount = rng.chance(8) ? 0 : 1 + rng.between(0, 11) + rng.between(0, 11);
  for (int i = 0; i < luCount; ++i) {
    frame.lexUnits.push_back(makeLexUnit(rng, ids.lexUnit));
    ids.lexUnit += rng.between(1, 3);
  }
  if (rng.chance(30)) frame.semTypes.emplace_back(rng.pick(kSemTypes));
  return frame;
}

// ---- Rendering ------------------------------------------------------------------------------

class XmlWriter {
 public:
  XmlWriter(std::string& out, Encoding encoding) : out_(out), encoding_(encoding) {
    out_ += encoding == Encoding::Utf8 ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       : "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
  }

  // "<name"; attributes follow, then close(), closeEmpty() or closeWithText().
  void start(std::string_view name) {
    indent();
    out_ += '<';
    out_ += name;
    stack_.push_back(name);
  }
  void attribute(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    escaped(value);
    out_ += '"';
  }
  void attribute(std::string_view name, int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_.append(buffer, result.ptr);
    out_ += '"';
  }
  // Ends the start tag; children follow on the next lines.
  void close() { out_ += ">\n"; }
  void closeEmpty() {
    out_ += "/>\n";
    stack_.pop_back();
  }
  // Ends the start tag, writes the text and the end tag on the same line.
  void closeWithText(std::string_view text) {
    if (text.empty()) return closeEmpty();
    out_ += '>';
    escaped(text);
    endTagInline();
  }
  void end() {
    const std::string_view name = stack_.back();
    stack_.pop_back();
    indent();
    out_ += "</";
    out_ += name;
    out_ += ">\n";
  }
  // An element holding only text.
  void textElement(std::string_view name, std::string_view text) {
    start(name);
    closeWithText(text);
  }

 private:
  void indent() { out_.append(2 * stack_.size(), ' '); }
  void endTagInline() {
    out_ += "</";
    out_ += stack_.back();
    out_ += ">\n";
    stack_.pop_back();
  }
  // Escapes markup characters; in ISO-8859-1 output, characters beyond U+00FF become numeric
  // references.
  void escaped(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      switch (c) {
        case '&':
          out_ += "&amp;";
          continue;
        case '<':
          out_ += "&lt;";
          continue;
        case '>':
          out_ += "&gt;";
          continue;
        case '"':
          out_ += "&quot;";
          continue;
        default:
          break;
      }
      if (c < 0x80 || encoding_ == Encoding::Utf8) {
        out_ += static_cast<char>(c);
        continue;
      }
      const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      char32_t cp = c & (0x3F >> (length - 1));
      for (int k = 1; k < length && i + 1 < text.size(); ++k) cp = (cp << 6) | (text[++i] & 0x3F);
      if (cp <= 0xFF) {
        out_ += static_cast<char>(cp);
      } else {
        out_ += "&#";
        out_ += std::to_string(static_cast<uint32_t>(cp));
        out_ += ';';
      }
    }
  }

  std::string& out_;
  Encoding encoding_;
  std::vector<std::string_view> stack_;
};

void writeSemTypes(XmlWriter& xml, const std::vector<std::string>& semTypes) {
  if (semTypes.empty()) return;
  xml.start("semTypes");
  xml.close();
  for (const std::string& name : semTypes) {
    xml.start("semType");
    const auto it = std::find(kSemTypes.begin(), kSemTypes.end(), name);
    xml.attribute("ID", static_cast<int>(it - kSemTypes.begin()) + 100);
    xml.attribute("name", name);
    xml.closeEmpty();
  }
  xml.end();
}

void writeFrame(XmlWriter& xml, const FrameModel& frame) {
  xml.start("frame");
  xml.attribute("ID", frame.id);
  xml.attribute("name", frame.name);
  xml.attribute("cDate", frame.cDate);
  xml.attribute("cBy", kCreators[static_cast<size_t>(frame.id) % kCreators.size()]);
  xml.close();
  xml.textElement("definition", frame.definition);

  xml.start("fes");
  if (frame.frameElements.empty()) {
    xml.closeEmpty();
  } else {
    xml.close();
    for (const FrameElementModel& fe : frame.frameElements) {
      xml.start("fe");
      xml.attribute("ID", fe.id);
      xml.attribute("name", fe.name);
      xml.attribute("abbrev", fe.abbrev);
      xml.attribute("cDate", frame.cDate);
      xml.attribute("coreType", fe.coreType);
      xml.attribute("fgColor", fe.coreType == "Core" ? "FF0000" : "0000FF");
      xml.attribute("bgColor", "FFFFFF");
      xml.close();
      xml.textElement("definition", fe.definition);
      writeSemTypes(xml, fe.semTypes);
      xml.end();
    }
    xml.end();
  }

  xml.start("lexunits");
  if (frame.lexUnits.empty()) {
    xml.closeEmpty();
  } else {
    xml.close();
    for (const LexUnitModel& lu : frame.lexUnits) {
      xml.start("lexunit");
      xml.attribute("ID", lu.id);
      xml.attribute("name", lu.name());
      xml.attribute("pos", posAttribute(lu.pos));
      xml.attribute("status", lu.status);
      xml.attribute("cDate", frame.cDate);
      xml.attribute("lemmaId", lu.id * 3 + 7);
      xml.close();
      xml.textElement("definition", lu.definition);
      xml.start("annotation");
      xml.close();
      xml.start("annotated");
      xml.closeWithText(number(lu.annotated));
      xml.start("total");
      xml.closeWithText(number(lu.total));
      xml.end();
      xml.start("lexeme");
      xml.attribute("pos", posAttribute(lu.pos));
      xml.attribute("name", lu.lemma);
      xml.attribute("breakBefore", "false");
      xml.attribute("headword", "false");
      xml.closeEmpty();
      xml.end();
    }
    xml.end();
  }
  writeSemTypes(xml, frame.semTypes);
  xml.end();
}

// ---- Annotated sentences --------------------------------------------------------------------

// One piece of a sentence; labelled when fe is set (FE, GF and PT layers) or target is true.
struct Piece {
  std::string text;
  std::string fe;
  std::string_view gf;
  std::string_view pt;
  bool target = false;
};

// The word form that realises the lexical unit in a sentence.
std::string targetForm(Rng& rng, const LexUnitModel& lu, std::vector<Piece>& pieces) {
  if (lu.pos == "v") {
    const std::string_view verbWord = std::string_view(lu.lemma).substr(0, lu.lemma.find(' '));
    const std::string particle =
        lu.lemma.find(' ') == std::string::npos ? "" : lu.lemma.substr(lu.lemma.find(' '));
    auto it = std::find_if(kVerbs.begin(), kVerbs.end(),
                           [&](std::string_view v) { return verbForms(v).base == verbWord; });
    const VerbForms forms =
        it != kVerbs.end() ? verbForms(*it) : VerbForms{verbWord, verbWord, verbWord};
    switch (rng.between(0, 3)) {
      case 0:
        return std::string(forms.past) + particle;
      case 1:
        return withS(forms.base) + particle;
      case 2:
        pieces.push_back({rng.chance(50) ? "was" : "is", {}, {}, {}, false});
        return std::string(forms.ing) + particle;
      default:
        pieces.push_back({"will", {}, {}, {}, false});
        return std::string(forms.base) + particle;
    }
  }
  if (lu.pos == "n") return rng.chance(25) ? withS(lu.lemma) : lu.lemma;
  return lu.lemma;
}

// Builds the pieces of one sentence around the target; prep, when set, heads its only
// prepositional phrase (sentences of a "-pp<prep>" subcorpus).
std::vector<Piece> sentencePieces(Rng& rng, const FrameModel& frame, const LexUnitModel& lu,
                                  std::string_view prep) {
  std::vector<std::string> core, other;
  for (const FrameElementModel& fe : frame.frameElements) {
    (fe.coreType == "Core" ? core : other).push_back(fe.name);
  }
  std::vector<std::string> unused = core;
  unused.insert(unused.end(), other.begin(), other.end());
  const auto takeFe = [&](bool preferCore) -> std::string {
    if (unused.empty()) return {};
    size_t index = 0;
    if (!preferCore || std::find(core.begin(), core.end(), unused[0]) == core.end()) {
      index = static_cast<size_t>(rng.between(0, static_cast<int>(unused.size()) - 1));
    }
    std::string name = unused[index];
    unused.erase(unused.begin() + static_cast<std::ptrdiff_t>(index));
    return name;
  };
  const auto prepPhrase = [&](std::string_view head) {
    return std::string(head) + " " + nounPhrase(rng);
  };

  std::vector<Piece> pieces;
  if (rng.chance(20)) pieces.push_back({std::string(rng.pick(kOpeners)), {}, {}, {}, false});
  const bool verbal = lu.pos == "v";
  if (verbal || lu.pos == "a" || rng.chance(50)) {
    if (rng.chance(85)) pieces.push_back({nounPhrase(rng), takeFe(true), "Ext", "NP", false});
    if (rng.chance(15)) pieces.push_back({std::string(rng.pick(kAdverbs)), {}, {}, {}, false});
    if (lu.pos == "a") pieces.push_back({rng.chance(50) ? "was" : "seemed", {}, {}, {}, false});
    if (!verbal && lu.pos != "a") {
      pieces.push_back({std::string(verbForms(rng.pick(kVerbs)).past), {}, {}, {}, false});
    }
  } else {
    static const std::array<std::string_view, 4> kDefinite = {"the", "their", "our", "her"};
    pieces.push_back({std::string(rng.pick(kDefinite)), {}, {}, {}, false});
  }
  std::string target = targetForm(rng, lu, pieces);
  pieces.push_back({std::move(target), {}, {}, {}, true});
  if (verbal && rng.chance(60))
    pieces.push_back({nounPhrase(rng), takeFe(true), "Obj", "NP", false});
  if (prep.empty()) {
    const int pps = rng.between(0, 2);
    for (int i = 0; i < pps; ++i)
      pieces.push_back({prepPhrase(rng.pick(kPrepositions)), takeFe(false), "Dep", "PP", false});
  } else {
    // A "-pp<prep>" sentence has exactly one prepositional phrase, headed by prep, and it
    // always realises a frame element (a used one again when every element is taken).
    std::string fe = takeFe(false);
    if (fe.empty() && !frame.frameElements.empty()) fe = frame.frameElements.back().name;
    pieces.push_back({prepPhrase(prep), std::move(fe), "Dep", "PP", false});
  }
  if (rng.chance(15))
    pieces.push_back({std::string(rng.pick(kAdverbs)), takeFe(false), "Dep", "AVP", false});
  if (rng.chance(12)) pieces.push_back({std::string(rng.pick(kClosers)), {}, {}, {}, false});
  static const std::array<std::string_view, 4> kEnds = {".", ".", "!", "?"};
  pieces.push_back({std::string(rng.pick(kEnds)), {}, {}, {}, false});
  return pieces;
}

AnnotationSetModel makeAnnotationSet(Rng& rng, const FrameModel& frame, const LexUnitModel& lu,
                                     std::string_view prep, int setId, int sentenceId) {
  AnnotationSetModel set;
  set.id = setId;
  set.sentenceId = sentenceId;
  static const std::array<std::string_view, 4> kSetStatus = {"MANUAL", "MANUAL", "AUTO_EDITED",
                                                             "UNANN"};
  set.status = std::string(rng.pick(kSetStatus));
  LayerModel fe{"FE", {}}, gf{"GF", {}}, pt{"PT", {}}, target{"Target", {}};

  std::vector<Piece> pieces = sentencePieces(rng, frame, lu, prep);
  int position = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    Piece& piece = pieces[i];
    const bool attached = piece.text == "." || piece.text == "!" || piece.text == "?" ||
                          piece.text[0] == ',' || piece.text[0] == ' ';
    if (i == 0) {
      piece.text = capitalized(piece.text);
    } else if (!attached) {
      set.text += ' ';
      ++position;
    }
    const int length = codePointCount(piece.text);
    const int start = position;
    const int end = position + length - 1;
    if (piece.target) target.labels.push_back({"Target", start, end, {}});
    if (!piece.fe.empty()) {
      fe.labels.push_back({piece.fe, start, end, {}});
      gf.labels.push_back({std::string(piece.gf), start, end, {}});
      pt.labels.push_back({std::string(piece.pt), start, end, {}});
    }
    set.text += piece.text;
    position += length;
  }
  // Some core elements are not expressed: labels with an itype and no offsets.
  for (const FrameElementModel& element : frame.frameElements) {
    if (element.coreType != "Core" || !rng.chance(25)) continue;
    const bool used = std::any_of(fe.labels.begin(), fe.labels.end(),
                                  [&](const LabelModel& l) { return l.name == element.name; });
    static const std::array<std::string_view, 3> kItypes = {"INI", "DNI", "CNI"};
    if (!used) fe.labels.push_back({element.name, -1, -1, std::string(rng.pick(kItypes))});
  }
  set.layers.push_back(std::move(fe));
  set.layers.push_back(std::move(gf));
  set.layers.push_back(std::move(pt));
  set.layers.push_back({"Other", {}});
  set.layers.push_back({"Sent", {}});
  if (lu.pos == "v") set.layers.push_back({"Verb", {}});
  set.layers.push_back(std::move(target));
  return set;
}

// Layers kept in subcorpus documents, which leave out the empty bookkeeping layers.
bool isSubcorpusLayer(std::string_view name) {
  return name == "FE" || name == "GF" || name == "PT" || name == "Target";
}

void writeAnnotationSet(XmlWriter& xml, const AnnotationSetModel& set, bool subcorpusLayersOnly) {
  xml.start("annotationSet");
  xml.attribute("ID", set.id);
  xml.attribute("status", set.status);
  xml.close();
  xml.start("layers");
  xml.close();
  for (const LayerModel& layer : set.layers) {
    if (subcorpusLayersOnly && !isSubcorpusLayer(layer.name)) continue;
    xml.start("layer");
    xml.attribute("name", layer.name);
    xml.attribute("rank", 1);
    if (layer.labels.empty()) {
      xml.closeEmpty();
      continue;
    }
    xml.close();
    xml.start("labels");
    xml.close();
    for (const LabelModel& label : layer.labels) {
      xml.start("label");
      xml.attribute("name", label.name);
      if (label.itype.empty()) {
        xml.attribute("start", label.start);
        xml.attribute("end", label.end);
      } else {
        xml.attribute("itype", label.itype);
      }
      if (layer.name == "FE") xml.attribute("fgColor", "FFFFFF");
      xml.closeEmpty();
    }
    xml.end();
    xml.end();
  }
  xml.end();
  xml.start("sentence");
  xml.attribute("ID", set.sentenceId);
  xml.attribute("aPos", set.sentenceId * 7 % 100003);
  xml.close();
  xml.textElement("text", set.text);
  xml.end();
  xml.end();
}

// ---- Frame relations ------------------------------------------------------------------------

struct RelationTypeDraw {
  int perMille;      // share of the relations drawn
  bool withinFrame;  // relates frame elements of one frame
  bool mapsFes;      // carries fe-relation children pairing the two frames' elements
};

// Indexed like kFrameRelationTypes; inheritance and using dominate, as in real releases.
constexpr std::array<RelationTypeDraw, kFrameRelationTypes.size()> kRelationDraws = {{
    {380, false, true},  // Inheritance
    {80, false, true},   // Subframe
    {250, false, true},  // Using
    {80, false, false},  // See_also
    {20, false, true},   // ReFraming_Mapping
    {25, true, true},    // CoreSet
    {15, true, true},    // Excludes
    {10, true, true},    // Requires
    {25, false, true},   // Inchoative_of
    {35, false, true},   // Causative_of
    {40, false, false},  // Precedes
    {40, false, true},   // Perspective_on
}};

size_t drawRelationType(Rng& rng) {
  int left = rng.between(0, 999);
  for (size_t type = 0; type < kRelationDraws.size(); ++type) {
    left -= kRelationDraws[type].perMille;
    if (left < 0) return type;
  }
  return 0;
}

// Pairs elements of the same name, and now and then two of different names; at most six.
void mapFrameElements(Rng& rng, const FrameModel& superFrame, const FrameModel& subFrame,
                      std::vector<FeRelationModel>& out) {
  if (subFrame.frameElements.empty()) return;
  std::vector<bool> taken(subFrame.frameElements.size(), false);
  for (size_t s = 0; s < superFrame.frameElements.size() && out.size() < 6; ++s) {
    size_t match = subFrame.frameElements.size();
    for (size_t k = 0; k < subFrame.frameElements.size(); ++k) {
      if (!taken[k] && subFrame.frameElements[k].name == superFrame.frameElements[s].name)
        match = k;
    }
    if (match == subFrame.frameElements.size()) {
      if (!rng.chance(30)) continue;
      match = static_cast<size_t>(rng.between(0, static_cast<int>(taken.size()) - 1));
      if (taken[match]) continue;
    } else if (!rng.chance(80)) {
      continue;
    }
    taken[match] = true;
    out.push_back({0, s, match});
  }
}

void addRelations(ReleaseModel& model, uint64_t seed) {
  Rng rng(seed * 0xD1B54A32D192ED03ull + 0x5E1A7);
  const size_t frames = model.frames.size();
  std::vector<FrameRelationModel> drawn;
  for (size_t sub = 0; sub < frames; ++sub) {
    // 0 to 3, one more now and then: 1.7 on average.
    const int count = rng.between(0, 3) + (rng.chance(20) ? 1 : 0);
    for (int k = 0; k < count; ++k) {
      FrameRelationModel relation;
      relation.type = drawRelationType(rng);
      relation.subFrame = sub;
      const RelationTypeDraw& draw = kRelationDraws[relation.type];
      const FrameModel& subFrame = model.frames[sub];
      if (draw.withinFrame) {
        relation.superFrame = sub;
        const int fes = static_cast<int>(subFrame.frameElements.size());
        if (fes < 2) continue;
        const int a = rng.between(0, fes - 1);
        const int b = (a + rng.between(1, fes - 1)) % fes;
        relation.feRelations.push_back({0, static_cast<size_t>(a), static_cast<size_t>(b)});
      } else {
        if (frames < 2) continue;
        // Frames early in the list are the general ones many others relate to.
        size_t super = static_cast<size_t>(rng.unit() * rng.unit() * static_cast<double>(frames));
        if (super >= frames) super = frames - 1;
        if (super == sub) super = (super + 1) % frames;
        relation.superFrame = super;
        if (draw.mapsFes) {
          mapFrameElements(rng, model.frames[super], subFrame, relation.feRelations);
        }
      }
      drawn.push_back(std::move(relation));
    }
  }
  std::stable_sort(
      drawn.begin(), drawn.end(),
      [](const FrameRelationModel& a, const FrameRelationModel& b) { return a.type < b.type; });
  int relationId = 1;
  int feRelationId = 1;
  for (FrameRelationModel& relation : drawn) {
    relation.id = relationId++;
    for (FeRelationModel& pair : relation.feRelations) pair.id = feRelationId++;
  }
  model.relations = std::move(drawn);
}

}  // namespace

ReleaseModel generateReleaseModel(const GeneratorOptions& options) {
  Rng rng(options.seed);
  IdCounters ids;
  ReleaseModel model;
  std::set<std::string> names;
  model.frames.reserve(static_cast<size_t>(std::max(options.frames, 0)));
  for (int i = 0; i < options.frames; ++i) {
    FrameModel frame = makeFrame(rng, ids);
    // Frame names are unique; a repeated draw gets a distinguishing suffix.
    for (int suffix = 2; !names.insert(frame.name).second; ++suffix) {
      if (suffix > 2) frame.name.erase(frame.name.rfind('_'));
      frame.name += suffix % 2 ? "_scenario" : "_event";
      frame.name += number(suffix);
    }
    model.frames.push_back(std::move(frame));
  }
  model.seed = options.seed;
  // Drawn from a stream of their own, so the frames do not depend on them.
  addRelations(model, options.seed);
  return model;
}

std::string renderFramesDocument(const ReleaseModel& model, Encoding encoding) {
  std::string out;
  out.reserve(model.frames.size() * 9000 + 256);
  XmlWriter xml(out, encoding);
  xml.start("frames");
  xml.attribute("XMLCreated", "Thu Mar 06 10:12:44 PST 2008");
  xml.close();
  for (const FrameModel& frame : model.frames) writeFrame(xml, frame);
  xml.end();
  return out;
}

std::string generateFramesDocument(const GeneratorOptions& options) {
  return renderFramesDocument(generateReleaseModel(options), options.encoding);
}

AnnotationDocumentModel generateAnnotationModel(const FrameModel& frame, const LexUnitModel& lu,
                                                uint64_t seed, int sentences) {
  Rng rng(seed ^ (static_cast<uint64_t>(lu.id) << 32));
  AnnotationDocumentModel doc;
  doc.luId = lu.id;
  doc.luName = lu.name();
  doc.frameName = frame.name;

  // Subcorpus names follow the syntactic pattern they collect; "-pp<prep>" ones hold
  // sentences with a prepositional phrase headed by that preposition.
  const std::string prefix = posAttribute(lu.pos.substr(0, 1));
  const int filled = std::clamp(rng.between(1, 6), 1, std::max(1, sentences));
  std::vector<SubcorpusModel> subcorpora;
  std::vector<std::string> preps;
  for (int i = 0; i < filled; ++i) {
    SubcorpusModel sc;
    const int form = rng.between(0, 4);
    std::string prep;
    if (form <= 1) {
      prep = std::string(rng.pick(kPrepositions));
      sc.name = prefix + (form == 0 ? "-np-pp" : "-pp") + prep;
    } else if (form == 2) {
      sc.name = prefix + "-" + number(rng.between(100, 999)) + "-np";
    } else if (form == 3) {
      sc.name = "other-matched-" + lowered(prefix);
    } else {
      sc.name = "manually-added";
    }
    subcorpora.push_back(std::move(sc));
    preps.push_back(std::move(prep));
  }
  int setId = rng.between(1000, 9000) * 100;
  int sentenceId = rng.between(100000, 900000);
  for (int i = 0; i < sentences; ++i) {
    const size_t which = static_cast<size_t>(i < filled ? i : rng.between(0, filled - 1));
    sentenceId += rng.between(1, 50);
    subcorpora[which].sets.push_back(
        makeAnnotationSet(rng, frame, lu, preps[which], ++setId, sentenceId));
  }
  // Empty subcorpora sit among the others.
  const int empty = rng.between(0, 3);
  for (int i = 0; i < empty; ++i) {
    SubcorpusModel sc;
    sc.name = prefix + "-pp" + std::string(rng.pick(kPrepositions));
    const auto at =
        static_cast<std::ptrdiff_t>(rng.between(0, static_cast<int>(subcorpora.size())));
    subcorpora.insert(subcorpora.begin() + at, std::move(sc));
  }
  doc.subcorpora = std::move(subcorpora);
  return doc;
}

AnnotationDocumentModel generateAnnotationModel(uint64_t seed, int luId, int sentences) {
  Rng rng(seed * 0x2545F4914F6CDD1Dull + 17);
  IdCounters ids;
  ids.lexUnit = luId;
  FrameModel frame = makeFrame(rng, ids);
  LexUnitModel lu = makeLexUnit(rng, luId);
  AnnotationDocumentModel doc = generateAnnotationModel(frame, lu, seed, sentences);
  doc.encoding = rng.chance(12) ? Encoding::Latin1 : Encoding::Utf8;
  return doc;
}

std::string renderAnnotationDocument(const AnnotationDocumentModel& model) {
  std::string out;
  XmlWriter xml(out, model.encoding);
  xml.start("lexunit-annotation");
  xml.attribute("ID", model.luId);
  xml.attribute("name", model.luName);
  xml.attribute("frame", model.frameName);
  int total = 0;
  for (const SubcorpusModel& sc : model.subcorpora) total += static_cast<int>(sc.sets.size());
  xml.attribute("totalAnnotated", total);
  xml.close();
  for (const SubcorpusModel& sc : model.subcorpora) {
    xml.start("subcorpus");
    xml.attribute("name", sc.name);
    if (sc.sets.empty()) {
      xml.closeEmpty();
      continue;
    }
    xml.close();
    for (const AnnotationSetModel& set : sc.sets) writeAnnotationSet(xml, set, false);
    xml.end();
  }
  xml.end();
  return out;
}

std::string generateAnnotationDocument(uint64_t seed, int luId, int sentences) {
  return renderAnnotationDocument(generateAnnotationModel(seed, luId, sentences));
}

// ---- Whole releases ------------------------------------------------------------------------

std::string renderRelationsDocument(const ReleaseModel& model) {
  std::string out;
  out.reserve(model.relations.size() * 600 + 2048);
  XmlWriter xml(out, Encoding::Utf8);
  xml.start("frame-relation-types");
  xml.attribute("XMLCreated", "Thu Mar 06 10:12:44 PST 2008");
  xml.close();
  size_t next = 0;
  for (size_t type = 0; type < kFrameRelationTypes.size(); ++type) {
    xml.start("frame-relation-type");
    xml.attribute("ID", static_cast<int>(type) + 1);
    xml.attribute("name", kFrameRelationTypes[type]);
    xml.close();
    xml.start("frame-relations");
    if (next == model.relations.size() || model.relations[next].type != type) {
      xml.closeEmpty();
      xml.end();
      continue;
    }
    xml.close();
    for (; next < model.relations.size() && model.relations[next].type == type; ++next) {
      const FrameRelationModel& relation = model.relations[next];
      const FrameModel& superFrame = model.frames[relation.superFrame];
      const FrameModel& subFrame = model.frames[relation.subFrame];
      xml.start("frame-relation");
      xml.attribute("ID", relation.id);
      xml.attribute("supID", superFrame.id);
      xml.attribute("subID", subFrame.id);
      xml.attribute("superFrameName", superFrame.name);
      xml.attribute("subFrameName", subFrame.name);
      if (relation.feRelations.empty()) {
        xml.closeEmpty();
        continue;
      }
      xml.close();
      for (const FeRelationModel& pair : relation.feRelations) {
        const FrameElementModel& superFe = superFrame.frameElements[pair.superFe];
        const FrameElementModel& subFe = subFrame.frameElements[pair.subFe];
        xml.start("fe-relation");
        xml.attribute("ID", pair.id);
        xml.attribute("supID", superFe.id);
        xml.attribute("subID", subFe.id);
        xml.attribute("superFEName", superFe.name);
        xml.attribute("subFEName", subFe.name);
        xml.closeEmpty();
      }
      xml.end();
    }
    xml.end();
    xml.end();
  }
  xml.end();
  return out;
}

AnnotationDocumentModel releaseAnnotationModel(const ReleaseModel& model, const FrameModel& frame,
                                               const LexUnitModel& lu) {
  AnnotationDocumentModel doc = generateAnnotationModel(frame, lu, model.seed, lu.annotated);
  // One unit in eight is declared ISO-8859-1, so loading a release exercises both decoders.
  if (lu.id % 8 == 5) doc.encoding = Encoding::Latin1;
  return doc;
}

std::string renderSubcorpusDocument(const AnnotationDocumentModel& model) {
  std::string out;
  XmlWriter xml(out, model.encoding);
  xml.start("lexunit-annotation");
  xml.attribute("name", model.luName);
  xml.attribute("frame", model.frameName);
  xml.attribute("ID", model.luId);
  xml.close();
  for (const SubcorpusModel& sc : model.subcorpora) {
    xml.start("subcorpus");
    xml.attribute("name", sc.name);
    if (sc.sets.empty()) {
      xml.closeEmpty();
      continue;
    }
    xml.close();
    for (const AnnotationSetModel& set : sc.sets) writeAnnotationSet(xml, set, true);
    xml.end();
  }
  xml.end();
  return out;
}

namespace {

struct ValenceUnit {
  std::string fe, pt, gf;  // gf empty for a frame element not expressed
  bool operator==(const ValenceUnit&) const = default;
};

const LayerModel* findLayer(const AnnotationSetModel& set, std::string_view name) {
  for (const LayerModel& layer : set.layers) {
    if (layer.name == name) return &layer;
  }
  return nullptr;
}

std::string labelAt(const LayerModel* layer, int start) {
  if (layer == nullptr) return {};
  for (const LabelModel& label : layer->labels) {
    if (label.itype.empty() && label.start == start) return label.name;
  }
  return {};
}

// The valence units of one annotated sentence, in the order of its FE labels.
std::vector<ValenceUnit> valenceUnits(const AnnotationSetModel& set) {
  std::vector<ValenceUnit> units;
  const LayerModel* fe = findLayer(set, "FE");
  if (fe == nullptr) return units;
  const LayerModel* gf = findLayer(set, "GF");
  const LayerModel* pt = findLayer(set, "PT");
  for (const LabelModel& label : fe->labels) {
    if (!label.itype.empty()) {
      units.push_back({label.name, label.itype, {}});
    } else {
      units.push_back({label.name, labelAt(pt, label.start), labelAt(gf, label.start)});
    }
  }
  return units;
}

// Counts equal entries, keeping the order in which each was first seen.
template <class Entry>
void tally(std::vector<std::pair<Entry, int>>& counts, const Entry& entry) {
  for (auto& [seen, count] : counts) {
    if (seen == entry) {
      ++count;
      return;
    }
  }
  counts.emplace_back(entry, 1);
}

void writeValenceUnit(XmlWriter& xml, const ValenceUnit& unit) {
  xml.start("valence-unit");
  xml.attribute("fe", unit.fe);
  xml.attribute("pt", unit.pt);
  if (!unit.gf.empty()) xml.attribute("gf", unit.gf);
  xml.closeEmpty();
}

}  // namespace

std::string renderLexicalEntryDocument(const LexUnitModel& lu,
                                       const AnnotationDocumentModel& annotations) {
  std::vector<std::pair<ValenceUnit, int>> realizations;
  std::vector<std::pair<std::vector<ValenceUnit>, int>> groups;
  int sentences = 0;
  for (const SubcorpusModel& sc : annotations.subcorpora) {
    for (const AnnotationSetModel& set : sc.sets) {
      ++sentences;
      const std::vector<ValenceUnit> units = valenceUnits(set);
      for (const ValenceUnit& unit : units) tally(realizations, unit);
      if (!units.empty()) tally(groups, units);
    }
  }

  std::string out;
  XmlWriter xml(out, Encoding::Utf8);
  xml.start("lexical-entry");
  xml.attribute("ID", lu.id);
  xml.attribute("name", lu.name());
  xml.attribute("frame", annotations.frameName);
  xml.attribute("pos", posAttribute(lu.pos));
  xml.attribute("totalAnnotated", sentences);
  xml.close();
  xml.textElement("definition", lu.definition);
  xml.start("FERealizations");
  if (realizations.empty()) {
    xml.closeEmpty();
  } else {
    xml.close();
    for (const auto& [unit, count] : realizations) {
      xml.start("FERealization");
      xml.attribute("total", count);
      xml.close();
      writeValenceUnit(xml, unit);
      xml.end();
    }
    xml.end();
  }
  if (!groups.empty()) {
    xml.start("FEGroupRealizations");
    xml.close();
    for (const auto& [units, count] : groups) {
      xml.start("FEGroupRealization");
      xml.attribute("total", count);
      xml.close();
      for (const ValenceUnit& unit : units) writeValenceUnit(xml, unit);
      xml.end();
    }
    xml.end();
  }
  xml.end();
  return out;
}

}  // namespace sorvanta::tools
