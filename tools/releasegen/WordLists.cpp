#include "releasegen/WordLists.h"

#include <algorithm>

namespace sorvanta::tools::detail {

namespace {

// clang-format off
// Word banks. Verbs are "base|past|present participle"; a few entries carry characters
// outside ASCII so every document exercises decoding.
constexpr std::string_view kVerbsList[] = {
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

constexpr std::string_view kNounsList[] = {
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

constexpr std::string_view kAdjectivesList[] = {
    "old",      "young",    "quiet",    "loud",     "heavy",    "light",    "narrow",
    "broad",    "careful",  "careless", "sudden",   "gradual",  "bright",   "dark",
    "wooden",   "metal",    "rough",    "smooth",   "eager",    "reluctant", "angry",
    "calm",     "distant",  "nearby",   "typical",  "unusual",  "formal",   "casual",
    "brief",    "lengthy",  "costly",   "cheap",    "fragile",  "sturdy",   "naïve",
    "public",   "private",  "hidden",   "obvious",  "strange",  "familiar", "tired"};

constexpr std::string_view kAdverbsList[] = {
    "quickly", "slowly",    "carefully", "suddenly", "quietly",  "gradually", "often",
    "rarely",  "usually",   "deliberately", "openly", "eagerly", "reluctantly", "again",
    "nearly",  "barely",    "simply",    "directly", "finally",  "briefly"};

constexpr std::string_view kPrepositionsList[] = {
    "in",   "on",     "at",      "from",    "to",     "into",
    "onto", "across", "through", "along",   "toward", "against",
    "with", "without", "about",  "over",    "under",  "behind",
    "for",  "by",     "between", "beyond"};

constexpr std::string_view kDeterminersList[] = {
    "the", "a", "this", "that", "her", "his", "their", "our", "every",
    "each", "one", "some"};

constexpr std::string_view kPeopleList[] = {
    "Dana",  "Morgan", "Ellis", "Robin",  "Kit",     "Noor",   "Sasha",
    "Tobin", "Ilse",   "Marek", "Renée",  "Zoë",     "Ansel",  "Petra",
    "Joss",  "Lior",   "Mirela", "Oskar", "Greta",   "Hamid"};

constexpr std::string_view kCompaniesList[] = {
    "Hallam & Reed", "Osgood & Daughters", "Brant & Co.", "Veyne & Pell"};

constexpr std::string_view kFrameElementsList[] = {
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

constexpr std::string_view kSemTypesList[] = {
    "Sentient",         "Physical_object", "Container",        "Location",
    "Time",             "State_of_affairs", "Transitive_action", "Goal",
    "Source",           "Path",            "Message",          "Human",
    "Positive_judgment", "Negative_judgment", "Non-lexical_frame",
    "Artifact",         "Manner",          "Causative_of",     "Mass"};

constexpr std::string_view kCreatorsList[] = {
    "ChW", "MJE", "KmG", "RLS", "AbS", "JKR", "EmC", "TwB"};
constexpr std::string_view kLuStatusList[] = {
    "Finished_Initial", "Created",  "FN1_Sent", "Finished_Checked",
    "Insufficient_Attestations", "New", "Needs_SCs", "In_Use"};
constexpr std::string_view kWeekdaysList[] = {
    "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::string_view kTimeZonesList[] = {
    "PST", "PDT"};

// Extra POS suffixes for lexical units that are not verbs, nouns or adjectives, with lemmas.
constexpr std::string_view kOtherPosList[] = {
    "adv", "prep", "idio", "num", "scon", "intj"};
constexpr std::string_view kMultiwordPrepsList[] = {
    "in front of", "on top of", "by means of", "in spite of",
    "close to", "ahead of", "apart from"};
constexpr std::string_view kIdiomsList[] = {
    "keep an eye on", "at the drop of a hat", "by the way",
    "give or take", "on the dot", "in the long run"};
constexpr std::string_view kNumbersList[] = {
    "dozen", "hundred", "thousand", "couple", "score", "half"};
constexpr std::string_view kConjunctionsList[] = {
    "although", "because", "unless", "whereas", "since", "once"};
constexpr std::string_view kInterjectionsList[] = {
    "alas", "hooray", "oops", "hush", "bravo", "ahem"};
constexpr std::string_view kParticlesList[] = {
    "up", "out", "away", "off", "down", "back"};

// Fillers written around the labelled phrases of annotated sentences: no label refers to them.
constexpr std::string_view kOpenersList[] = {
    "Yesterday,", "In the end,", "As usual,",   "Later that week,",
    "Without a word,", "By then,", "Even so,",  "At first,"};
constexpr std::string_view kClosersList[] = {
    ", which surprised nobody", ", or so it seemed", ", as planned",
    " – twice", " (<5 minutes later)", ", much to everyone’s relief"};
// clang-format on

bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

}  // namespace

// Spans over constant arrays: initialized at compile time, so usable from any static
// initializer.
const Words kVerbs = kVerbsList;
const Words kNouns = kNounsList;
const Words kAdjectives = kAdjectivesList;
const Words kAdverbs = kAdverbsList;
const Words kPrepositions = kPrepositionsList;
const Words kDeterminers = kDeterminersList;
const Words kPeople = kPeopleList;
const Words kCompanies = kCompaniesList;
const Words kFrameElements = kFrameElementsList;
const Words kSemTypes = kSemTypesList;
const Words kCreators = kCreatorsList;
const Words kLuStatus = kLuStatusList;
const Words kWeekdays = kWeekdaysList;
const Words kTimeZones = kTimeZonesList;
const Words kOtherPos = kOtherPosList;
const Words kMultiwordPreps = kMultiwordPrepsList;
const Words kIdioms = kIdiomsList;
const Words kNumbers = kNumbersList;
const Words kConjunctions = kConjunctionsList;
const Words kInterjections = kInterjectionsList;
const Words kParticles = kParticlesList;
const Words kOpeners = kOpenersList;
const Words kClosers = kClosersList;

VerbForms verbForms(std::string_view entry) {
  const size_t a = entry.find('|');
  const size_t b = entry.find('|', a + 1);
  return {entry.substr(0, a), entry.substr(a + 1, b - a - 1), entry.substr(b + 1)};
}

bool isVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

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

std::string cat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view piece : pieces) out += piece;
  return out;
}

bool isAsciiText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

std::string posAttribute(std::string_view pos) {
  std::string out(pos);
  for (char& c : out) c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace sorvanta::tools::detail
