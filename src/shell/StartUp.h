#pragma once
// Program start: where the settings are kept, and the windows created at entry.

namespace sorvanta::shell {

// The environment variable that, when set, names a folder to keep the settings in instead of
// the user's own store (scripts/run points it at a folder of the build).
inline constexpr const char* kSettingsDirVariable = "SORVANTA_SETTINGS_DIR";

// Redirects the settings store to the folder named by SORVANTA_SETTINGS_DIR, when it is set.
// Must run before anything reads a setting.
void redirectSettingsFromEnvironment();

}  // namespace sorvanta::shell
