#include "shell/ReportWindows.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <sstream>

#include "reports/AnnotationDisplay.h"
#include "reports/DefinitionMarkup.h"
#include "reports/HtmlReport.h"
#include "reports/HtmlText.h"
#include "reports/ReportIndex.h"
#include "reports/Valence.h"
#include "reports/ValenceOutput.h"
#include "text/Errors.h"
#include "text/FileIO.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/ModalDialogs.h"
#include "widgets/QtText.h"
#include "widgets/TableExport.h"

namespace sorvanta::shell {

namespace {

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTextBrowser* browser(QWidget* parent) {
  auto* view = new QTextBrowser(parent);
  view->setOpenLinks(false);
  view->setOpenExternalLinks(false);
  return view;
}

// Copy, Save as HTML…, Print, on a row of their own.
QHBoxLayout* commandRow(QWidget* window, const std::function<void()>& copy,
                        const std::function<void()>& save, const std::function<void()>& print) {
  auto* row = new QHBoxLayout;
  const std::pair<const char*, std::function<void()>> buttons[] = {
      {"Copy", copy}, {"Save as HTML…", save}, {"Print…", print}};
  for (const auto& [caption, action] : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(caption), window);
    QObject::connect(button, &QPushButton::clicked, window, action);
    row->addWidget(button);
  }
  row->addStretch();
  return row;
}

// Asks for a file (the project's save dialog, which tests answer) and writes the page there
// (replaced whole, or left as it was).
void savePage(QWidget* window, const widgets::Messages& messages, const std::string& name,
              const std::string& page) {
  const std::optional<QString> path = widgets::SaveFileDialog::execute(
      window, "Save as HTML", "HTML pages (*.html *.htm)", utf8(name + ".html"));
  if (!path || path->isEmpty()) return;
  widgets::runGuarded(messages,
                      [&] { text::writeFileAtomically(widgets::toWorking(*path), page); });
}

// The print dialog runs through the modal hook, so tests see it instead of blocking on it.
void printPage(QWidget* window, const std::string& page) {
  QPrinter printer;
  QPrintDialog dialog(&printer, window);
  if (widgets::execModal(dialog) != QDialog::Accepted) return;
  QTextDocument document;
  document.setHtml(utf8(page));
  document.print(&printer);
}

// Selected text of the view when there is some, else the whole report's text.
void copyText(const QTextBrowser* view, const QString& whole) {
  const QString selected = view ? view->textCursor().selectedText() : QString();
  QApplication::clipboard()->setText(selected.isEmpty() ? whole : selected);
}

}  // namespace

LexUnitReportWindow::LexUnitReportWindow(reports::LexicalUnitData lu,
                                         const widgets::Messages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), lu_(std::move(lu)), colours_(lu_.frameFes), messages_(messages) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(utf8("Lexical Unit Report: " + lu_.name + " (" + lu_.frame + ")"));
  resize(820, 640);
  auto* layout = new QVBoxLayout(this);
  auto* header = new QLabel(this);
  header->setTextFormat(Qt::RichText);
  header->setWordWrap(true);
  header->setTextInteractionFlags(Qt::TextSelectableByMouse);
  header->setText(utf8(reports::lexUnitHeaderHtml(lu_, colours_)));
  layout->addWidget(header);

  tabs = new QTabWidget(this);
  auto* sentencesTab = new QWidget(tabs);
  auto* sentencesLayout = new QVBoxLayout(sentencesTab);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel("Subcorpus:", sentencesTab));
  subcorpusBox = new QComboBox(sentencesTab);
  subcorpusBox->addItem("(all)");
  for (const std::string& name : reports::subcorpusNames(lu_))
    subcorpusBox->addItem(name.empty() ? QString("(none)") : utf8(name), utf8(name));
  filterRow->addWidget(subcorpusBox, 1);
  sentencesLayout->addLayout(filterRow);
  auto* legend = new QLabel(sentencesTab);
  legend->setTextFormat(Qt::RichText);
  legend->setWordWrap(true);
  legend->setText(utf8(reports::feLegendHtml(lu_.frameFes, colours_)));
  sentencesLayout->addWidget(legend);
  sentencesView = browser(sentencesTab);
  sentencesLayout->addWidget(sentencesView, 1);
  tabs->addTab(sentencesTab, "Annotated Sentences");

  // The valence tables are computed and laid out when their tab is first shown: opening the
  // window shows the sentences only.
  valenceView = browser(tabs);
  tabs->addTab(valenceView, "Valence");
  connect(tabs, &QTabWidget::currentChanged, this, [this] {
    if (tabs->currentWidget() != valenceView || valenceShown_) return;
    valenceShown_ = true;
    valenceView->setHtml(utf8(reports::valenceHtml(reports::computeValence(lu_),
                                                   reports::computePatterns(lu_), colours_)));
  });
  layout->addWidget(tabs, 1);
  layout->addLayout(commandRow(this, [this] { copyReport(); }, [this] { saveAsHtml(); },
                               [this] { printReport(); }));

  connect(subcorpusBox, &QComboBox::activated, this, [this](int index) { showSubcorpus(index); });
  showSubcorpus(0);
}

void LexUnitReportWindow::showSubcorpus(int index) {
  if (index < 0 || index >= subcorpusBox->count()) index = 0;
  subcorpusBox->setCurrentIndex(index);
  allSubcorpora_ = index == 0;
  const QByteArray name = subcorpusBox->itemData(index).toString().toUtf8();
  subcorpus_.assign(name.constData(), static_cast<size_t>(name.size()));
  sentencesView->setHtml(utf8(
      reports::sentencesHtml(lu_, colours_, allSubcorpora_ ? nullptr : &subcorpus_)));
}

QString LexUnitReportWindow::reportText() const {
  std::ostringstream text;
  if (tabs->currentWidget() == valenceView) {
    reports::writeValenceTsv(text, reports::computeValence(lu_));
    text << "\n";
    reports::writePatternsTsv(text, reports::computePatterns(lu_));
  } else {
    for (const reports::AnnotationSet& set : lu_.sets)
      if (allSubcorpora_ || set.subcorpus == subcorpus_)
        text << set.sentenceKey << "\t"
             << reports::sentenceText(reports::buildSentenceDisplay(set));
  }
  return utf8(text.str());
}

void LexUnitReportWindow::copyReport() {
  copyText(tabs->currentWidget() == valenceView ? valenceView : sentencesView, reportText());
}

void LexUnitReportWindow::saveAsHtml() {
  savePage(this, messages_, lu_.name, reports::lexUnitReportPage(lu_));
}

void LexUnitReportWindow::printReport() { printPage(this, reports::lexUnitReportPage(lu_)); }

FrameReportWindow::FrameReportWindow(reports::FrameInfo frame, const widgets::Messages& messages,
                                     std::function<void(int64_t)> openLexUnit,
                                     std::function<void(const std::string&)> showFrame,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), frame_(std::move(frame)), messages_(messages) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(utf8("Frame Report: " + frame_.name));
  resize(820, 680);
  const reports::FeColours colours(frame_.fes);
  auto* layout = new QVBoxLayout(this);
  definitionView = browser(this);
  definitionView->setHtml(utf8("<h2>" + reports::escapeHtml(frame_.name) + "</h2>" +
                               reports::frameDefinitionHtml(frame_, colours) + "<h3>Frame elements</h3>" +
                               reports::frameElementsHtml(frame_, colours)));
  layout->addWidget(definitionView, 3);

  layout->addWidget(new QLabel("Lexical units (double-click opens the report):", this));
  lexUnitTable = new QTableWidget(static_cast<int>(frame_.lexicalUnits.size()), 3, this);
  lexUnitTable->setHorizontalHeaderLabels({"Lexical unit", "ID", "Annotated"});
  lexUnitTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lexUnitTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  for (int i = 0; i < lexUnitTable->rowCount(); ++i) {
    const reports::LexUnitRef& lu = frame_.lexicalUnits[static_cast<size_t>(i)];
    lexUnitTable->setItem(i, 0, new QTableWidgetItem(utf8(lu.name)));
    lexUnitTable->setItem(i, 1, new QTableWidgetItem(utf8(lu.idText)));
    lexUnitTable->setItem(i, 2, new QTableWidgetItem(QString::number(lu.annotated)));
  }
  lexUnitTable->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(lexUnitTable, 1);

  layout->addWidget(new QLabel("Relations (double-click shows that frame):", this));
  relationTable = new QTableWidget(static_cast<int>(frame_.relations.size()), 3, this);
  relationTable->setHorizontalHeaderLabels({"Relation", "Super frame", "Sub frame"});
  relationTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int i = 0; i < relationTable->rowCount(); ++i) {
    const reports::RelationRef& relation = frame_.relations[static_cast<size_t>(i)];
    relationTable->setItem(i, 0, new QTableWidgetItem(utf8(relation.type)));
    relationTable->setItem(i, 1, new QTableWidgetItem(utf8(relation.superFrame)));
    relationTable->setItem(i, 2, new QTableWidgetItem(utf8(relation.subFrame)));
  }
  relationTable->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(relationTable, 1);
  layout->addLayout(commandRow(this, [this] { copyReport(); }, [this] { saveAsHtml(); },
                               [this] { printReport(); }));

  connect(lexUnitTable, &QTableWidget::cellDoubleClicked, this,
          [this, openLexUnit](int row, int) {
            const auto& id = frame_.lexicalUnits[static_cast<size_t>(row)].id;
            if (id && openLexUnit) openLexUnit(*id);
          });
  connect(relationTable, &QTableWidget::cellDoubleClicked, this,
          [this, showFrame](int row, int column) {
            const reports::RelationRef& relation = frame_.relations[static_cast<size_t>(row)];
            // The other frame of the relation, or the one in the clicked column.
            std::string target = column == 1   ? relation.superFrame
                                 : column == 2 ? relation.subFrame
                                 : relation.superFrame == frame_.name ? relation.subFrame
                                                                      : relation.superFrame;
            if (showFrame) showFrame(target);
          });
}

QString FrameReportWindow::reportText() const {
  return utf8(reports::definitionPlainText(frame_.definition));
}

void FrameReportWindow::copyReport() { copyText(definitionView, reportText()); }

void FrameReportWindow::saveAsHtml() {
  savePage(this, messages_, frame_.name, reports::frameReportPage(frame_));
}

void FrameReportWindow::printReport() { printPage(this, reports::frameReportPage(frame_)); }

LexUnitReportWindow* ReportOpener::openLexUnit(const std::string& releaseFolder, int64_t luId) {
  index::Database db;
  const text::Outcome outcome = reports::openReleaseIndex(releaseFolder, "", db);
  if (!outcome.done()) {
    messages_.show(QString("Lexical Unit Report"), utf8(outcome.notices.front().text));
    return nullptr;
  }
  std::optional<reports::LexicalUnitData> lu = reports::loadLexicalUnit(db, luId);
  if (!lu) {
    messages_.show(QString("Lexical Unit Report"),
                   QString("The release has no lexical unit with ID %1.").arg(luId));
    return nullptr;
  }
  auto* window = new LexUnitReportWindow(std::move(*lu), messages_, parent_);
  window->show();
  return window;
}

FrameReportWindow* ReportOpener::openFrame(const std::string& releaseFolder,
                                           const std::string& frameName) {
  index::Database db;
  const text::Outcome outcome = reports::openReleaseIndex(releaseFolder, "", db);
  if (!outcome.done()) {
    messages_.show(QString("Frame Report"), utf8(outcome.notices.front().text));
    return nullptr;
  }
  std::optional<reports::FrameInfo> frame = reports::loadFrame(db, frameName);
  if (!frame) {
    messages_.show(QString("Frame Report"),
                   utf8("The release has no frame named '" + frameName + "'."));
    return nullptr;
  }
  ReportOpener opener = *this;
  auto* window = new FrameReportWindow(
      std::move(*frame), messages_,
      [opener, releaseFolder](int64_t id) mutable { opener.openLexUnit(releaseFolder, id); },
      [opener, releaseFolder](const std::string& name) mutable {
        opener.openFrame(releaseFolder, name);
      },
      parent_);
  window->show();
  return window;
}

}  // namespace sorvanta::shell
