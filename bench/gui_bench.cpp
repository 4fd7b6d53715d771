// The window at full size on a generated release, offscreen: start-up from FormShow to the
// first frame painted, with pugixml parsing the same two documents in the same run as the
// yardstick; header-click sorting of the lexical-unit list by every column; clicking lexical
// units one after another; showing one lexical unit with 500 sentences; opening that unit's
// Lexical Unit Report window from the list's context menu, beside the sentences-tab figure as
// its yardstick; a keyboard move to another lexical unit, from the end of the keys' pause;
// opening another release of the same size (File, Open Release), with pugixml parsing that
// release's documents as its yardstick. Clicks and keys are real events on the widgets, and
// every timed step ends with the window painted.
//
// Freed memory stays in the process, as in the program (xml::retainFreedMemory): on this
// virtual machine a page fault costs so much that a parser handed fresh pages by the kernel
// spends most of its time in it, and
// which side gets recycled pages would otherwise decide the comparison. The first start-up of
// the process, on fresh pages and with Qt's one-off set-up, is printed apart from the medians.
#include <unistd.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QSize>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "xml/HeapRetention.h"
#include "lexicon/LexUnitDocument.h"
#include "BenchSupport.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ListSort.h"
#include "lexicon/ReleaseLayout.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"
#include "reports/ReportData.h"
#include "reports/ReportIndex.h"
#include "shell/ReportWindows.h"
#include "shell/SorvantaForm.h"
#include "widgets/ContextMenu.h"
#include "settings/QtSettingsStore.h"
#include "text/WorkingText.h"
#include "views/SentencesView.h"
#include "widgets/Messages.h"
#include "widgets/ModalDialogs.h"
#include "widgets/OpenFileDialog.h"
#include "widgets/QtText.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"
#include "xml/XpObjModel.h"

namespace {

namespace fs = std::filesystem;
using sorvanta::bench::Clock;
using sorvanta::bench::gSink;
using sorvanta::bench::median;
using sorvanta::bench::medianMs;
using sorvanta::bench::msSince;
using sorvanta::bench::TempFolder;
using sorvanta::lexicon::ListRow;
using sorvanta::shell::TSVExplorer;
using sorvanta::widgets::ReportListView;

// Handles every waiting event: posted layout requests, then the paint they cause.
void settle() {
  QApplication::processEvents();
  QApplication::sendPostedEvents();
  QApplication::processEvents();
}

// Counts the paint events a widget receives. Not a child of the widget, so either may go first.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

int countIn(std::string_view cell) {
  int value = 0;
  const auto result = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  return result.ec == std::errc() ? value : 0;
}

int rowWhere(const ReportListView* view, int column, std::string_view value) {
  const auto& rows = view->rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].cell(column) == value) return static_cast<int>(i);
  }
  return -1;
}

// Brings the row into view and lets the window repaint, untimed.
QPoint showRow(ReportListView* view, int row) {
  const QModelIndex index = view->model()->index(row, 0);
  view->scrollTo(index);
  settle();
  return view->visualRect(index).center();
}

void click(QWidget* widget, QPoint at) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

void clickHeader(ReportListView* view, int column) {
  QHeaderView* header = view->horizontalHeader();
  const int x = header->sectionViewportPosition(column) + 4;
  if (x < 0 || x >= header->viewport()->width()) {
    // A column scrolled out of sight gets the click signal the header would send.
    emit header->sectionClicked(column);
    return;
  }
  click(header->viewport(), QPoint(x, header->height() / 2));
}

bool sortedBy(const std::vector<ListRow>& rows, int column) {
  for (size_t i = 1; i < rows.size(); ++i) {
    if (sorvanta::lexicon::compareLexUnitRows(rows[i - 1], rows[i], column) > 0) return false;
  }
  return true;
}

// Counts the paint events of every widget in Lexical Unit Report windows (made while it watches).
class ReportPaintCounter : public QObject {
 public:
  ReportPaintCounter() { QApplication::instance()->installEventFilter(this); }
  ~ReportPaintCounter() override { QApplication::instance()->removeEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        qobject_cast<sorvanta::shell::LexUnitReportWindow*>(
            static_cast<QWidget*>(watched)->window()))
      ++count;
    return false;
  }
};

struct Release {
  sorvanta::tools::ReleaseSummary summary;
  double generateMs = 0;
  std::string framesPath;
  std::string relationsPath;
  std::string bigLuId;  // the lexical unit given the big annotation document
};

// The generated release, plus one lexical unit whose annotation document holds `sentences`.
Release writeRelease(const TempFolder& folder, int frames, int sentences, uint64_t seed = 1) {
  Release release;
  const auto start = Clock::now();
  const sorvanta::tools::ReleaseModel model =
      sorvanta::tools::generateReleaseModel({frames, seed, sorvanta::tools::Encoding::Utf8});
  release.summary = sorvanta::tools::writeReleaseFolder(model, folder.path());
  const sorvanta::tools::FrameModel* frame = nullptr;
  for (size_t i = model.frames.size() / 2; i < model.frames.size() && !frame; ++i) {
    if (!model.frames[i].lexUnits.empty() && !model.frames[i].frameElements.empty())
      frame = &model.frames[i];
  }
  if (!frame) throw std::runtime_error("the release has no frame with lexical units");
  const sorvanta::tools::LexUnitModel& lu = frame->lexUnits.front();
  release.bigLuId = std::to_string(lu.id);
  const std::string path =
      sorvanta::lexicon::annotationDocumentPath(folder.folder(), release.bigLuId);
  const std::string document = sorvanta::tools::renderAnnotationDocument(
      sorvanta::tools::generateAnnotationModel(*frame, lu, 500500, sentences));
  std::FILE* file = std::fopen(path.c_str(), "wb");
  const bool written =
      file != nullptr && std::fwrite(document.data(), 1, document.size(), file) == document.size();
  if (file != nullptr && std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
  if (!written) throw std::runtime_error("cannot write " + path);
  release.generateMs = msSince(start);
  release.framesPath = sorvanta::lexicon::framesDocumentPath(folder.folder());
  release.relationsPath = sorvanta::lexicon::relationsDocumentPath(folder.folder());
  // On disk before anything is timed, so write-back does not compete.
  sync();
  return release;
}

struct Results {
  double pugixmlMs = 0;
  double startUpMs = 0;
  double firstPugixmlMs = 0;  // the first run of each in the process
  double firstStartUpMs = 0;
  int startUpPaints = 0;  // paints of the frames list during the last timed start-up
  QSize window;
  int lexUnits = 0;
  std::vector<double> sortMs;
  int clicks = 0;
  double clicksTotalMs = 0;  // median over repetitions of the whole series
  double clickMedianMs = 0;  // over every click of every repetition
  double clickMaxMs = 0;
  int bigSentences = 0;
  double bigShowMs = 0;
  double bigCoreMs = 0;  // loading the document and building its rows, without the widgets
  int reportSets = 0;
  double reportOpenMs = 0;    // context-menu action to the report window painted
  double reportWindowMs = 0;  // the window alone, from the unit's data already read
  double reportDataMs = 0;    // opening the release index and reading the unit (core)
  double indexBuildMs = 0;    // the index's cold build, before the first report (untimed there)
  int keyMoves = 0;
  double keyMoveMs = 0;      // median: the pause's end to the views painted
  double keyMoveMaxMs = 0;
  double otherPugixmlMs = 0;  // pugixml parsing both documents of the other release
  double switchMs = 0;        // median of openRelease to the first frame painted, both ways
};

class Bench {
 public:
  Bench(const Release& release, const TempFolder& folder, const Release& other,
        const TempFolder& otherFolder, int repetitions)
      : release_(release), dataFolder_(folder.folder()), other_(other),
        otherFolder_(otherFolder.folder()), repetitions_(repetitions) {
    sorvanta::widgets::Messages::setTestHook([this](const QString& caption, const QString& text) {
      messages_.push_back(caption + ": " + text);
    });
    sorvanta::widgets::OpenFileDialog::setTestHook(
        [](const QString&, const QString&) { return std::optional<QString>(); });
    sorvanta::widgets::setModalHook([](QDialog&) { return int(QDialog::Rejected); });
  }
  ~Bench() {
    window_.reset();
    sorvanta::widgets::Messages::setTestHook({});
    sorvanta::widgets::OpenFileDialog::setTestHook({});
    sorvanta::widgets::setModalHook({});
  }

  Results run(int clicks) {
    Results results;
    measureStartUp(results);
    openWindow();
    TSVExplorer& form = *window_;
    results.window = form.size();
    results.lexUnits = form.LexUnitListView->rowCountShown();
    form.PageControl1->setCurrentWidget(form.LexUnitsTabSheet);
    settle();
    measureSorts(form, results);
    measureClicks(form, clicks, results);
    measureBigLexUnit(form, results);
    measureBigReport(form, results);
    measureKeyMoves(form, results);
    measureReleaseSwitch(form, results);
    return results;
  }

 private:
  void check(bool condition, const char* what) {
    if (!messages_.empty())
      throw std::runtime_error(std::string(what) + ": message box " + messages_.front().toStdString());
    if (!condition) throw std::runtime_error(std::string("failed: ") + what);
  }

  // A fresh window, created untimed; showing it runs the start-up.
  void createWindow() {
    window_.reset();
    settle();
    window_ = std::make_unique<TSVExplorer>();
    window_->setExecutableFolder(noRelease_.folder());
  }
  void openWindow() {
    createWindow();
    window_->show();
    settle();
    check(window_->FramesListView->singleSelectedRow() != nullptr, "start-up shows a frame");
  }

  void measureStartUp(Results& results) {
    const auto pugixml = [&] {
      pugi::xml_document frames, relations;
      if (frames.load_file(release_.framesPath.c_str()).status != pugi::status_ok ||
          relations.load_file(release_.relationsPath.c_str()).status != pugi::status_ok)
        throw std::runtime_error("pugixml cannot load the release");
      gSink = gSink + static_cast<size_t>(frames.first_child().type());
    };
    std::unique_ptr<PaintCounter> paints;
    const auto startUp = [&] {
      // FormShow runs in the first show event; the events after it paint the window.
      window_->show();
      settle();
    };
    const auto prepare = [&] {
      createWindow();
      paints = std::make_unique<PaintCounter>(window_->FramesListView->viewport());
    };
    // One pass of each apart, then the two in turn, so drift of the machine spreads evenly.
    auto start = Clock::now();
    pugixml();
    results.firstPugixmlMs = msSince(start);
    prepare();
    start = Clock::now();
    startUp();
    results.firstStartUpMs = msSince(start);
    std::vector<double> pugixmlTimes, startUpTimes;
    for (int r = 0; r < repetitions_; ++r) {
      start = Clock::now();
      pugixml();
      pugixmlTimes.push_back(msSince(start));
      prepare();
      start = Clock::now();
      startUp();
      startUpTimes.push_back(msSince(start));
      check(window_->FramesListView->singleSelectedRow() != nullptr &&
                !window_->FrameNameEdit->text().isEmpty(),
            "start-up shows the first frame");
      check(window_->LexUnitListView->rowCountShown() > 0, "start-up fills the lists");
      check(paints->count > 0, "start-up paints the frames list");
      results.startUpPaints = paints->count;
    }
    results.pugixmlMs = median(pugixmlTimes);
    results.startUpMs = median(startUpTimes);
    window_.reset();
  }

  void measureSorts(TSVExplorer& form, Results& results) {
    ReportListView* list = form.LexUnitListView;
    // A lexical unit shown, as after browsing: the sort carries the selection along.
    const std::vector<int> shown = annotatedRows(list, 1);
    check(!shown.empty(), "the release has lexical units with annotated sentences");
    click(list->viewport(), showRow(list, shown.front()));
    for (int column = 0; column < sorvanta::lexicon::kLexUnitColumns; ++column) {
      const int other = (column + 1) % sorvanta::lexicon::kLexUnitColumns;
      results.sortMs.push_back(medianMs(
          repetitions_,
          [&] {
            clickHeader(list, other);
            settle();
          },
          [&] {
            clickHeader(list, column);
            settle();
          }));
      check(form.SortColumn == column && sortedBy(list->rows(), column),
            "a header click sorts the lexical units by its column");
    }
  }

  // Rows of lexical units that have annotated sentences, spread over the list.
  std::vector<int> annotatedRows(const ReportListView* list, int count) const {
    std::vector<int> annotated;
    for (size_t i = 0; i < list->rows().size(); ++i) {
      const ListRow& row = list->rows()[i];
      if (countIn(row.cell(sorvanta::lexicon::kLuAnns)) > 0 &&
          row.cell(sorvanta::lexicon::kLuId) != release_.bigLuId)
        annotated.push_back(static_cast<int>(i));
    }
    std::vector<int> chosen;
    if (annotated.empty()) return chosen;
    for (int k = 0; k < count; ++k)
      chosen.push_back(annotated[annotated.size() * static_cast<size_t>(k) /
                                 static_cast<size_t>(count)]);
    return chosen;
  }

  void measureClicks(TSVExplorer& form, int clicks, Results& results) {
    ReportListView* list = form.LexUnitListView;
    const std::vector<int> rows = annotatedRows(list, clicks);
    check(!rows.empty(), "the release has lexical units with annotated sentences");
    results.clicks = static_cast<int>(rows.size());
    std::vector<double> totals, each;
    for (int r = 0; r < repetitions_; ++r) {
      double total = 0;
      for (const int row : rows) {
        const QPoint at = showRow(list, row);
        const auto start = Clock::now();
        click(list->viewport(), at);
        settle();
        const double ms = msSince(start);
        total += ms;
        each.push_back(ms);
        check(sorvanta::widgets::toWorking(form.EditLexUnitFind->text()) ==
                  list->rows()[row].caption(),
              "a click selects the lexical unit");
        check(!form.SentAdvStringGrid->cell(0, 0).empty(),
              "a click shows the lexical unit's sentences");
      }
      totals.push_back(total);
    }
    results.clicksTotalMs = median(totals);
    results.clickMedianMs = median(each);
    results.clickMaxMs = *std::max_element(each.begin(), each.end());
  }

  void measureBigLexUnit(TSVExplorer& form, Results& results) {
    ReportListView* list = form.LexUnitListView;
    const int big = rowWhere(list, sorvanta::lexicon::kLuId, release_.bigLuId);
    const std::vector<int> small = annotatedRows(list, 1);
    check(big >= 0 && !small.empty(), "the big lexical unit is listed");
    PaintCounter paints(form.SentAdvStringGrid->viewport());
    QPoint at;
    results.bigShowMs = medianMs(
        repetitions_,
        [&] {
          click(list->viewport(), showRow(list, small.front()));
          settle();
          at = showRow(list, big);
          paints.count = 0;
        },
        [&] {
          click(list->viewport(), at);
          settle();
        });
    results.bigSentences = form.SentAdvStringGrid->gridRowCount();
    check(paints.count > 0 && form.SentAdvStringGrid->cell(0, 0).starts_with("("),
          "the sentences are painted");

    sorvanta::xml::TXpObjModel model;
    results.bigCoreMs = medianMs(repetitions_, [] {}, [&] {
      const auto load = sorvanta::lexicon::loadLexUnitAnnotation(model, dataFolder_, release_.bigLuId);
      if (!load.loaded) throw std::runtime_error(load.message);
      gSink = gSink +
              sorvanta::views::sentenceRows(model.Document()->docGetDocumentElement()).size();
    });
  }

  // The report window the last action opened, checked to be shown.
  sorvanta::shell::LexUnitReportWindow* openedReport(TSVExplorer& form) {
    sorvanta::shell::LexUnitReportWindow* opened = nullptr;
    for (QObject* child : form.children())
      if (auto* report = qobject_cast<sorvanta::shell::LexUnitReportWindow*>(child)) opened = report;
    check(opened != nullptr && opened->isVisible(), "the report window is shown");
    return opened;
  }

  // Deletes every report window (untimed), so each timed opening starts from none.
  static void deleteReports(TSVExplorer& form) {
    for (auto* report : form.findChildren<sorvanta::shell::LexUnitReportWindow*>(
             Qt::FindDirectChildrenOnly))
      delete report;
    settle();
  }

  void measureBigReport(TSVExplorer& form, Results& results) {
    ReportListView* list = form.LexUnitListView;
    const int big = rowWhere(list, sorvanta::lexicon::kLuId, release_.bigLuId);
    check(big >= 0, "the big lexical unit is listed");
    sorvanta::widgets::ContextMenu& menu = sorvanta::widgets::ContextMenu::of(*list);
    const auto openFromMenu = [&] {
      check(menu.popupFor(big, QPoint(0, 0)), "the list's context menu is shown");
      auto* action = menu.findChild<QAction*>("LexUnitReportAction");
      check(action != nullptr, "the context menu offers the Lexical Unit Report");
      menu.close();
      return action;
    };
    // The first report builds the release index: timed apart, not in the median.
    auto start = Clock::now();
    openFromMenu()->trigger();
    settle();
    results.indexBuildMs = msSince(start);
    openedReport(form);
    deleteReports(form);

    ReportPaintCounter paints;
    QAction* action = nullptr;
    results.reportOpenMs = medianMs(
        repetitions_,
        [&] {
          deleteReports(form);
          action = openFromMenu();
          paints.count = 0;
        },
        [&] {
          action->trigger();
          settle();
        });
    check(paints.count > 0 && openedReport(form)->sentencesView->document()->blockCount() > 1,
          "the report's sentences are painted");
    deleteReports(form);

    // The two halves: the index read (core) and the window from the data read.
    const std::string folder = sorvanta::text::workingToUtf8(dataFolder_);
    const int64_t id = std::stoll(release_.bigLuId);
    std::optional<sorvanta::reports::LexicalUnitData> data;
    results.reportDataMs = medianMs(repetitions_, [] {}, [&] {
      sorvanta::index::Database db;
      check(sorvanta::reports::openReleaseIndex(folder, "", db).done(), "the index opens");
      data = sorvanta::reports::loadLexicalUnit(db, id);
      check(data.has_value(), "the index holds the big lexical unit");
    });
    results.reportSets = static_cast<int>(data->sets.size());
    sorvanta::widgets::Messages messages(&form);
    results.reportWindowMs = medianMs(
        repetitions_,
        [&] {
          deleteReports(form);
          paints.count = 0;
        },
        [&] {
          (new sorvanta::shell::LexUnitReportWindow(*data, messages, &form))->show();
          settle();
        });
    check(paints.count > 0, "the report window is painted");
    deleteReports(form);
  }

  // Down arrow on the lexical-unit list, onto a lexical unit with sentences. The keys' pause is
  // set to nothing, so the time is what follows the pause: the move's handler and the paint.
  void measureKeyMoves(TSVExplorer& form, Results& results) {
    ReportListView* list = form.LexUnitListView;
    list->setSettleDelay(0);
    std::vector<int> targets;
    for (const int row : annotatedRows(list, 40))
      if (row > 0) targets.push_back(row);
    check(!targets.empty(), "the release has lexical units with annotated sentences");
    std::vector<double> each;
    for (int r = 0; r < repetitions_; ++r) {
      for (const int row : targets) {
        list->selectOnly(row - 1);
        list->scrollRowIntoView(row);
        settle();
        const auto start = Clock::now();
        QTest::keyClick(list, Qt::Key_Down);
        settle();
        each.push_back(msSince(start));
        check(sorvanta::widgets::toWorking(form.EditLexUnitFind->text()) ==
                      list->rows()[static_cast<size_t>(row)].caption() &&
                  !form.SentAdvStringGrid->cell(0, 0).empty(),
              "a keyboard move shows the lexical unit and its sentences");
      }
    }
    list->setSettleDelay(150);
    results.keyMoves = static_cast<int>(targets.size());
    results.keyMoveMs = median(each);
    results.keyMoveMaxMs = *std::max_element(each.begin(), each.end());
  }

  // File, Open Release: the other release, then back, each time until its first frame is
  // painted; pugixml parsing the other release's two documents is the yardstick.
  void measureReleaseSwitch(TSVExplorer& form, Results& results) {
    results.otherPugixmlMs = medianMs(repetitions_, [] {}, [&] {
      pugi::xml_document frames, relations;
      if (frames.load_file(other_.framesPath.c_str()).status != pugi::status_ok ||
          relations.load_file(other_.relationsPath.c_str()).status != pugi::status_ok)
        throw std::runtime_error("pugixml cannot load the other release");
      gSink = gSink + static_cast<size_t>(frames.first_child().type());
    });
    const sorvanta::lexicon::ReleaseFolder folders[] = {
        sorvanta::lexicon::ReleaseFolder(otherFolder_), sorvanta::lexicon::ReleaseFolder(dataFolder_)};
    std::vector<double> times;
    for (int r = 0; r < repetitions_; ++r) {
      for (const auto& folder : folders) {
        const auto start = Clock::now();
        form.openRelease(folder);
        settle();
        times.push_back(msSince(start));
        check(form.DataFolder.path() == folder.path() &&
                  form.FramesListView->singleSelectedRow() != nullptr &&
                  !form.FrameNameEdit->text().isEmpty(),
              "opening a release shows its first frame");
      }
    }
    results.switchMs = median(times);
  }

  const Release& release_;
  std::string dataFolder_;
  const Release& other_;
  std::string otherFolder_;
  int repetitions_;
  TempFolder noRelease_{"sorvanta-gui-bench-exe"};
  std::unique_ptr<TSVExplorer> window_;
  std::vector<QString> messages_;
};

const char* const kLexUnitHeaders[] = {"Lexical Unit", "P",     "LU-ID",     "Anns",
                                       "Frame",        "FR-ID", "Definition"};

const char* verdict(bool met) { return met ? "ok" : "OVER"; }

void print(const Release& release, const Results& r, int repetitions, int sentences) {
  const auto& s = release.summary;
  std::printf(
      "\nrelease of %d frames: %d lexical units (%d annotated), %d relations, %d files, %.1f MB, "
      "written in %.2f s\n",
      s.frames, s.lexUnits, s.annotatedUnits, s.relations, s.files,
      static_cast<double>(s.bytes) / 1e6, release.generateMs / 1000);
  std::printf("frames.xml %.2f MB, frRelation.xml %.2f MB; window %dx%d offscreen; times are "
              "medians of %d repetitions\n",
              static_cast<double>(fs::file_size(release.framesPath)) / 1e6,
              static_cast<double>(fs::file_size(release.relationsPath)) / 1e6, r.window.width(),
              r.window.height(), repetitions);

  const double ratio = r.startUpMs / r.pugixmlMs;
  std::printf("\n%-56s %9s %11s  %s\n", "start-up", "ms", "vs pugixml", "target");
  std::printf("%-56s %9.1f %10.2fx\n", "pugixml load_file, both documents (yardstick)",
              r.pugixmlMs, 1.0);
  std::printf("%-56s %9.1f %10.2fx  <= 4x: %s\n",
              "show() to the first frame painted (FormShow)", r.startUpMs, ratio,
              verdict(ratio <= 4));
  std::printf("%-56s %9.1f %10.2fx\n", "  first start-up of the process (not in the median)",
              r.firstStartUpMs, r.firstStartUpMs / r.firstPugixmlMs);
  std::printf("(first pugixml run of the process %.1f ms; the frames list painted %d time(s) in "
              "the last timed start-up)\n",
              r.firstPugixmlMs, r.startUpPaints);

  std::printf("\n%-56s %9s %11s  %s\n", "header click on the lexical-unit list, column", "ms", "",
              "target");
  for (size_t c = 0; c < r.sortMs.size(); ++c) {
    char what[80];
    std::snprintf(what, sizeof what, "%zu %s (%d rows)", c, kLexUnitHeaders[c], r.lexUnits);
    std::printf("%-56s %9.2f %11s  < 50 ms: %s\n", what, r.sortMs[c], "",
                verdict(r.sortMs[c] < 50));
  }

  std::printf("\n%-56s %9s\n", "lexical units clicked, sentences shown", "ms");
  char what[80];
  std::snprintf(what, sizeof what, "%d lexical units clicked in a row, total", r.clicks);
  std::printf("%-56s %9.1f\n", what, r.clicksTotalMs);
  std::printf("%-56s %9.2f\n", "  one click, median", r.clickMedianMs);
  std::printf("%-56s %9.2f\n", "  one click, slowest of all repetitions", r.clickMaxMs);
  std::snprintf(what, sizeof what, "one lexical unit with %d sentences", sentences);
  std::printf("%-56s %9.1f %11s  < 60 ms: %s\n", what, r.bigShowMs, "",
              verdict(r.bigShowMs < 60));
  std::printf("%-56s %9.1f\n", "  of which loading the document and its rows (core)",
              r.bigCoreMs);
  std::printf("(each step: a real mouse click, then the events that repaint the window; the "
              "grid showed %d rows)\n",
              r.bigSentences);

  std::printf("\n%-56s %9s %11s  %s\n", "Lexical Unit Report window, same lexical unit", "ms",
              "vs grid", "target");
  std::printf("%-56s %9.1f %10.2fx\n", "sentences tab: click showing it (yardstick, above)",
              r.bigShowMs, 1.0);
  std::snprintf(what, sizeof what, "report of %d sentences: menu action to window painted",
                r.reportSets);
  std::printf("%-56s %9.1f %10.2fx  <= 100 ms: %s\n", what, r.reportOpenMs,
              r.reportOpenMs / r.bigShowMs, verdict(r.reportOpenMs <= 100));
  std::printf("%-56s %9.1f\n", "  of which opening the index and reading the unit (core)",
              r.reportDataMs);
  std::printf("%-56s %9.1f\n", "  of which the window from the data, shown and painted",
              r.reportWindowMs);
  std::printf("(the release index was built cold before the first report: %.0f ms, not in the "
              "medians)\n",
              r.indexBuildMs);
  std::printf("\n%-56s %9s %11s  %s\n", "keyboard move to another lexical unit", "ms",
              "vs click", "target");
  std::printf("%-56s %9.2f %10.2fx\n", "  one mouse click, median (yardstick, above)",
              r.clickMedianMs, 1.0);
  std::snprintf(what, sizeof what, "  Down arrow after the pause, median of %d moves x %d",
                r.keyMoves, repetitions);
  std::printf("%-56s %9.2f %10.2fx  <= 30 ms: %s\n", what, r.keyMoveMs,
              r.keyMoveMs / r.clickMedianMs, verdict(r.keyMoveMs <= 30));
  std::printf("%-56s %9.2f\n", "  slowest move", r.keyMoveMaxMs);

  std::printf("\n%-56s %9s %11s  %s\n", "switching to another release of the same size", "ms",
              "vs pugixml", "target");
  std::printf("%-56s %9.1f %10.2fx\n", "pugixml load_file, its two documents (yardstick)",
              r.otherPugixmlMs, 1.0);
  std::printf("%-56s %9.1f %10.2fx  <= 150 ms: %s\n",
              "openRelease to its first frame painted, both ways", r.switchMs,
              r.switchMs / r.otherPugixmlMs, verdict(r.switchMs <= 150));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int repetitions = std::max(5, sorvanta::bench::intArgument(argc, argv, "--repetitions", 7));
  const int frames = sorvanta::bench::intArgument(argc, argv, "--frames", 1200);
  const int clicks = sorvanta::bench::intArgument(argc, argv, "--clicks", 100);
  const int sentences = sorvanta::bench::intArgument(argc, argv, "--sentences", 500);
  std::printf(
      "gui_bench: %d repetitions, %d frames (options --repetitions N (at least 5) --frames N "
      "--clicks N --sentences N)\n",
      repetitions, frames);
  std::fflush(stdout);
  sorvanta::xml::retainFreedMemory();
  QApplication application(argc, argv);
  try {
    TempFolder settings("sorvanta-gui-bench-settings");
    qputenv(sorvanta::settings::kSettingsDirVariable, settings.path().string().c_str());
    // The release index the report windows build goes here, not into the user's cache.
    qputenv("XDG_CACHE_HOME", settings.path().string().c_str());
    sorvanta::settings::redirectSettingsFromEnvironment();
    TempFolder folder("sorvanta-gui-bench");
    const Release release = writeRelease(folder, frames, sentences);
    TempFolder otherFolder("sorvanta-gui-bench-other");
    const Release other = writeRelease(otherFolder, frames, sentences, 2);
    sorvanta::settings::QtSettingsStore().writeString(sorvanta::lexicon::kLocationSetting,
                                                     folder.folder());
    Results results;
    {
      Bench bench(release, folder, other, otherFolder, repetitions);
      results = bench.run(clicks);
    }
    print(release, results, repetitions, sentences);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "gui_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
