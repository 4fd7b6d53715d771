// Every control of the main window, the sentence dialog and the about box, found by its name:
// kind, caption or label, columns, ranges, initial values and help contexts.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "ShellFixture.h"
#include "shell/SVEAbout.h"
#include "shell/SentFrames.h"
#include "widgets/UpDown.h"

namespace sorvanta::testing {
namespace {

// The text of the label whose buddy is widget, or of widget itself when it has a caption.
QString captionOf(const QWidget* root, const QWidget* widget) {
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  for (const QLabel* label : root->findChildren<QLabel*>()) {
    if (label->buddy() == widget) return label->text();
  }
  return "<no label>";
}

// The text of a text box or memo.
QString textOf(const QWidget* widget) {
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) return memo->toPlainText();
  return "<not a text box>";
}

struct ControlCase {
  const char* name;
  const char* kind;     // class name
  const char* caption;  // caption or label; nullptr when it has none
  const char* initial;  // initial text of a text box; nullptr when not checked
  int helpContext;      // 0: none of its own
};

const ControlCase kMainControls[] = {
    {"FramesListView", "sorvanta::widgets::ReportListView", "Frames", nullptr, 0},
    {"NumFrEdit", "QLineEdit", "Total Number of Frames:", "", 0},
    {"AnnTotEdit", "QLineEdit", "Total Annotated Sentences:", "", 0},
    {"ButtonHelp", "QPushButton", "&Help", nullptr, 15000},
    {"ButtonFeedback", "QPushButton", "&Feedback", nullptr, 15140},
    {"ButtonAbout", "QPushButton", "&About", nullptr, 0},
    {"PageControl1", "QTabWidget", nullptr, nullptr, 15030},
    {"FramesTabSheet", "QWidget", nullptr, nullptr, 15010},
    {"FrameNameEdit", "QLineEdit", "Frame:", "", 0},
    {"FrDefMemo", "QPlainTextEdit", "Description:", "", 0},
    {"FEAdvStringGrid", "sorvanta::widgets::StringGrid", "Frame Elements", nullptr, 0},
    {"LexemeMemo", "QPlainTextEdit", "Lexemes", "", 0},
    {"Fr2FrAdvStringGrid", "sorvanta::widgets::StringGrid", "Frame-to-Frame Relations", nullptr, 0},
    {"LexUnitsTabSheet", "QWidget", nullptr, nullptr, 0},
    {"EditLexUnitFind", "QLineEdit", "Find lexical unit:", "", 0},
    {"ComboBoxSubCorp", "QComboBox", "Subcorpora:", nullptr, 0},
    {"LexUnitListView", "sorvanta::widgets::ReportListView", nullptr, nullptr, 0},
    {"SentAdvStringGrid", "sorvanta::widgets::StringGrid", nullptr, nullptr, 0},
    {"FETabSheet", "QWidget", nullptr, nullptr, 15020},
    {"FEListView", "sorvanta::widgets::ReportListView", nullptr, nullptr, 0},
    {"NumFEsEdit", "QLineEdit", "Number of Frame Elements:", "", 0},
    {"FEDefsAdvStringGrid", "sorvanta::widgets::StringGrid", nullptr, nullptr, 0},
    {"TabSheetSampSel", "QWidget", nullptr, nullptr, 15040},
    {"SelSampleButton", "QPushButton", "&Select Sample", nullptr, 0},
    {"LowAnnEdit", "QLineEdit", "Low", "0", 0},
    {"HiAnnEdit", "QLineEdit", "High", "0", 0},
    {"ProvAnsCheckBox", "QCheckBox", "Provide Frame Elements", nullptr, 0},
    {"NumFramesEdit", "QLineEdit", "Number of frames to select:", "", 0},
    {"NumSentsEdit", "QLineEdit", "Number of sentences to select:", "", 0},
    {"FrsCompEdit", "QLineEdit", "Frames Completed:", "0", 0},
    {"LabelSentsInFrames", "QLabel", "Total Number of Sentences in Frames:", nullptr, 0},
    {"SentInFrsEdit", "QLineEdit", "Total Number of Sentences in Frames:", "0", 0},
    {"LdTrngSetButton", "QPushButton", "Load Training Set", nullptr, 0},
    {"TrgFrCheckListBox", "QListWidget", nullptr, nullptr, 0},
    {"CrFrameFilesButton", "QPushButton", "Create Frame Files", nullptr, 0},
    {"CrDictsButton", "QPushButton", "Create Dictionaries", nullptr, 0},
    {"CheckBoxFramesOnly", "QCheckBox", "Frames Only TARKO Dictionary", nullptr, 0},
    {"ButtonSelSubCorp", "QPushButton", "Select Subcorpora", nullptr, 0},
    {"ButtonOthSyn", "QPushButton", "Other Syntactic Realizations", nullptr, 0},
    {"EditSynSpec", "QLineEdit", "Preposition:", "", 0},
    {"PercentEdit", "QLineEdit", "Percentage of sentences to be selected:", "0", 0},
};

void checkControls(const QWidget& root, const ControlCase* begin, const ControlCase* end) {
  for (const ControlCase* c = begin; c != end; ++c) {
    SCOPED_TRACE(c->name);
    const auto found = root.findChildren<QWidget*>(c->name);
    ASSERT_EQ(found.size(), 1);
    const QWidget* widget = found.front();
    EXPECT_STREQ(widget->metaObject()->className(), c->kind);
    if (c->caption) {
      EXPECT_EQ(captionOf(&root, widget), c->caption);
    }
    if (c->initial) {
      EXPECT_EQ(textOf(widget), c->initial);
    }
    EXPECT_EQ(widget->property(shell::kHelpContextProperty).toInt(), c->helpContext);
  }
}

std::vector<QString> headers(const widgets::ReportListView* view) {
  std::vector<QString> shown;
  for (int c = 0; c < view->model()->columnCount(); ++c)
    shown.push_back(view->model()->headerData(c, Qt::Horizontal).toString());
  return shown;
}

std::vector<int> widths(const QTableView* view) {
  std::vector<int> shown;
  for (int c = 0; c < view->model()->columnCount(); ++c) shown.push_back(view->columnWidth(c));
  return shown;
}

std::vector<bool> rightAligned(const widgets::ReportListView* view) {
  std::vector<bool> shown;
  for (int c = 0; c < view->model()->columnCount(); ++c) {
    const int alignment =
        view->model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
    shown.push_back((alignment & Qt::AlignRight) != 0);
  }
  return shown;
}

using Controls = ShellTest;

TEST_F(Controls, MainWindowHoldsEveryControlAsDesigned) {
  nextFileName = std::nullopt;  // no release: the design values stay untouched
  shell::TSVExplorer& form = openWindow(elsewhere.path().string() + "/");
  EXPECT_EQ(form.objectName(), "SVExplorer");
  EXPECT_EQ(form.windowTitle(), "Sorvanta Explorer");
  EXPECT_EQ(form.size(), QSize(770, 558));
  EXPECT_EQ(form.property(shell::kHelpContextProperty).toInt(), 15000);
  checkControls(form, std::begin(kMainControls), std::end(kMainControls));

  // Tabs in order, opening on "Frames".
  const std::vector<std::pair<QString, QString>> tabs = {{"FramesTabSheet", "Frames"},
                                                         {"LexUnitsTabSheet", "Lexical Units"},
                                                         {"FETabSheet", "Frame Elements"},
                                                         {"TabSheetSampSel", "Sample Selection"}};
  // The designed four, then the Search tab added after them.
  ASSERT_EQ(form.PageControl1->count(), 5);
  EXPECT_EQ(form.PageControl1->tabText(4), "Search");
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(form.PageControl1->widget(i)->objectName(), tabs[size_t(i)].first);
    EXPECT_EQ(form.PageControl1->tabText(i), tabs[size_t(i)].second);
  }
  EXPECT_EQ(form.PageControl1->currentWidget(), form.FramesTabSheet);

  // Lists: headers, widths, alignment, selection.
  EXPECT_EQ(headers(form.FramesListView),
            (std::vector<QString>{"Frame", "ID", "FEs", "LUs", "Anns"}));
  EXPECT_EQ(widths(form.FramesListView), (std::vector<int>{150, 50, 40, 50, 100}));
  EXPECT_EQ(rightAligned(form.FramesListView), (std::vector<bool>{false, true, true, true, true}));
  EXPECT_EQ(form.FramesListView->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(
      headers(form.LexUnitListView),
      (std::vector<QString>{"Lexical Unit", "P", "LU-ID", "Anns", "Frame", "FR-ID", "Definition"}));
  EXPECT_EQ(widths(form.LexUnitListView), (std::vector<int>{100, 20, 42, 38, 150, 40, 340}));
  EXPECT_EQ(rightAligned(form.LexUnitListView),
            (std::vector<bool>{false, true, true, true, false, true, false}));
  EXPECT_EQ(form.LexUnitListView->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(form.LexUnitListView->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(headers(form.FEListView), (std::vector<QString>{"Frame Element", "Number"}));
  EXPECT_EQ(widths(form.FEListView), (std::vector<int>{100, 50}));
  EXPECT_EQ(rightAligned(form.FEListView), (std::vector<bool>{false, true}));
  EXPECT_EQ(form.FEListView->selectionMode(), QAbstractItemView::SingleSelection);

  // Grids.
  EXPECT_EQ(form.FEAdvStringGrid->columnCount(), 2);
  EXPECT_EQ(form.Fr2FrAdvStringGrid->columnCount(), 2);
  EXPECT_EQ(widths(form.Fr2FrAdvStringGrid), (std::vector<int>{148, 148}));
  EXPECT_EQ(form.SentAdvStringGrid->columnCount(), 1);
  EXPECT_EQ(widths(form.SentAdvStringGrid), std::vector<int>{733});
  EXPECT_EQ(form.SentAdvStringGrid->gridRowCount(), 1);
  EXPECT_EQ(widths(form.FEDefsAdvStringGrid), (std::vector<int>{101, 104, 31, 380}));
  EXPECT_EQ(form.FEDefsAdvStringGrid->gridRowCount(), 2);
  EXPECT_EQ(gridColumn(form.FEDefsAdvStringGrid, 0, 0).front(), "Element");
  std::vector<std::string> header;
  for (int c = 0; c < 4; ++c) header.push_back(form.FEDefsAdvStringGrid->cell(c, 0));
  EXPECT_EQ(header, (std::vector<std::string>{"Element", "Frame", "Type", "Definition"}));
  EXPECT_TRUE(form.LexemeMemo->font().italic());
  EXPECT_FALSE(form.ComboBoxSubCorp->isEditable());

  // The pop-up menu of the sentence grid.
  EXPECT_EQ(form.PopupMenuSentView->objectName(), "PopupMenuSentView");
  ASSERT_EQ(form.PopupMenuSentView->actions().size(), 1);
  EXPECT_EQ(form.PopupMenuSentView->actions().front(), form.MenuItemShowFEs);
  EXPECT_EQ(form.MenuItemShowFEs->objectName(), "MenuItemShowFEs");
  EXPECT_EQ(form.MenuItemShowFEs->text(), "Show frame elements");

  // Spinners: range, step, position, no wrap-around; the percentage pair is hidden.
  struct Spinner {
    widgets::UpDown* upDown;
    const char* name;
    QLineEdit* edit;
    int maximum;
  } spinners[] = {{form.LowAnnUpDown, "LowAnnUpDown", form.LowAnnEdit, 1000},
                  {form.HiAnnUpDown, "HiAnnUpDown", form.HiAnnEdit, 10000},
                  {form.PercentUpDown, "PercentUpDown", form.PercentEdit, 100}};
  for (const Spinner& s : spinners) {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(s.upDown->objectName(), s.name);
    EXPECT_EQ(s.upDown->associate(), s.edit);
    EXPECT_EQ(s.upDown->minimum(), 0);
    EXPECT_EQ(s.upDown->maximum(), s.maximum);
    EXPECT_EQ(s.upDown->increment(), 10);
    EXPECT_EQ(s.upDown->position(), 0);
    EXPECT_FALSE(s.upDown->wraps());
  }
  EXPECT_TRUE(form.PercentEdit->isHidden());
  EXPECT_TRUE(form.PercentUpDown->isHidden());
  EXPECT_TRUE(form.LabelPercent->isHidden());
  EXPECT_EQ(form.LabelPercent->objectName(), "LabelPercent");
  EXPECT_FALSE(form.ProvAnsCheckBox->isChecked());
  EXPECT_FALSE(form.CheckBoxFramesOnly->isChecked());
  EXPECT_EQ(form.SortColumn, 0);
  EXPECT_EQ(form.SVOpenDialog.title(), "Sorvanta Location");
}

TEST_F(Controls, SentenceDialogAndAboutBoxAsDesigned) {
  shell::TFormSentFEs dialog;
  EXPECT_EQ(dialog.objectName(), "FormSentFEs");
  EXPECT_EQ(dialog.windowTitle(), "Sentence Frame Elements");
  EXPECT_EQ(dialog.size(), QSize(585, 306));
  const ControlCase dialogControls[] = {
      {"EditSentFr", "QLineEdit", "Frame:", "", 0},
      {"EditSentLexUnit", "QLineEdit", "Lexical Unit:", "", 0},
      {"MemoSent", "QPlainTextEdit", "Sentence: ", nullptr, 0},
      {"LabelSent", "QLabel", "Sentence: ", nullptr, 0},
      {"FEListView", "sorvanta::widgets::ReportListView", nullptr, nullptr, 0},
      {"BitBtnClose", "QPushButton", "&Close", nullptr, 0},
  };
  checkControls(dialog, std::begin(dialogControls), std::end(dialogControls));
  EXPECT_EQ(dialog.MemoSent->size(), QSize(569, 49));
  EXPECT_EQ(headers(dialog.FEListView), (std::vector<QString>{"Frame Element", "Sentence Text"}));
  EXPECT_EQ(widths(dialog.FEListView), (std::vector<int>{100, 446}));
  EXPECT_TRUE(dialog.FEListView->showGrid());
  EXPECT_EQ(dialog.FEListView->editTriggers(), QAbstractItemView::NoEditTriggers);
  dialog.show();
  QTest::mouseClick(dialog.BitBtnClose, Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());

  shell::TAboutBox about;
  EXPECT_EQ(about.objectName(), "AboutBox");
  EXPECT_EQ(about.windowTitle(), "Sorvanta Explorer");
  EXPECT_EQ(about.size(), QSize(298, 213));
  EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(about.ProductName->text(), "Sorvanta Explorer");
  EXPECT_EQ(about.Version->text(), "Version 2.0");
  EXPECT_EQ(about.Comments->text(), "Loading Sorvanta data. Please wait.");
  EXPECT_TRUE(about.Comments->wordWrap());
  EXPECT_EQ(about.OKButton->text(), "OK");
  EXPECT_TRUE(about.OKButton->isDefault());
  EXPECT_FALSE(about.ProgramIcon->pixmap().isNull());
  about.show();
  QTest::mouseClick(about.OKButton, Qt::LeftButton);
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace sorvanta::testing
