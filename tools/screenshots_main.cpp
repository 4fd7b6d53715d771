// sorvanta-screenshots: renders the main window on a release to PNG files for review, on Qt's
// offscreen platform: each tab after a click that fills it, the sentence frame-element dialog
// for one sentence, the about box, and the window maximized. The dialogs come from their menu item and button; the
// modal hook grabs them instead of blocking.
//
// usage: sorvanta-screenshots --release DIR --out DIR
// The settings live in SORVANTA_SETTINGS_DIR, or a temporary folder when it is not set, so
// the user's stored data folder stays untouched.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <charconv>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "shell/ProgramIcon.h"
#include "shell/SorvantaForm.h"
#include "settings/QtSettingsStore.h"
#include "views/FrameView.h"
#include "widgets/HelpViewer.h"
#include "widgets/Messages.h"
#include "widgets/ModalDialogs.h"
#include "widgets/OpenFileDialog.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"

namespace {

using sorvanta::shell::TSVExplorer;
using sorvanta::widgets::ReportListView;

constexpr char kUsage[] = "usage: sorvanta-screenshots --release DIR --out DIR\n";

int failure(const QString& message) {
  std::fprintf(stderr, "sorvanta-screenshots: %s\n", qPrintable(message));
  return 1;
}

// The cell as a count; -1 when it holds no number.
int countIn(std::string_view cell) {
  int value = -1;
  const auto result = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  return result.ec == std::errc() ? value : -1;
}

// The row whose score is highest (the first of equals), or -1 for an empty list.
int bestRow(const ReportListView* view, const std::function<long(size_t)>& score) {
  int best = -1;
  long bestScore = 0;
  for (size_t i = 0; i < view->rows().size(); ++i) {
    const long value = score(i);
    if (best < 0 || value > bestScore) {
      best = static_cast<int>(i);
      bestScore = value;
    }
  }
  return best;
}

void settle() {
  QApplication::processEvents();
  QApplication::sendPostedEvents();
  QApplication::processEvents();
}

void clickRow(ReportListView* view, int row) {
  const QModelIndex index = view->model()->index(row, 0);
  view->scrollTo(index, QAbstractItemView::PositionAtCenter);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                    view->visualRect(index).center());
  settle();
}

void openTab(QTabWidget* tabs, QWidget* page) {
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier,
                    tabs->tabBar()->tabRect(tabs->indexOf(page)).center());
  settle();
}

class Shooter {
 public:
  explicit Shooter(QDir out) : out_(std::move(out)) {}

  bool save(QWidget& widget, const QString& name) {
    settle();
    const QString path = out_.filePath(name);
    if (!widget.grab().save(path, "PNG")) {
      std::fprintf(stderr, "sorvanta-screenshots: cannot write %s\n", qPrintable(path));
      return false;
    }
    std::printf("%s  (%dx%d)\n", qPrintable(path), widget.width(), widget.height());
    ++written_;
    return true;
  }
  int written() const { return written_; }

 private:
  QDir out_;
  int written_ = 0;
};

// Shows the dialog the next command runs modally, grabs it, and closes it.
void grabNextModal(Shooter& shooter, const QString& name, bool& shown) {
  sorvanta::widgets::setModalHook([&shooter, name, &shown](QDialog& dialog) {
    dialog.show();
    shown = shooter.save(dialog, name);
    dialog.hide();
    return int(QDialog::Rejected);
  });
}

int run(const QString& release, const QString& outFolder) {
  const QFileInfo releaseInfo(release);
  if (!releaseInfo.isDir()) return failure("no release folder \"" + release + "\"");
  if (!QDir().mkpath(outFolder)) return failure("cannot create \"" + outFolder + "\"");

  // Settings: the given folder, else a temporary one; never the user's own store.
  QTemporaryDir temporarySettings;
  if (qEnvironmentVariableIsEmpty(sorvanta::settings::kSettingsDirVariable)) {
    if (!temporarySettings.isValid()) return failure("cannot create a temporary folder");
    qputenv(sorvanta::settings::kSettingsDirVariable, temporarySettings.path().toLocal8Bit());
  }
  sorvanta::settings::redirectSettingsFromEnvironment();
  const std::string dataFolder = releaseInfo.canonicalFilePath().toStdString() + "/";
  sorvanta::settings::QtSettingsStore().writeString(sorvanta::lexicon::kLocationSetting,
                                                   dataFolder);

  std::vector<QString> messages;
  sorvanta::widgets::Messages::setTestHook([&messages](const QString& caption, const QString& text) {
    std::fprintf(stderr, "message box \"%s\": %s\n", qPrintable(caption), qPrintable(text));
    messages.push_back(text);
  });
  sorvanta::widgets::OpenFileDialog::setTestHook([](const QString& title, const QString&) {
    std::fprintf(stderr, "open-file dialog \"%s\" cancelled\n", qPrintable(title));
    return std::optional<QString>();
  });
  sorvanta::widgets::setModalHook([](QDialog&) { return int(QDialog::Rejected); });

  // An executable folder without a release, so the stored folder is the one found.
  QTemporaryDir noRelease;
  TSVExplorer form;
  form.setExecutableFolder(noRelease.path().toStdString() + "/");
  form.show();
  settle();
  if (!messages.empty()) return failure("start-up showed a message box");
  if (form.FramesListView->rows().empty()) return failure("the release lists no frames");

  Shooter shooter{QDir(QFileInfo(outFolder).canonicalFilePath())};

  // Frames: the frame with the most relations, then the most frame elements.
  const int frame = bestRow(form.FramesListView, [&](size_t i) {
    const auto view =
        sorvanta::views::frameView(form.FramesListView->rows()[i].data, form.RelationsRoot);
    return static_cast<long>(view.relations.size() * 1000 + view.elements.size());
  });
  clickRow(form.FramesListView, frame);
  openTab(form.PageControl1, form.FramesTabSheet);
  shooter.save(form, "1-frames-tab.png");

  // Lexical units: the unit with the most annotated sentences.
  openTab(form.PageControl1, form.LexUnitsTabSheet);
  const int lexUnit = bestRow(form.LexUnitListView, [&](size_t i) {
    return countIn(form.LexUnitListView->rows()[i].cell(sorvanta::lexicon::kLuAnns));
  });
  if (lexUnit >= 0) clickRow(form.LexUnitListView, lexUnit);
  shooter.save(form, "2-lexical-units-tab.png");

  // The dialog of the first sentence, through the pop-up menu of the sentence grid.
  bool dialogShown = false;
  grabNextModal(shooter, "5-sentence-frame-elements.png", dialogShown);
  sorvanta::widgets::StringGrid* grid = form.SentAdvStringGrid;
  for (int row = 0; row < grid->gridRowCount() && !dialogShown && messages.empty(); ++row) {
    const QModelIndex index = grid->model()->index(grid->tableRowOf(row), 0);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier,
                      grid->visualRect(index).center());
    settle();
    QMenu* menu = form.PopupMenuSentView;
    if (menu->isVisible()) {
      QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                        menu->actionGeometry(form.MenuItemShowFEs).center());
      settle();
    }
    menu->hide();
  }
  if (!dialogShown) std::fprintf(stderr, "no sentence of the lexical unit opened the dialog\n");

  // Frame elements: the name shared by the most frames.
  openTab(form.PageControl1, form.FETabSheet);
  const int element = bestRow(form.FEListView, [&](size_t i) {
    return countIn(form.FEListView->rows()[i].cell(1));
  });
  if (element >= 0) clickRow(form.FEListView, element);
  shooter.save(form, "3-frame-elements-tab.png");

  openTab(form.PageControl1, form.TabSheetSampSel);
  shooter.save(form, "4-sample-selection-tab.png");

  bool aboutShown = false;
  grabNextModal(shooter, "6-about.png", aboutShown);
  QTest::mouseClick(form.ButtonAbout, Qt::LeftButton, Qt::NoModifier);
  settle();
  sorvanta::widgets::setModalHook({});
  if (!aboutShown) std::fprintf(stderr, "the About button showed no dialog\n");

  // Maximized (1600 × 1000) on the frame with the longest name: names and IDs uncut.
  form.resize(1600, 1000);
  settle();
  const int longest = bestRow(form.FramesListView, [&](size_t i) {
    return static_cast<long>(form.FramesListView->rows()[i].caption().size());
  });
  openTab(form.PageControl1, form.FramesTabSheet);
  clickRow(form.FramesListView, longest);
  shooter.save(form, "7-maximized.png");

  form.close();
  if (!messages.empty()) return failure("browsing showed a message box");
  return shooter.written() == 7 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QString release, out;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if ((option != "--release" && option != "--out") || i + 1 == argc) {
      std::fprintf(stderr, "sorvanta-screenshots: unexpected argument '%s'\n%s", argv[i], kUsage);
      return 2;
    }
    (option == "--release" ? release : out) = QString::fromLocal8Bit(argv[++i]);
  }
  if (release.isEmpty() || out.isEmpty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  QApplication application(argc, argv);
  sorvanta::shell::applyProgramIcon();
  sorvanta::widgets::initHelpResources();
  return run(release, out);
}
