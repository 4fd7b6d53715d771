#pragma once
// Tests of the release index: the cache folder points into a temporary folder, so no test
// writes to the user's real cache.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/CliRun.h"
#include "support/TempDir.h"

namespace sorvanta::testing {

class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CACHE_HOME")) oldCache_ = old;
    setenv("XDG_CACHE_HOME", cache_.path().c_str(), 1);
  }
  void TearDown() override {
    if (oldCache_) setenv("XDG_CACHE_HOME", oldCache_->c_str(), 1);
    else unsetenv("XDG_CACHE_HOME");
  }
  // A copy of the sample release that a test may change.
  std::string copySample() {
    const std::string folder = work_.file("release");
    std::filesystem::copy(sampleReleasePath(), folder, std::filesystem::copy_options::recursive);
    return folder;
  }
  CliOutput search(const std::string& release, std::vector<std::string> args) {
    args.insert(args.begin(), "search");
    return runOn(release, args);
  }

  TempDir cache_, work_;
  std::optional<std::string> oldCache_;
};

}  // namespace sorvanta::testing
