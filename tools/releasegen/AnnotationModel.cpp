#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "releasegen/ModelDraws.h"
#include "releasegen/Prose.h"
#include "releasegen/ReleaseGenerator.h"
#include "releasegen/WordLists.h"

namespace sorvanta::tools {

using namespace detail;

namespace {

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

}  // namespace

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

AnnotationDocumentModel releaseAnnotationModel(const ReleaseModel& model, const FrameModel& frame,
                                               const LexUnitModel& lu) {
  AnnotationDocumentModel doc = generateAnnotationModel(frame, lu, model.seed, lu.annotated);
  // One unit in eight is declared ISO-8859-1, so loading a release exercises both decoders.
  if (lu.id % 8 == 5) doc.encoding = Encoding::Latin1;
  return doc;
}

}  // namespace sorvanta::tools
