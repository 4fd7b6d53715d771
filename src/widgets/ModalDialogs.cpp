#include "widgets/ModalDialogs.h"

#include <QDialog>

namespace sorvanta::widgets {

namespace {

ModalHook& modalHook() {
  static ModalHook hook;
  return hook;
}

}  // namespace

int execModal(QDialog& dialog) {
  if (modalHook()) return modalHook()(dialog);
  return dialog.exec();
}

void setModalHook(ModalHook hook) { modalHook() = std::move(hook); }

}  // namespace sorvanta::widgets
