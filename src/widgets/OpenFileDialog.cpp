#include "widgets/OpenFileDialog.h"

#include <QFileDialog>

namespace sorvanta::widgets {

namespace {

OpenFileDialog::Hook& testHook() {
  static OpenFileDialog::Hook hook;
  return hook;
}

}  // namespace

void OpenFileDialog::setTestHook(Hook hook) { testHook() = std::move(hook); }

std::optional<QString> OpenFileDialog::execute(QWidget* owner) const {
  if (testHook()) return testHook()(title_, filter_);
  const QString chosen = QFileDialog::getOpenFileName(owner, title_, QString(), filter_);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

}  // namespace sorvanta::widgets
