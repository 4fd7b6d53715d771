#pragma once
// The sample release copied into a fresh temporary folder, for commands that write into the
// data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace sorvanta::testing {

// The folder as the commands take it, ending with '/'.
inline std::string folderOf(const TempDir& folder) { return folder.path().string() + "/"; }

// Copies the sample release into the folder; returns the folder ending with '/'.
inline std::string copySampleRelease(const TempDir& folder) {
  std::filesystem::copy(sampleReleasePath(), folder.path(),
                        std::filesystem::copy_options::recursive);
  return folderOf(folder);
}

struct SampleReleaseCopy {
  TempDir dir;
  std::string folder = copySampleRelease(dir);  // ends with '/'

  std::string file(const std::string& name) const { return readBytes(folder + name); }
  // Every file of the golden folder (below tests/data/golden) equals the copy's file of that
  // name.
  void expectGolden(const std::string& golden) const {
    for (const auto& entry :
         std::filesystem::directory_iterator(testDataPath("golden/" + golden))) {
      const std::string name = entry.path().filename().string();
      EXPECT_EQ(file(name), readBytes(entry.path().string())) << golden << "/" << name;
    }
  }
};

}  // namespace sorvanta::testing
