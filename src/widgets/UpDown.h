#pragma once
// An up-down spinner bound to a text box: the arrows step a position within a range and write
// it into the box as plain decimal text. The box itself takes any text; commands read the text.
#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace sorvanta::widgets {

class UpDown : public QWidget {
  Q_OBJECT

 public:
  UpDown(QLineEdit* associate, QWidget* parent = nullptr);

  void setRange(int minimum, int maximum);
  void setIncrement(int increment) { increment_ = increment; }
  void setWrap(bool wrap) { wrap_ = wrap; }
  // Sets the position (kept within the range) and writes it into the box.
  void setPosition(int position);

  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  int increment() const { return increment_; }
  bool wraps() const { return wrap_; }
  int position() const { return position_; }
  // The position the box shows: its number kept within the range, or the position when the
  // box holds no number.
  int shownPosition() const;
  QLineEdit* associate() const { return associate_; }
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

  // One step up (steps > 0) or down from the box's number, or from the position when the box
  // holds no number; beyond the range it stops at the end, or wraps when wrapping is on.
  void step(int steps);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* associate_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int increment_ = 1;
  int position_ = 0;
  bool wrap_ = false;
};

}  // namespace sorvanta::widgets
