#pragma once
// The "Lexical Unit Report" and "Frame Report" windows: the reports' HTML fragments shown in
// text browsers, with copy, "Save as HTML…" and print. The content comes from src/reports; the
// windows only show it.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "reports/ReportData.h"
#include "reports/Palette.h"

class QComboBox;
class QTabWidget;
class QTextBrowser;
class QTableWidget;

namespace sorvanta::widgets {
class Messages;
}

namespace sorvanta::shell {

class LexUnitReportWindow : public QWidget {
  Q_OBJECT

 public:
  LexUnitReportWindow(reports::LexicalUnitData lu, const widgets::Messages& messages,
                      QWidget* parent = nullptr);

  // The plain text "Copy" puts on the clipboard when nothing is selected: the shown sentences
  // (two lines each) on the sentences tab, the valence tables (TSV) on the valence tab.
  QString reportText() const;
  void copyReport();
  void saveAsHtml();
  void printReport();
  // Shows the sets of the subcorpus box's entry index: 0 every set, then one subcorpus each.
  void showSubcorpus(int index);

  QTabWidget* tabs;
  QComboBox* subcorpusBox;
  QTextBrowser* sentencesView;
  QTextBrowser* valenceView;

 private:
  reports::LexicalUnitData lu_;
  reports::FeColours colours_;
  const widgets::Messages& messages_;
  std::string subcorpus_;
  bool allSubcorpora_ = true;
  bool valenceShown_ = false;  // the valence tab filled (on its first showing)
};

class FrameReportWindow : public QWidget {
  Q_OBJECT

 public:
  // openLexUnit: called with a lexical unit's ID on double-click; showFrame: with a frame name
  // on double-click of a relation.
  FrameReportWindow(reports::FrameInfo frame, const widgets::Messages& messages,
                    std::function<void(int64_t)> openLexUnit,
                    std::function<void(const std::string&)> showFrame, QWidget* parent = nullptr);

  QString reportText() const;
  void copyReport();
  void saveAsHtml();
  void printReport();

  QTextBrowser* definitionView;
  QTableWidget* lexUnitTable;
  QTableWidget* relationTable;

 private:
  reports::FrameInfo frame_;
  const widgets::Messages& messages_;
};

// Connects the report windows to the main window: double-click on a lexical unit and the
// context menus of the lexical-unit and frames lists.
class TSVExplorer;
void installReportWindows(TSVExplorer& window);

// Opens the report windows of the release at releaseFolder (a file-system path), reading the
// release index (refreshed first). Failures are shown in message boxes.
class ReportOpener {
 public:
  ReportOpener(const widgets::Messages& messages, QWidget* parent)
      : messages_(messages), parent_(parent) {}
  LexUnitReportWindow* openLexUnit(const std::string& releaseFolder, int64_t luId);
  FrameReportWindow* openFrame(const std::string& releaseFolder, const std::string& frameName);

 private:
  const widgets::Messages& messages_;
  QWidget* parent_;
};

}  // namespace sorvanta::shell
