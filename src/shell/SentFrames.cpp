#include "shell/SentFrames.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include "widgets/QtText.h"
#include "widgets/ReportListView.h"

namespace sorvanta::shell {

TFormSentFEs::TFormSentFEs(QWidget* owner) : QDialog(owner) {
  setObjectName("FormSentFEs");
  setWindowTitle("Sentence Frame Elements");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(585, 306);

  LabelFrame = new QLabel("Frame:", this);
  LabelFrame->setObjectName("LabelFrame");
  LabelFrame->setGeometry(8, 12, 40, 16);
  EditSentFr = new QLineEdit(this);
  EditSentFr->setObjectName("EditSentFr");
  EditSentFr->setGeometry(52, 8, 225, 22);
  LabelFrame->setBuddy(EditSentFr);

  LabelLexUnit = new QLabel("Lexical Unit:", this);
  LabelLexUnit->setObjectName("LabelLexUnit");
  LabelLexUnit->setGeometry(292, 12, 72, 16);
  EditSentLexUnit = new QLineEdit(this);
  EditSentLexUnit->setObjectName("EditSentLexUnit");
  EditSentLexUnit->setGeometry(368, 8, 209, 22);
  LabelLexUnit->setBuddy(EditSentLexUnit);

  LabelSent = new QLabel("Sentence: ", this);
  LabelSent->setObjectName("LabelSent");
  LabelSent->setGeometry(8, 36, 80, 16);
  MemoSent = new QPlainTextEdit(this);
  MemoSent->setObjectName("MemoSent");
  MemoSent->setGeometry(8, 54, 569, 49);
  LabelSent->setBuddy(MemoSent);

  FEListView = new widgets::ReportListView(this);
  FEListView->setObjectName("FEListView");
  FEListView->setColumns({{"Frame Element", 100}, {"Sentence Text", 446}}, false);
  FEListView->setShowGrid(true);
  FEListView->setGeometry(8, 110, 569, 152);

  BitBtnClose =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), "&Close", this);
  BitBtnClose->setObjectName("BitBtnClose");
  BitBtnClose->setGeometry(255, 272, 75, 25);
  connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormSentFEs::fill(const views::SentenceFrameElements& content) {
  EditSentFr->setText(widgets::toQString(content.frame, content.frameUnicode));
  EditSentLexUnit->setText(widgets::toQString(content.lexicalUnit, content.lexicalUnitUnicode));
  MemoSent->appendPlainText(widgets::toQString(content.sentence, content.sentenceUnicode));
  std::vector<lexicon::ListRow> rows;
  rows.reserve(content.rows.size());
  for (const views::SentenceLabelRow& label : content.rows) {
    lexicon::ListRow& row = rows.emplace_back();
    row.addCell({label.caption, label.captionUnicode});
    row.addCell({label.text, label.textUnicode});
  }
  FEListView->setRows(std::move(rows));
}

}  // namespace sorvanta::shell
