#include "xml/XpArena.h"

#include <cstdint>
#include <cstring>

namespace sorvanta::xml {

void* Arena::allocateSlow(size_t size, size_t align) {
  auto aligned = [align](std::byte* p) {
    auto value = reinterpret_cast<uintptr_t>(p);
    return reinterpret_cast<std::byte*>((value + align - 1) & ~(uintptr_t{align} - 1));
  };
  // Large requests get a block of their own so the current page keeps its free space.
  if (size + align > kPageSize / 4) {
    blocks_.emplace_back(new std::byte[size + align]);
    reserved_ += size + align;
    return aligned(blocks_.back().get());
  }
  blocks_.emplace_back(new std::byte[kPageSize]);
  reserved_ += kPageSize;
  cursor_ = blocks_.back().get();
  limit_ = cursor_ + kPageSize;
  std::byte* start = aligned(cursor_);
  cursor_ = start + size;
  return start;
}

char* Arena::copyString(const char* bytes, size_t length) {
  auto* out = static_cast<char*>(allocate(length + 1, 1));
  if (length) std::memcpy(out, bytes, length);
  out[length] = '\0';
  return out;
}

void Arena::clear() {
  blocks_.clear();
  cursor_ = limit_ = nullptr;
  reserved_ = 0;
}

}  // namespace sorvanta::xml
