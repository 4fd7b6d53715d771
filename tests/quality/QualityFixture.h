#pragma once
// Tests of the release check and diff: a generated release in a temporary folder that a test
// changes, with the index cache pointed into another temporary folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <string>

#include "releasegen/ReleaseFolder.h"
#include "support/TempDir.h"

namespace sorvanta::testing {

class QualityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CACHE_HOME")) oldCache_ = old;
    setenv("XDG_CACHE_HOME", cache_.path().c_str(), 1);
    tools::GeneratorOptions options;
    options.frames = 4;
    options.seed = 2;
    model_ = tools::generateReleaseModel(options);
  }
  void TearDown() override {
    if (oldCache_) setenv("XDG_CACHE_HOME", oldCache_->c_str(), 1);
    else unsetenv("XDG_CACHE_HOME");
  }

  // Writes the generated release into a new folder under the work folder.
  std::string writeRelease(const std::string& name) {
    const std::string folder = work_.file(name);
    tools::writeReleaseFolder(model_, folder);
    return folder;
  }

  // Replaces the first match of pattern in a file of the release (fails the test when none).
  static void edit(const std::string& release, const std::string& path, const std::string& pattern,
                   const std::string& replacement) {
    const std::string file = release + "/" + path;
    const std::string bytes = readBytes(file);
    std::smatch match;
    const std::regex expression(pattern);
    ASSERT_TRUE(std::regex_search(bytes, match, expression)) << pattern << " not in " << path;
    const std::string changed = bytes.substr(0, match.position(0)) +
                                match.format(replacement) + bytes.substr(match.position(0) + match.length(0));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << changed;
  }

  // The first lexical unit with annotated sentences (it has all three documents).
  const tools::LexUnitModel& annotatedUnit() const {
    for (const tools::FrameModel& frame : model_.frames)
      for (const tools::LexUnitModel& lu : frame.lexUnits)
        if (lu.annotated > 0) return lu;
    throw std::logic_error("no annotated lexical unit");
  }

  TempDir cache_, work_;
  std::optional<std::string> oldCache_;
  tools::ReleaseModel model_;
};

}  // namespace sorvanta::testing
