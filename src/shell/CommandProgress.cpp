#include "shell/CommandProgress.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include "shell/SorvantaForm.h"

namespace sorvanta::shell {

CommandsPaused::CommandsPaused(std::vector<QWidget*> controls) {
  for (QWidget* control : controls) {
    paused_.emplace_back(control, control->isEnabled());
    control->setEnabled(false);
  }
}

CommandsPaused::~CommandsPaused() {
  for (const auto& [control, wasEnabled] : paused_) control->setEnabled(wasEnabled);
}

bool Repainter::repaint(const std::vector<QWidget*>& controls) {
  if (clock_.elapsed() < kIntervalMs) return false;
  for (QWidget* control : controls) control->repaint();
  clock_.restart();
  return true;
}

CommandProgress::CommandProgress(TSVExplorer& form, std::vector<Counter> counters,
                                 std::vector<QWidget*> repainted, bool letEventsThrough)
    : form_(form),
      counters_(std::move(counters)),
      repainted_(std::move(repainted)),
      letEventsThrough_(letEventsThrough),
      paused_(pausedControls(form)) {
  form_.RunningCommand = this;
  form_.CommandProgressBar->show();
  form_.CancelButton->show();
  form_.CancelButton->setEnabled(true);
}

CommandProgress::~CommandProgress() {
  form_.RunningCommand = nullptr;
  form_.CommandProgressBar->hide();
  form_.CancelButton->hide();
}

void CommandProgress::count(std::string_view counter, int64_t value, std::string_view /*item*/) {
  for (const Counter& shown : counters_)
    if (shown.name == counter) shown.edit->setText(QString::number(value));
  if (letEventsThrough_) {
    repainter_.repaint(repainted_);
    QCoreApplication::processEvents();
  } else if (repainter_.repaint(repainted_)) {
    QCoreApplication::processEvents();
  }
}

std::vector<QWidget*> CommandProgress::pausedControls(const TSVExplorer& form) {
  std::vector<QWidget*> controls = form.commandControls();
  controls.push_back(form.MenuBar);
  return controls;
}

}  // namespace sorvanta::shell
