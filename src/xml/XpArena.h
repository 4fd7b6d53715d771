#pragma once
// Bump allocator for the nodes and strings of one document: 32 KiB pages, freed all at once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace sorvanta::xml {

class Arena {
 public:
  Arena() = default;
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  void* allocate(size_t size, size_t align = alignof(std::max_align_t)) {
    auto value = reinterpret_cast<uintptr_t>(cursor_);
    auto* start = reinterpret_cast<std::byte*>((value + align - 1) & ~(uintptr_t{align} - 1));
    if (cursor_ && start + size <= limit_) {
      cursor_ = start + size;
      return start;
    }
    return allocateSlow(size, align);
  }
  template <class T, class... Args>
  T* make(Args&&... args) {
    return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
  }
  // A NUL-terminated copy of bytes.
  char* copyString(const char* bytes, size_t length);

  void clear();
  size_t bytesReserved() const { return reserved_; }

 private:
  void* allocateSlow(size_t size, size_t align);

  static constexpr size_t kPageSize = 32 * 1024;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* cursor_ = nullptr;
  std::byte* limit_ = nullptr;
  size_t reserved_ = 0;
};

}  // namespace sorvanta::xml
