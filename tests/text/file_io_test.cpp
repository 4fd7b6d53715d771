// Reading files and replacing them atomically.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "support/SpecialFiles.h"
#include "support/TempDir.h"
#include "text/Errors.h"
#include "text/FileIO.h"
#include "text/TextLines.h"

using namespace sorvanta::text;
using sorvanta::testing::readBytes;
using sorvanta::testing::TempDir;
namespace fs = std::filesystem;

static long entryCount(const fs::path& folder) {
  return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

TEST(FileIO, WritesExactBytesReplacesAndUsesUtf8Names) {
  TempDir dir;
  const std::string path = dir.file("caf\xE9.txt");  // working text; the name on disk is UTF-8
  const std::string bytes("a\0\r\n\xFF", 5);
  writeFileAtomically(path, bytes);
  EXPECT_EQ(readBytes(dir.file("caf\xC3\xA9.txt")), bytes);
  writeFileAtomically(path, "");
  EXPECT_EQ(readBytes(toFsPath(path)), "");
  EXPECT_TRUE(fileExists(path));
  EXPECT_EQ(entryCount(dir.path()), 1);

  struct stat info;
  ASSERT_EQ(stat(toFsPath(path).c_str(), &info), 0);
  const mode_t mask = umask(022);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST(FileIO, FailureThrowsExactMessageAndLeavesNoTempFile) {
  TempDir dir;
  const std::string missing = dir.file("no-such-folder") + "/x.txt";
  try {
    writeFileAtomically(missing, "x");
    FAIL() << "no error";
  } catch (const FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + missing);
  }
  // A folder in the target's place makes the rename fail after the temp file was written.
  fs::create_directory(dir.file("taken"));
  EXPECT_THROW(writeFileAtomically(dir.file("taken"), "data"), FileCreateError);
  EXPECT_EQ(entryCount(dir.path()), 1);
}

TEST(FileIO, ReadWholeFile) {
  TempDir dir;
  std::string big(3'000'000, 'q');
  big[1'234'567] = '\n';
  std::string out = "old";
  EXPECT_TRUE(readWholeFile(dir.write("big.bin", big), out));
  EXPECT_EQ(out, big);
  out = "old";
  EXPECT_FALSE(readWholeFile(dir.file("missing"), out));
  EXPECT_EQ(out, "");
  EXPECT_FALSE(readWholeFile(dir.path().string(), out));
  EXPECT_FALSE(fileExists(dir.path().string()));
}

TEST(FileIO, LineListSaveAndLoad) {
  TempDir dir;
  const std::string path = dir.file("lines.txt");
  TextLines lines;
  lines.add("one");
  lines.add("");
  lines.add("\xE9");
  lines.saveToFile(path);
  EXPECT_EQ(readBytes(path), "one\r\n\r\n\xE9\r\n");
  TextLines loaded;
  ASSERT_TRUE(loaded.loadFromFile(path));
  EXPECT_EQ(loaded.lines(), lines.lines());
  EXPECT_FALSE(loaded.loadFromFile(dir.file("missing")));
  EXPECT_EQ(loaded.size(), 0u);
  TextLines empty;
  empty.saveToFile(path);
  EXPECT_EQ(readBytes(path), "");
}

TEST(FileIO, OnlyRegularFilesAreReadAndNoneBlocks) {
  TempDir dir;
  for (const auto& special : sorvanta::testing::makeSpecialFiles(dir)) {
    std::string out = "old";
    bool read = true;
    EXPECT_TRUE(sorvanta::testing::returnsWithoutBlocking(
        special.path, [&] { return readWholeFile(special.path, out); }, read))
        << special.kind;
    EXPECT_FALSE(read) << special.kind;
    EXPECT_EQ(out, "") << special.kind;
  }
}
