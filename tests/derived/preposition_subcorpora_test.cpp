// Selecting the sentences in which a preposition heads a frame element.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "derived/PrepositionFixture.h"
#include "derived/PrepositionSubcorpora.h"
#include "support/RecordingProgress.h"
#include "text/Errors.h"
#include "text/FileIO.h"
#include "xml/XpObjModel.h"

using namespace sorvanta;
using namespace sorvanta::testing;

namespace {

const std::string kTooLongPreposition(242, 'p');

constexpr const char* kEmptySentences =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DOCS>\n</DOCS>\n";

// The IDs the command reports as tried; more than a thousand means it walks the range ID by ID.
class RecordedIds : public text::Progress {
 public:
  void count(std::string_view counter, int64_t value, std::string_view) override {
    if (counter != derived::kLexUnitTriedCounter) return;
    ids.push_back(static_cast<int32_t>(value));
    if (ids.size() > 1000) throw std::runtime_error("the range is walked ID by ID");
  }
  std::vector<int32_t> ids;
};

derived::SubcorporaResult run(const TempDir& folder, const std::string& low,
                              const std::string& high, const std::string& preposition,
                              text::Progress& progress = text::noProgress()) {
  xml::TXpObjModel model;
  return derived::selectSubcorpora({low, high, preposition, folderOf(folder)}, model, progress);
}

}  // namespace

TEST(PrepositionPhrase, ChoosesTheFirstPpLabelHeadedByThePreposition) {
  struct Case {
    const char* what;
    std::string text;
    std::string layers;
    std::string preposition;  // working text
    std::optional<int32_t> start;
    std::string frameElement;
  } cases[] = {
      {"capital letter in the text", "About the plan, they agreed.",
       threeLayers(label("Topic", "0", "13"), "", label("PP", "0", "13")), "about", 0, "Topic"},
      {"capital letter in the preposition",
       "About the plan, they agreed.",
       threeLayers(label("Topic", "0", "13"), "", label("PP", "0", "13")),
       "About",
       {},
       ""},
      {"a longer word",
       "Fret abouts the hens.",
       threeLayers(label("Topic", "5", "19"), "", label("PP", "5", "19")),
       "about",
       {},
       ""},
      {"the preposition ends the text",
       "They talked about",
       threeLayers(label("Topic", "12", "16"), "", label("PP", "12", "16")),
       "about",
       {},
       ""},
      {"punctuation after the preposition",
       "They talked about.",
       threeLayers(label("Topic", "12", "16"), "", label("PP", "12", "16")),
       "about",
       {},
       ""},
      {"two FE labels start there, the next PP qualifies", "Put it on the shelf on time.",
       layer("FE", label("Goal", "7", "18") + label("Time", "20", "26")) + layer("GF", "") +
           layer("PT", label("PP", "7", "18") + label("PP", "20", "26")) +
           layer("FE", label("Goal", "7", "18")),
       "on", 20, "Time"},
      {"no FE label starts there",
       "Put it on the shelf.",
       threeLayers(label("Theme", "4", "5"), "", label("PP", "7", "18")),
       "on",
       {},
       ""},
      {"two qualifying PP labels", "Bought nets for them for cash.",
       threeLayers(label("Recipient", "12", "19") + label("Money", "21", "28"), "",
                   label("PP", "12", "19") + label("PP", "21", "28")),
       "for", 12, "Recipient"},
      {"empty preposition, a space at the start", "Walk  into town.",
       threeLayers(label("Goal", "4", "14"), "", label("PP", "4", "14")), "", 4, "Goal"},
      {"empty preposition, a letter at the start",
       "Walk into town.",
       threeLayers(label("Goal", "5", "14"), "", label("PP", "5", "14")),
       "",
       {},
       ""},
      {"start beyond the text",
       "Walk.",
       threeLayers(label("Goal", "40", "44"), "", label("PP", "40", "44")),
       "into",
       {},
       ""},
      {"negative start",
       "into town",
       threeLayers(label("Goal", "-1", "3"), "", label("PP", "-1", "3")),
       "into",
       {},
       ""},
      {"Latin-1 capital lowered",
       "\xC3\x9C"
       "ber alles.",
       threeLayers(label("Topic", "0", "9"), "", label("PP", "0", "9")),
       "\xFC"
       "ber",
       0, "Topic"},
      {"FE label without a name",
       "Walk into town.",
       threeLayers("<label start=\"5\" end=\"13\"/>", "", label("PP", "5", "13")),
       "into",
       {},
       ""},
  };
  for (const Case& c : cases) {
    xml::TXpObjModel model;
    const std::string xml = annotationSet("1", c.text, c.layers);
    ASSERT_TRUE(model.LoadMemory(xml.data(), xml.size())) << c.what;
    const xml::TXpNode* set = model.Document()->docGetDocumentElement();
    const std::string text = set->noGetLastChild()->noGetText();
    std::optional<derived::PrepositionPhrase> phrase =
        derived::findPrepositionPhrase(set, text, c.preposition);
    ASSERT_EQ(phrase.has_value(), c.start.has_value()) << c.what;
    if (!phrase) continue;
    EXPECT_EQ(phrase->start, *c.start) << c.what;
    EXPECT_EQ(phrase->frameElement, c.frameElement) << c.what;
  }
}

TEST(PrepositionPhrase, PpStartThatIsNoIntegerStopsWithTheConversionError) {
  xml::TXpObjModel model;
  const std::string xml = annotationSet(
      "1", "Walk into town.", threeLayers(label("Goal", "5", "13"), "", label("PP", "5a", "13")));
  ASSERT_TRUE(model.LoadMemory(xml.data(), xml.size()));
  try {
    derived::findPrepositionPhrase(model.Document()->docGetDocumentElement(), "Walk into town.",
                                   "into");
    FAIL() << "no error";
  } catch (const text::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'5a' is not a valid integer value");
  }
}

TEST(SelectSubcorpora, WritesSelectedSentencesAndEmptySubcorpusLines) {
  TempDir folder;
  const std::string walkInto = annotationSet(
      "501", "We walked into the &lt;old&gt; barn &amp; yard.",
      threeLayers(label("Goal", "10", "36"), label("Dep", "10", "36"), label("PP", "10", "36")));
  writeSubcorpusDocument(
      folder, 7,
      subcorpusDocument("walk.v", "Self_motion",
                        subcorpus("V-ppinto", walkInto) + subcorpus("V-np-ppinto", "") +
                            subcorpus("V-ppin", walkInto) + subcorpus("other", "")));
  writeSubcorpusDocument(folder, 9,
                         subcorpusDocument("go.v", "Motion", subcorpus("V-ppintox", walkInto)));
  writeSubcorpusDocument(folder, 12,
                         subcorpusDocument("run.v", "Motion", subcorpus("V-ppinto", walkInto)));
  RecordedIds progress;
  derived::SubcorporaResult result = run(folder, "6", "$A", "into", progress);
  // The documents that exist in the range, then the range's end.
  EXPECT_EQ(progress.ids, (std::vector<int32_t>{7, 9, 10}));
  EXPECT_EQ(result.documentsRead, 2);
  EXPECT_EQ(result.sentencesSelected, 2);
  EXPECT_TRUE(result.outcome.done());
  EXPECT_TRUE(result.outcome.notices.empty());
  EXPECT_EQ(result.outcome.filesWritten,
            (std::vector<std::string>{folder.file("pp-into.sents.xml"), folder.file("pp-into.txt")}));
  EXPECT_EQ(readBytes(folder.file("pp-into.txt")),
            "Self_motion\tGoal\twalk.v\tV-ppinto\t501-11\r\n"
            "Self_motion\tNo instances \twalk.v\tV-np-ppinto\r\n"
            "Motion\tGoal\tgo.v\tV-ppintox\t501-11\r\n");
  const std::string doc =
      "<DOC>\n<DOCNO>into-501-11</DOCNO>\n"
      "<TEXT>We walked into the &lt;old&gt; barn &amp; yard.</TEXT>\n</DOC>\n";
  EXPECT_EQ(readBytes(folder.file("pp-into.sents.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DOCS>\n" + doc + doc + "</DOCS>\n");
}

TEST(SelectSubcorpora, EdgesOfTheRangeAndThePreposition) {
  struct Case {
    const char* what;
    const char* low;
    const char* high;
    const char* preposition;
    const char* listFile;
    const char* list;
    const char* sentencesFile;
  } cases[] = {
      {"low above high", "3", "2", "into", "pp-into.txt", "", "pp-into.sents.xml"},
      {"empty preposition", "1", "1", "", "pp-.txt", "Motion\tNo instances \tgo.v\tV-ppacross\r\n",
       "pp-.sents.xml"},
      {"preposition matching nothing", "1", "1", "over", "pp-over.txt", "", "pp-over.sents.xml"},
  };
  for (const Case& c : cases) {
    TempDir folder;
    writeSubcorpusDocument(
        folder, 1,
        subcorpusDocument(
            "go.v", "Motion",
            subcorpus("V-ppacross", "") +
                subcorpus("V-ppinto", annotationSet("5", "Go into it.",
                                                    threeLayers(label("Goal", "3", "9"), "",
                                                                label("PP", "3", "9"))))));
    derived::SubcorporaResult result = run(folder, c.low, c.high, c.preposition);
    EXPECT_EQ(result.listPath, folder.file(c.listFile)) << c.what;
    EXPECT_EQ(readBytes(folder.file(c.listFile)), c.list) << c.what;
    EXPECT_EQ(readBytes(folder.file(c.sentencesFile)), kEmptySentences) << c.what;
  }
}

TEST(SelectSubcorpora, RefusesBadInputBeforeWritingAnything) {
  struct Case {
    const char* low;
    const char* high;
    const char* preposition;
    const char* error;  // the conversion error, or empty for a refused preposition
  } cases[] = {
      {"1", "x", "into", "'x' is not a valid integer value"},
      {"", "2", "into", "'' is not a valid integer value"},
      {"1", "2", "../up", ""},
      {"1", "2", "a/b", ""},
      {"1", "2", "tab\there", ""},
      {"1", "2", "c1\x9D", ""},
      {"1", "2", kTooLongPreposition.c_str(), ""},  // "pp-" + it + ".alters.txt": 256 bytes
  };
  for (const Case& c : cases) {
    TempDir folder;
    writeSubcorpusDocument(folder, 1, subcorpusDocument("go.v", "Motion", ""));
    std::string error;
    std::optional<text::Outcome> outcome;
    try {
      outcome = run(folder, c.low, c.high, c.preposition).outcome;
    } catch (const text::ConversionError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error) << c.preposition;
    EXPECT_EQ(outcome.has_value(), error.empty()) << c.preposition;
    if (outcome) {
      EXPECT_EQ(outcome->status, text::Outcome::Status::Refused);
      ASSERT_EQ(outcome->notices.size(), 1u);
      EXPECT_EQ(outcome->notices[0].caption, "Preposition Analysis");
      EXPECT_TRUE(outcome->filesWritten.empty());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1)
        << c.preposition << ": only xml/ remains";
  }
}

TEST(SelectSubcorpora, BadPpStartLeavesOlderOutputsInPlace) {
  TempDir folder;
  folder.write("pp-into.txt", "older list\r\n");
  folder.write("pp-into.sents.xml", "older sentences");
  writeSubcorpusDocument(
      folder, 1,
      subcorpusDocument(
          "go.v", "Motion",
          subcorpus("V-ppinto", annotationSet("5", "Go into it.",
                                              threeLayers("", "", label("PP", "x", "9"))))));
  EXPECT_THROW(run(folder, "1", "1", "into"), text::ConversionError);
  EXPECT_EQ(readBytes(folder.file("pp-into.txt")), "older list\r\n");
  EXPECT_EQ(readBytes(folder.file("pp-into.sents.xml")), "older sentences");
}

// The pair is one data set: a sentences file that cannot be written keeps the older list too.
TEST(SelectSubcorpora, SentencesFileThatCannotBeWrittenLeavesTheOlderPair) {
  TempDir folder;
  std::filesystem::create_directories(folder.path() / "pp-on.sents.xml");  // a folder in the way
  folder.write("pp-on.txt", "older list\r\n");
  try {
    run(folder, "0", "0", "on");
    FAIL() << "no error";
  } catch (const text::FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + folder.file("pp-on.sents.xml"));
  }
  EXPECT_EQ(readBytes(folder.file("pp-on.txt")), "older list\r\n");
}

TEST(SelectSubcorpora, SampleReleaseMatchesGoldenFiles) {
  TempDir folder;
  copySampleRelease(folder);
  for (const std::string preposition : {"about", "into", "on", "for", "from", ""}) {
    run(folder, "1000", "2300", preposition);
    for (const std::string suffix : {".txt", ".sents.xml"}) {
      const std::string name = "pp-" + preposition + suffix;
      EXPECT_EQ(readBytes(folder.file(name)), readBytes(testDataPath("golden/preposition/" + name)))
          << name;
    }
  }
}

// The widest range visits the documents that exist, in numeric order, without trying four
// billion IDs; names the ID loop would never build are left alone.
TEST(SelectSubcorpora, WidestRangeVisitsOnlyTheDocumentsThatExist) {
  TempDir folder;
  const std::string sets = annotationSet(
      "8", "Go into it.", threeLayers(label("Goal", "3", "9"), "", label("PP", "3", "9")));
  for (int id : {12, -3, 7, 2147483647})
    writeSubcorpusDocument(folder, id,
                           subcorpusDocument("go" + std::to_string(id) + ".v", "Motion",
                                             subcorpus("V-ppinto", sets)));
  folder.write("xml/lu007.xml", subcorpusDocument("padded.v", "Motion", subcorpus("V-ppinto", sets)));
  folder.write("xml/lu+7.xml", subcorpusDocument("plus.v", "Motion", subcorpus("V-ppinto", sets)));
  folder.write("xml/lu-0.xml", subcorpusDocument("minus.v", "Motion", subcorpus("V-ppinto", sets)));
  folder.write("xml/lu99999999999.xml", "<beyond/>");
  std::filesystem::create_directories(folder.path() / "xml" / "lu5.xml");

  RecordedIds progress;
  const derived::SubcorporaResult result = run(folder, "-2147483648", "2147483647", "into", progress);
  EXPECT_EQ(progress.ids, (std::vector<int32_t>{-3, 7, 12, 2147483647}));
  EXPECT_EQ(result.documentsRead, 4);
  EXPECT_EQ(readBytes(folder.file("pp-into.txt")),
            "Motion\tGoal\tgo-3.v\tV-ppinto\t8-4\r\n"
            "Motion\tGoal\tgo7.v\tV-ppinto\t8-4\r\n"
            "Motion\tGoal\tgo12.v\tV-ppinto\t8-4\r\n"
            "Motion\tGoal\tgo2147483647.v\tV-ppinto\t8-4\r\n");
  // A narrower range gives the same as trying each of its IDs.
  RecordedIds narrow;
  run(folder, "-3", "8", "into", narrow);
  EXPECT_EQ(narrow.ids, (std::vector<int32_t>{-3, 7, 8}));
  EXPECT_EQ(readBytes(folder.file("pp-into.txt")),
            "Motion\tGoal\tgo-3.v\tV-ppinto\t8-4\r\nMotion\tGoal\tgo7.v\tV-ppinto\t8-4\r\n");
}
