#include "lexicon/DataFolder.h"

#include "lexicon/ReleaseLayout.h"

namespace sorvanta::lexicon {

namespace {

// The chosen path without its "frXML/frames.xml" part.
std::optional<std::string> folderTextOf(std::string_view chosen) {
  const size_t at = chosen.find(kFramesRelativePath);
  if (at == std::string_view::npos) return std::nullopt;
  std::string folder(chosen);
  folder.erase(at, kFramesRelativePath.size());
  return folder;
}

}  // namespace

std::optional<ReleaseFolder> resolveDataFolder(const DataFolderPlatform& platform) {
  const std::string& beside = platform.executableFolder;
  if (platform.fileExists && platform.fileExists(framesDocumentPath(beside))) {
    platform.settings.writeString(kLocationSetting, beside);
    return ReleaseFolder(beside);
  }

  // The stored folder is trusted without checking that it still holds the frames document.
  ReleaseFolder stored = storedDataFolder(platform.settings);
  if (!stored.empty()) return stored;

  const std::optional<std::string> chosen =
      platform.chooseFramesFile ? platform.chooseFramesFile() : std::nullopt;
  const auto tell = [&platform](std::string_view text) {
    if (platform.showMessage) platform.showMessage(kProgramCaption, text);
  };
  if (!chosen) {
    tell(kLocateFramesMessage);
    return std::nullopt;
  }
  std::optional<std::string> folder = folderTextOf(*chosen);
  if (!folder) {
    tell(kLocateFrXmlMessage);
    return std::nullopt;
  }
  // Stored as the path reads, without the separator ReleaseFolder adds.
  platform.settings.writeString(kLocationSetting, *folder);
  return ReleaseFolder(std::move(*folder));
}

std::optional<ReleaseFolder> releaseOfFramesFile(std::string_view chosen) {
  std::optional<std::string> folder = folderTextOf(chosen);
  if (!folder) return std::nullopt;
  return ReleaseFolder(std::move(*folder));
}

std::vector<std::string> recentReleases(const SettingsStore& settings) {
  std::vector<std::string> folders;
  const std::string stored = settings.readString(kRecentSetting);
  size_t from = 0;
  while (from < stored.size() && folders.size() < kRecentLimit) {
    size_t end = stored.find('\n', from);
    if (end == std::string::npos) end = stored.size();
    if (end > from) folders.push_back(stored.substr(from, end - from));
    from = end + 1;
  }
  return folders;
}

void rememberRelease(SettingsStore& settings, const ReleaseFolder& folder) {
  if (folder.empty()) return;
  settings.writeString(kLocationSetting, folder.path());
  addRecentRelease(settings, folder);
}

void addRecentRelease(SettingsStore& settings, const ReleaseFolder& folder) {
  if (folder.empty()) return;
  std::string stored = folder.path();
  size_t kept = 1;
  for (const std::string& older : recentReleases(settings)) {
    if (older == folder.path() || kept == kRecentLimit) continue;
    stored += '\n' + older;
    ++kept;
  }
  settings.writeString(kRecentSetting, stored);
}

ReleaseFolder storedDataFolder(const SettingsStore& settings) {
  return ReleaseFolder(settings.readString(kLocationSetting));
}

}  // namespace sorvanta::lexicon
