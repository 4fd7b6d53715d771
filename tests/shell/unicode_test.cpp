// The window shows the characters the documents hold, also those working text cannot hold
// ("β", "ŋ"), while sorting and every written file keep to working text.
#include <QAction>
#include <QClipboard>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QMenu>
#include <QComboBox>
#include <QListWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "ShellFixture.h"
#include "shell/RelationsGraphWindow.h"
#include "shell/SentFrames.h"
#include "support/CliRun.h"
#include "support/ReleaseCopy.h"
#include "lexicon/FramesIndex.h"
#include "widgets/QtText.h"

namespace sorvanta::testing {
namespace {

namespace fs = std::filesystem;

const char* const kFrames = R"(<?xml version="1.0" encoding="UTF-8"?>
<frames>
  <frame name="Café_visit" ID="40">
    <definition>Someone spends a while at a café – for coffee, a pastry or the company.</definition>
    <fes>
      <fe name="Visitor" ID="4001" coreType="Core"><definition>The person who goes to the café.</definition></fe>
      <fe name="Café" ID="4002" coreType="Core"><definition>The place where the visit happens.</definition></fe>
    </fes>
    <lexunits>
      <lexunit name="café.n" ID="4010"><definition>a small restaurant selling light meals and drinks</definition><annotation><annotated>0</annotated></annotation></lexunit>
    </lexunits>
  </frame>
  <frame name="β_decay" ID="41">
    <definition>A nucleus turns a neutron into a proton and sends out a β particle – an electron – with an antineutrino.</definition>
    <fes>
      <fe name="Nucleus" ID="4101" coreType="Core"><definition>The nucleus that decays.</definition></fe>
      <fe name="β_particle" ID="4102" coreType="Core"><definition>The electron (β⁻) that leaves the nucleus.</definition></fe>
      <fe name="Half-life" ID="4103" coreType="Peripheral"><definition>How long half of the nuclei take to decay, often written t½.</definition></fe>
    </fes>
    <lexunits>
      <lexunit name="decay.v" ID="4111"><definition>of a nucleus: change by giving off radiation</definition><annotation><annotated>0</annotated></annotation></lexunit>
      <lexunit name="β-decay.n" ID="4112"><definition>radioactive decay that gives off a β particle</definition><annotation><annotated>1</annotated></annotation></lexunit>
    </lexunits>
  </frame>
  <frame name="Nasal_sound" ID="43">
    <definition>A Speaker lets air out through the nose while the mouth is closed somewhere.</definition>
    <fes>
      <fe name="Sound" ID="4301" coreType="Core"><definition>The nasal, such as m, n or ŋ.</definition></fe>
    </fes>
    <lexunits>
      <lexunit name="ŋ.n" ID="4310"><definition>the velar nasal, as at the end of “sing”</definition><annotation><annotated>0</annotated></annotation></lexunit>
    </lexunits>
  </frame>
</frames>
)";

const char* const kRelations = R"(<?xml version="1.0" encoding="UTF-8"?>
<frame-relation-types>
  <frame-relation-type ID="1" name="See_also">
    <frame-relations>
      <frame-relation ID="1" superFrameName="Nasal_sound" subFrameName="β_decay"/>
      <frame-relation ID="2" superFrameName="Café_visit" subFrameName="β_decay"/>
      <frame-relation ID="3" superFrameName="Café_visit" subFrameName="Nasal_sound"/>
    </frame-relations>
  </frame-relation-type>
</frame-relation-types>
)";

const char* const kDecayAnnotation = R"(<?xml version="1.0" encoding="UTF-8"?>
<lexunit-annotation ID="4112" name="β-decay.n">
  <subcorpus name="β-all">
    <annotationSet ID="1">
      <layers>
        <layer name="FE"><labels>
          <label name="Nucleus" start="15" end="21"/>
          <label name="Half-life" start="25" end="39"/>
          <label name="β_particle" itype="INI"/>
        </labels></layer>
        <layer name="Target"><labels><label name="Target" start="4" end="10"/></labels></layer>
      </layers>
      <sentence ID="900101"><text>The β-decay of tritium – slow but steady – yields helium-3.</text></sentence>
    </annotationSet>
  </subcorpus>
</lexunit-annotation>
)";

class UnicodeOnScreen : public ShellTest {
 protected:
  UnicodeOnScreen() {
    writeRelease(release, kFrames, std::string(kRelations), {{"4112", kDecayAnnotation}});
    storeFolder(folderOf(release));
    openWindow(elsewhere.path().string() + "/");
  }
  void SetUp() override { ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString(); }

  // What a list shows in a column, row by row.
  static std::vector<QString> shown(const widgets::ReportListView* list, int column) {
    std::vector<QString> cells;
    for (int r = 0; r < list->model()->rowCount(); ++r)
      cells.push_back(list->model()->index(r, column).data().toString());
    return cells;
  }
  static QString gridText(const widgets::StringGrid* grid, int column, int row) {
    const QTableWidgetItem* item = grid->item(grid->tableRowOf(row), column);
    return item ? item->text() : QString();
  }
  int frameRow(const QString& name) const {
    const std::vector<QString> names = shown(window->FramesListView, 0);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
  }

  TempDir release;
};

TEST_F(UnicodeOnScreen, ListsShowTheDocumentsCharactersAndSortByWorkingText) {
  using V = std::vector<QString>;
  shell::TSVExplorer& form = *window;
  EXPECT_EQ(shown(form.FramesListView, 0), (V{"Café_visit", "β_decay", "Nasal_sound"}));
  EXPECT_EQ(shown(form.LexUnitListView, 0), (V{"café.n", "decay.v", "β-decay.n", "ŋ.n"}));
  EXPECT_EQ(shown(form.LexUnitListView, lexicon::kLuFrameName)[2], "β_decay");
  EXPECT_EQ(shown(form.LexUnitListView, lexicon::kLuDefinition)[2],
            "radioactive decay that gives off a β particle");
  EXPECT_EQ(shown(form.LexUnitListView, lexicon::kLuDefinition)[3],
            "the velar nasal, as at the end of “sing”");
  // The frame-element list is ordered by working text: "?" before the letters.
  EXPECT_EQ(shown(form.FEListView, 0), (V{"β_particle", "Café", "Half-life", "Nucleus", "Sound", "Visitor"}));

  // Rows keep their working text: "β" is "?" to every comparison.
  EXPECT_EQ(form.FramesListView->rows()[1].caption(), "?_decay");
  clickHeader(form.FramesListView, lexicon::kFrameName);
  EXPECT_EQ(shown(form.FramesListView, 0), (V{"β_decay", "Café_visit", "Nasal_sound"}));
  clickHeader(form.LexUnitListView, lexicon::kLuName);
  // In working text "?-decay.n" < "?.n" < "café.n"; by code point "β" and "ŋ" would come last.
  EXPECT_EQ(shown(form.LexUnitListView, 0), (V{"β-decay.n", "ŋ.n", "café.n", "decay.v"}));
  // Copying rows as TSV gives what the list shows.
  form.LexUnitListView->selectOnly(1);
  form.LexUnitListView->setFocus();
  QTest::keySequence(form.LexUnitListView, QKeySequence::Copy);
  EXPECT_TRUE(QApplication::clipboard()->text().contains("ŋ.n\tn\t4310"));
}

TEST_F(UnicodeOnScreen, FrameTabShowsNamesDefinitionsLexemesAndRelations) {
  shell::TSVExplorer& form = *window;
  clickRow(form.FramesListView, frameRow("β_decay"));
  EXPECT_EQ(form.FrameNameEdit->text(), "β_decay");
  EXPECT_EQ(form.FrDefMemo->toPlainText(),
            "A nucleus turns a neutron into a proton and sends out a β particle – an electron – "
            "with an antineutrino.");
  EXPECT_EQ(gridText(form.FEAdvStringGrid, 0, 1), "β_particle (Core)");
  EXPECT_EQ(gridText(form.FEAdvStringGrid, 1, 1), "The electron (β⁻) that leaves the nucleus.");
  EXPECT_EQ(gridText(form.FEAdvStringGrid, 1, 2), "How long half of the nuclei take to decay, often written t½.");
  EXPECT_EQ(form.LexemeMemo->toPlainText(), "decay.v; β-decay.n");
  // The grid still reads back working text.
  EXPECT_EQ(form.FEAdvStringGrid->cell(0, 1), "?_particle (Core)");

  clickRow(form.FramesListView, frameRow("Nasal_sound"));
  EXPECT_EQ(gridText(form.FEAdvStringGrid, 1, 0), "The nasal, such as m, n or ŋ.");
  EXPECT_EQ(form.LexemeMemo->toPlainText(), "ŋ.n");
  EXPECT_EQ(gridText(form.Fr2FrAdvStringGrid, 1, 0), "β_decay");
  EXPECT_EQ(form.Fr2FrAdvStringGrid->cell(1, 0), "?_decay");

  clickRow(form.FramesListView, frameRow("Café_visit"));
  EXPECT_EQ(form.FrameNameEdit->text(), "Café_visit");
  // A relation naming two frames offers them in a menu as the grid shows them.
  EXPECT_EQ(gridText(form.Fr2FrAdvStringGrid, 1, 0), "β_decay; Nasal_sound");
  emit form.Fr2FrAdvStringGrid->cellActivated(0, 1);
  const QList<QAction*> offered = form.RelatedFramesMenu->actions();
  ASSERT_EQ(offered.size(), 2);
  EXPECT_EQ(offered[0]->text(), "β_decay");
  offered[0]->trigger();
  EXPECT_EQ(form.FrameNameEdit->text(), "β_decay");
  form.RelatedFramesMenu->hide();
  clickRow(form.FramesListView, frameRow("Café_visit"));
  EXPECT_EQ(form.FrDefMemo->toPlainText(),
            "Someone spends a while at a café – for coffee, a pastry or the company.");
}

TEST_F(UnicodeOnScreen, SentenceGridAndDialogShowTheSentence) {
  shell::TSVExplorer& form = *window;
  form.PageControl1->setCurrentWidget(form.LexUnitsTabSheet);
  clickRow(form.LexUnitListView, rowWhere(form.LexUnitListView, lexicon::kLuId, "4112"));
  EXPECT_EQ(form.EditLexUnitFind->text(), "β-decay.n");
  EXPECT_EQ(gridText(form.SentAdvStringGrid, 0, 0),
            "(900101) The β-decay of tritium – slow but steady – yields helium-3.");
  EXPECT_EQ(form.SentAdvStringGrid->cell(0, 0),
            "(900101) The ?-decay of tritium \x96 slow but steady \x96 yields helium-3.");
  // The subcorpus choice shows its name; choosing it finds the subcorpus by working text.
  ASSERT_EQ(form.ComboBoxSubCorp->count(), 1);
  EXPECT_EQ(form.ComboBoxSubCorp->itemText(0), "β-all");
  form.SentAdvStringGrid->clearCells();
  form.ComboBoxSubCorp->setCurrentIndex(0);
  emit form.ComboBoxSubCorp->activated(0);
  EXPECT_EQ(gridText(form.SentAdvStringGrid, 0, 0),
            "(900101) The β-decay of tritium – slow but steady – yields helium-3.");

  std::vector<QString> dialog;
  onModal = [&](QDialog& shownDialog) {
    auto& sentence = dynamic_cast<shell::TFormSentFEs&>(shownDialog);
    dialog = {sentence.EditSentFr->text(), sentence.EditSentLexUnit->text(),
              sentence.MemoSent->toPlainText()};
    for (int r = 0; r < sentence.FEListView->model()->rowCount(); ++r)
      for (int c = 0; c < 2; ++c)
        dialog.push_back(sentence.FEListView->model()->index(r, c).data().toString());
    return int(QDialog::Rejected);
  };
  clickCell(form.SentAdvStringGrid, 0, Qt::LeftButton);
  form.MenuItemShowFEs->trigger();
  ASSERT_EQ(modalCount, 1);
  EXPECT_EQ(dialog, (std::vector<QString>{
                        "β_decay", "β-decay.n",
                        "The β-decay of tritium – slow but steady – yields helium-3.",
                        "Target", "β-decay", "Nucleus", "tritium", "Half-life",
                        "slow but steady", "β_particle", "INI"}));
}

TEST_F(UnicodeOnScreen, FrameElementsTabShowsEveryDefinition) {
  shell::TSVExplorer& form = *window;
  form.PageControl1->setCurrentWidget(form.FETabSheet);
  clickRow(form.FEListView, 0);
  EXPECT_EQ(gridText(form.FEDefsAdvStringGrid, 0, 1), "β_particle");
  EXPECT_EQ(gridText(form.FEDefsAdvStringGrid, 1, 1), "β_decay");
  EXPECT_EQ(gridText(form.FEDefsAdvStringGrid, 3, 1), "The electron (β⁻) that leaves the nucleus.");
  EXPECT_EQ(form.FEDefsAdvStringGrid->cell(1, 1), "?_decay");
}

TEST_F(UnicodeOnScreen, RelationsGraphShowsTheFrameNames) {
  shell::TSVExplorer& form = *window;
  form.ShowRelationsGraph("?_decay");
  shell::RelationsGraphWindow* graph = form.relationsGraphWindow();
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->windowTitle(), "Relations Graph - β_decay");
  std::vector<QString> labels;
  for (QGraphicsItem* item : graph->GraphScene->items())
    if (const auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item)) labels.push_back(label->text());
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                          [](const QString& text) { return text.startsWith("Café_visit"); }));
  EXPECT_EQ(graph->centreFrame(), "?_decay");  // what the commands are given
  graph->close();
}

TEST_F(UnicodeOnScreen, TrainingFramesChecklistShowsTheNamesTheFileHolds) {
  shell::TSVExplorer& form = *window;
  release.write("SensSemRolesTrg.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<frames><frame name=\"\u03b2_decay\"/><frame name=\"Caf\u00e9_visit\"/></frames>\n");
  form.LdTrngSetButton->click();
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  ASSERT_EQ(form.TrgFrCheckListBox->count(), 2);
  EXPECT_EQ(form.TrgFrCheckListBox->item(0)->text(), "β_decay");
  EXPECT_EQ(form.TrgFrCheckListBox->item(1)->text(), "Café_visit");
  // The command is given the working text ("β" is "?", "é" is one byte).
  EXPECT_EQ(form.TrgFrCheckListBox->item(0)->data(Qt::UserRole).toByteArray(), "?_decay");
  EXPECT_EQ(form.TrgFrCheckListBox->item(1)->data(Qt::UserRole).toByteArray(), "Caf\xE9_visit");
}

TEST_F(UnicodeOnScreen, WrittenFilesKeepWorkingText) {
  shell::TSVExplorer& form = *window;
  // Browse first, so every view has built its text, then write.
  clickRow(form.FramesListView, frameRow("β_decay"));
  QTest::mouseClick(form.CrDictsButton, Qt::LeftButton);
  ASSERT_TRUE(messages.empty()) << messages.front().second.toStdString();
  const std::string dictionary = readBytes(release.path().string() + "/frames.dmp");
  EXPECT_NE(dictionary.find("%%1 #?_decay"), std::string::npos) << dictionary;
  EXPECT_NE(dictionary.find("%%1 #Caf\xE9_visit"), std::string::npos);
  EXPECT_NE(dictionary.find("%%6 ?_particle %%v Core"), std::string::npos);
  EXPECT_EQ(dictionary.find("\xCE\xB2"), std::string::npos) << "no UTF-8 in a working-text file";

  // The command line, which shows nothing, writes the same bytes.
  std::vector<std::string> written;
  for (const char* name : {"FrameDict.xml", "frames.dmp", "svlex.dmp"}) {
    written.push_back(readBytes(release.path().string() + "/" + name));
    fs::remove(release.path() / name);
  }
  const CliOutput cli = runOn(folderOf(release), {"dictionaries"});
  ASSERT_EQ(cli.status, 0) << cli.err;
  size_t i = 0;
  for (const char* name : {"FrameDict.xml", "frames.dmp", "svlex.dmp"})
    EXPECT_EQ(readBytes(release.path().string() + "/" + name), written[i++]) << name;
}

}  // namespace
}  // namespace sorvanta::testing
