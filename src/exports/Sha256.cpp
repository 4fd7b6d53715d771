#include "exports/Sha256.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "exports/Sha256Compress.h"

namespace sorvanta::exports {

Sha256::Sha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab,
             0x5be0cd19} {}

void Sha256::update(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t left = bytes.size();
  length_ += left;
  if (buffered_ > 0) {
    const size_t take = std::min(left, 64 - buffered_);
    std::memcpy(buffer_.data() + buffered_, p, take);
    buffered_ += take, p += take, left -= take;
    if (buffered_ < 64) return;
    sha256::compress(state_.data(), buffer_.data(), 1);
    buffered_ = 0;
  }
  const size_t blocks = left / 64;
  if (blocks > 0) sha256::compress(state_.data(), p, blocks);
  p += blocks * 64, left -= blocks * 64;
  std::memcpy(buffer_.data(), p, left);
  buffered_ = left;
}

std::string Sha256::hexDigest() {
  const uint64_t bits = length_ * 8;
  const unsigned char pad = 0x80;
  update(std::string_view(reinterpret_cast<const char*>(&pad), 1));
  const char zero[64] = {};
  update(std::string_view(zero, (buffered_ <= 56 ? 56 - buffered_ : 120 - buffered_)));
  unsigned char tail[8];
  for (int i = 0; i < 8; ++i) tail[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  update(std::string_view(reinterpret_cast<const char*>(tail), 8));
  std::string hex;
  hex.reserve(64);
  const char* digits = "0123456789abcdef";
  for (uint32_t word : state_)
    for (int shift = 28; shift >= 0; shift -= 4) hex += digits[(word >> shift) & 0xF];
  return hex;
}

std::string sha256Hex(std::string_view bytes) {
  Sha256 hash;
  hash.update(bytes);
  return hash.hexDigest();
}

bool sha256OfFile(const std::string& path, std::string& hex, int64_t& size) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  Sha256 hash;
  std::vector<char> chunk(1 << 16);
  size = 0;
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    hash.update(std::string_view(chunk.data(), static_cast<size_t>(got)));
    size += got;
  }
  if (in.bad()) return false;
  hex = hash.hexDigest();
  return true;
}

}  // namespace sorvanta::exports
