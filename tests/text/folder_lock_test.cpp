// The data folder's advisory lock: a second command waits with a message, or refuses.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/TempDir.h"
#include "text/FolderLock.h"

using namespace sorvanta::text;
using sorvanta::testing::TempDir;

TEST(FolderLock, SecondCommandRefusesWithoutWaiting) {
  TempDir dir;
  const std::string folder = dir.path().string();
  {
    FolderLock first(folder, FolderLock::Wait::No);
    ASSERT_TRUE(first.held()) << first.message();
    FolderLock second(folder, FolderLock::Wait::No);
    EXPECT_FALSE(second.held());
    EXPECT_EQ(second.message(), "Another command is writing into " + folder);
  }
  FolderLock afterwards(folder, FolderLock::Wait::No);
  EXPECT_TRUE(afterwards.held());
}

TEST(FolderLock, SecondCommandWaitsWithAMessageUntilTheFirstEnds) {
  TempDir dir;
  const std::string folder = dir.path().string();
  auto first = std::make_unique<FolderLock>(folder, FolderLock::Wait::No);
  ASSERT_TRUE(first->held());
  std::atomic<bool> told{false};
  std::string toldMessage;
  bool secondHeld = false;
  std::thread second([&] {
    FolderLock lock(folder, FolderLock::Wait::Yes, [&](const std::string& message) {
      toldMessage = message;
      told = true;
    });
    secondHeld = lock.held();
  });
  while (!told) std::this_thread::yield();
  first.reset();  // the first command ends
  second.join();
  EXPECT_EQ(toldMessage, "Another command is writing into " + folder);
  EXPECT_TRUE(secondHeld);
}

TEST(FolderLock, CancelledWaitEndsWithoutTheLock) {
  TempDir dir;
  const std::string folder = dir.path().string();
  FolderLock first(folder, FolderLock::Wait::No);
  Progress progress;
  FolderLock second(folder, FolderLock::Wait::Yes,
                    [&](const std::string&) { progress.cancel(); }, progress);
  EXPECT_FALSE(second.held());
  EXPECT_EQ(second.message(), "Another command is writing into " + folder);
}

TEST(FolderLock, MissingFolderIsNamed) {
  TempDir dir;
  FolderLock lock(dir.file("gone\n"), FolderLock::Wait::Yes);
  EXPECT_FALSE(lock.held());
  EXPECT_EQ(lock.message(), "Cannot lock the folder \"" + dir.file("gone") +
                                "\\n\": No such file or directory");
}
