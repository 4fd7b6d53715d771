#include "widgets/EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

namespace sorvanta::widgets {

void processEvents() { QCoreApplication::processEvents(); }

void repaintNow(QWidget& widget) {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  widget.repaint();
}

}  // namespace sorvanta::widgets
