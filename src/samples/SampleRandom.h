#pragma once
// The generator of the sample draw: a 32-bit linear congruential generator whose values are
// bits 16 to 30 of the state. Seeding discards one value.
#include <cstdint>

namespace sorvanta::samples {

class SampleRandom {
 public:
  explicit SampleRandom(uint32_t seedValue = 0) { seed(seedValue); }
  // Sets the state and draws one value that is thrown away.
  void seed(uint32_t seedValue) {
    state_ = seedValue;
    next();
  }
  // 0 to 32767.
  int next() {
    state_ = state_ * 22695477u + 1u;  // unsigned arithmetic wraps modulo 2^32
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }
  // One draw of the selection: 0 to 99.
  int draw() { return next() % 100; }
  uint32_t state() const { return state_; }

 private:
  uint32_t state_ = 0;
};

}  // namespace sorvanta::samples
