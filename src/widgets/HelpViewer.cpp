#include "widgets/HelpViewer.h"

#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

// Q_INIT_RESOURCE declares a global function, so it cannot be used inside a namespace.
static void registerHelpResources() { Q_INIT_RESOURCE(help); }

namespace sorvanta::widgets {

namespace {

constexpr const char* kContentsFile = "index.html";

struct TopicFile {
  int context;
  const char* file;
};

// Contents order; the contents page itself comes first and is left out of searches.
constexpr TopicFile kTopicFiles[] = {
    {0, "index.html"},
    {15000, "overview.html"},
    {15010, "frames-tab.html"},
    {15030, "lexical-units-tab.html"},
    {15020, "frame-elements-tab.html"},
    {15040, "sample-selection-tab.html"},
    {15050, "search-tab.html"},
    {0, "data-folder.html"},
    {0, "output-files.html"},
    {15140, "feedback.html"},
};

QUrl pageUrl(const QString& file) { return QUrl(QStringLiteral("qrc:/help/") + file); }

QPointer<HelpViewer>& theViewer() {
  static QPointer<HelpViewer> viewer;
  return viewer;
}

}  // namespace

void initHelpResources() {
  static const bool registered = (registerHelpResources(), true);
  (void)registered;
}

HelpViewer& HelpViewer::instance(QWidget* owner) {
  initHelpResources();
  QPointer<HelpViewer>& viewer = theViewer();
  if (viewer.isNull()) viewer = new HelpViewer(owner);
  return *viewer;
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(tr("Sorvanta Explorer Help"));
  resize(780, 540);

  for (const TopicFile& entry : kTopicFiles) {
    const QString file = QString::fromLatin1(entry.file);
    QFile page(QStringLiteral(":/help/") + file);
    if (!page.open(QIODevice::ReadOnly)) continue;  // a page missing from help.qrc
    QTextDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    topics_.push_back({entry.context, file, document.metaInformation(QTextDocument::DocumentTitle),
                       document.toPlainText()});
  }

  search_ = new QLineEdit;
  search_->setObjectName(QStringLiteral("HelpSearchEdit"));
  search_->setPlaceholderText(tr("Search"));
  search_->setClearButtonEnabled(true);
  list_ = new QListWidget;
  list_->setObjectName(QStringLiteral("HelpTopicList"));
  browser_ = new QTextBrowser;
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);

  auto* side = new QWidget;
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(search_);
  sideLayout->addWidget(list_);
  auto* splitter = new QSplitter;
  splitter->addWidget(side);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 560});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);

  connect(search_, &QLineEdit::textChanged, this, &HelpViewer::listTopics);
  auto open = [this](QListWidgetItem* item) {
    showPage(item->data(Qt::UserRole).toString());
    const QStringList words = search_->text().simplified().split(u' ', Qt::SkipEmptyParts);
    if (!words.isEmpty()) browser_->find(words.first());  // mark where the match is
  };
  connect(list_, &QListWidget::itemClicked, this, open);
  connect(list_, &QListWidget::itemActivated, this, open);
  // Keeps the list's selection on the page shown, also after a link was followed.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    const QString file = url.fileName();
    for (int row = 0; row < list_->count(); ++row) {
      if (list_->item(row)->data(Qt::UserRole).toString() == file) {
        list_->setCurrentRow(row);
        return;
      }
    }
    list_->clearSelection();
  });

  listTopics(QString());
}

void HelpViewer::showContents() {
  search_->clear();
  showPage(QString::fromLatin1(kContentsFile));
  present();
}

void HelpViewer::showContext(int context) {
  const auto topic = std::find_if(topics_.begin(), topics_.end(), [context](const Topic& t) {
    return t.context != 0 && t.context == context;
  });
  if (topic == topics_.end()) {
    showContents();
    return;
  }
  search_->clear();
  showPage(topic->file);
  present();
}

int HelpViewer::contextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    bool isInt = false;
    const int context = w->property("helpContext").toInt(&isInt);
    if (isInt && context != 0) return context;
  }
  return 0;
}

void HelpViewer::showTopicFor(const QWidget* focused) { showContext(contextOf(focused)); }

void HelpViewer::showPage(const QString& file) { browser_->setSource(pageUrl(file)); }

// Lists the topics whose text holds every word of the query, ignoring case; all topics,
// the contents first, when the query is empty.
void HelpViewer::listTopics(const QString& query) {
  const QStringList words = query.simplified().split(u' ', Qt::SkipEmptyParts);
  list_->clear();
  for (const Topic& topic : topics_) {
    if (!words.isEmpty()) {
      if (topic.file == QLatin1String(kContentsFile)) continue;
      const bool all = std::all_of(words.begin(), words.end(), [&topic](const QString& word) {
        return topic.text.contains(word, Qt::CaseInsensitive);
      });
      if (!all) continue;
    }
    auto* item = new QListWidgetItem(topic.title, list_);
    item->setData(Qt::UserRole, topic.file);
    if (browser_->source().fileName() == topic.file) list_->setCurrentItem(item);
  }
}

void HelpViewer::present() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void installHelpShortcut(QWidget* mainWindow) {
  if (mainWindow == nullptr) return;
  auto* shortcut = new QShortcut(QKeySequence::HelpContents, mainWindow);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, mainWindow, [mainWindow] {
    HelpViewer::instance(mainWindow).showTopicFor(QApplication::focusWidget());
  });
}

}  // namespace sorvanta::widgets
