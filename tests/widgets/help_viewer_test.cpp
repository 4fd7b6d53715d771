// The help window: a page per help context, full-text search, the walk to the nearest help
// context and F1, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <memory>

#include "widgets/HelpViewer.h"

using sorvanta::widgets::HelpViewer;

namespace {

// One application for the whole run, also when another test file of the same executable
// made it first; it is kept until the process ends.
void ensureApplication() {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "help_viewer_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

const QString kContents = QStringLiteral("Contents");

class HelpViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensureApplication();
    owner_ = std::make_unique<QWidget>();
  }

  HelpViewer& viewer() { return HelpViewer::instance(owner_.get()); }
  QTextBrowser* browser() { return viewer().findChild<QTextBrowser*>("HelpBrowser"); }
  QListWidget* topicList() { return viewer().findChild<QListWidget*>("HelpTopicList"); }

  QStringList search(const QString& query) {
    viewer().findChild<QLineEdit*>("HelpSearchEdit")->setText(query);
    QStringList titles;
    for (int row = 0; row < topicList()->count(); ++row) titles << topicList()->item(row)->text();
    return titles;
  }

  QString shownTitle() { return browser()->documentTitle(); }

  std::unique_ptr<QWidget> owner_;  // owns the help window, so every test starts afresh
};

TEST_F(HelpViewerTest, EveryContextShowsItsTopicAndOthersTheContents) {
  const struct {
    int context;
    const char* title;
  } cases[] = {
      {15000, "The Sorvanta Explorer window"},
      {15010, "The Frames tab"},
      {15020, "The Frame Elements tab"},
      {15030, "The tabs and the Lexical Units tab"},
      {15040, "The Sample Selection tab"},
      {15050, "The Search tab"},
      {15140, "Feedback"},
      {0, "Contents"},
      {15060, "Contents"},
      {-15000, "Contents"},
  };
  for (const auto& c : cases) {
    viewer().showContext(c.context == 15010 ? 15020 : 15010);  // another page first
    viewer().showContext(c.context);
    EXPECT_EQ(shownTitle(), QString::fromLatin1(c.title)) << c.context;
    EXPECT_TRUE(viewer().isVisible()) << c.context;
    ASSERT_NE(topicList()->currentItem(), nullptr) << c.context;
    EXPECT_EQ(topicList()->currentItem()->text(), QString::fromLatin1(c.title)) << c.context;
  }
}

TEST_F(HelpViewerTest, ShowContentsClearsTheSearchAndListsEveryPage) {
  search(QStringLiteral("preposition"));
  viewer().showContents();
  EXPECT_EQ(shownTitle(), kContents);
  EXPECT_TRUE(viewer().findChild<QLineEdit*>("HelpSearchEdit")->text().isEmpty());
  const QStringList pages = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
  ASSERT_FALSE(pages.isEmpty());
  EXPECT_EQ(topicList()->count(), pages.size());
  EXPECT_EQ(topicList()->item(0)->text(), kContents);
}

TEST_F(HelpViewerTest, SearchMatchesPageTextIgnoringCase) {
  viewer().showContents();
  // The maker's address is on the feedback page only.
  EXPECT_EQ(search(QStringLiteral("QUENDRY.example")), QStringList{QStringLiteral("Feedback")});
  EXPECT_EQ(search(QStringLiteral("  sorvanta   LOCATION ")),
            QStringList{QStringLiteral("The data folder")});
  // Every word must occur: "Target" is on several pages, "DNI" on two of them.
  EXPECT_GE(search(QStringLiteral("target")).size(), 3);
  EXPECT_EQ(search(QStringLiteral("target dni")),
            (QStringList{QStringLiteral("The tabs and the Lexical Units tab"),
                         QStringLiteral("The Search tab")}));
  // Markup and words that no page holds find nothing.
  EXPECT_TRUE(search(QStringLiteral("href")).isEmpty());
  EXPECT_TRUE(search(QStringLiteral("zyxwvut")).isEmpty());
  // Every topic links back to the contents, yet the contents page is not a search result.
  const qsizetype pages =
      QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}).size();
  const QStringList linked = search(QStringLiteral("contents"));
  EXPECT_EQ(linked.size(), pages - 1);
  EXPECT_FALSE(linked.contains(kContents));
  EXPECT_EQ(search(QString()).size(), pages);
}

TEST_F(HelpViewerTest, ChoosingASearchResultShowsItsPage) {
  viewer().showContents();
  ASSERT_EQ(search(QStringLiteral("svlex.dmp")).size(), 2);
  QListWidgetItem* item = topicList()->item(1);
  topicList()->itemClicked(item);
  EXPECT_EQ(shownTitle(), item->text());
  EXPECT_EQ(browser()->textCursor().selectedText(), QStringLiteral("svlex.dmp"));
}

TEST_F(HelpViewerTest, PagesLinkOnlyToEachOtherAndLoadNothingFromOutside) {
  HelpViewer::instance(owner_.get());  // registers the pages
  const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
  const QStringList pages = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
  for (const QString& page : pages) {
    QFile file(QStringLiteral(":/help/") + page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive))
        << page.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("src="), Qt::CaseInsensitive)) << page.toStdString();
    for (auto it = link.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      if (target.startsWith(QStringLiteral("https://"))) {
        EXPECT_EQ(page, QStringLiteral("feedback.html")) << target.toStdString();
        continue;
      }
      EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target))
          << page.toStdString() << " -> " << target.toStdString();
    }
  }
}

TEST_F(HelpViewerTest, FollowingALinkSelectsItsTopic) {
  viewer().showContents();
  browser()->setSource(QUrl(QStringLiteral("data-folder.html")));
  EXPECT_EQ(shownTitle(), QStringLiteral("The data folder"));
  ASSERT_NE(topicList()->currentItem(), nullptr);
  EXPECT_EQ(topicList()->currentItem()->text(), QStringLiteral("The data folder"));
}

TEST_F(HelpViewerTest, ContextOfWalksUpToTheNearestNonZeroContext) {
  QWidget window;
  window.setProperty("helpContext", 15000);
  auto* tabs = new QTabWidget(&window);
  tabs->setProperty("helpContext", 15030);
  auto* framesPage = new QWidget;
  framesPage->setProperty("helpContext", 15010);
  auto* inFrames = new QLineEdit(framesPage);
  auto* plainPage = new QWidget;
  auto* inPlain = new QLineEdit(plainPage);
  auto* zeroPage = new QWidget;
  zeroPage->setProperty("helpContext", 0);
  auto* inZero = new QLineEdit(zeroPage);
  auto* textPage = new QWidget;
  textPage->setProperty("helpContext", QStringLiteral("frames"));
  auto* inText = new QLineEdit(textPage);
  tabs->addTab(framesPage, QStringLiteral("Frames"));
  tabs->addTab(plainPage, QStringLiteral("Lexical Units"));
  tabs->addTab(zeroPage, QStringLiteral("Zero"));
  tabs->addTab(textPage, QStringLiteral("Text"));
  auto* feedback = new QPushButton(&window);
  feedback->setProperty("helpContext", 15140);
  QWidget orphan;

  const struct {
    const QWidget* widget;
    int context;
  } cases[] = {
      {inFrames, 15010}, {framesPage, 15010}, {inPlain, 15030}, {inZero, 15030}, {inText, 15030},
      {tabs, 15030},     {feedback, 15140},   {&window, 15000}, {&orphan, 0},    {nullptr, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(HelpViewer::contextOf(c.widget), c.context);
}

TEST_F(HelpViewerTest, F1OpensTheTopicOfTheFocusedControl) {
  QWidget window;
  window.setProperty("helpContext", 15000);
  auto* layout = new QVBoxLayout(&window);
  auto* tabs = new QTabWidget;
  tabs->setProperty("helpContext", 15030);
  auto* framesPage = new QWidget;
  framesPage->setProperty("helpContext", 15010);
  auto* frameName = new QLineEdit(framesPage);
  auto* unitsPage = new QWidget;
  auto* findBox = new QLineEdit(unitsPage);
  tabs->addTab(framesPage, QStringLiteral("Frames"));
  tabs->addTab(unitsPage, QStringLiteral("Lexical Units"));
  auto* help = new QPushButton(QStringLiteral("Help"));
  help->setProperty("helpContext", 15000);
  auto* feedback = new QPushButton(QStringLiteral("Feedback"));
  feedback->setProperty("helpContext", 15140);
  layout->addWidget(tabs);
  layout->addWidget(help);
  layout->addWidget(feedback);
  sorvanta::widgets::installHelpShortcut(&window);
  window.show();

  const struct {
    QWidget* page;
    QWidget* focused;
    const char* title;
  } cases[] = {
      {framesPage, frameName, "The Frames tab"},
      {unitsPage, findBox, "The tabs and the Lexical Units tab"},
      {nullptr, feedback, "Feedback"},
      {nullptr, help, "The Sorvanta Explorer window"},
  };
  for (const auto& c : cases) {
    if (c.page != nullptr) tabs->setCurrentWidget(c.page);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    c.focused->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), c.focused);
    QTest::keyClick(c.focused, Qt::Key_F1);
    // The window belongs to the main window that installed the shortcut.
    EXPECT_EQ(HelpViewer::instance(nullptr).parentWidget(), &window);
    EXPECT_EQ(
        HelpViewer::instance(nullptr).findChild<QTextBrowser*>("HelpBrowser")->documentTitle(),
        QString::fromLatin1(c.title));
  }
}

TEST_F(HelpViewerTest, OneWindowWhileItsOwnerLives) {
  HelpViewer& first = HelpViewer::instance(owner_.get());
  QWidget other;
  EXPECT_EQ(&HelpViewer::instance(&other), &first);
  EXPECT_EQ(first.parentWidget(), owner_.get());
  owner_.reset();  // takes the window with it
  HelpViewer& second = HelpViewer::instance(&other);
  EXPECT_EQ(second.parentWidget(), &other);
  second.showTopicFor(nullptr);
  EXPECT_EQ(second.findChild<QTextBrowser*>("HelpBrowser")->documentTitle(), kContents);
}

}  // namespace
