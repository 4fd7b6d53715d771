#pragma once
// A shuffle that gives the same order on every machine for one seed: std::mt19937_64's
// output sequence is fixed by the C++ standard, while std::shuffle and the standard
// distributions are not, so both are written out here.
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace sorvanta::exports {

// A uniform integer in [0, bound) by rejection sampling (no modulo bias); bound > 0.
inline uint64_t uniformBelow(std::mt19937_64& engine, uint64_t bound) {
  const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;  // a multiple of bound
  uint64_t draw;
  do draw = engine();
  while (draw >= limit);
  return draw % bound;
}

// Fisher-Yates from the last position down.
template <class T>
void seededShuffle(std::vector<T>& items, uint64_t seed) {
  std::mt19937_64 engine(seed);
  for (size_t i = items.size(); i > 1; --i) {
    const size_t j = static_cast<size_t>(uniformBelow(engine, i));
    std::swap(items[i - 1], items[j]);
  }
}

}  // namespace sorvanta::exports
