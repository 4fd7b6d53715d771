// The listing commands' formats (TSV, TSV with a header, JSON), sentence-fes --offsets, the
// ending of the writing commands, and the messages and exit statuses of failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/ReleaseCopy.h"
#include "support/TempDir.h"

namespace {

using sorvanta::testing::CliOutput;
using sorvanta::testing::runCommandLine;
using sorvanta::testing::runOn;
using sorvanta::testing::sampleReleasePath;
using sorvanta::testing::TempDir;
using json = nlohmann::ordered_json;

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator)) parts.push_back(part);
  return parts;
}

std::vector<std::vector<std::string>> tsvRecords(const std::string& out) {
  std::vector<std::vector<std::string>> records;
  for (const std::string& line : split(out, '\n')) {
    std::vector<std::string> cells = split(line, '\t');
    if (!line.empty() && line.back() == '\t') cells.emplace_back();  // a trailing empty cell
    records.push_back(cells);
  }
  return records;
}

// A JSON value as the TSV cell shows it.
std::string cellText(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "";
  return value.dump();
}

std::vector<std::string> keysOf(const json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

// The characters start..end (both inclusive) of UTF-8 text.
std::string characters(const std::string& text, int start, int end) {
  std::string span;
  int index = -1;
  for (char byte : text) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++index;  // a character's first byte
    if (index >= start && index <= end) span += byte;
  }
  return span;
}

CliOutput sample(std::vector<std::string> args) { return runOn(sampleReleasePath(), args); }

// Lists whose TSV records map one to one, cell by cell, onto the objects of the JSON array.
TEST(OutputFormats, JsonArraysHoldTheTsvRecordsAsNamedFields) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> fields;
    size_t minimumRows;
  } cases[] = {
      {{"frames"}, {"frame", "id", "fes", "lus", "anns"}, 14},
      {{"frames", "--sort", "4"}, {"frame", "id", "fes", "lus", "anns"}, 14},
      {{"lexunits", "--sort", "2"},
       {"lexical_unit", "pos", "lu_id", "anns", "frame", "frame_id", "definition"},
       20},
      {{"fes"}, {"frame_element", "number"}, 32},
      {{"fe", "Time"}, {"frame_element", "frame", "type", "definition"}, 2},
      {{"lu", "1101", "--subcorpora"}, {"subcorpus"}, 3},
  };
  for (const auto& c : cases) {
    const CliOutput tsv = sample(c.args);
    std::vector<std::string> jsonArgs = c.args;
    jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
    const CliOutput out = sample(jsonArgs);
    ASSERT_EQ(out.status, 0) << c.args[0] << out.err;
    const json list = json::parse(out.out);
    const auto records = tsvRecords(tsv.out);
    ASSERT_TRUE(list.is_array());
    ASSERT_EQ(list.size(), records.size()) << c.args[0];
    EXPECT_GE(list.size(), c.minimumRows) << c.args[0];
    for (size_t row = 0; row < list.size(); ++row) {
      ASSERT_EQ(keysOf(list[row]), c.fields) << c.args[0];
      ASSERT_EQ(records[row].size(), c.fields.size()) << c.args[0] << " row " << row;
      for (size_t column = 0; column < c.fields.size(); ++column)
        EXPECT_EQ(cellText(list[row][c.fields[column]]), records[row][column])
            << c.args[0] << " row " << row << " " << c.fields[column];
    }
  }
  // Integers in the data are JSON numbers, text stays text even when it looks numeric.
  const json frames = json::parse(sample({"frames", "--format", "json"}).out);
  EXPECT_TRUE(frames[0]["id"].is_number_integer());
  EXPECT_TRUE(frames[0]["frame"].is_string());
}

TEST(OutputFormats, JsonDocumentsOfTheSingleItemCommandsMatchTheirTsv) {
  // totals: the three values.
  const json totals = json::parse(sample({"totals", "--format", "json"}).out);
  const auto totalRecords = tsvRecords(sample({"totals"}).out);
  ASSERT_EQ(keysOf(totals),
            (std::vector<std::string>{"frames", "annotated_sentences", "frame_elements"}));
  ASSERT_EQ(totalRecords.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(cellText(totals[keysOf(totals)[i]]), totalRecords[i][1]);

  // frame: one object per FE record and per relation record.
  for (const char* name : {"Motion", "Discourse_marker", "Commerce_goods_transfer"}) {
    const json frame = json::parse(sample({"frame", name, "--format", "json"}).out);
    ASSERT_EQ(keysOf(frame),
              (std::vector<std::string>{"frame", "description", "fes", "lexemes", "relations"}));
    size_t fes = 0, relations = 0;
    std::string lexemes;
    for (const auto& record : tsvRecords(sample({"frame", name}).out)) {
      if (record[0] == "FE:") {
        const json& fe = frame["fes"][fes++];
        EXPECT_EQ(fe["name"].get<std::string>() + " (" + fe["core_type"].get<std::string>() + ")",
                  record[1]);
        EXPECT_EQ(fe["definition"], record.at(2));
      } else if (record[0] == "Relation:" && record[1] != "None") {
        const json& relation = frame["relations"][relations++];
        EXPECT_EQ(relation["relation"], record[1]);
        std::string joined;
        for (const json& related : relation["frames"])
          joined += (joined.empty() ? "" : "; ") + related.get<std::string>();
        EXPECT_EQ(joined, record.at(2));
      } else if (record[0] == "Lexemes:") {
        lexemes = record.size() > 1 ? record[1] : "";
      }
    }
    EXPECT_EQ(fes, frame["fes"].size()) << name;
    EXPECT_EQ(relations, frame["relations"].size()) << name;
    std::string joined;
    for (const json& lexeme : frame["lexemes"])
      joined += (joined.empty() ? "" : "; ") + lexeme.get<std::string>();
    EXPECT_EQ(joined, lexemes) << name;
  }

  // lu: "(ID) text" rows as sentence_id and text.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"lu", "1101"}, {"lu", "1101", "--subcorpus", "V-ppinto"}}) {
    std::vector<std::string> jsonArgs = args;
    jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
    const json list = json::parse(sample(jsonArgs).out);
    const auto records = tsvRecords(sample(args).out);
    ASSERT_EQ(list.size(), records.size());
    for (size_t i = 0; i < list.size(); ++i) {
      EXPECT_TRUE(list[i]["sentence_id"].is_number_integer());
      EXPECT_EQ("(" + cellText(list[i]["sentence_id"]) + ") " + cellText(list[i]["text"]),
                records[i][0]);
    }
  }

  // sentence-fes: three tagged records, then one label per record; UTF-8 text survives.
  const json sentence =
      json::parse(sample({"sentence-fes", "1401", "500184", "--format", "json"}).out);
  const auto records = tsvRecords(sample({"sentence-fes", "1401", "500184"}).out);
  ASSERT_EQ(keysOf(sentence), (std::vector<std::string>{"frame", "lexical_unit", "sentence_id",
                                                        "sentence", "labels"}));
  EXPECT_EQ(sentence["sentence_id"], 500184);
  EXPECT_EQ(sentence["sentence"], records[2][1]);
  ASSERT_EQ(sentence["labels"].size() + 3, records.size());
  for (size_t i = 0; i < sentence["labels"].size(); ++i) {
    const json& label = sentence["labels"][i];
    EXPECT_EQ(keysOf(label), (std::vector<std::string>{"label", "text", "start", "end"}));
    EXPECT_EQ(label["label"], records[i + 3][0]);
    EXPECT_EQ(label["text"], records[i + 3][1]);
  }
}

TEST(OutputFormats, HeaderRowComesBeforeTheUnchangedRecords) {
  const struct {
    std::vector<std::string> args;
    const char* header;
  } cases[] = {
      {{"frames"}, "Frame\tID\tFEs\tLUs\tAnns"},
      {{"lexunits", "--sort", "1"}, "Lexical Unit\tP\tLU-ID\tAnns\tFrame\tFR-ID\tDefinition"},
      {{"fes"}, "Frame Element\tNumber"},
      {{"totals"}, "Total\tValue"},
      {{"frame", "Motion"}, "Field\tValue\tDetail"},
      {{"fe", "manner"}, "Element\tFrame\tType\tDefinition"},
      {{"lu", "1101"}, "Sentence"},
      {{"lu", "1101", "--subcorpora"}, "Subcorpus"},
      {{"sentence-fes", "1301", "500161"}, "Field\tText"},
      {{"sentence-fes", "1301", "500161", "--offsets"}, "Field\tText\tStart\tEnd"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> withHeader = c.args;
    withHeader.push_back("--header");
    const CliOutput plain = sample(c.args), headed = sample(withHeader);
    EXPECT_EQ(headed.status, 0) << c.args[0] << headed.err;
    EXPECT_EQ(headed.out, std::string(c.header) + "\n" + plain.out) << c.args[0];
    // --format tsv is the default, spelled out.
    std::vector<std::string> tsv = c.args;
    tsv.insert(tsv.end(), {"--format", "tsv"});
    EXPECT_EQ(sample(tsv).out, plain.out) << c.args[0];
  }
}

TEST(OutputFormats, OffsetsAreTheSpanOfEachLabel) {
  const struct {
    const char* luId;
    const char* sentenceId;
  } cases[] = {{"1301", "500161"}, {"1401", "500184"}, {"1001", "500102"}};
  for (const auto& c : cases) {
    const CliOutput plain = sample({"sentence-fes", c.luId, c.sentenceId});
    const CliOutput offsets = sample({"sentence-fes", c.luId, c.sentenceId, "--offsets"});
    const json document = json::parse(
        sample({"sentence-fes", c.luId, c.sentenceId, "--format", "json", "--offsets"}).out);
    ASSERT_EQ(offsets.status, 0) << offsets.err;
    const auto records = tsvRecords(offsets.out), plainRecords = tsvRecords(plain.out);
    ASSERT_EQ(records.size(), plainRecords.size());
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(records[i], plainRecords[i]);
    for (size_t i = 3; i < records.size(); ++i) {
      ASSERT_EQ(records[i].size(), 4u) << c.sentenceId << " row " << i;
      EXPECT_EQ(std::vector<std::string>(records[i].begin(), records[i].begin() + 2),
                plainRecords[i]);
      const json& label = document["labels"][i - 3];
      EXPECT_EQ(cellText(label["start"]), records[i][2]);
      EXPECT_EQ(cellText(label["end"]), records[i][3]);
      if (label["start"].is_null()) continue;  // a null instantiation
      // The offsets count characters of the sentence (UTF-8 here), end inclusive.
      EXPECT_EQ(characters(document["sentence"].get<std::string>(), label["start"], label["end"]),
                label["text"].get<std::string>())
          << c.sentenceId << " " << label.dump();
    }
  }
  // Sentence 500184 ends with a null instantiation: empty offset cells, null in JSON.
  EXPECT_NE(sample({"sentence-fes", "1401", "500184", "--offsets"}).out.find("\tINI\t\t\n"),
            std::string::npos);
}

TEST(OutputFormats, FailuresSayWhatIsWrongOnStderrWithTheirStatus) {
  TempDir empty;
  const struct {
    std::string folder;
    std::vector<std::string> args;
    int status;
    const char* errStart;
  } cases[] = {
      {sampleReleasePath(),
       {"frames", "--format", "xml"},
       2,
       "sorvanta frames: --format needs one of tsv|json\nUsage: "},
      {sampleReleasePath(),
       {"totals", "--format"},
       2,
       "sorvanta totals: --format needs tsv or json"},
      {sampleReleasePath(),
       {"graph", "Motion", "--direction", "sideways"},
       2,
       "sorvanta graph: --direction needs one of up|down|both\nUsage: "},
      {sampleReleasePath(),
       {"split", "--seed", "1", "--by"},
       2,
       "sorvanta split: --by needs sentence, lu or frame\nUsage: "},
      {sampleReleasePath(),
       {"fes", "--format", "json", "--header"},
       2,
       "sorvanta fes: --header applies to --format tsv only"},
      {sampleReleasePath(),
       {"sentence-fes", "1301", "--offsets"},
       2,
       "sorvanta sentence-fes: expected a lexical-unit ID and a sentence ID"},
      {sampleReleasePath(),
       {"frame", "Motion", "--offsets"},
       2,
       "sorvanta frame: expected a frame name"},
      {sampleReleasePath(), {"nonsense"}, 2, "sorvanta: unknown command 'nonsense'"},
      {sampleReleasePath(), {}, 2, "sorvanta: a command is needed\n"},
      {sampleReleasePath(),
       {"frame", "Nope", "--format", "json"},
       1,
       "sorvanta: No frame named Nope in the release\n"},
      {sampleReleasePath(), {"lu", "1003", "--format", "json"}, 1, "sorvanta: "},
      {sampleReleasePath(),
       {"sentence-fes", "1101", "1", "--format", "json"},
       1,
       "sorvanta: No sentence with ID 1"},
      {sampleReleasePath(), {"frame-files", "--all"}, 1, "sorvanta: "},
      {sampleReleasePath(),
       {"query", "/nonexistent/file.xml", "frame"},
       1,
       "sorvanta: Cannot load /nonexistent/file.xml"},
      {empty.path().string(), {"fes", "--format", "json"}, 1, "sorvanta: Cannot read "},
  };
  for (const auto& c : cases) {
    const CliOutput result = runOn(c.folder, c.args);
    const std::string what = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(result.status, c.status) << what << ": " << result.err;
    EXPECT_EQ(result.out, "") << what;
    EXPECT_EQ(result.err.rfind(c.errStart, 0), 0u) << what << ": " << result.err;
  }
}

TEST(OutputFormats, WritingCommandsEndWithTheFilesAndTheWarningsCount) {
  sorvanta::testing::SampleReleaseCopy release;
  // Without the relations document (allowed explicitly) the dictionaries are written with one
  // warning.
  std::filesystem::remove(release.folder + "frXML/frRelation.xml");
  const struct {
    std::vector<std::string> args;
    size_t files;  // 0: as many as the data gives
    const char* warnings;
  } cases[] = {
      {{"sample", "--low", "0", "--high", "100", "--frames", "2", "--sentences", "1", "--seed",
        "3"},
       5,
       "0"},
      // Three files per frame of the training set, then the test document.
      {{"frame-files", "--all"}, 0, "0"},
      {{"subcorpora", "--low", "1000", "--high", "2300", "--preposition", "into"}, 2, "0"},
      {{"realizations", "--preposition", "into"}, 1, "0"},
      {{"dictionaries", "--frames-only", "--allow-missing-relations"}, 2, "1"},
  };
  for (const auto& c : cases) {
    const CliOutput result = runOn(release.folder, c.args);
    ASSERT_EQ(result.status, 0) << c.args[0] << ": " << result.err;
    std::vector<std::string> written;
    std::string last;
    for (const auto& record : tsvRecords(result.out)) {
      if (record[0] == "Written:") written.push_back(record.at(1));
      last = record[0] + "\t" + (record.size() > 1 ? record[1] : "");
    }
    if (c.files > 0)
      EXPECT_EQ(written.size(), c.files) << c.args[0] << "\n" << result.out;
    else
      EXPECT_TRUE(written.size() >= 4 && written.size() % 3 == 1 &&
                  written.back().ends_with("/SensSemRolesTrgTest.xml"))
          << result.out;
    for (const std::string& file : written)
      EXPECT_TRUE(std::filesystem::is_regular_file(file)) << c.args[0] << ": " << file;
    EXPECT_EQ(last, std::string("Warnings:\t") + c.warnings) << c.args[0];
  }
}

}  // namespace

namespace {

TEST(OutputFormats, OutputThatCannotBeWrittenIsAFailure) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"totals"}, {"frames", "--format", "json"}}) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);  // as a full disk leaves the standard output
    std::vector<std::string> line = {"--data", sampleReleasePath()};
    line.insert(line.end(), args.begin(), args.end());
    EXPECT_EQ(sorvanta::cli::runCli(line, out, err), 1) << args[0];
    EXPECT_EQ(err.str(), "sorvanta: cannot write the output\n");
  }
}

}  // namespace
