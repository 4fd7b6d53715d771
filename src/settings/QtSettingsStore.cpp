#include "settings/QtSettingsStore.h"

#include <QSettings>
#include <QString>

#include "text/WorkingText.h"

namespace sorvanta::settings {

namespace {

QString toQString(std::string_view working) {
  std::string utf8 = text::workingToUtf8(working);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

void redirectSettingsFromEnvironment() {
  const QString folder = qEnvironmentVariable(kSettingsDirVariable);
  if (folder.isEmpty()) return;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

std::string QtSettingsStore::readString(std::string_view name) const {
  QSettings settings(kOrganization, kApplication);
  QByteArray utf8 = settings.value(toQString(name)).toString().toUtf8();
  return text::utf8ToWorking(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

void QtSettingsStore::writeString(std::string_view name, std::string_view value) {
  QSettings settings(kOrganization, kApplication);
  settings.setValue(toQString(name), toQString(value));
}

}  // namespace sorvanta::settings
