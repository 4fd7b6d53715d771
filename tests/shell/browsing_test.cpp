// Browsing through real clicks on the sample release: the frames view, sorting, the find box,
// sentences and subcorpora, the sentence frame-element dialog and the frame-elements view.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "ShellFixture.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/LexUnitDocument.h"
#include "lexicon/ReleaseLayout.h"
#include "shell/SVEAbout.h"
#include "shell/SentFrames.h"
#include "views/FrameElementsView.h"
#include "views/FrameView.h"
#include "views/SentenceFrameElements.h"
#include "views/SentencesView.h"
#include "widgets/HelpViewer.h"
#include "widgets/QtText.h"

namespace sorvanta::testing {
namespace {

using lexicon::kLuId;
using lexicon::kLuName;

class Browsing : public ShellTest {
 protected:
  Browsing() : form(openSample()) {}
  void SetUp() override {
    ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
    ASSERT_EQ(form.FramesListView->rowCountShown(), 14);
  }

  void openTab(QWidget* page) {
    QTabBar* tabs = form.PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier,
                      tabs->tabRect(form.PageControl1->indexOf(page)).center());
    ASSERT_EQ(form.PageControl1->currentWidget(), page);
  }
  int frameRow(const std::string& name) { return rowWhere(form.FramesListView, 0, name); }
  int lexUnitRow(const std::string& id) { return rowWhere(form.LexUnitListView, kLuId, id); }
  void clickLexUnit(const std::string& id) {
    ASSERT_GE(lexUnitRow(id), 0) << id;
    clickRow(form.LexUnitListView, lexUnitRow(id));
  }
  std::vector<std::string> sentenceRows() { return gridColumn(form.SentAdvStringGrid, 0); }
  std::vector<QString> subcorpora() {
    std::vector<QString> entries;
    for (int i = 0; i < form.ComboBoxSubCorp->count(); ++i)
      entries.push_back(form.ComboBoxSubCorp->itemText(i));
    return entries;
  }
  // Chooses "Show frame elements" from the pop-up menu the last right click opened.
  void chooseShowFrameElements() {
    ASSERT_TRUE(form.PopupMenuSentView->isVisible());
    QTest::mouseClick(form.PopupMenuSentView, Qt::LeftButton, Qt::NoModifier,
                      form.PopupMenuSentView->actionGeometry(form.MenuItemShowFEs).center());
  }
  // The dialog content the core gives for a sentence row of a lexical unit of the sample.
  static views::SentenceFrameElements expectedDialog(const std::string& luId,
                                                     const std::string& rowText,
                                                     const std::string& frame,
                                                     const std::string& lexUnit) {
    xml::TXpObjModel model;
    EXPECT_TRUE(lexicon::loadLexUnitAnnotation(model, sampleFolder(), luId).loaded);
    return views::sentenceFrameElements(model.Document()->docGetDocumentElement(), rowText, frame,
                                        lexUnit)
        .value();
  }

  shell::TSVExplorer& form;
};

TEST_F(Browsing, ClickingAFrameShowsItsFiveControls) {
  struct Case {
    std::string frame;
    size_t feRows;  // 0: the grid keeps one empty row
    std::string firstFe;
    std::string lexemes;
    std::string firstRelation;
  } cases[] = {
      {"Self_motion", 8, "Self_mover (Core)", "walk.v; stroll.v; wander.v; march.v; hike.n",
       "Inherits From"},
      {"Discourse_marker", 0, "", "anyway.adv; well.intj; i.e..adv", "None"},
      {"Motion", 8, "Theme (Core)", "move.v; drift.v; glide.v; motion.n", ""},
      {"Commerce_goods_transfer", 5, "", "", ""},
      {"Locative_relation", 4, "", "inside.prep; beneath.prep; nearby.adv", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    const int row = frameRow(c.frame);
    clickRow(form.FramesListView, row);
    const views::FrameView view =
        views::frameView(form.FramesListView->rows()[size_t(row)].data, form.RelationsRoot);
    EXPECT_EQ(form.FrameNameEdit->text().toStdString(), c.frame);
    EXPECT_EQ(widgets::toWorking(form.FrDefMemo->toPlainText()), view.description);
    EXPECT_EQ(form.FEAdvStringGrid->gridRowCount(), int(std::max<size_t>(c.feRows, 1)));
    EXPECT_EQ(form.FEAdvStringGrid->columnWidth(1), 244);
    if (!c.firstFe.empty()) {
      EXPECT_EQ(form.FEAdvStringGrid->cell(0, 0), c.firstFe);
    }
    for (size_t i = 0; i < view.elements.size(); ++i) {
      EXPECT_EQ(form.FEAdvStringGrid->cell(0, int(i)), view.elements[i].nameAndType);
      EXPECT_EQ(form.FEAdvStringGrid->cell(1, int(i)), view.elements[i].definition);
    }
    if (c.feRows == 0) {
      EXPECT_EQ(form.FEAdvStringGrid->cell(0, 0), "");
    }
    EXPECT_EQ(form.LexemeMemo->toPlainText().toStdString(), c.lexemes);
    // The relations grid holds exactly one row per entry, growing and shrinking between frames.
    ASSERT_EQ(size_t(form.Fr2FrAdvStringGrid->gridRowCount()), view.relations.size());
    if (!c.firstRelation.empty()) {
      EXPECT_EQ(form.Fr2FrAdvStringGrid->cell(0, 0), c.firstRelation);
    }
    if (c.firstRelation == "None") {
      EXPECT_EQ(form.Fr2FrAdvStringGrid->cell(1, 0), "");
    }
    for (size_t k = 0; k < view.relations.size(); ++k) {
      EXPECT_EQ(form.Fr2FrAdvStringGrid->cell(0, int(k)), view.relations[k].label);
      EXPECT_EQ(form.Fr2FrAdvStringGrid->cell(1, int(k)), view.relations[k].names);
    }
  }
}

TEST_F(Browsing, SeveralSelectedFramesOrKeyboardMovesLeaveTheFrameView) {
  clickRow(form.FramesListView, frameRow("Intentionally_act"));
  clickRow(form.FramesListView, frameRow("Placing"), Qt::ControlModifier);
  EXPECT_EQ(form.FramesListView->selectedCount(), 2);
  EXPECT_EQ(form.FrameNameEdit->text(), "Intentionally_act");
  clickRow(form.FramesListView, frameRow("Placing"));
  EXPECT_EQ(form.FramesListView->selectedCount(), 1);
  EXPECT_EQ(form.FrameNameEdit->text(), "Placing");

  form.FramesListView->setFocus();
  QTest::keyClick(form.FramesListView, Qt::Key_Down);
  EXPECT_EQ(form.FramesListView->selectedRowNumbers(), std::vector<int>{frameRow("Placing") + 1});
  EXPECT_EQ(form.FrameNameEdit->text(), "Placing");
}

TEST_F(Browsing, ClickInTheEmptyAreaWithNothingSelectedChangesNothing) {
  form.resize(770, 1100);  // every frame row fits, with room below the last
  QCoreApplication::processEvents();
  form.FramesListView->clearRowSelection();
  const int last = form.FramesListView->rowCountShown() - 1;
  const QRect lastRow =
      form.FramesListView->visualRect(form.FramesListView->model()->index(last, 0));
  ASSERT_LT(lastRow.bottom() + 10, form.FramesListView->viewport()->height());
  QTest::mouseClick(form.FramesListView->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(lastRow.center().x(), lastRow.bottom() + 8));
  EXPECT_EQ(form.FramesListView->selectedCount(), 0);
  EXPECT_EQ(form.FrameNameEdit->text(), "Motion");
}

// Rows in order by the window's compare with the current SortColumn.
template <class Compare>
bool ascending(const std::vector<lexicon::ListRow>& rows, Compare compare) {
  for (size_t i = 1; i < rows.size(); ++i) {
    if (compare(rows[i - 1], rows[i]) > 0) return false;
  }
  return true;
}

TEST_F(Browsing, HeaderClicksSortAscendingWithOneSharedSortColumn) {
  clickRow(form.FramesListView, frameRow("Placing"));
  const xml::TXpNode* placing = form.FramesListView->singleSelectedRow()->data;
  auto framesCompare = [&](const auto& a, const auto& b) {
    return form.FramesListViewCompare(a, b);
  };
  for (int column : {0, 4, 4, 2, 1}) {
    clickHeader(form.FramesListView, column);
    EXPECT_EQ(form.SortColumn, column);
    EXPECT_TRUE(ascending(form.FramesListView->rows(), framesCompare)) << column;
    ASSERT_NE(form.FramesListView->singleSelectedRow(), nullptr);
    EXPECT_EQ(form.FramesListView->singleSelectedRow()->data, placing);
    EXPECT_EQ(form.FrameNameEdit->text(), "Placing");
  }
  EXPECT_EQ(form.FramesListView->rows().front().caption(), "Motion");  // ID 7 first

  openTab(form.LexUnitsTabSheet);
  clickLexUnit("1101");
  auto lexUnitCompare = [&](const auto& a, const auto& b) {
    return form.LexUnitListViewCompare(a, b);
  };
  const std::vector<std::string> shown = sentenceRows();
  for (int column : {6, 1, 3, 2, 0}) {
    clickHeader(form.LexUnitListView, column);
    EXPECT_EQ(form.SortColumn, column);
    EXPECT_TRUE(ascending(form.LexUnitListView->rows(), lexUnitCompare)) << column;
    EXPECT_EQ(form.LexUnitListView->singleSelectedRow()->cell(kLuId), "1101");
    EXPECT_EQ(sentenceRows(), shown);
  }
  // After the lexical-unit list took column 0, the frames list sorts by its own column 0.
  clickHeader(form.FramesListView, 0);
  EXPECT_EQ(form.FramesListView->rows().front().caption(), "Arriving");
  clickHeader(form.LexUnitListView, 1);
  std::string letters;
  for (const auto& row : form.LexUnitListView->rows()) {
    if (letters.empty() || letters.back() != row.cell(1)[0]) letters += row.cell(1);
  }
  EXPECT_EQ(letters, "adnpuv");
}

TEST_F(Browsing, FindBoxOnlyScrolls) {
  openTab(form.LexUnitsTabSheet);
  clickLexUnit("1001");
  EXPECT_EQ(form.EditLexUnitFind->text(), "move.v");
  const std::vector<std::string> shown = sentenceRows();
  widgets::ReportListView* list = form.LexUnitListView;
  list->scrollToTop();
  const int target = rowWhere(list, kLuName, "i.e..adv");
  ASSERT_FALSE(list->isRowVisible(target));

  form.EditLexUnitFind->clear();
  QTest::keyClicks(form.EditLexUnitFind, "I.E");
  EXPECT_TRUE(list->isRowVisible(target));
  EXPECT_EQ(list->singleSelectedRow()->cell(kLuId), "1001");
  EXPECT_EQ(sentenceRows(), shown);

  // No caption begins with the text, or the box is emptied: the list stays where it is.
  const int scrolled = list->verticalScrollBar()->value();
  QTest::keyClicks(form.EditLexUnitFind, "zz");
  EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);
  form.EditLexUnitFind->clear();
  EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);
  EXPECT_EQ(list->singleSelectedRow()->cell(kLuId), "1001");
}

TEST_F(Browsing, ClickingALexicalUnitShowsItsSentencesAndSubcorpora) {
  openTab(form.LexUnitsTabSheet);
  form.SelectedSentenceRow = 3;
  clickLexUnit("1101");
  EXPECT_EQ(form.SelectedSentenceRow, -1);
  EXPECT_EQ(form.EditLexUnitFind->text(), "walk.v");
  EXPECT_EQ(
      sentenceRows(),
      (std::vector<std::string>{
          "(500121) She walked into the kitchen without a word.",
          "(500122) After supper the two brothers walked into town to buy tobacco.",
          "(500123) The guide (a retired teacher) walked through the cloisters at a brisk pace.",
          "(500124) We walked twelve kilometres on Sunday and felt it on Monday."}));
  // The empty subcorpus V-ppover is not offered; the doubled name is offered twice.
  EXPECT_EQ(subcorpora(), (std::vector<QString>{"V-ppinto", "V-ppinto", "other"}));
  EXPECT_EQ(form.ComboBoxSubCorp->currentIndex(), -1);

  // The arrow keys move the selection but do not show another lexical unit.
  form.LexUnitListView->setFocus();
  QTest::keyClick(form.LexUnitListView, Qt::Key_Down);
  EXPECT_EQ(form.LexUnitListView->singleSelectedRow()->cell(kLuId), "1102");
  EXPECT_EQ(sentenceRows().size(), 4u);
  EXPECT_EQ(form.EditLexUnitFind->text(), "walk.v");
}

TEST_F(Browsing, LexicalUnitWithoutAnnotationFileIsReported) {
  openTab(form.LexUnitsTabSheet);
  clickLexUnit("1101");
  clickLexUnit("1003");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].second.contains(
      QString::fromStdString(lexicon::annotationDocumentPath(sampleFolder(), "1003"))));
  EXPECT_EQ(sentenceRows(), std::vector<std::string>{""});
  EXPECT_EQ(form.ComboBoxSubCorp->count(), 0);
}

TEST_F(Browsing, ChoosingASubcorpusKeepsToTheLexicalUnitShown) {
  openTab(form.LexUnitsTabSheet);
  clickLexUnit("1101");
  clickCell(form.SentAdvStringGrid, 2, Qt::LeftButton);
  EXPECT_EQ(form.SelectedSentenceRow, 2);
  // Another command loading a lexical unit meanwhile does not change what the choice reads.
  form.LexUnitXpObjModel.LoadDataSource(lexicon::annotationDocumentPath(sampleFolder(), "1701"));
  form.ComboBoxSubCorp->setFocus();
  QTest::keyClick(form.ComboBoxSubCorp, Qt::Key_Down);
  EXPECT_EQ(form.ComboBoxSubCorp->currentIndex(), 0);
  EXPECT_EQ(sentenceRows(),
            (std::vector<std::string>{
                "(500121) She walked into the kitchen without a word.",
                "(500122) After supper the two brothers walked into town to buy tobacco."}));
  QTest::keyClick(form.ComboBoxSubCorp, Qt::Key_Down);
  QTest::keyClick(form.ComboBoxSubCorp, Qt::Key_Down);
  EXPECT_EQ(form.ComboBoxSubCorp->currentText(), "other");
  xml::TXpObjModel walk;
  lexicon::loadLexUnitAnnotation(walk, sampleFolder(), "1101");
  EXPECT_EQ(sentenceRows(),
            views::subcorpusSentenceRows(walk.Document()->docGetDocumentElement(), "other"));
  EXPECT_EQ(form.SelectedSentenceRow, 2);
  EXPECT_EQ(subcorpora().size(), 3u);
}

TEST_F(Browsing, RightClickAndMenuShowTheSentenceFrameElements) {
  openTab(form.LexUnitsTabSheet);
  clickLexUnit("1101");
  shell::TFormSentFEs* shownDialog = nullptr;
  std::vector<std::pair<std::string, std::string>> listed;
  QString frame, lexUnit, sentence;
  onModal = [&](QDialog& dialog) {
    shownDialog = qobject_cast<shell::TFormSentFEs*>(&dialog);
    frame = shownDialog->EditSentFr->text();
    lexUnit = shownDialog->EditSentLexUnit->text();
    sentence = shownDialog->MemoSent->toPlainText();
    for (const auto& row : shownDialog->FEListView->rows())
      listed.emplace_back(row.cell(0), row.cell(1));
    EXPECT_EQ(dialog.parent(), &form);
    return int(QDialog::Rejected);
  };
  // The sentence whose text holds ")": only the first ")" ends the ID.
  clickCell(form.SentAdvStringGrid, 2, Qt::RightButton);
  EXPECT_EQ(form.SelectedSentenceRow, 2);
  chooseShowFrameElements();
  ASSERT_EQ(modalCount, 1);
  EXPECT_EQ(frame, "Self_motion");
  EXPECT_EQ(lexUnit, "walk.v");
  EXPECT_EQ(sentence,
            "The guide (a retired teacher) walked through the cloisters at a brisk pace.");
  const views::SentenceFrameElements expected =
      expectedDialog("1101", sentenceRows()[2], "Self_motion", "walk.v");
  ASSERT_EQ(listed.size(), expected.rows.size());
  EXPECT_EQ(listed[0].first, "Target");
  EXPECT_EQ(listed[0].second, "walked");
  for (size_t i = 0; i < listed.size(); ++i) {
    EXPECT_EQ(listed[i].first, expected.rows[i].caption);
    EXPECT_EQ(listed[i].second, expected.rows[i].text);
  }
}

TEST_F(Browsing, DialogNeedsAClickedRowAndKeepsToTheLexicalUnitShown) {
  openTab(form.LexUnitsTabSheet);
  clickLexUnit("1201");
  form.MenuItemShowFEs->trigger();  // no sentence row clicked since the unit was shown
  EXPECT_EQ(modalCount, 0);

  QString frame, lexUnit;
  std::vector<std::string> listed;
  onModal = [&](QDialog& dialog) {
    auto& sentenceDialog = static_cast<shell::TFormSentFEs&>(dialog);
    frame = sentenceDialog.EditSentFr->text();
    lexUnit = sentenceDialog.EditSentLexUnit->text();
    for (const auto& row : sentenceDialog.FEListView->rows())
      listed.emplace_back(std::string(row.cell(0)) + "=" + std::string(row.cell(1)));
    return int(QDialog::Rejected);
  };
  // Another lexical unit selected by keyboard, and loaded by another command: the dialog
  // still shows the unit whose sentences are on screen.
  form.LexUnitListView->setFocus();
  QTest::keyClick(form.LexUnitListView, Qt::Key_Down);
  form.LexUnitXpObjModel.LoadDataSource(lexicon::annotationDocumentPath(sampleFolder(), "1301"));
  clickCell(form.SentAdvStringGrid, 0, Qt::RightButton);
  chooseShowFrameElements();
  ASSERT_EQ(modalCount, 1);
  EXPECT_EQ(frame, "Intentionally_act");
  EXPECT_EQ(lexUnit, "act.v");
  // Null instantiations show their kind; offsets show the span.
  EXPECT_EQ(listed, (std::vector<std::string>{"Target=acted", "Agent=The council", "manner=swiftly",
                                              "time=within hours of the flood", "Act=CNI"}));
}

TEST_F(Browsing, FrameElementClickListsEveryFrameElementOfThatName) {
  openTab(form.FETabSheet);
  for (const std::string name : {"Time", "Self_mover", "time"}) {
    SCOPED_TRACE(name);
    clickRow(form.FEListView, rowWhere(form.FEListView, 0, name));
    const auto expected = views::frameElementDefinitions(form.FramesRoot, name);
    const std::string count(form.FEListView->singleSelectedRow()->cell(1));
    ASSERT_EQ(std::to_string(expected.size()), count);
    ASSERT_EQ(form.FEDefsAdvStringGrid->gridRowCount(), int(expected.size()) + 1);
    EXPECT_EQ(form.FEDefsAdvStringGrid->cell(0, 0), "Element");
    for (size_t i = 0; i < expected.size(); ++i) {
      const int row = int(i) + 1;
      EXPECT_EQ(form.FEDefsAdvStringGrid->cell(0, row), name);
      EXPECT_EQ(form.FEDefsAdvStringGrid->cell(1, row), expected[i].frame);
      EXPECT_EQ(form.FEDefsAdvStringGrid->cell(2, row), expected[i].type);
      EXPECT_EQ(form.FEDefsAdvStringGrid->cell(3, row), expected[i].definition);
    }
  }
  EXPECT_EQ(form.FEDefsAdvStringGrid->cell(1, 1), "Intentionally_act");
}

TEST_F(Browsing, AboutHelpAndFeedback) {
  QString comments;
  bool okShown = false;
  QObject* owner = &form;
  onModal = [&](QDialog& dialog) {
    auto& about = static_cast<shell::TAboutBox&>(dialog);
    comments = about.Comments->text();
    okShown = !about.OKButton->isHidden();
    owner = about.parent();
    return int(QDialog::Accepted);
  };
  QTest::mouseClick(form.ButtonAbout, Qt::LeftButton);
  EXPECT_EQ(comments, shell::kMakerAddress);
  EXPECT_TRUE(okShown);
  EXPECT_EQ(owner, nullptr);

  QTest::mouseClick(form.ButtonHelp, Qt::LeftButton);
  EXPECT_TRUE(widgets::HelpViewer::instance(&form).isVisible());
  widgets::HelpViewer::instance(&form).hide();
  QTest::mouseClick(form.ButtonFeedback, Qt::LeftButton);
  EXPECT_TRUE(widgets::HelpViewer::instance(&form).isVisible());
}

// A release whose data trips the integer conversion inside a handler.
class BadNumbers : public ShellTest {
 protected:
  BadNumbers() {
    writeRelease(release,
                 "<frames>"
                 "<frame name=\"Alpha\" ID=\"7b\"><definition>A.</definition><fes/><lexunits>"
                 "<lexunit name=\"run.v\" ID=\"100\"><definition>go fast</definition>"
                 "<annotation><annotated>1</annotated></annotation></lexunit></lexunits></frame>"
                 "<frame name=\"Beta\" ID=\"3\"><definition>B.</definition><fes/><lexunits>"
                 "<lexunit name=\"run.v\" ID=\"200\"><definition>operate</definition>"
                 "<annotation><annotated>1</annotated></annotation></lexunit></lexunits></frame>"
                 "</frames>",
                 "<frameRelations/>",
                 {{"100", sentenceDocument("701", "We run home.", "abc")},
                  {"200", sentenceDocument("702", "They run the shop.", "5")}});
    storeFolder(release.path().string() + "/");
    openWindow(elsewhere.path().string() + "/");
  }

  static std::string sentenceDocument(const std::string& id, const std::string& text,
                                      const std::string& targetStart) {
    return "<lexunit-annotation><subcorpus name=\"all\"><annotationSet><layers>"
           "<layer name=\"Target\"><labels><label name=\"Target\" start=\"" +
           targetStart + "\" end=\"7\"/></labels></layer></layers><sentence ID=\"" + id +
           "\"><text>" + text +
           "</text></sentence></annotationSet></subcorpus>"
           "</lexunit-annotation>";
  }

  TempDir release;
};

TEST_F(BadNumbers, ConversionErrorInAHandlerIsShownWithItsExactMessage) {
  ASSERT_TRUE(messages.empty());
  clickHeader(window->FramesListView, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::make_pair(QString("Sorvanta Explorer"),
                                        QString("'7b' is not a valid integer value")));
  EXPECT_EQ(window->FramesListView->rows().front().caption(), "Alpha");

  window->PageControl1->setCurrentWidget(window->LexUnitsTabSheet);
  clickRow(window->LexUnitListView, 0);
  clickCell(window->SentAdvStringGrid, 0, Qt::RightButton);
  window->MenuItemShowFEs->trigger();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].second, "'abc' is not a valid integer value");
  EXPECT_EQ(modalCount, 0);
}

TEST_F(BadNumbers, SecondOfTwoNamesakesStaysSelectedAndShown) {
  window->PageControl1->setCurrentWidget(window->LexUnitsTabSheet);
  clickRow(window->LexUnitListView, 1);
  EXPECT_EQ(window->EditLexUnitFind->text(), "run.v");
  EXPECT_EQ(window->LexUnitListView->singleSelectedRow()->cell(kLuId), "200");
  EXPECT_EQ(window->SentAdvStringGrid->cell(0, 0), "(702) They run the shop.");
  EXPECT_TRUE(window->LexUnitListView->isRowVisible(0));
}

}  // namespace
}  // namespace sorvanta::testing
