#include "shell/ProgramIcon.h"

#include <QApplication>
#include <QIcon>
#include <QSize>
#include <QString>

// Q_INIT_RESOURCE declares a global function, so it cannot be used inside a namespace.
static void registerIconResources() { Q_INIT_RESOURCE(icons); }

namespace sorvanta::shell {

void applyProgramIcon() {
  registerIconResources();
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QString(":/icons/%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);
}

}  // namespace sorvanta::shell
