#include "widgets/UpDown.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "text/IntegerText.h"
#include "widgets/QtText.h"

namespace sorvanta::widgets {

UpDown::UpDown(QLineEdit* associate, QWidget* parent)
    : QWidget(parent),
      associate_(associate),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(16);
    button->setMinimumHeight(0);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, [this] { step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
  if (associate_) {
    associate_->installEventFilter(this);
    setFixedHeight(associate_->sizeHint().height());
  }
}

void UpDown::setRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  position_ = std::clamp(position_, minimum_, maximum_);
}

void UpDown::setPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
  if (associate_) associate_->setText(QString::number(position_));
}

int UpDown::shownPosition() const {
  if (associate_) {
    if (auto typed = text::tryStrToInt(toWorking(associate_->text())))
      return std::clamp<int>(*typed, minimum_, maximum_);
  }
  return position_;
}

void UpDown::step(int steps) {
  int64_t next = shownPosition() + static_cast<int64_t>(steps) * increment_;
  if (next > maximum_) next = wrap_ ? minimum_ : maximum_;
  if (next < minimum_) next = wrap_ ? maximum_ : minimum_;
  setPosition(static_cast<int>(next));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  // The arrow keys in the bound box step like the arrows do.
  if (watched == associate_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace sorvanta::widgets
