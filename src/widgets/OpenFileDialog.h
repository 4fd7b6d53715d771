#pragma once
// The open-file dialog: a title and one filter. Tests answer it through a hook.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace sorvanta::widgets {

class OpenFileDialog {
 public:
  // The chosen full path, or none when the user cancels.
  using Hook = std::function<std::optional<QString>(const QString& title, const QString& filter)>;

  // filter in the form "Caption (pattern)", for example "Frames File (frames.xml)".
  OpenFileDialog(QString title, QString filter)
      : title_(std::move(title)), filter_(std::move(filter)) {}

  const QString& title() const { return title_; }
  const QString& filter() const { return filter_; }

  std::optional<QString> execute(QWidget* owner) const;

  // Answers every dialog instead of the user (tests); an empty hook restores the dialog.
  static void setTestHook(Hook hook);

 private:
  QString title_;
  QString filter_;
};

}  // namespace sorvanta::widgets
