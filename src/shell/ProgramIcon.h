#pragma once
// The application icon (dist/icons), compiled into the program.

namespace sorvanta::shell {

// Makes the application icon every window's icon, the about box's included; call it after the
// QApplication is made and before the windows are.
void applyProgramIcon();

}  // namespace sorvanta::shell
