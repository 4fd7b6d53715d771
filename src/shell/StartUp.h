#pragma once
// Program start: where the settings are kept, and the windows created at entry.

#include "widgets/QtSettingsStore.h"

namespace sorvanta::shell {

// SORVANTA_SETTINGS_DIR and its redirection live with the settings store, which the command
// line shares.
using widgets::kSettingsDirVariable;
using widgets::redirectSettingsFromEnvironment;

}  // namespace sorvanta::shell
