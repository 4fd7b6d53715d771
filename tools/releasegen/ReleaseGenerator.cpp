#include "releasegen/ReleaseGenerator.h"

// The generator's parts: WordLists (word banks), Prose (drawn texts), ReleaseModel and
// AnnotationModel (the models), XmlWriter, Renderers and AnnotationRenderers (the documents).

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

}  // namespace sorvanta::tools
