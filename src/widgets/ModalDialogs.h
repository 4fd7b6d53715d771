#pragma once
// Showing a dialog modally, through a hook that tests replace to inspect the filled dialog
// instead of blocking on it.
#include <functional>

class QDialog;

namespace sorvanta::widgets {

using ModalHook = std::function<int(QDialog& dialog)>;

// Runs dialog.exec(), or the hook when one is set; returns the dialog's result.
int execModal(QDialog& dialog);

// Sets the hook (tests); an empty hook restores exec().
void setModalHook(ModalHook hook);

}  // namespace sorvanta::widgets
