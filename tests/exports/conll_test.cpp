// CoNLL tokenization and BIO tags.
#include <gtest/gtest.h>

#include "exports/ExportSupport.h"
#include "exports/Formats.h"
#include "support/MiniRelease.h"

namespace sorvanta::exports {
namespace {

std::string tokensOf(std::string_view text) {
  std::string joined;
  for (const Token& token : tokenize(text))
    joined += token.text + "@" + std::to_string(token.start) + "-" + std::to_string(token.end) + " ";
  return joined;
}

TEST(ConllTokenizeTest, WhiteSpaceThenPunctuationOffWordEdges) {
  const std::pair<const char*, const char*> cases[] = {
      {"Slowly, the queue.", "Slowly@0-6 ,@6-7 the@8-11 queue@12-17 .@17-18 "},
      {"(walk)", "(@0-1 walk@1-5 )@5-6 "},
      {"don't stop-start U.S.", "don't@0-5 stop-start@6-16 U.S@17-20 .@20-21 "},
      {"Wait...", "Wait@0-4 .@4-5 .@5-6 .@6-7 "},
      {"--", "-@0-1 -@1-2 "},
      {"  two\t spaces\n", "two@2-5 spaces@7-13 "},
      // Offsets count code points; curly quotes and dashes are punctuation, £ and é are not.
      {"“Café”— £10", "“@0-1 Café@1-5 ”@5-6 —@6-7 £10@8-11 "},
      // Only the edges of a piece: punctuation inside stays.
      {"yes—no", "yes—no@0-6 "},
      {"naïve\u00A0β", "naïve@0-5 β@6-7 "},  // no-break space is white space
      {"", ""},
      {" \t ", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(tokensOf(text), expected) << text;
}

AnnotationRecord record(std::string text, std::vector<LabelSpan> target,
                        std::vector<FrameElementLabel> fes) {
  AnnotationRecord r;
  r.frame = "Motion";
  r.text = std::move(text);
  r.target = std::move(target);
  r.fes = std::move(fes);
  return r;
}

TEST(ConllBlockTest, BioTags) {
  struct Case {
    const char* what;
    AnnotationRecord set;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", record("Kim ran home.", {{"Target", 4, 7}}, {{"Runner", "", 0, 3}, {"Goal", "", 8, 12}}),
       "1\tKim\t0\t_\tB-Runner\n2\tran\t1\tMotion\tO\n3\thome\t0\t_\tB-Goal\n4\t.\t0\t_\tO\n"},
      // A label ending inside a token tags the whole token; null instantiations tag nothing.
      {"partial token and null instantiation",
       record("Kim's dog ran.", {{"Target", 10, 13}},
              {{"Owner", "", 0, 3}, {"Theme", "", 6, 9}, {"Goal", "DNI", 0, 0}}),
       "1\tKim's\t0\t_\tB-Owner\n2\tdog\t0\t_\tB-Theme\n3\tran\t1\tMotion\tO\n4\t.\t0\t_\tO\n"},
      // Adjacent labels of one name stay apart (B- each); an overlapping later label keeps only
      // the tokens left to it.
      {"adjacent and overlapping",
       record("a b c d", {{"Target", 0, 1}},
              {{"X", "", 2, 3}, {"X", "", 4, 5}, {"Y", "", 4, 7}}),
       "1\ta\t1\tMotion\tO\n2\tb\t0\t_\tB-X\n3\tc\t0\t_\tB-X\n4\td\t0\t_\tB-Y\n"},
      // A target over two tokens flags both; a second target span flags its token too.
      {"discontinuous target",
       record("set it off now", {{"Target", 0, 3}, {"Target", 7, 10}}, {{"Theme", "", 4, 6}}),
       "1\tset\t1\tMotion\tO\n2\tit\t0\t_\tB-Theme\n3\toff\t1\tMotion\tO\n4\tnow\t0\t_\tO\n"},
      {"no tokens", record(" ", {}, {}), ""},
  };
  for (const Case& c : cases) {
    std::string out;
    appendConllBlock(out, c.set);
    EXPECT_EQ(out, c.expected) << c.what;
  }
}

TEST(ConllExportTest, BlankLineBetweenSetsAndNoneAfterTheLast) {
  testing::TempDir dir, scratch;
  testing::MiniSentence empty{"3", " ", "0", "0", {}, false};
  const std::string release = testing::writeMiniRelease(
      dir, {{"Seeing", "1", {{"10", "see.v", 3, {testing::plainSentence("1"), empty, testing::plainSentence("2")}}}}});
  const testing::ExportRun run = testing::runExport(release, scratch, Format::Conll);
  ASSERT_TRUE(run.outcome.done());
  EXPECT_EQ(run.bytes,
            "1\tAnn\t0\t_\tB-Agent\n2\tsaw\t1\tSeeing\tO\n3\tit\t0\t_\tO\n4\t1\t0\t_\tO\n5\t.\t0\t_\tO\n"
            "\n"
            "1\tAnn\t0\t_\tB-Agent\n2\tsaw\t1\tSeeing\tO\n3\tit\t0\t_\tO\n4\t2\t0\t_\tO\n5\t.\t0\t_\tO\n");
  EXPECT_EQ(testing::warningsOf(run.outcome), "lexical unit 10, sentence 3: the text has no tokens; set left out\n");
}

}  // namespace
}  // namespace sorvanta::exports
