// The recent releases kept in the settings store, and the release of a chosen frames document.
#include <gtest/gtest.h>

#include <map>

#include "lexicon/DataFolder.h"

namespace sorvanta::lexicon {
namespace {

class MapSettings : public SettingsStore {
 public:
  std::string readString(std::string_view name) const override {
    const auto found = values.find(std::string(name));
    return found == values.end() ? std::string() : found->second;
  }
  void writeString(std::string_view name, std::string_view value) override {
    values[std::string(name)] = std::string(value);
  }
  std::map<std::string, std::string> values;
};

TEST(RecentReleases, MostRecentFirstEachOnceAtMostTheLimit) {
  MapSettings settings;
  EXPECT_TRUE(recentReleases(settings).empty());
  rememberRelease(settings, ReleaseFolder("/a"));
  rememberRelease(settings, ReleaseFolder("/b/"));
  rememberRelease(settings, ReleaseFolder("/a/"));
  EXPECT_EQ(recentReleases(settings), (std::vector<std::string>{"/a/", "/b/"}));
  EXPECT_EQ(settings.readString(kLocationSetting), "/a/");

  for (int i = 0; i < 20; ++i) addRecentRelease(settings, ReleaseFolder("/r" + std::to_string(i)));
  const std::vector<std::string> kept = recentReleases(settings);
  ASSERT_EQ(kept.size(), kRecentLimit);
  EXPECT_EQ(kept.front(), "/r19/");
  EXPECT_EQ(kept.back(), "/r12/");
  EXPECT_EQ(settings.readString(kLocationSetting), "/a/");  // only remembering moves it

  addRecentRelease(settings, ReleaseFolder());  // no folder: nothing changes
  EXPECT_EQ(recentReleases(settings), kept);
  settings.writeString(kRecentSetting, "\n/x/\n\n/y/\n");  // blank lines of a hand-edited store
  EXPECT_EQ(recentReleases(settings), (std::vector<std::string>{"/x/", "/y/"}));
}

TEST(RecentReleases, ReleaseOfAChosenFramesDocument) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"/data/rel/frXML/frames.xml", "/data/rel/"},
      {"/data/rel/FRXML/frames.xml", std::nullopt},
      {"/data/rel/frames.xml", std::nullopt},
  };
  for (const auto& [chosen, folder] : cases) {
    const std::optional<ReleaseFolder> found = releaseOfFramesFile(chosen);
    ASSERT_EQ(found.has_value(), folder.has_value()) << chosen;
    if (folder) {
      EXPECT_EQ(found->path(), *folder);
    }
  }
}

}  // namespace
}  // namespace sorvanta::lexicon
