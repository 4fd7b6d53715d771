#pragma once
// Draws of frames and lexical units, shared by the release model and the stand-alone
// annotation models. Internal to releasegen.
#include "releasegen/ReleaseGenerator.h"

namespace sorvanta::tools::detail {

// The next IDs to give out; IDs grow by small random steps.
struct IdCounters {
  int frame = 1;
  int frameElement = 1;
  int lexUnit = 1;
};

LexUnitModel makeLexUnit(Rng& rng, int id);
// A frame with its frame elements and lexical units, taking their IDs from ids.
FrameModel makeFrame(Rng& rng, IdCounters& ids);

}  // namespace sorvanta::tools::detail
