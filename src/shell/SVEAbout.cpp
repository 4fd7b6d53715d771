#include "shell/SVEAbout.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "shell/ProgramOptions.h"

namespace sorvanta::shell {

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
  setObjectName("AboutBox");
  setWindowTitle("Sorvanta Explorer");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(298, 213);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Sunken);
  Panel1->setGeometry(8, 8, 282, 161);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setGeometry(8, 8, 48, 48);
  const QIcon icon = QApplication::windowIcon().isNull()
                         ? style()->standardIcon(QStyle::SP_FileDialogDetailedView)
                         : QApplication::windowIcon();
  ProgramIcon->setPixmap(icon.pixmap(48, 48));

  ProductName = new QLabel("Sorvanta Explorer", Panel1);
  ProductName->setObjectName("ProductName");
  ProductName->setGeometry(72, 12, 200, 18);
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);

  Version = new QLabel("Version 2.0", Panel1);
  Version->setObjectName("Version");
  Version->setGeometry(72, 36, 200, 18);

  Copyright = new QLabel(QString::fromStdString(aboutVersionLine()), Panel1);
  Copyright->setObjectName("Copyright");
  Copyright->setGeometry(8, 72, 266, 18);

  Comments = new QLabel(kLoadingComments, Panel1);
  Comments->setObjectName("Comments");
  Comments->setWordWrap(true);
  Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Comments->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Comments->setGeometry(8, 96, 266, 57);

  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  OKButton->setGeometry(111, 178, 75, 25);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace sorvanta::shell
