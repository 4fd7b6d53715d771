// Tables as TSV and CSV, and the one-line summary of a command's outcome.
#include <gtest/gtest.h>

#include "text/DelimitedTable.h"
#include "text/OutcomeSummary.h"

namespace sorvanta::text {
namespace {

TEST(DelimitedTable, CellsThatNeedCare) {
  const TextTable table = {{"Frame", "Definition"},
                           {"Cut", "plain"},
                           {"a,b", "say \"hi\"\tthen\nmore"},
                           {"", "β–é"}};
  EXPECT_EQ(delimitedTable(table, Delimited::Tsv),
            "Frame\tDefinition\nCut\tplain\na,b\tsay \"hi\" then more\n\tβ–é\n");
  EXPECT_EQ(delimitedTable(table, Delimited::Csv),
            "Frame,Definition\nCut,plain\n\"a,b\",\"say \"\"hi\"\"\tthen\nmore\"\n,β–é\n");
  EXPECT_EQ(delimitedTable({}, Delimited::Csv), "");
}

TEST(OutcomeSummary, SaysWhatWasWrittenAndWhereWarningsWent) {
  Outcome written;
  written.filesWritten = {"/rel/TrainingSet.xml", "/rel/TestSet.xml", "/rel/Messages.txt"};
  Outcome spread;
  spread.filesWritten = {"/rel/a.txt", "/rel/frames/b.txt"};
  spread.warn("Dictionaries", "one");
  spread.warn("Dictionaries", "two");
  const struct {
    Outcome outcome;
    size_t messageLines;
    std::string text;
    std::string folder;
  } cases[] = {
      {written, 553, "Select Sample: 3 files written in /rel/; 553 messages in Messages.txt", "/rel/"},
      {written, 0, "Select Sample: 3 files written in /rel/", "/rel/"},
      {spread, 1, "Select Sample: 2 files written; 1 message in Messages.txt; 2 warnings shown",
       "/rel/"},
      {Outcome(), 0, "Select Sample: no files written", ""},
      {Outcome::cancelled(), 0,
       "Select Sample: cancelled; the older files were left as they were", ""},
      {Outcome::refused("X", "Too many frames."), 0,
       "Select Sample: nothing written (Too many frames.)", ""},
  };
  for (const auto& c : cases) {
    const OutcomeSummary summary =
        summarizeOutcome("Select Sample", c.outcome, c.messageLines, "Messages.txt");
    EXPECT_EQ(summary.text, c.text);
    EXPECT_EQ(summary.folder, c.folder);
  }
}

}  // namespace
}  // namespace sorvanta::text
