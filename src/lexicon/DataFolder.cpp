#include "lexicon/DataFolder.h"

#include "lexicon/ReleaseLayout.h"

namespace sorvanta::lexicon {

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
  const size_t at = chosen->find(kFramesRelativePath);
  if (at == std::string::npos) {
    tell(kLocateFrXmlMessage);
    return std::nullopt;
  }
  std::string folder = *chosen;
  folder.erase(at, kFramesRelativePath.size());
  platform.settings.writeString(kLocationSetting, folder);
  return ReleaseFolder(std::move(folder));
}

ReleaseFolder storedDataFolder(const SettingsStore& settings) {
  return ReleaseFolder(settings.readString(kLocationSetting));
}

}  // namespace sorvanta::lexicon
