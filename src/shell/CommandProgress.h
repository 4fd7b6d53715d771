#pragma once
// A command's progress in the main window: its counters in the edits designed for them, the
// status bar's progress bar and Cancel, and the other commands paused while it runs.
#include <QElapsedTimer>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Progress.h"

class QLineEdit;
class QWidget;

namespace sorvanta::shell {

class TSVExplorer;

// Disables the controls that start commands while a command lets events through, so no command
// runs inside another; each control gets its former state back afterwards.
class CommandsPaused {
 public:
  explicit CommandsPaused(std::vector<QWidget*> controls);
  ~CommandsPaused();
  CommandsPaused(const CommandsPaused&) = delete;
  CommandsPaused& operator=(const CommandsPaused&) = delete;

 private:
  std::vector<std::pair<QWidget*, bool>> paused_;
};

// Repaints controls at once, since long commands do not return to the event loop; at most
// every few hundredths of a second, as repainting the whole window for each of thousands of
// items would cost more than the work itself.
class Repainter {
 public:
  Repainter() { clock_.start(); }
  // True when it repainted.
  bool repaint(const std::vector<QWidget*>& controls);

 private:
  static constexpr qint64 kIntervalMs = 40;
  QElapsedTimer clock_;
};

// Every command's progress in the window: each counter the command reports is shown in the
// tab's edit that the command designs for it (counters without one are not shown), the given
// controls are repainted, and waiting events are let through — at every count for a command
// designed so, else every few hundredths of a second — so the status bar's Cancel button
// works. For its lifetime the status bar shows a progress bar with Cancel, and the menu bar
// and the controls that start commands are disabled.
class CommandProgress : public text::Progress {
 public:
  struct Counter {
    std::string_view name;
    QLineEdit* edit;
  };
  CommandProgress(TSVExplorer& form, std::vector<Counter> counters,
                  std::vector<QWidget*> repainted, bool letEventsThrough = false);
  ~CommandProgress() override;
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

  void count(std::string_view counter, int64_t value, std::string_view item) override;

 protected:
  TSVExplorer& form_;

 private:
  static std::vector<QWidget*> pausedControls(const TSVExplorer& form);

  std::vector<Counter> counters_;
  std::vector<QWidget*> repainted_;
  bool letEventsThrough_;
  Repainter repainter_;
  CommandsPaused paused_;
};

}  // namespace sorvanta::shell
