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
#include <string_view>
#include <vector>

#include "lexicon/ListRow.h"
#include "lexicon/ReleaseFolder.h"
#include "text/Outcome.h"
#include "text/Progress.h"
#include "text/WorkingText.h"
#include "views/VisitHistory.h"
#include "widgets/Messages.h"
#include "widgets/OpenFileDialog.h"
#include "settings/QtSettingsStore.h"
#include "xml/XpObjModel.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;

namespace sorvanta::widgets {
class ReportListView;
class StringGrid;
class UpDown;
}  // namespace sorvanta::widgets

namespace sorvanta::shell {

class TAboutBox;
class RelationsGraphWindow;
class SearchTab;

// Help contexts, kept on each widget as the dynamic property "helpContext".
inline constexpr const char* kHelpContextProperty = "helpContext";
inline constexpr int kHelpMain = 15000;
inline constexpr int kHelpFramesTab = 15010;
inline constexpr int kHelpFrameElementsTab = 15020;
inline constexpr int kHelpPageControl = 15030;
inline constexpr int kHelpSampleSelectionTab = 15040;
inline constexpr int kHelpSearchTab = 15050;
inline constexpr int kHelpFeedback = 15140;

// Shown by the commands that read or write the data folder when start-up found none.
inline constexpr std::string_view kWriteWithoutRelations =
    "The relations document could not be read. Write the dictionaries without relations?";
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

  // Release tools beyond the designed window (ReleaseTools.cpp), in the Tools menu
  // (Ctrl+Shift+K, Ctrl+Shift+D). Each opens a ReleaseFindingsWindow.
  void CheckReleaseClick();
  void CompareWithReleaseClick();
  // Shows a frame (by name, working text) or a lexical unit (by ID) in its tab, as a click
  // on its row does; false when the lists hold none.
  bool showFrameNamed(const std::string& name);
  bool showLexUnitWithId(int64_t id);
  // Chooses the release to compare with (a folder, UTF-8; empty when cancelled). Tests
  // replace the folder dialog.
  std::function<std::string()> ChooseOtherRelease;

  // Seeds the sample draw: the calendar time in seconds (tests fix it).
  std::function<uint32_t()> SampleSeed = [] { return static_cast<uint32_t>(std::time(nullptr)); };

  // State that outlives one command.
  lexicon::ReleaseFolder DataFolder;  // empty until start-up found it
  std::unique_ptr<settings::QtSettingsStore> SettingsHandle;
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

  // Around the designed controls (SorvantaFormFrame.cpp): the menu bar above them, the status
  // bar below, the splitters between them, keyboard shortcuts and navigation.
  QMenuBar* MenuBar;
  QMenu* FileMenu;
  QMenu* RecentMenu;
  QMenu* ViewMenu;
  QMenu* ToolsMenu;
  QMenu* HelpMenu;
  QAction* OpenReleaseAction;
  QAction* QuitAction;
  QAction* BackAction;
  QAction* ForwardAction;
  std::vector<QAction*> TabActions;  // Ctrl+1 … Ctrl+5: the tab at that place
  QStatusBar* StatusBar;
  QLabel* ReleaseLabel;   // the release folder and its totals
  QLabel* SummaryLabel;   // what the last command wrote, with a link to its folder
  QProgressBar* CommandProgressBar;
  QPushButton* CancelButton;
  QPushButton* OpenReleaseButton;  // offered while no release is open
  QSplitter* MainSplitter;         // frames list above, tab pages below
  QSplitter* FramesTabSplitter;
  QSplitter* LexUnitsTabSplitter;
  QSplitter* FETabSplitter;
  QMenu* RelatedFramesMenu;
  SearchTab* SearchPage;  // the "Search" tab after the designed ones (SearchTab.cpp)  // the choice when a relation cell names several frames
  // The progress of the command running now (the Cancel button cancels it), or none.
  text::Progress* RunningCommand = nullptr;
  // The controls that start commands (SampleSelectionTab.cpp).
  std::vector<QWidget*> commandControls() const;

  // Other windows put their actions in the Tools menu (shown once it holds one).
  void addToolsAction(QAction* action);
  // Shows the notices of a command's outcome that need the user's attention (each error in a
  // message box under its caption, then the warnings together in one summary box) and the
  // command's summary in the status bar, followed by note when the command finished ("seed 7").
  void showOutcome(std::string_view command, const text::Outcome& outcome,
                   size_t messageLines = 0, std::string_view messagesFile = {},
                   std::string_view note = {}) const;
  // Asks for the frames document of another release and opens that release.
  void OpenReleaseClick();
  // Loads the release, shows it as start-up does and stores it as the data folder. A folder
  // without a frames document is reported and the open release stays.
  void openRelease(const lexicon::ReleaseFolder& folder);
  // Selects the frame (Frames tab) or lexical unit (Lexical Units tab) and shows it; false when
  // the list holds none such.
  bool selectFrameNamed(std::string_view name);
  bool selectLexUnitWithId(std::string_view id);
  // Shows the visit before (Back) or after (Forward) the current one without recording it.
  enum class HistoryStep { Back, Forward };
  void goInHistory(HistoryStep step);
  // Back and Forward are enabled while the history holds a visit that way.
  void updateHistoryActions();
  // Opens the frame(s) a relations cell names: one directly, several through a menu.
  void Fr2FrAdvStringGridActivate(int row, int column);
  void FEDefsAdvStringGridActivate(int row, int column);
  // The window is larger than designed: lists and grids fit and stretch their columns.
  bool growing() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Creates and lays out every control (SorvantaFormLayout.cpp): the top area, then each tab.
  void buildControls();
  QWidget* buildTopArea();
  QWidget* buildFramesTab();
  QWidget* buildLexUnitsTab();
  QWidget* buildFrameElementsTab();
  QWidget* buildSampleSelectionTab();
  // Connects each control event to its handler through the error display.
  void connectHandlers();
  void connectReleaseTools();
  // The context menus of the frames list and the relations grid that open the graph window.
  void installRelationsGraphMenus();
  // Start-up steps after the data folder is known (StartUp.cpp).
  // followUp: the sentence after the reason, telling what the user can do now.
  bool loadFramesDocument(const std::string& path, const char* followUp);
  void loadRelationsDocument();
  // After the frames document of DataFolder loaded: the lists, the relations, the first frame
  // and the status bar.
  void showLoadedRelease();
  // Fills the three lists and the totals; the row of the first frame, if any.
  std::optional<size_t> fillLists();
  void closeSplash();
  // Shows the lexical unit's sentences and subcorpora (the row's "LU-ID" cell).
  void showLexUnit(const lexicon::ListRow& row);
  void showSentenceRows(const std::vector<text::ShownText>& rows);
  // False, after telling the user, when start-up found no data folder to read and write.
  bool haveDataFolder() const;
  // The frame: menu bar, status bar, shortcuts and their connections (SorvantaFormFrame.cpp).
  void buildMenuBar();
  void buildStatusBar();
  void connectFrameHandlers();
  void fillRecentMenu();
  void showReleaseStatus();
  // Start-up or an opening stopped: the splash goes and the window offers Open Release….
  void offerOpenRelease();
  // Empties the views of the release that was shown.
  void clearReleaseViews();
  void noteVisit(views::Visit::Kind kind, std::string_view key);
  void restoreWindowState();
  void saveWindowState() const;
  void applyGrowing();

  // Holds the data folder's lock for a command that writes there (SampleSelectionTab.cpp).
  friend class FolderWriteLock;

  widgets::Messages messages_;
  std::string executableFolder_;
  bool shown_ = false;
  // The start-up splash; it stays on screen when start-up stops at a message.
  std::unique_ptr<TAboutBox> splash_;
  std::unique_ptr<RelationsGraphWindow> relationsGraph_;
  // Frame and name of the lexical unit whose sentences are shown.
  text::ShownText shownFrame_;
  text::ShownText shownLexUnit_;
  views::VisitHistory history_;
  bool navigating_ = false;  // Back/Forward is showing a visit: not a new one
};

}  // namespace sorvanta::shell
