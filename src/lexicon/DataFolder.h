#pragma once
// Finding the release's data folder at start-up: the executable's own folder when it holds the
// frames document, else the folder remembered in the settings store, else the user's choice of
// a frames document. Pure logic over the platform operations it is handed; loading the
// document is the caller's job.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/ReleaseFolder.h"

namespace sorvanta::lexicon {

// Caption of the start-up messages.
inline constexpr std::string_view kProgramCaption = "Sorvanta Explorer";
// The open-file dialog that asks for the frames document.
inline constexpr std::string_view kChooserTitle = "Sorvanta Location";
inline constexpr std::string_view kChooserFilterCaption = "Sorvanta Frames File (frames.xml)";
inline constexpr std::string_view kChooserFileName = "frames.xml";
// Name of the setting that remembers the data folder.
inline constexpr std::string_view kLocationSetting = "SVLoc";
// Shown when the user cancels the dialog.
inline constexpr std::string_view kLocateFramesMessage =
    "Please close the program, start again, and locate \"frames.xml\".";
// Shown when the chosen file does not lie in a folder named exactly frXML.
inline constexpr std::string_view kLocateFrXmlMessage =
    "Please close the program, start again, and locate \"frXML\\frames.xml\".";

// Per-user string settings; a value never written reads as empty text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string readString(std::string_view name) const = 0;
  virtual void writeString(std::string_view name, std::string_view value) = 0;
};

struct DataFolderPlatform {
  std::string executableFolder;  // working text, ending with '/'
  SettingsStore& settings;
  std::function<bool(std::string_view path)> fileExists;
  // Runs the open-file dialog; the full path chosen, or none when the user cancels.
  std::function<std::optional<std::string>()> chooseFramesFile;
  // A modal message with an OK button only.
  std::function<void(std::string_view caption, std::string_view text)> showMessage;
};

// Resolves the data folder, rewriting the stored folder when it came from the executable's
// folder or the dialog. None after one of the two messages was shown: start-up stops there.
// The caller loads the frames document, folder.frames().
std::optional<ReleaseFolder> resolveDataFolder(const DataFolderPlatform& platform);

// The folder the settings remember (the window stores it at start-up), or no folder.
ReleaseFolder storedDataFolder(const SettingsStore& settings);

// The release folder of a chosen frames document: the path before its "frXML/frames.xml";
// none when the path does not hold that part.
std::optional<ReleaseFolder> releaseOfFramesFile(std::string_view chosen);

// Releases opened recently, most recent first, kept under kRecentSetting one per line.
inline constexpr std::string_view kRecentSetting = "RecentReleases";
inline constexpr size_t kRecentLimit = 8;
std::vector<std::string> recentReleases(const SettingsStore& settings);
// Puts folder first among the recent releases (at most kRecentLimit, each once).
void addRecentRelease(SettingsStore& settings, const ReleaseFolder& folder);
// Stores folder as the data folder and puts it first among the recent releases.
void rememberRelease(SettingsStore& settings, const ReleaseFolder& folder);

}  // namespace sorvanta::lexicon
