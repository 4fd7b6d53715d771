#pragma once
// TSVExplorer: the main window. It owns the controls, the document objects and the state that
// outlive one command, and routes every control event to a handler that reads the controls,
// calls the browsing core and writes the result back.
#include <QWidget>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lexicon/ListRow.h"
#include "widgets/Messages.h"
#include "widgets/OpenFileDialog.h"
#include "widgets/QtSettingsStore.h"
#include "xml/XpObjModel.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace sorvanta::widgets {
class ReportListView;
class StringGrid;
class UpDown;
}  // namespace sorvanta::widgets

namespace sorvanta::shell {

class TAboutBox;
class RelationsGraphWindow;

// Help contexts, kept on each widget as the dynamic property "helpContext".
inline constexpr const char* kHelpContextProperty = "helpContext";
inline constexpr int kHelpMain = 15000;
inline constexpr int kHelpFramesTab = 15010;
inline constexpr int kHelpFrameElementsTab = 15020;
inline constexpr int kHelpPageControl = 15030;
inline constexpr int kHelpSampleSelectionTab = 15040;
inline constexpr int kHelpFeedback = 15140;

// Shown by the commands that read or write the data folder when start-up found none.
inline constexpr const char* kNoDataFolder =
    "No data folder is open. Start the program again and choose the frames document.";

class TSVExplorer : public QWidget {
  Q_OBJECT

 public:
  explicit TSVExplorer(QWidget* parent = nullptr);
  ~TSVExplorer() override;

  // Folder of the running executable with its trailing separator (working text). Defaults to
  // the application's folder; tests place a release beside a pretend executable this way.
  void setExecutableFolder(std::string folder) { executableFolder_ = std::move(folder); }
  const widgets::Messages& messages() const { return messages_; }

  // Start-up: locates the data folder, loads the frames and relations documents, fills the
  // lists and shows the first frame. Runs once, when the window is first shown.
  void FormShow();

  // Command handlers, one per control event.
  void FramesListViewClick();
  void FramesListViewColumnClick(int column);
  int FramesListViewCompare(const lexicon::ListRow& row1, const lexicon::ListRow& row2) const;
  void LexUnitListViewClick();
  void LexUnitListViewColumnClick(int column);
  int LexUnitListViewCompare(const lexicon::ListRow& row1, const lexicon::ListRow& row2) const;
  void EditLexUnitFindChange();
  void ComboBoxSubCorpChange();
  void SentAdvStringGridClickCell(int row, int column);
  void SentAdvStringGridRightClickCell(int row, int column);
  void MenuItemShowFEsClick();
  void FEListViewClick();
  void SelSampleButtonClick();
  void LdTrngSetButtonClick();
  void CrFrameFilesButtonClick();
  void CrDictsButtonClick();
  void ButtonSelSubCorpClick();
  void ButtonOthSynClick();
  void ButtonHelpClick();
  void ButtonFeedbackClick();
  void ButtonAboutClick();
  // Opens the "Relations Graph" window on a frame (RelationsGraphMenus.cpp).
  void ShowRelationsGraph(const std::string& frameName);
  RelationsGraphWindow* relationsGraphWindow() const { return relationsGraph_.get(); }

  // Seeds the sample draw: the calendar time in seconds (tests fix it).
  std::function<uint32_t()> SampleSeed = [] { return static_cast<uint32_t>(std::time(nullptr)); };

  // State that outlives one command.
  std::string DataFolder;  // working text, ends with the separator once start-up found it
  std::unique_ptr<widgets::QtSettingsStore> SettingsHandle;
  const xml::TXpNode* FramesRoot = nullptr;
  const xml::TXpNode* RelationsRoot = nullptr;
  int32_t SelectedSentenceRow = -1;
  int SortColumn = 0;  // shared by the frames list and the lexical-unit list

  xml::TXpObjModel FramesXpObjModel;
  xml::TXpObjModel FrRelXpObjModel;
  // Lexical-unit documents loaded by the commands; the sentence views keep their own below.
  xml::TXpObjModel LexUnitXpObjModel;
  xml::TXpObjModel TrainingXpObjModel;
  xml::TXpObjModel TestXpObjModel;
  xml::TXpObjModel DictXpObjModel;
  xml::TXpObjModel XpObjModelLexEnt;
  // The annotation document of the lexical unit whose sentences are shown, so the subcorpus
  // choice and the frame-element dialog keep to it whatever the commands load meanwhile.
  xml::TXpObjModel ShownLexUnitXpObjModel;

  widgets::OpenFileDialog SVOpenDialog;

  // Top area.
  widgets::ReportListView* FramesListView;
  QLineEdit* NumFrEdit;
  QLineEdit* AnnTotEdit;
  QPushButton* ButtonHelp;
  QPushButton* ButtonFeedback;
  QPushButton* ButtonAbout;
  QTabWidget* PageControl1;
  // Tab "Frames".
  QWidget* FramesTabSheet;
  QLineEdit* FrameNameEdit;
  QPlainTextEdit* FrDefMemo;
  widgets::StringGrid* FEAdvStringGrid;
  QPlainTextEdit* LexemeMemo;
  widgets::StringGrid* Fr2FrAdvStringGrid;
  // Tab "Lexical Units".
  QWidget* LexUnitsTabSheet;
  QLineEdit* EditLexUnitFind;
  QComboBox* ComboBoxSubCorp;
  widgets::ReportListView* LexUnitListView;
  widgets::StringGrid* SentAdvStringGrid;
  QMenu* PopupMenuSentView;
  QAction* MenuItemShowFEs;
  // Tab "Frame Elements".
  QWidget* FETabSheet;
  widgets::ReportListView* FEListView;
  QLineEdit* NumFEsEdit;
  widgets::StringGrid* FEDefsAdvStringGrid;
  // Tab "Sample Selection".
  QWidget* TabSheetSampSel;
  QPushButton* SelSampleButton;
  QLineEdit* LowAnnEdit;
  widgets::UpDown* LowAnnUpDown;
  QLineEdit* HiAnnEdit;
  widgets::UpDown* HiAnnUpDown;
  QCheckBox* ProvAnsCheckBox;
  QLineEdit* NumFramesEdit;
  QLineEdit* NumSentsEdit;
  QLineEdit* FrsCompEdit;
  QLabel* LabelSentsInFrames;
  QLineEdit* SentInFrsEdit;
  QPushButton* LdTrngSetButton;
  QListWidget* TrgFrCheckListBox;
  QPushButton* CrFrameFilesButton;
  QPushButton* CrDictsButton;
  QCheckBox* CheckBoxFramesOnly;
  QPushButton* ButtonSelSubCorp;
  QPushButton* ButtonOthSyn;
  QLineEdit* EditSynSpec;
  QLabel* LabelPercent;
  QLineEdit* PercentEdit;
  widgets::UpDown* PercentUpDown;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Creates and lays out every control (SorvantaFormLayout.cpp).
  void buildControls();
  // Connects each control event to its handler through the error display.
  void connectHandlers();
  // The context menus of the frames list and the relations grid that open the graph window.
  void installRelationsGraphMenus();
  // Start-up steps after the data folder is known (StartUp.cpp).
  bool loadFramesDocument(const std::string& path);
  void loadRelationsDocument();
  // Fills the three lists and the totals; the row of the first frame, if any.
  std::optional<size_t> fillLists();
  void closeSplash();
  // Shows the lexical unit's sentences and subcorpora (the row's "LU-ID" cell).
  void showLexUnit(const lexicon::ListRow& row);
  void showSentenceRows(const std::vector<std::string>& rows);
  // The controls that start commands (SampleSelectionTab.cpp).
  std::vector<QWidget*> commandControls() const;
  // The preposition study's folder: the stored data folder, ending with the separator.
  std::string studyFolder() const;
  // False, after telling the user, when start-up found no data folder to read and write.
  bool haveDataFolder(const std::string& folder) const;

  widgets::Messages messages_;
  std::string executableFolder_;
  bool shown_ = false;
  // The start-up splash; it stays on screen when start-up stops at a message.
  std::unique_ptr<TAboutBox> splash_;
  std::unique_ptr<RelationsGraphWindow> relationsGraph_;
  // Frame and name of the lexical unit whose sentences are shown.
  std::string shownFrame_;
  std::string shownLexUnit_;
};

}  // namespace sorvanta::shell
