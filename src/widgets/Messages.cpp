#include "widgets/Messages.h"

#include <QMessageBox>
#include <QPointer>

#include "widgets/ModalDialogs.h"
#include "widgets/QtText.h"

namespace sorvanta::widgets {

namespace {

Messages::Hook& testHook() {
  static Messages::Hook hook;
  return hook;
}

}  // namespace

void Messages::setTestHook(Hook hook) { testHook() = std::move(hook); }

void Messages::show(const QString& caption, const QString& text) const {
  if (testHook()) {
    testHook()(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner_);
  // Start-up messages appear while the splash stays on top; the message must not hide under it.
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box.exec();
}

void Messages::show(std::string_view caption, std::string_view text) const {
  show(toQString(caption), toQString(text));
}

bool Messages::ask(std::string_view caption, std::string_view text) const {
  QMessageBox box(QMessageBox::Question, toQString(caption), toQString(text),
                  QMessageBox::Yes | QMessageBox::No, owner_);
  box.setDefaultButton(QMessageBox::No);
  return execModal(box) == QMessageBox::Yes;
}

}  // namespace sorvanta::widgets
