// Valence tables and patterns: against a hand-counted lexical unit of the sample release, and
// grouping rules on small hand-made sets.
#include <gtest/gtest.h>

#include <filesystem>

#include "index/Sqlite.h"
#include "reports/ReportIndex.h"
#include "reports/Valence.h"
#include "reports/ValenceOutput.h"
#include "support/CliRun.h"
#include "support/TempDir.h"

namespace sorvanta::testing {
namespace {

using reports::AnnotationSet;
using reports::Label;
using reports::LexicalUnitData;

// move.v (1001) of the sample release, counted by hand from luXML/lu1001.xml:
//   500101  Theme NP(Ext), Path PP(Dep), Goal PP(Dep), Time PP(Dep)
//   500102  Manner AVP(Dep), Theme NP(Ext), Goal PP(Dep), Source INI
//   500103  Theme NP(Ext), Goal INI
// The lexical entry lists Goal's INI before its PP(Dep); counted from the layers, PP(Dep)
// (twice) goes first.
const char* const kMoveFromEntry =
    "FE\tAnnotated\tPT\tGF\tTotal\n"
    "Theme\t3\tNP\tExt\t3\n"
    "Source\t1\tINI\t\t1\n"
    "Path\t1\tPP\tDep\t1\n"
    "Goal\t3\tINI\t\t1\n"
    "Goal\t3\tPP\tDep\t2\n"
    "Manner\t1\tAVP\tDep\t1\n"
    "Time\t1\tPP\tDep\t1\n";

const char* const kMoveCounted =
    "FE\tAnnotated\tPT\tGF\tTotal\n"
    "Theme\t3\tNP\tExt\t3\n"
    "Source\t1\tINI\t\t1\n"
    "Path\t1\tPP\tDep\t1\n"
    "Goal\t3\tPP\tDep\t2\n"
    "Goal\t3\tINI\t\t1\n"
    "Manner\t1\tAVP\tDep\t1\n"
    "Time\t1\tPP\tDep\t1\n";

class SampleValence : public ::testing::Test {
 protected:
  CliOutput valence(const std::string& release, std::vector<std::string> args) {
    args.insert(args.begin(), "valence");
    args.insert(args.end(), {"--index", dir.file("index.sqlite")});
    return runOn(release, args);
  }
  TempDir dir;
};

TEST_F(SampleValence, HandCountedUnitFromItsLexicalEntry) {
  const CliOutput tsv = valence(sampleReleasePath(), {"1001"});
  ASSERT_EQ(tsv.status, 0) << tsv.err;
  EXPECT_EQ(tsv.out, kMoveFromEntry);

  const CliOutput json = valence(sampleReleasePath(), {"1001", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out,
            R"({"lu_id":1001,"lu":"move.v","frame":"Motion","fes":[)"
            R"({"fe":"Theme","annotated":3,"realizations":[{"pt":"NP","gf":"Ext","total":3}]},)"
            R"({"fe":"Source","annotated":1,"realizations":[{"pt":"INI","gf":"","total":1}]},)"
            R"({"fe":"Path","annotated":1,"realizations":[{"pt":"PP","gf":"Dep","total":1}]},)"
            R"({"fe":"Goal","annotated":3,"realizations":[{"pt":"INI","gf":"","total":1},)"
            R"({"pt":"PP","gf":"Dep","total":2}]},)"
            R"({"fe":"Manner","annotated":1,"realizations":[{"pt":"AVP","gf":"Dep","total":1}]},)"
            R"({"fe":"Time","annotated":1,"realizations":[{"pt":"PP","gf":"Dep","total":1}]}]})"
            "\n");
}

TEST_F(SampleValence, HandCountedUnitFromItsLayersWithoutLexicalEntry) {
  const std::filesystem::path copy = dir.path() / "release";
  std::filesystem::copy(sampleReleasePath(), copy, std::filesystem::copy_options::recursive);
  std::filesystem::remove(copy / "leXML" / "le1001.xml");
  const CliOutput tsv = valence(copy.string(), {"1001"});
  ASSERT_EQ(tsv.status, 0) << tsv.err;
  EXPECT_EQ(tsv.out, kMoveCounted);

  const CliOutput patterns = valence(copy.string(), {"1001", "--patterns"});
  ASSERT_EQ(patterns.status, 0) << patterns.err;
  EXPECT_EQ(patterns.out,
            "Total\tPattern\tSentences\n"
            "1\tGoal INI, Theme NP(Ext)\t500103\n"
            "1\tGoal PP(Dep), Manner AVP(Dep), Source INI, Theme NP(Ext)\t500102\n"
            "1\tGoal PP(Dep), Path PP(Dep), Theme NP(Ext), Time PP(Dep)\t500101\n");
}

TEST_F(SampleValence, CommandLineFailures) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"9999"}, 1, "no lexical unit with ID 9999"},
      {{"abc"}, 2, "LUID"},
      {{"1001", "--format", "xml"}, 2, "--format"},
      {{}, 2, "LUID"},
  };
  for (const Case& c : cases) {
    const CliOutput result = valence(sampleReleasePath(), c.args);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  const CliOutput missing = runOn(dir.file("nowhere"), {"valence", "1001"});
  EXPECT_EQ(missing.status, 1);
}

// The labels read for a unit are exactly the rows of the index's merged_labels view, in order.
TEST_F(SampleValence, LabelsMergedAsTheIndexViewMergesThem) {
  index::Database db;
  ASSERT_TRUE(reports::openReleaseIndex(sampleReleasePath(), dir.file("index.sqlite"), db).done());
  index::Statement units(db, "SELECT DISTINCT lu_id FROM annotation_sets ORDER BY lu_id");
  index::Statement view(db,
                        "SELECT m.layer || '/' || m.layer_rank || '/' || m.name || '/' || m.itype "
                        "|| '/' || ifnull(m.start, '') FROM annotation_sets a JOIN merged_labels m "
                        "ON m.set_ord = a.set_ord WHERE a.lu_id = ?1 "
                        "ORDER BY m.set_ord, m.source, m.doc_order");
  int checked = 0;
  while (units.step()) {
    const int64_t id = units.integer(0);
    const std::optional<LexicalUnitData> lu = reports::loadLexicalUnit(db, id);
    if (!lu) continue;
    std::vector<std::string> read, expected;
    for (const AnnotationSet& s : lu->sets)
      for (const Label& l : s.labels)
        read.push_back(l.layer + "/" + l.rank + "/" + l.name + "/" + l.itype + "/" +
                       (l.start ? std::to_string(*l.start) : ""));
    view.reset();
    view.bind(1, id);
    while (view.step()) expected.emplace_back(view.text(0));
    EXPECT_EQ(read, expected) << "lexical unit " << id;
    ++checked;
  }
  EXPECT_EQ(checked, 19);
}

// The offsets as written and each set's subcorpus equal what the index's views and sentences
// hold: the subcorpus of the set's first sentence, annotation document first.
TEST_F(SampleValence, OffsetTextsAndSubcorporaAsTheIndexHoldsThem) {
  index::Database db;
  ASSERT_TRUE(reports::openReleaseIndex(sampleReleasePath(), dir.file("index.sqlite"), db).done());
  index::Statement units(db, "SELECT DISTINCT lu_id FROM annotation_sets ORDER BY lu_id");
  index::Statement view(db,
                        "SELECT a.set_ord, ifnull(m.start_text, '') || '-' || ifnull(m.end_text, '') "
                        "FROM annotation_sets a JOIN merged_labels m ON m.set_ord = a.set_ord "
                        "WHERE a.lu_id = ?1 ORDER BY m.set_ord, m.source, m.doc_order");
  index::Statement subcorpora(db,
                              "SELECT ifnull((SELECT s.subcorpus FROM sentences s WHERE s.set_ord = "
                              "a.set_ord ORDER BY s.source, s.doc_order LIMIT 1), '') "
                              "FROM annotation_sets a WHERE a.lu_id = ?1 ORDER BY a.set_ord");
  size_t named = 0;
  while (units.step()) {
    const int64_t id = units.integer(0);
    const std::optional<LexicalUnitData> lu = reports::loadLexicalUnit(db, id);
    ASSERT_TRUE(lu);
    std::vector<std::string> offsets, expectedOffsets, names, expectedNames;
    for (const AnnotationSet& s : lu->sets) {
      names.push_back(s.subcorpus);
      named += !s.subcorpus.empty();
      for (const Label& l : s.labels) offsets.push_back(l.startText + "-" + l.endText);
    }
    view.reset();
    view.bind(1, id);
    while (view.step()) expectedOffsets.emplace_back(view.text(1));
    subcorpora.reset();
    subcorpora.bind(1, id);
    while (subcorpora.step()) expectedNames.emplace_back(subcorpora.text(0));
    EXPECT_EQ(offsets, expectedOffsets) << "lexical unit " << id;
    EXPECT_EQ(names, expectedNames) << "lexical unit " << id;
  }
  EXPECT_GT(named, 0u);
}

// A set from (FE, start, end, GF, PT) rows; an FE row with an itype has no span.
struct Row {
  const char* fe;
  int start, end;
  const char* gf;
  const char* pt;
  const char* itype = "";
  const char* rank = "1";
};

AnnotationSet set(const char* id, std::vector<Row> rows) {
  AnnotationSet result;
  result.sentenceKey = id;
  result.sentenceId = std::stoll(id);
  for (const Row& row : rows) {
    Label fe{"FE", row.rank, row.fe, row.itype, std::nullopt, std::nullopt, "", ""};
    if (!*row.itype) {
      fe.start = row.start;
      fe.end = row.end;
    }
    result.labels.push_back(fe);
    if (*row.gf) result.labels.push_back({"GF", row.rank, row.gf, "", row.start, row.end, "", ""});
    if (*row.pt) result.labels.push_back({"PT", row.rank, row.pt, "", row.start, row.end, "", ""});
  }
  return result;
}

TEST(ValencePatterns, GroupedCountedAndSorted) {
  LexicalUnitData lu;
  lu.frameFes = {{"Agent", "", "Core", ""}, {"Theme", "", "Core", ""}, {"Goal", "", "Core", ""}};
  lu.sets = {
      set("1", {{"Theme", 4, 8, "Obj", "NP"}, {"Agent", 0, 2, "Ext", "NP"}}),
      set("2", {{"Agent", 0, 2, "Ext", "NP"}, {"Goal", 0, 0, "", "", "DNI"}}),
      // Same units as set 1 in another label order: the same pattern.
      set("3", {{"Agent", 0, 3, "Ext", "NP"}, {"Theme", 5, 9, "Obj", "NP"}}),
      set("4", {}),  // no FE labels: no pattern
      // A second FE layer (rank 2) does not count; a label without GF or PT keeps empty ones.
      set("5", {{"Agent", 0, 2, "", ""}, {"Theme", 4, 8, "Obj", "NP", "", "2"}}),
      set("6", {{"Agent", 0, 2, "Ext", "NP"}, {"Goal", 0, 0, "", "", "DNI"}}),
      set("7", {{"Agent", 0, 2, "Ext", "NP"}, {"Theme", 4, 8, "Obj", "NP"}}),
  };
  const std::vector<reports::ValencePattern> patterns = reports::computePatterns(lu);
  struct Expected {
    const char* text;
    int total;
    std::vector<std::string> sentences;
  };
  const Expected expected[] = {
      {"Agent NP(Ext), Theme NP(Obj)", 3, {"1", "3", "7"}},
      {"Agent NP(Ext), Goal DNI", 2, {"2", "6"}},
      {"Agent", 1, {"5"}},
  };
  ASSERT_EQ(patterns.size(), std::size(expected));
  for (size_t i = 0; i < patterns.size(); ++i) {
    EXPECT_EQ(reports::patternText(patterns[i].units), expected[i].text);
    EXPECT_EQ(patterns[i].total, expected[i].total);
    std::vector<std::string> ids;
    for (const AnnotationSet* s : patterns[i].sets) ids.push_back(s->sentenceKey);
    EXPECT_EQ(ids, expected[i].sentences);
  }

  // Computed table: frame order, an FE twice in one set counted once as annotated.
  lu.sets.push_back(set("8", {{"Goal", 0, 1, "Dep", "PP"}, {"Goal", 3, 4, "Dep", "PP"},
                             {"Patient", 6, 7, "Obj", "NP"}}));
  const reports::ValenceTable table = reports::computeValence(lu);
  ASSERT_EQ(table.fes.size(), 4u);
  EXPECT_EQ(table.fes[0].fe, "Agent");
  EXPECT_EQ(table.fes[0].annotated, 6);
  EXPECT_EQ(table.fes[2].fe, "Goal");
  EXPECT_EQ(table.fes[2].annotated, 3);
  ASSERT_EQ(table.fes[2].realizations.size(), 2u);
  EXPECT_EQ(table.fes[2].realizations[0].total, 2);  // DNI twice first, then PP(Dep) twice
  EXPECT_EQ(table.fes[2].realizations[0].pt, "DNI");
  EXPECT_EQ(table.fes[3].fe, "Patient");  // not in the frame: after the frame's FEs
}

TEST(ValencePatterns, SentenceIdThatIsNotAnIntegerStaysText) {
  LexicalUnitData lu;
  lu.id = 5;
  lu.name = "x.v";
  lu.frame = "F";
  lu.sets = {set("1", {{"A", 0, 0, "Ext", "NP"}})};
  lu.sets[0].sentenceKey = "12a";
  lu.sets[0].sentenceId.reset();
  EXPECT_EQ(reports::patternsJson(lu, reports::computePatterns(lu)),
            R"({"lu_id":5,"lu":"x.v","frame":"F","patterns":[{"total":1,"units":)"
            R"([{"fe":"A","pt":"NP","gf":"Ext"}],"sentences":["12a"]}]})"
            "\n");
}

}  // namespace
}  // namespace sorvanta::testing
