// The JSON Lines export of the sample release and of small releases with awkward labels.
#include <gtest/gtest.h>

#include <fstream>

#include "exports/ExportSupport.h"
#include "exports/SchemaCheck.h"
#include "support/CliRun.h"
#include "support/MiniRelease.h"
#include "support/ReleaseCopy.h"

namespace sorvanta::testing {
namespace {

using Json = nlohmann::ordered_json;

const Json& lineFor(const std::vector<Json>& lines, int64_t lu, int64_t sentence) {
  for (const Json& line : lines)
    if (line["lu_id"] == lu && line["sentence_id"] == sentence) return line;
  static const Json none;
  ADD_FAILURE() << "no set for unit " << lu << ", sentence " << sentence;
  return none;
}

class SampleExport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new TempDir;
    run_ = new ExportRun(runExport(sampleReleasePath(), *scratch_));
  }
  static void TearDownTestSuite() {
    delete run_;
    delete scratch_;
  }
  static TempDir* scratch_;
  static ExportRun* run_;
};
TempDir* SampleExport::scratch_ = nullptr;
ExportRun* SampleExport::run_ = nullptr;

TEST_F(SampleExport, EverySetOnceInFramesDocumentOrderWithTheFieldsInOrder) {
  ASSERT_TRUE(run_->outcome.done()) << warningsOf(run_->outcome);
  EXPECT_EQ(run_->outcome.warningCount(), 0) << warningsOf(run_->outcome);
  ASSERT_EQ(run_->lines.size(), 52u);
  const std::vector<std::string> fields = {"lu_id", "lu", "frame", "frame_id", "sentence_id", "subcorpus",
                                           "text", "target", "fes", "gf", "pt"};
  for (const Json& line : run_->lines) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : line.items()) keys.push_back(key);
    ASSERT_EQ(keys, fields) << line.dump();
  }
  // The units of the sample appear in the order of the frames document, each unit's sentences
  // in document order.
  EXPECT_EQ(run_->lines.front()["sentence_id"], 500101);
  EXPECT_EQ(run_->lines[1]["sentence_id"], 500102);
  EXPECT_EQ(run_->lines.back()["lu_id"], 2101);
}

TEST_F(SampleExport, HandCheckedSets) {
  const std::vector<Json>& lines = run_->lines;
  struct Case {
    int64_t lu, sentence;
    const char* fieldsJson;  // the fields to compare, as JSON
  };
  const Case cases[] = {
      // Offsets count code points: β is one, though two bytes in UTF-8.
      {1002, 500111,
       R"({"lu":"drift.v","frame":"Motion","frame_id":7,"subcorpus":"V-pppast",
           "text":"The research probe drifted past the star β Pictoris for eleven years.",
           "target":[[19,26]],
           "fes":[{"name":"Theme","start":0,"end":18},{"name":"Path","start":27,"end":51},
                  {"name":"Time","start":52,"end":68}]})"},
      // Entity references decoded; £ and – one code point each; a frame element up to the end.
      {1401, 500181,
       R"({"text":"We bought two tickets from the stall marked \"Smith & Sons – fares < £10\".",
           "target":[[3,9]],
           "fes":[{"name":"Buyer","start":0,"end":2},{"name":"Goods","start":10,"end":21},
                  {"name":"Seller","start":22,"end":72}],
           "pt":[{"name":"NP","start":0,"end":2},{"name":"NP","start":10,"end":21},
                 {"name":"PP","start":22,"end":72}]})"},
      // A null instantiation keeps its document position among the frame elements.
      {1001, 500102,
       R"({"fes":[{"name":"Manner","start":0,"end":6},{"name":"Theme","start":8,"end":17},
                  {"name":"Goal","start":24,"end":48},{"name":"Source","itype":"INI"}]})"},
      // Two constructional null instantiations; a target at offset 0.
      {1201, 500152,
       R"({"target":[[0,3]],
           "fes":[{"name":"manner","start":4,"end":10},{"name":"Agent","itype":"CNI"},
                  {"name":"Act","itype":"CNI"}],
           "gf":[{"name":"Dep","start":4,"end":10}]})"},
      // The target ends on the text's last character: end equals the length.
      {1501, 500203,
       R"({"text":"Prices kept falling, so in the end we had to sell","target":[[45,49]],
           "fes":[{"name":"Seller","start":35,"end":37},{"name":"Goods","itype":"DNI"}]})"},
      // One sentence annotated for two units: a set for each.
      {1102, 500150, R"({"target":[[5,13]],"subcorpus":"V-ppalong"})"},
      {1103, 500150, R"({"target":[[33,41]],"subcorpus":"V-ppinto"})"},
      // Text wrapped over two lines with a tab in a CR LF document: collapsed to single spaces.
      {2101, 500282,
       R"({"text":"Letters from the front arrived in Lyon in bundles – often weeks apart.",
           "target":[[23,30]]})"},
  };
  for (const Case& c : cases) {
    const Json& line = lineFor(lines, c.lu, c.sentence);
    const Json expected = Json::parse(c.fieldsJson);
    for (const auto& [key, value] : expected.items())
      EXPECT_EQ(line[key], value) << "unit " << c.lu << " sentence " << c.sentence << " field " << key;
  }
}

TEST_F(SampleExport, ConformsToTheShippedSchemaAndOffsetsLieInTheText) {
  std::ifstream file(testDataPath("../../docs/export.schema.json"));
  ASSERT_TRUE(file) << "docs/export.schema.json not found";
  const SchemaCheck schema(nlohmann::json::parse(file));
  for (const Json& line : run_->lines) {
    const nlohmann::json plain = nlohmann::json::parse(line.dump());
    ASSERT_EQ(schema.check(plain), "") << line.dump();
    const int64_t length = exports::codePointCount(line["text"].get<std::string>());
    auto inText = [&](int64_t start, int64_t end) { return 0 <= start && start < end && end <= length; };
    for (const Json& span : line["target"]) EXPECT_TRUE(inText(span[0], span[1])) << line.dump();
    for (const char* layer : {"fes", "gf", "pt"}) {
      for (const Json& label : line[layer]) {
        if (label.contains("start")) {
          EXPECT_TRUE(inText(label["start"], label["end"])) << line.dump();
        }
      }
    }
  }
}

TEST(SchemaCheckTest, RejectsWhatTheSchemaForbids) {
  std::ifstream file(testDataPath("../../docs/export.schema.json"));
  const SchemaCheck schema(nlohmann::json::parse(file));
  const nlohmann::json good = nlohmann::json::parse(
      R"({"lu_id":1,"lu":"a.v","frame":"F","frame_id":2,"sentence_id":3,"subcorpus":"",
          "text":"abc","target":[[0,1]],"fes":[{"name":"X","itype":"DNI"}],"gf":[],"pt":[]})");
  EXPECT_EQ(schema.check(good), "");
  const std::pair<const char*, nlohmann::json> broken[] = {
      {"/lu_id", "1"},
      {"/target/0", nlohmann::json::array({0})},
      {"/target/0/0", -1},
      {"/fes/0", nlohmann::json::parse(R"({"name":"X","start":0,"end":1,"itype":"DNI"})")},
      {"/fes/0", nlohmann::json::parse(R"({"name":"X","itype":""})")},
      {"/gf", nlohmann::json::array({nlohmann::json::parse(R"({"name":"Ext","start":0})")})},
  };
  for (const auto& [pointer, value] : broken) {
    nlohmann::json bad = good;
    bad[nlohmann::json::json_pointer(pointer)] = value;
    EXPECT_NE(schema.check(bad), "") << bad.dump();
  }
  nlohmann::json missing = good;
  missing.erase("pt");
  EXPECT_NE(schema.check(missing), "");
}

// Labels the text cannot hold are left out of their set, each with a warning.
TEST(JsonlExportTest, LabelsOutsideTheTextAreLeftOutAndWarnedAbout) {
  TempDir dir, scratch;
  MiniSentence sentence{"9001", "Ann naïvely saw it.", "12", "14",
                        {{"Agent", "0", "2", ""},
                         {"Manner", "4", "10", ""},   // naïvely: ï is one code point
                         {"Place", "15", "19", ""},   // end 19 is past the last character (18)
                         {"Time", "-1", "2", ""},     // negative start
                         {"Degree", "9", "8", ""},    // end before start
                         {"Means", "x", "2", ""},     // not an integer
                         {"Reason", "", "", "DNI"}},
                        true};
  MiniSentence badTarget{"9002", "Short.", "3", "40", {}, true};
  writeMiniRelease(dir, {{"Perception", "5", {{"77", "see.v", 2, {sentence, badTarget}}}}});
  const ExportRun run = runExport(dir.path().string(), scratch);
  ASSERT_TRUE(run.outcome.done()) << warningsOf(run.outcome);
  ASSERT_EQ(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0]["fes"], Json::parse(R"([{"name":"Agent","start":0,"end":3},
      {"name":"Manner","start":4,"end":11},{"name":"Reason","itype":"DNI"}])"));
  EXPECT_EQ(run.lines[0]["target"], Json::parse("[[12,15]]"));
  EXPECT_EQ(run.lines[0]["gf"], Json::array());
  EXPECT_EQ(run.lines[1]["target"], Json::array());
  EXPECT_EQ(warningsOf(run.outcome),
            "lexical unit 77, sentence 9001: FE label 'Place' (start 15, end 19) lies outside the "
            "text (19 characters); left out\n"
            "lexical unit 77, sentence 9001: FE label 'Time' (start -1, end 2) lies outside the text "
            "(19 characters); left out\n"
            "lexical unit 77, sentence 9001: FE label 'Degree' (start 9, end 8) lies outside the text "
            "(19 characters); left out\n"
            "lexical unit 77, sentence 9001: FE label 'Means' has no integer start and end; left out\n"
            "lexical unit 77, sentence 9002: Target label 'Target' (start 3, end 40) lies outside the "
            "text (6 characters); left out\n");
}

// The layers of both documents of a unit: a set whose subcorpus document has labels of its own
// (a changed label, a second FE and Target layer), a set whose annotation document lacks a
// layer, a sentence twice in the annotation document and one only the subcorpus document holds.
TEST(JsonlExportTest, LayersOfBothDocumentsAndRepeatedSentences) {
  SampleReleaseCopy copy;
  auto edit = [&](const std::string& document, const std::string& from, const std::string& to,
                  const std::string& after = "") {
    const std::string path = copy.folder + document;
    std::string text = readBytes(path);
    const size_t at = text.find(from, after.empty() ? 0 : text.find(after));
    ASSERT_NE(at, std::string::npos) << document << ": " << from;
    text.replace(at, from.size(), to);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  };
  const std::string end = "</lexunit-annotation>";
  edit("xml/lu1001.xml", R"(<label name="Ext" start="0" end="7"/>)", R"(<label name="Obj" start="0" end="7"/>)");
  edit("xml/lu1001.xml", R"(<layer name="Target" rank="1">)",
       R"(<layer name="FE" rank="2"><labels><label name="Co-theme" start="0" end="2"/>)"
       R"(<label name="Bad" start="0" end="200"/><label name="Q\&quot;x" itype="DNI"/></labels></layer>)"
       R"(<layer name="Target" rank="2"><labels><label name="Target" start="0" end="2"/></labels></layer>)"
       R"(<layer name="Target" rank="1">)");
  edit("xml/lu1001.xml", end,
       R"(<subcorpus name="only-here"><annotationSet ID="7000199"><layers>)"
       R"(<layer name="FE" rank="1"><labels><label name="Th\eme &quot;x&quot;" start="0" end="3"/>)"
       R"(<label name="Goal" itype="INI"/></labels></layer>)"
       R"(<layer name="GF" rank="1"><labels><label name="Ext" start="0" end="3"/><label name="Dep" itype="DNI"/></labels></layer>)"
       R"(<layer name="Target" rank="1"><labels><label name="Target" start="5" end="9"/></labels></layer>)"
       R"(</layers><sentence ID="500199"><text>Kéké "moved" a\b → 𝄞 ok</text></sentence></annotationSet>)"
       R"(</subcorpus>)" + end);
  edit("luXML/lu1001.xml", R"(<layer name="GF" rank="1">)", R"(<layer name="Unused" rank="1">)",
       R"(<annotationSet ID="7000103")");
  edit("luXML/lu1001.xml", end,
       R"(<subcorpus name="again"><annotationSet ID="7000197"><layers>)"
       R"(<layer name="FE" rank="1"><labels><label name="Theme" start="0" end="5"/></labels></layer>)"
       R"(<layer name="Target" rank="1"><labels><label name="Target" start="18" end="22"/></labels></layer>)"
       R"(</layers><sentence ID="500102"><text>Slowly, the queue moved to the front of the hall.</text>)"
       R"(</sentence></annotationSet></subcorpus>)" + end);

  TempDir scratch;
  const ExportRun run = runExport(copy.folder, scratch, exports::Format::Jsonl, {{}, {1001}, 0});
  ASSERT_TRUE(run.outcome.done()) << warningsOf(run.outcome);
  ASSERT_EQ(run.lines.size(), 4u);
  struct Case {
    int64_t sentence;
    const char* fieldsJson;
  };
  const Case cases[] = {
      // The subcorpus document's FE and Target layers of rank 2 count; its GF layer does not,
      // the annotation document having one.
      {500101,
       R"({"target":[[9,14],[0,3]],
           "fes":[{"name":"Theme","start":0,"end":8},{"name":"Path","start":15,"end":30},
                  {"name":"Goal","start":31,"end":53},{"name":"Time","start":54,"end":65},
                  {"name":"Co-theme","start":0,"end":3},{"name":"Q\\\"x","itype":"DNI"}],
           "gf":[{"name":"Ext","start":0,"end":8},{"name":"Dep","start":15,"end":30},
                 {"name":"Dep","start":31,"end":53},{"name":"Dep","start":54,"end":65}]})"},
      // Both sentences of the annotation document, in document order.
      {500102,
       R"({"target":[[18,23],[18,23]],
           "fes":[{"name":"Manner","start":0,"end":6},{"name":"Theme","start":8,"end":17},
                  {"name":"Goal","start":24,"end":48},{"name":"Source","itype":"INI"},
                  {"name":"Theme","start":0,"end":6}]})"},
      // The annotation document has no GF layer here: the subcorpus document's serves.
      {500103, R"({"gf":[{"name":"Ext","start":0,"end":7}],"pt":[{"name":"NP","start":0,"end":7}]})"},
      {500199,
       R"({"subcorpus":"only-here","text":"Kéké \"moved\" a\\b → 𝄞 ok","target":[[5,10]],
           "fes":[{"name":"Th\\eme \"x\"","start":0,"end":4},{"name":"Goal","itype":"INI"}],
           "gf":[{"name":"Ext","start":0,"end":4}],"pt":[]})"},
  };
  for (const Case& c : cases) {
    const Json& line = lineFor(run.lines, 1001, c.sentence);
    const Json expected = Json::parse(c.fieldsJson);
    for (const auto& [key, value] : expected.items())
      EXPECT_EQ(line[key], value) << "sentence " << c.sentence << " field " << key;
  }
  EXPECT_NE(run.bytes.find(R"("text":"Kéké \"moved\" a\\b → 𝄞 ok","target":[[5,10]],"fes":[{"name":"Th\\eme \"x\"",)"),
            std::string::npos);
  EXPECT_EQ(warningsOf(run.outcome),
            "lexical unit 1001, sentence 500101: FE label 'Bad' (start 0, end 200) lies outside the text "
            "(66 characters); left out\n");
}

// Units follow the frames document, not their IDs; --frame and --lu select together.
TEST(JsonlExportTest, SelectionAndOrder) {
  TempDir dir, scratch;
  const std::string release = writeMiniRelease(
      dir, {{"Zeta", "2", {{"30", "z.v", 1, {plainSentence("3")}}, {"10", "y.v", 1, {plainSentence("1")}}}},
            {"Alpha", "1", {{"20", "a.v", 2, {plainSentence("2"), plainSentence("4")}}}},
            {"Empty", "3", {}}});
  auto units = [](const ExportRun& run) {
    std::vector<int64_t> ids;
    for (const Json& line : run.lines) ids.push_back(line["lu_id"]);
    return ids;
  };
  EXPECT_EQ(units(runExport(release, scratch)), (std::vector<int64_t>{30, 10, 20, 20}));
  EXPECT_EQ(units(runExport(release, scratch, exports::Format::Jsonl, {{"Alpha"}, {10}, 0})),
            (std::vector<int64_t>{10, 20, 20}));
  EXPECT_EQ(units(runExport(release, scratch, exports::Format::Jsonl, {{"Empty"}, {}, 0})),
            (std::vector<int64_t>{}));

  const ExportRun noFrame = runExport(release, scratch, exports::Format::Jsonl, {{"Beta"}, {}, 0});
  EXPECT_EQ(noFrame.outcome.status, text::Outcome::Status::Refused);
  EXPECT_EQ(noFrame.outcome.notices.at(0).text, "No frame named 'Beta'");
  const ExportRun noUnit = runExport(release, scratch, exports::Format::Jsonl, {{}, {99}, 0});
  EXPECT_EQ(noUnit.outcome.notices.at(0).text, "No lexical unit with the ID 99");
}

TEST(ExportCommandTest, StatusesAndOutputFile) {
  TempDir scratch;
  const std::string index = scratch.file("index.sqlite");
  const std::string out = scratch.file("sets.jsonl");
  const CliOutput toFile = runOn(sampleReleasePath(),
      {"export", "--format", "jsonl", "--frame", "Motion", "--lu", "1101", "--out", out, "--index", index});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_NE(toFile.out.find("Annotation sets:\t10\n"), std::string::npos) << toFile.out;
  const CliOutput toStdout = runOn(sampleReleasePath(),
      {"export", "--format", "jsonl", "--lu", "1101", "--frame", "Motion", "--index", index});
  ASSERT_EQ(toStdout.status, 0) << toStdout.err;
  EXPECT_EQ(readBytes(out), toStdout.out);

  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{"export"}, 2},
      {{"export", "--format", "xml"}, 2},
      {{"export", "--format", "jsonl", "--lu", "ten"}, 2},
      // Only a whole integer is an ID: a lone sign, digits around a sign, or an overflow is not.
      {{"export", "--format", "jsonl", "--lu=-"}, 2},
      {{"export", "--format", "jsonl", "--lu", "1101-2"}, 2},
      {{"export", "--format", "jsonl", "--lu", "99999999999999999999"}, 2},
      {{"export", "--format", "jsonl", "--frame", "Nope", "--index", index}, 1},
      {{"export", "--format", "conll", "--lu", "5", "--index", index}, 1},
      {{"export", "--format", "jsonl", "--out", scratch.file("no/such/folder/x.jsonl"), "--index", index}, 1},
  };
  for (const Case& c : cases) {
    const CliOutput run = runOn(sampleReleasePath(), c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.err.rfind("sorvanta", 0), 0u) << run.err;
  }
}

}  // namespace
}  // namespace sorvanta::testing
