// The settings store keeps working text, including bytes above 127, in a private location.
#include <gtest/gtest.h>

#include <QSettings>
#include <QString>

#include "support/TempDir.h"
#include "settings/QtSettingsStore.h"

using sorvanta::settings::QtSettingsStore;

TEST(QtSettingsStore, WritesAndReadsWorkingText) {
  sorvanta::testing::TempDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(dir.path().string()));
  QtSettingsStore store;
  EXPECT_EQ(store.readString("SVLoc"), "");
  store.writeString("SVLoc", "/data/caf\xE9 \x80/");
  EXPECT_EQ(QtSettingsStore().readString("SVLoc"), "/data/caf\xE9 \x80/");
  QSettings raw(QtSettingsStore::kOrganization, QtSettingsStore::kApplication);
  EXPECT_EQ(raw.value("SVLoc").toString(), QString::fromUtf8("/data/caf\xC3\xA9 \xE2\x82\xAC/"));
}
