#pragma once
// The per-user settings store over QSettings: organization "Quendry", application "XML"
// (the key "Software\Quendry\XML"), values held as working text.
#include <string>
#include <string_view>

#include "lexicon/DataFolder.h"

namespace sorvanta::widgets {

class QtSettingsStore : public lexicon::SettingsStore {
 public:
  static constexpr const char* kOrganization = "Quendry";
  static constexpr const char* kApplication = "XML";

  std::string readString(std::string_view name) const override;
  void writeString(std::string_view name, std::string_view value) override;
};

}  // namespace sorvanta::widgets
