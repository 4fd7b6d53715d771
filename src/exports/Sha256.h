#pragma once
// SHA-256 (FIPS 180-4), for the file digests in split manifests. Small and self-contained:
// no library the product already uses below the window offers it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanta::exports {

class Sha256 {
 public:
  Sha256();
  void update(std::string_view bytes);
  // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
  std::string hexDigest();

 private:
  std::array<uint32_t, 8> state_;
  std::array<unsigned char, 64> buffer_{};
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes hashed so far
};

std::string sha256Hex(std::string_view bytes);

// The digest of a file's bytes and its size; false when it cannot be read.
bool sha256OfFile(const std::string& path, std::string& hex, int64_t& size);

}  // namespace sorvanta::exports
