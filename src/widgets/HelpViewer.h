#pragma once
// The program's help window: the topics compiled in from help/*.html, a contents list with
// full-text search, and a page per help context. F1 opens the focused control's topic.
#include <QString>
#include <QWidget>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace sorvanta::widgets {

// Registers the compiled-in help pages; needed once because they live in a static library.
void initHelpResources();

class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  // The one help window of the program, created on first use as a window of owner (which
  // then owns it; a later call after the owner is gone creates it anew).
  static HelpViewer& instance(QWidget* owner);

  void showContents();
  // Shows the topic of a help context; a context without a topic shows the contents.
  void showContext(int context);
  // The "helpContext" property (int) of widget or of its nearest parent that has a
  // non-zero one; 0 when none does.
  static int contextOf(const QWidget* widget);
  void showTopicFor(const QWidget* focused);

 private:
  struct Topic {
    int context;  // 0: reachable from the contents only
    QString file;
    QString title;
    QString text;  // plain text of the page, for the search
  };

  explicit HelpViewer(QWidget* owner);
  void showPage(const QString& file);
  void listTopics(const QString& query);
  void present();

  std::vector<Topic> topics_;
  QLineEdit* search_;
  QListWidget* list_;
  QTextBrowser* browser_;
};

// Makes F1 anywhere in mainWindow open the topic of the focused control.
void installHelpShortcut(QWidget* mainWindow);

}  // namespace sorvanta::widgets
