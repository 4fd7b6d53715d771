#pragma once
// The SHA-256 compression function over whole 64-byte blocks, in portable C++ and on the SHA
// extensions of x86-64 processors (about six times as fast: split digests every input document).
#include <cstddef>
#include <cstdint>

namespace sorvanta::exports::sha256 {

void compressPortable(uint32_t state[8], const unsigned char* data, size_t blocks);

// True when this processor has the SHA extensions (and the build targets x86-64).
bool hardwareAvailable();
// Only where hardwareAvailable().
void compressHardware(uint32_t state[8], const unsigned char* data, size_t blocks);

// The fastest of the two this processor runs.
void compress(uint32_t state[8], const unsigned char* data, size_t blocks);

}  // namespace sorvanta::exports::sha256
