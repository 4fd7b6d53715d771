#include "lexicon/DataFolder.h"

#include "lexicon/ReleaseLayout.h"

namespace sorvanta::lexicon {

namespace {

DataFolderChoice choiceOf(std::string folder) {
  std::string frames = framesDocumentPath(folder);
  return {std::move(folder), std::move(frames)};
}

}  // namespace

std::optional<DataFolderChoice> resolveDataFolder(const DataFolderPlatform& platform) {
  const std::string& beside = platform.executableFolder;
  if (platform.fileExists && platform.fileExists(framesDocumentPath(beside))) {
    platform.settings.writeString(kLocationSetting, beside);
    return choiceOf(beside);
  }

  // The stored folder is trusted without checking that it still holds the frames document.
  std::string stored = platform.settings.readString(kLocationSetting);
  if (!stored.empty()) return choiceOf(std::move(stored));

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
  return choiceOf(std::move(folder));
}

}  // namespace sorvanta::lexicon
