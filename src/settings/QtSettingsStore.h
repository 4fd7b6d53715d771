#pragma once
// The per-user settings store over QSettings, shared by the window and the command line:
// organization "Quendry", application "XML" (the key "Software\Quendry\XML"), values held as
// working text.
#include <string>
#include <string_view>

#include "lexicon/DataFolder.h"

namespace sorvanta::settings {

// The environment variable that, when set, names a folder to keep the settings in instead of
// the user's own store (scripts/run points it at a folder of the build).
inline constexpr const char* kSettingsDirVariable = "SORVANTA_SETTINGS_DIR";

// Redirects the settings store to the folder named by SORVANTA_SETTINGS_DIR, when it is set.
// Both front ends call it before they read a setting.
void redirectSettingsFromEnvironment();

class QtSettingsStore : public lexicon::SettingsStore {
 public:
  static constexpr const char* kOrganization = "Quendry";
  static constexpr const char* kApplication = "XML";

  std::string readString(std::string_view name) const override;
  void writeString(std::string_view name, std::string_view value) override;
};

}  // namespace sorvanta::settings
