// Entry of the test programs that drive widgets: one QApplication on Qt's offscreen platform,
// with the settings store moved to a temporary folder so the user's settings stay untouched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QString>

#include "support/TempDir.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  sorvanta::testing::TempDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(settings.path().string()));
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
