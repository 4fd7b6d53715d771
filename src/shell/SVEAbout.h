#pragma once
// TAboutBox: the about box, also used as the start-up splash (Comments reads the loading note
// and OKButton is hidden).
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace sorvanta::shell {

inline constexpr const char* kLoadingComments = "Loading Sorvanta data. Please wait.";
// The maker's web-site address that the About button shows in Comments.
inline constexpr const char* kMakerAddress = "https://quendry.example/sorvanta";

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* owner = nullptr);

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;
  QLabel* Comments;
  QPushButton* OKButton;
};

}  // namespace sorvanta::shell
