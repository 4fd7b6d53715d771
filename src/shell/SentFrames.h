#pragma once
// TFormSentFEs: the sentence frame-element dialog, listing the target and each frame-element
// label of one sentence with the part of the sentence it covers.
#include <QDialog>

#include "views/SentenceFrameElements.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace sorvanta::widgets {
class ReportListView;
}

namespace sorvanta::shell {

class TFormSentFEs : public QDialog {
  Q_OBJECT

 public:
  explicit TFormSentFEs(QWidget* owner = nullptr);

  // Writes the frame, the lexical unit, the sentence and one list row per label.
  void fill(const views::SentenceFrameElements& content);

  QLabel* LabelFrame;
  QLineEdit* EditSentFr;
  QLabel* LabelLexUnit;
  QLineEdit* EditSentLexUnit;
  QLabel* LabelSent;
  QPlainTextEdit* MemoSent;
  widgets::ReportListView* FEListView;
  QPushButton* BitBtnClose;
};

}  // namespace sorvanta::shell
