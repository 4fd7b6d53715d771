#pragma once
// The Tools menu's "Export Annotation Sets…" and "Split…": two dialogs that collect the choices
// of `sorvanta export` and `sorvanta split`, then run the same functions of src/exports with the
// status bar's progress and Cancel, and show what was written in the status bar.
#include <QDialog>
#include <string>
#include <vector>

#include "exports/Export.h"
#include "exports/Split.h"

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace sorvanta::widgets {
class Messages;
}

namespace sorvanta::shell {

class TSVExplorer;

inline constexpr const char* kExportCaption = "Export";
inline constexpr const char* kSplitCaption = "Split";

// Format, all frames or those selected in the list, and the file to write.
class ExportDialog : public QDialog {
  Q_OBJECT

 public:
  // frameNames: the release's frames (UTF-8) in the order of the main window's list;
  // preselected: their positions to select at first.
  ExportDialog(const std::vector<std::string>& frameNames, const std::vector<int>& preselected,
               const widgets::Messages& messages, QWidget* parent = nullptr);

  // Why the choices cannot run (empty when they can).
  std::string problem() const;
  // The choices as a request on the release at releaseFolder (a file-system path).
  exports::ExportRequest request(const std::string& releaseFolder) const;
  // OK keeps the dialog open, with a message, while the choices cannot run.
  void accept() override;
  // Asks for the file to write (the save dialog) and puts it in the file box.
  void chooseFile();

  QComboBox* formatBox;  // JSON Lines, CoNLL
  QRadioButton* allFramesButton;
  QRadioButton* chosenFramesButton;
  QListWidget* frameList;
  QLineEdit* fileEdit;
  QPushButton* browseButton;
  QDialogButtonBox* buttons;

 private:
  const widgets::Messages& messages_;
};

// Seed (a random one at first, shown and editable), grouping, ratios, minimum annotated sets
// per lexical unit, format and the folder to write.
class SplitDialog : public QDialog {
  Q_OBJECT

 public:
  SplitDialog(const widgets::Messages& messages, QWidget* parent = nullptr);

  std::string problem() const;
  exports::SplitRequest request(const std::string& releaseFolder) const;
  void accept() override;
  void chooseFolder();
  // Puts a fresh random seed in the seed box.
  void drawSeed();

  QLineEdit* seedEdit;
  QPushButton* newSeedButton;
  QComboBox* groupingBox;  // sentence, lexical unit, frame
  QSpinBox* trainRatio;
  QSpinBox* devRatio;
  QSpinBox* testRatio;
  QSpinBox* minAnnotatedBox;
  QComboBox* formatBox;
  QLineEdit* folderEdit;
  QPushButton* browseButton;
  QDialogButtonBox* buttons;

 private:
  const widgets::Messages& messages_;
};

// Shows the dialog, then runs the export or split it was given (nothing when it was
// cancelled or another command runs).
void runExportDialog(TSVExplorer& window);
void runSplitDialog(TSVExplorer& window);

// Adds both to the Tools menu (actions named "ExportAction" and "SplitAction").
void installExportDialogs(TSVExplorer& window);

}  // namespace sorvanta::shell
