// The controls of the main window: names, captions, columns, ranges and initial texts, and
// where they sit. Behaviour lives in SorvantaForm.cpp.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/SorvantaForm.h"
#include "widgets/ReportListView.h"
#include "widgets/StringGrid.h"
#include "widgets/UpDown.h"

namespace sorvanta::shell {

namespace {

template <class Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, const char* text = "") {
  auto* edit = named(new QLineEdit(parent), name);
  edit->setText(text);
  return edit;
}

QLabel* label(QWidget* parent, const char* text, QWidget* buddy = nullptr) {
  auto* shown = new QLabel(text, parent);
  if (buddy) shown->setBuddy(buddy);
  return shown;
}

// A splitter whose parts never collapse to nothing, sharing the space as `shares` says.
QSplitter* splitter(Qt::Orientation orientation, const char* name, QWidget* parent,
                    std::initializer_list<std::pair<QWidget*, int>> parts) {
  auto* shown = named(new QSplitter(orientation, parent), name);
  shown->setChildrenCollapsible(false);
  QList<int> sizes;
  int index = 0;
  for (const auto& [part, share] : parts) {
    shown->addWidget(part);
    shown->setStretchFactor(index++, share);
    sizes.push_back(share * 100);
  }
  shown->setSizes(sizes);
  return shown;
}

// A plain widget holding layout, to place a layout in a splitter.
QWidget* holder(QWidget* parent, QLayout* layout) {
  auto* shown = new QWidget(parent);
  layout->setContentsMargins(0, 0, 0, 0);
  shown->setLayout(layout);
  return shown;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
  return named(new QPushButton(caption, parent), name);
}

// A memo: multi-line text with a vertical scroll bar.
QPlainTextEdit* memo(QWidget* parent, const char* name) {
  auto* shown = named(new QPlainTextEdit(parent), name);
  shown->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  shown->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return shown;
}

// A text box with its spinner: range, step and position, no wrap-around.
widgets::UpDown* upDown(QWidget* parent, QLineEdit* edit, const char* name, int minimum,
                        int maximum, int increment) {
  auto* spinner = named(new widgets::UpDown(edit, parent), name);
  spinner->setRange(minimum, maximum);
  spinner->setIncrement(increment);
  spinner->setWrap(false);
  spinner->setPosition(0);
  return spinner;
}

// The text box and its spinner side by side.
QWidget* withSpinner(QWidget* parent, QLineEdit* edit, widgets::UpDown* spinner) {
  auto* pair = new QWidget(parent);
  auto* row = new QHBoxLayout(pair);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  edit->setParent(pair);
  spinner->setParent(pair);
  edit->setFixedWidth(64);
  row->addWidget(edit);
  row->addWidget(spinner);
  row->addStretch();
  return pair;
}

void setHelpContext(QWidget* widget, int context) {
  widget->setProperty(kHelpContextProperty, context);
}

}  // namespace

void TSVExplorer::buildControls() {
  setObjectName("SVExplorer");
  setWindowTitle("Sorvanta Explorer");
  resize(770, 558);
  setHelpContext(this, kHelpMain);

  QWidget* top = buildTopArea();
  PageControl1 = named(new QTabWidget(this), "PageControl1");
  setHelpContext(PageControl1, kHelpPageControl);
  PageControl1->addTab(buildFramesTab(), "Frames");
  PageControl1->addTab(buildLexUnitsTab(), "Lexical Units");
  PageControl1->addTab(buildFrameElementsTab(), "Frame Elements");
  PageControl1->addTab(buildSampleSelectionTab(), "Sample Selection");
  PageControl1->setCurrentWidget(FramesTabSheet);

  // The top area and the page control share the height as designed (217 to 341), with a
  // splitter between them; the menu bar above and the status bar below.
  MainSplitter = splitter(Qt::Vertical, "MainSplitter", this, {{top, 217}, {PageControl1, 341}});
  buildMenuBar();
  buildStatusBar();
  auto* formLayout = new QVBoxLayout(this);
  formLayout->setContentsMargins(8, 0, 8, 0);
  formLayout->setMenuBar(MenuBar);
  formLayout->addWidget(MainSplitter, 1);
  formLayout->addWidget(StatusBar);
}

// The frames list with the totals and the three buttons beside it.
QWidget* TSVExplorer::buildTopArea() {
  auto* top = new QWidget(this);
  FramesListView = named(new widgets::ReportListView(top), "FramesListView");
  FramesListView->setColumns({{"Frame", 150},
                              {"ID", 50, Qt::AlignRight},
                              {"FEs", 40, Qt::AlignRight},
                              {"LUs", 50, Qt::AlignRight},
                              {"Anns", 100, Qt::AlignRight}},
                             true);
  FramesListView->setMinimumWidth(430);
  NumFrEdit = lineEdit(top, "NumFrEdit");
  AnnTotEdit = lineEdit(top, "AnnTotEdit");
  ButtonHelp = button(top, "ButtonHelp", "&Help");
  setHelpContext(ButtonHelp, kHelpMain);
  ButtonFeedback = button(top, "ButtonFeedback", "&Feedback");
  setHelpContext(ButtonFeedback, kHelpFeedback);
  ButtonAbout = button(top, "ButtonAbout", "&About");

  auto* framesColumn = new QVBoxLayout();
  framesColumn->addWidget(label(top, "Frames", FramesListView));
  framesColumn->addWidget(FramesListView, 1);
  auto* totals = new QFormLayout();
  totals->addRow(label(top, "Total Number of Frames:", NumFrEdit), NumFrEdit);
  totals->addRow(label(top, "Total Annotated Sentences:", AnnTotEdit), AnnTotEdit);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(ButtonHelp);
  buttons->addWidget(ButtonFeedback);
  buttons->addWidget(ButtonAbout);
  auto* side = new QVBoxLayout();
  side->addSpacing(16);
  side->addLayout(totals);
  side->addStretch(1);
  side->addLayout(buttons);
  auto* topLayout = new QHBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addLayout(framesColumn, 3);
  topLayout->addLayout(side, 2);
  return top;
}

QWidget* TSVExplorer::buildFramesTab() {
  FramesTabSheet = named(new QWidget(), "FramesTabSheet");
  setHelpContext(FramesTabSheet, kHelpFramesTab);
  FrameNameEdit = lineEdit(FramesTabSheet, "FrameNameEdit");
  FrDefMemo = memo(FramesTabSheet, "FrDefMemo");
  FEAdvStringGrid = named(new widgets::StringGrid(2, false, FramesTabSheet), "FEAdvStringGrid");
  FEAdvStringGrid->verticalHeader()->setDefaultSectionSize(17);
  FEAdvStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FEAdvStringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  LexemeMemo = memo(FramesTabSheet, "LexemeMemo");
  QFont italic = LexemeMemo->font();
  italic.setItalic(true);
  LexemeMemo->setFont(italic);
  Fr2FrAdvStringGrid =
      named(new widgets::StringGrid(2, false, FramesTabSheet), "Fr2FrAdvStringGrid");
  Fr2FrAdvStringGrid->setColumnWidth(0, 148);
  Fr2FrAdvStringGrid->setColumnWidth(1, 148);
  Fr2FrAdvStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Fr2FrAdvStringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* frameLeft = new QVBoxLayout();
  auto* nameRow = new QHBoxLayout();
  nameRow->addWidget(label(FramesTabSheet, "Frame:", FrameNameEdit));
  nameRow->addWidget(FrameNameEdit, 1);
  frameLeft->addLayout(nameRow);
  frameLeft->addWidget(label(FramesTabSheet, "Description:", FrDefMemo));
  frameLeft->addWidget(FrDefMemo, 2);
  frameLeft->addWidget(label(FramesTabSheet, "Frame Elements", FEAdvStringGrid));
  frameLeft->addWidget(FEAdvStringGrid, 3);
  auto* frameRight = new QVBoxLayout();
  frameRight->addWidget(label(FramesTabSheet, "Lexemes", LexemeMemo));
  frameRight->addWidget(LexemeMemo, 2);
  frameRight->addWidget(label(FramesTabSheet, "Frame-to-Frame Relations", Fr2FrAdvStringGrid));
  frameRight->addWidget(Fr2FrAdvStringGrid, 3);
  FramesTabSplitter = splitter(Qt::Horizontal, "FramesTabSplitter", FramesTabSheet,
                               {{holder(FramesTabSheet, frameLeft), 4},
                                {holder(FramesTabSheet, frameRight), 3}});
  auto* framesTabLayout = new QHBoxLayout(FramesTabSheet);
  framesTabLayout->addWidget(FramesTabSplitter);
  return FramesTabSheet;
}

QWidget* TSVExplorer::buildLexUnitsTab() {
  LexUnitsTabSheet = named(new QWidget(), "LexUnitsTabSheet");
  EditLexUnitFind = lineEdit(LexUnitsTabSheet, "EditLexUnitFind");
  ComboBoxSubCorp = named(new QComboBox(LexUnitsTabSheet), "ComboBoxSubCorp");
  ComboBoxSubCorp->setEditable(false);
  ComboBoxSubCorp->setMinimumWidth(200);
  LexUnitListView = named(new widgets::ReportListView(LexUnitsTabSheet), "LexUnitListView");
  LexUnitListView->setColumns({{"Lexical Unit", 100},
                               {"P", 20, Qt::AlignRight},
                               {"LU-ID", 42, Qt::AlignRight},
                               {"Anns", 38, Qt::AlignRight},
                               {"Frame", 150},
                               {"FR-ID", 40, Qt::AlignRight},
                               {"Definition", 340}},
                              false);
  SentAdvStringGrid =
      named(new widgets::StringGrid(1, false, LexUnitsTabSheet), "SentAdvStringGrid");
  SentAdvStringGrid->setColumnWidth(0, 733);
  SentAdvStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SentAdvStringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PopupMenuSentView = named(new QMenu(SentAdvStringGrid), "PopupMenuSentView");
  MenuItemShowFEs = PopupMenuSentView->addAction("Show frame elements");
  MenuItemShowFEs->setObjectName("MenuItemShowFEs");

  auto* findRow = new QHBoxLayout();
  findRow->addWidget(label(LexUnitsTabSheet, "Find lexical unit:", EditLexUnitFind));
  findRow->addWidget(EditLexUnitFind, 1);
  findRow->addSpacing(24);
  findRow->addWidget(label(LexUnitsTabSheet, "Subcorpora:", ComboBoxSubCorp));
  findRow->addWidget(ComboBoxSubCorp, 1);
  LexUnitsTabSplitter = splitter(Qt::Vertical, "LexUnitsTabSplitter", LexUnitsTabSheet,
                                 {{LexUnitListView, 1}, {SentAdvStringGrid, 1}});
  auto* lexUnitsLayout = new QVBoxLayout(LexUnitsTabSheet);
  lexUnitsLayout->addLayout(findRow);
  lexUnitsLayout->addWidget(LexUnitsTabSplitter, 1);
  return LexUnitsTabSheet;
}

QWidget* TSVExplorer::buildFrameElementsTab() {
  FETabSheet = named(new QWidget(), "FETabSheet");
  setHelpContext(FETabSheet, kHelpFrameElementsTab);
  FEListView = named(new widgets::ReportListView(FETabSheet), "FEListView");
  FEListView->setColumns({{"Frame Element", 100}, {"Number", 50, Qt::AlignRight}}, false);
  FEListView->setMinimumWidth(190);
  NumFEsEdit = lineEdit(FETabSheet, "NumFEsEdit");
  FEDefsAdvStringGrid = named(new widgets::StringGrid(4, true, FETabSheet), "FEDefsAdvStringGrid");
  const int definitionWidths[] = {101, 104, 31, 380};
  const char* definitionHeaders[] = {"Element", "Frame", "Type", "Definition"};
  for (int c = 0; c < 4; ++c) {
    FEDefsAdvStringGrid->setColumnWidth(c, definitionWidths[c]);
    FEDefsAdvStringGrid->setCell(c, 0, definitionHeaders[c]);
  }
  FEDefsAdvStringGrid->setGridRowCount(2);
  FEDefsAdvStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FEDefsAdvStringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* feLeft = new QVBoxLayout();
  feLeft->addWidget(FEListView, 1);
  feLeft->addWidget(label(FETabSheet, "Number of Frame Elements:", NumFEsEdit));
  feLeft->addWidget(NumFEsEdit);
  QWidget* feLeftPart = holder(FETabSheet, feLeft);
  FETabSplitter = splitter(Qt::Horizontal, "FETabSplitter", FETabSheet,
                           {{feLeftPart, 190}, {FEDefsAdvStringGrid, 560}});
  FETabSplitter->setStretchFactor(0, 0);
  auto* feLayout = new QHBoxLayout(FETabSheet);
  feLayout->addWidget(FETabSplitter);
  return FETabSheet;
}

QWidget* TSVExplorer::buildSampleSelectionTab() {
  TabSheetSampSel = named(new QWidget(), "TabSheetSampSel");
  setHelpContext(TabSheetSampSel, kHelpSampleSelectionTab);
  QWidget* sample = TabSheetSampSel;
  SelSampleButton = button(sample, "SelSampleButton", "&Select Sample");
  LowAnnEdit = lineEdit(sample, "LowAnnEdit", "0");
  LowAnnUpDown = upDown(sample, LowAnnEdit, "LowAnnUpDown", 0, 1000, 10);
  HiAnnEdit = lineEdit(sample, "HiAnnEdit", "0");
  HiAnnUpDown = upDown(sample, HiAnnEdit, "HiAnnUpDown", 0, 10000, 10);
  ProvAnsCheckBox = named(new QCheckBox("Provide Frame Elements", sample), "ProvAnsCheckBox");
  NumFramesEdit = lineEdit(sample, "NumFramesEdit");
  NumSentsEdit = lineEdit(sample, "NumSentsEdit");
  FrsCompEdit = lineEdit(sample, "FrsCompEdit", "0");
  SentInFrsEdit = lineEdit(sample, "SentInFrsEdit", "0");
  LabelSentsInFrames = named(label(sample, "Total Number of Sentences in Frames:", SentInFrsEdit),
                             "LabelSentsInFrames");
  LdTrngSetButton = button(sample, "LdTrngSetButton", "Load Training Set");
  TrgFrCheckListBox = named(new QListWidget(sample), "TrgFrCheckListBox");
  CrFrameFilesButton = button(sample, "CrFrameFilesButton", "Create Frame Files");
  CrDictsButton = button(sample, "CrDictsButton", "Create Dictionaries");
  CheckBoxFramesOnly =
      named(new QCheckBox("Frames Only TARKO Dictionary", sample), "CheckBoxFramesOnly");
  ButtonSelSubCorp = button(sample, "ButtonSelSubCorp", "Select Subcorpora");
  ButtonOthSyn = button(sample, "ButtonOthSyn", "Other Syntactic Realizations");
  EditSynSpec = lineEdit(sample, "EditSynSpec");
  PercentEdit = lineEdit(sample, "PercentEdit", "0");
  PercentUpDown = upDown(sample, PercentEdit, "PercentUpDown", 0, 100, 10);
  LabelPercent =
      named(label(sample, "Percentage of sentences to be selected:", PercentEdit), "LabelPercent");

  auto* draw = new QGridLayout();
  draw->addWidget(SelSampleButton, 0, 0);
  draw->addWidget(label(sample, "Range of annotations for selected frames:"), 1, 0, 1, 2);
  draw->addWidget(label(sample, "Low", LowAnnEdit), 2, 0);
  draw->addWidget(withSpinner(sample, LowAnnEdit, LowAnnUpDown), 2, 1);
  draw->addWidget(label(sample, "High", HiAnnEdit), 3, 0);
  draw->addWidget(withSpinner(sample, HiAnnEdit, HiAnnUpDown), 3, 1);
  draw->addWidget(label(sample, "Number of frames to select:", NumFramesEdit), 4, 0);
  draw->addWidget(NumFramesEdit, 4, 1);
  draw->addWidget(label(sample, "Number of sentences to select:", NumSentsEdit), 5, 0);
  draw->addWidget(NumSentsEdit, 5, 1);
  draw->addWidget(ProvAnsCheckBox, 6, 0, 1, 2);
  draw->addWidget(label(sample, "Frames Completed:", FrsCompEdit), 7, 0);
  draw->addWidget(FrsCompEdit, 7, 1);
  draw->addWidget(LabelSentsInFrames, 8, 0);
  draw->addWidget(SentInFrsEdit, 8, 1);
  draw->addWidget(LabelPercent, 9, 0);
  draw->addWidget(withSpinner(sample, PercentEdit, PercentUpDown), 9, 1);
  draw->setRowStretch(10, 1);
  LabelPercent->hide();
  PercentEdit->hide();
  PercentUpDown->hide();

  auto* training = new QVBoxLayout();
  training->addWidget(LdTrngSetButton);
  training->addWidget(TrgFrCheckListBox, 1);
  training->addWidget(CrFrameFilesButton);

  auto* derived = new QVBoxLayout();
  derived->addWidget(CrDictsButton);
  derived->addWidget(CheckBoxFramesOnly);
  derived->addSpacing(12);
  derived->addWidget(label(sample, "Preposition:", EditSynSpec));
  derived->addWidget(EditSynSpec);
  derived->addWidget(ButtonSelSubCorp);
  derived->addWidget(ButtonOthSyn);
  derived->addStretch(1);

  auto* sampleLayout = new QHBoxLayout(sample);
  sampleLayout->addLayout(draw, 3);
  sampleLayout->addLayout(training, 2);
  sampleLayout->addLayout(derived, 2);
  return TabSheetSampSel;
}

}  // namespace sorvanta::shell
