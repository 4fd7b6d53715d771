// SHA-256 against the FIPS 180-4 example vectors, fed whole and in uneven pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "exports/Sha256.h"
#include "exports/Sha256Compress.h"
#include "support/TempDir.h"

namespace sorvanta::exports {
namespace {

TEST(Sha256Test, FipsVectors) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      // 55 and 56 bytes: the padding fits in the block, and just does not.
      {std::string(55, 'x'), nullptr},
      {std::string(56, 'x'), nullptr},
  };
  for (const auto& [message, digest] : cases) {
    const std::string whole = sha256Hex(message);
    if (digest) {
      EXPECT_EQ(whole, digest) << message.size() << " bytes";
    }
    Sha256 pieces;
    for (size_t at = 0, step = 1; at < message.size(); at += step, step = step * 3 % 97 + 1)
      pieces.update(std::string_view(message).substr(at, step));
    EXPECT_EQ(pieces.hexDigest(), whole) << message.size() << " bytes in pieces";
  }
  EXPECT_NE(sha256Hex(std::string(55, 'x')), sha256Hex(std::string(56, 'x')));
}

// The processor's SHA instructions and the portable code agree block for block, one block at
// a time and many in one call (the state carried between them).
TEST(Sha256Test, HardwareAndPortableCompressionAgree) {
  if (!sha256::hardwareAvailable()) GTEST_SKIP() << "no SHA extensions on this processor";
  std::vector<unsigned char> data(64 * 37);
  uint32_t seed = 12345;
  for (unsigned char& byte : data) byte = static_cast<unsigned char>((seed = seed * 1103515245 + 12345) >> 16);
  for (const size_t blocks : {size_t{1}, size_t{2}, size_t{37}}) {
    uint32_t portable[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    uint32_t hardware[8];
    std::copy(std::begin(portable), std::end(portable), hardware);
    sha256::compressPortable(portable, data.data(), blocks);
    sha256::compressHardware(hardware, data.data(), blocks);
    EXPECT_TRUE(std::equal(std::begin(portable), std::end(portable), hardware)) << blocks << " blocks";
  }
}

// Where the digests above ran on the SHA instructions, the portable code still needs a check
// of its own: "abc" padded into one block.
TEST(Sha256Test, PortableCompressionGivesTheFipsDigest) {
  unsigned char block[64] = {'a', 'b', 'c', 0x80};
  block[63] = 24;  // the length in bits
  uint32_t state[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  sha256::compressPortable(state, block, 1);
  const uint32_t expected[8] = {0xba7816bf, 0x8f01cfea, 0x414140de, 0x5dae2223,
                                0xb00361a3, 0x96177a9c, 0xb410ff61, 0xf20015ad};
  EXPECT_TRUE(std::equal(std::begin(state), std::end(state), expected));
}

TEST(Sha256Test, FileDigestAndSize) {
  testing::TempDir dir;
  const std::string path = dir.write("f.txt", "abc");
  std::string hex;
  int64_t size = -1;
  ASSERT_TRUE(sha256OfFile(path, hex, size));
  EXPECT_EQ(size, 3);
  EXPECT_EQ(hex, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_FALSE(sha256OfFile(dir.file("missing"), hex, size));
}

}  // namespace
}  // namespace sorvanta::exports
