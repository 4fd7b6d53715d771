#pragma once
// Letting the window system catch up inside a running command.
class QWidget;

namespace sorvanta::widgets {

// Handles every waiting event, user input included.
void processEvents();
// Paints widget now and lets the window system show it, without handling user input.
void repaintNow(QWidget& widget);

}  // namespace sorvanta::widgets
