#pragma once
// Modal message boxes with an OK button only, owned by the main window. Tests answer them
// through a hook instead of blocking.
#include <QString>
#include <functional>
#include <string_view>

class QWidget;

namespace sorvanta::widgets {

class Messages {
 public:
  using Hook = std::function<void(const QString& caption, const QString& text)>;

  explicit Messages(QWidget* owner) : owner_(owner) {}

  // Shows text under caption and waits for OK; with a hook set, hands both to it instead.
  void show(const QString& caption, const QString& text) const;
  // Working-text variant.
  void show(std::string_view caption, std::string_view text) const;

  // Asks text under caption with Yes and No (No the default) and waits; true for Yes. The box
  // runs through execModal, so tests answer it with the modal hook.
  bool ask(std::string_view caption, std::string_view text) const;

  // Replaces the box for every Messages (tests); an empty hook restores the box.
  static void setTestHook(Hook hook);

 private:
  QWidget* owner_;
};

}  // namespace sorvanta::widgets
