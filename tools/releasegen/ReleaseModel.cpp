#include <algorithm>
#include <array>
#include <set>
#include <tuple>
#include <utility>

#include "releasegen/ModelDraws.h"
#include "releasegen/Prose.h"
#include "releasegen/ReleaseGenerator.h"
#include "releasegen/WordLists.h"

namespace sorvanta::tools {

namespace detail {

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

}  // namespace detail

using namespace detail;

namespace {

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

}  // namespace sorvanta::tools
