// Search results against an independent scan of the sample release's documents: every
// annotation and subcorpus document read with the XML layer's path queries.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "index/IndexFixture.h"
#include "xml/XpObjModel.h"

namespace sorvanta::testing {
namespace {

namespace fs = std::filesystem;

struct Label {
  std::string layer, name, itype, start, end;
};
struct ScannedSet {
  std::string text;
  std::vector<Label> labels;
};
using Key = std::pair<int64_t, int64_t>;  // lexical-unit ID, sentence ID

std::string attr(const xml::TXpNode* node, const char* name) {
  const xml::TXpAttribute* a = node->attributes()->getNamedItemUtf8(name);
  return a ? std::string(a->valueUtf8()) : std::string();
}

class SearchScan : public IndexTest {
 protected:
  void SetUp() override {
    IndexTest::SetUp();
    const std::string root = sampleReleasePath();
    xml::TXpObjModel frames;
    ASSERT_TRUE(frames.LoadDataSource(root + "/frXML/frames.xml"));
    for (const xml::TXpNode* frame : frames.Document()->SelectNodes("//frame"))
      for (const xml::TXpNode* lu : frame->SelectNodes("./lexunits/lexunit"))
        units_[std::stoll(attr(lu, "ID"))] = {attr(lu, "name"), attr(frame, "name")};
    for (const char* folder : {"luXML", "xml"}) {  // annotation documents first: their text wins
      for (const auto& entry : fs::directory_iterator(root + "/" + folder)) {
        const std::string file = entry.path().filename().string();
        const int64_t lu = std::stoll(file.substr(2, file.size() - 6));
        xml::TXpObjModel doc;
        ASSERT_TRUE(doc.LoadDataSource(entry.path().string()));
        for (const xml::TXpNode* sentence : doc.Document()->SelectNodes("//sentence")) {
          ScannedSet& set = sets_[{lu, std::stoll(attr(sentence, "ID"))}];
          if (set.text.empty()) set.text = sentence->SelectSingleNode("./text")->textUtf8();
          for (const xml::TXpNode* layer : sentence->parentNode()->SelectNodes(".//layer"))
            for (const xml::TXpNode* label : layer->SelectNodes(".//label"))
              set.labels.push_back({attr(layer, "name"), attr(label, "name"), attr(label, "itype"),
                                    attr(label, "start"), attr(label, "end")});
        }
      }
    }
  }

  // The TSV lines search should print for the sets that pass the test.
  std::string expected(const std::function<bool(const Key&, const ScannedSet&)>& test) {
    std::string lines;
    for (const auto& [key, set] : sets_) {
      if (!test(key, set)) continue;
      const auto unit = units_.find(key.first);
      lines += std::to_string(key.first) + "\t" + (unit == units_.end() ? "" : unit->second.first) +
               "\t" + (unit == units_.end() ? "" : unit->second.second) + "\t" +
               std::to_string(key.second) + "\t" + set.text + "\n";
    }
    return lines;
  }

  static bool hasLabel(const ScannedSet& set, const std::string& layer, const std::string& name,
                       bool overt) {
    for (const Label& label : set.labels)
      if (label.layer == layer && label.name == name && label.itype.empty() == overt) return true;
    return false;
  }

  std::map<int64_t, std::pair<std::string, std::string>> units_;
  std::map<Key, ScannedSet> sets_;
};

TEST_F(SearchScan, TermsMatchTheDocuments) {
  struct Case {
    std::vector<std::string> args;
    std::function<bool(const Key&, const ScannedSet&)> test;
  };
  const auto frameIs = [&](const Key& key, const std::string& frame) {
    auto unit = units_.find(key.first);
    return unit != units_.end() && unit->second.second == frame;
  };
  const auto word = [](const ScannedSet& set, const std::string& pattern) {
    return std::regex_search(set.text, std::regex(pattern, std::regex::icase));
  };
  const auto realized = [](const ScannedSet& set, const std::string& fe, const std::string& pt,
                           const std::string& gf) {
    for (const Label& f : set.labels) {
      if (f.layer != "FE" || f.name != fe || !f.itype.empty()) continue;
      bool p = false, g = false;
      for (const Label& other : set.labels) {
        if (other.start != f.start || other.end != f.end) continue;
        p |= other.layer == "PT" && other.name == pt;
        g |= other.layer == "GF" && other.name == gf;
      }
      if (p && g) return true;
    }
    return false;
  };
  const Case cases[] = {
      {{"*"}, [](const Key&, const ScannedSet&) { return true; }},
      {{"fe:goal"}, [&](const Key&, const ScannedSet& s) { return hasLabel(s, "FE", "Goal", true); }},
      {{"ni:Source"}, [&](const Key&, const ScannedSet& s) { return hasLabel(s, "FE", "Source", false); }},
      {{"pt:PP", "-gf:Ext"},
       [&](const Key&, const ScannedSet& s) { return hasLabel(s, "PT", "PP", true) && !hasLabel(s, "GF", "Ext", true); }},
      {{"frame:Motion,Self_motion"},
       [&](const Key& k, const ScannedSet&) { return frameIs(k, "Motion") || frameIs(k, "Self_motion"); }},
      {{"frame:*motion"},
       [&](const Key& k, const ScannedSet&) {
         auto unit = units_.find(k.first);
         return unit != units_.end() && std::regex_search(unit->second.second, std::regex("motion$", std::regex::icase));
       }},
      {{"into"}, [&](const Key&, const ScannedSet& s) { return word(s, "\\binto\\b"); }},
      {{"walk*"}, [&](const Key&, const ScannedSet& s) { return word(s, "\\bwalk"); }},
      {{"\"into the\""}, [&](const Key&, const ScannedSet& s) { return word(s, "\\binto the\\b"); }},
      {{"re:/ed\\b/"}, [&](const Key&, const ScannedSet& s) { return std::regex_search(s.text, std::regex("ed\\b")); }},
      {{"real:Goal.PP.Dep"}, [&](const Key&, const ScannedSet& s) { return realized(s, "Goal", "PP", "Dep"); }},
      // Negated label and constituent terms are looked up set by set.
      {{"fe:Goal", "-pt:PP"},
       [&](const Key&, const ScannedSet& s) { return hasLabel(s, "FE", "Goal", true) && !hasLabel(s, "PT", "PP", true); }},
      {{"-fe:Goal,Source", "-ni:Source"},
       [&](const Key&, const ScannedSet& s) {
         return !hasLabel(s, "FE", "Goal", true) && !hasLabel(s, "FE", "Source", true) &&
                !hasLabel(s, "FE", "Source", false);
       }},
      {{"pt:PP", "-real:Goal.PP.Dep"},
       [&](const Key&, const ScannedSet& s) { return hasLabel(s, "PT", "PP", true) && !realized(s, "Goal", "PP", "Dep"); }},
      // With a unit term the units' sets lead and the word and label lists are only tested.
      {{"frame:Motion,Self_motion", "the"},
       [&](const Key& k, const ScannedSet& s) {
         return (frameIs(k, "Motion") || frameIs(k, "Self_motion")) && word(s, "\\bthe\\b");
       }},
      {{"luid:1001,1002,1101", "real:Goal.PP.Dep"},
       [&](const Key& k, const ScannedSet& s) {
         return (k.first == 1001 || k.first == 1002 || k.first == 1101) && realized(s, "Goal", "PP", "Dep");
       }},
      {{"fe:Goal", "-lu:move.v", "luid:1001,1002,1101"},
       [&](const Key& k, const ScannedSet& s) {
         return hasLabel(s, "FE", "Goal", true) && (k.first == 1002 || k.first == 1101);
       }},
  };
  for (const Case& c : cases) {
    CliOutput result = search(sampleReleasePath(), c.args);
    EXPECT_EQ(result.status, 0) << c.args[0] << result.err;
    const std::string want = expected(c.test);
    EXPECT_EQ(result.out, want) << c.args[0];
    EXPECT_EQ(search(sampleReleasePath(), [&] {
                auto args = c.args;
                args.push_back("--count");
                return args;
              }()).out,
              std::to_string(std::count(want.begin(), want.end(), '\n')) + "\n")
        << c.args[0];
  }
  EXPECT_NE(expected([&](const Key&, const ScannedSet& s) { return hasLabel(s, "FE", "Goal", true); }), "");
}

TEST_F(SearchScan, FormatsAndLimit) {
  CliOutput tsv = search(sampleReleasePath(), {"fe:Goal", "--limit", "2"});
  EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 2);
  CliOutput jsonl = search(sampleReleasePath(), {"sentid:500101", "--format", "jsonl"});
  EXPECT_EQ(jsonl.out,
            "{\"lu_id\":1001,\"lu\":\"move.v\",\"frame\":\"Motion\",\"sentence_id\":500101,\"text\":"
            "\"The herd moved along the ridge into the high pastures before dawn.\"}\n");
  CliOutput kwic = search(sampleReleasePath(), {"sentid:500101", "--format", "kwic"});
  EXPECT_EQ(kwic.out, std::string(31, ' ') + "The herd moved along the ridge into the high pastures before dawn.\n");
  CliOutput frames = search(sampleReleasePath(), {"--what", "frames", "frame:Motion"});
  EXPECT_EQ(frames.out, "7\tMotion\n");
  EXPECT_EQ(search(sampleReleasePath(), {"--what", "fes", "fe:Goal", "frame:Motion"}).out, "Motion\tGoal\n");
  EXPECT_EQ(search(sampleReleasePath(), {"--what", "lus", "lu:move.v"}).out, "1001\tmove.v\n");
  EXPECT_EQ(search(sampleReleasePath(), {"--format", "xml", "fe:Goal"}).status, 2);
  EXPECT_EQ(search(sampleReleasePath(), {"--limit", "x", "fe:Goal"}).status, 2);
  EXPECT_EQ(search(sampleReleasePath(), {"fe:Goal", "--what", "nothing"}).status, 2);
}

TEST_F(SearchScan, SqlIsReadOnlyAndOneStatement) {
  const std::string release = sampleReleasePath();
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
  };
  const Case cases[] = {
      {{"sql", "SELECT id, name, NULL AS n FROM frames WHERE id = 7", "--format", "jsonl"}, 0,
       "{\"id\":7,\"name\":\"Motion\",\"n\":null}\n"},
      {{"sql", "SELECT id, name FROM frames WHERE id = 7 -- comment"}, 0, "id\tname\n7\tMotion\n"},
      {{"sql", "SELECT name FROM frames WHERE regexp('^Mot', name)"}, 0, "name\nMotion\n"},
      {{"sql", "DELETE FROM frames"}, 1, ""},
      {{"sql", "SELECT 1; DELETE FROM frames"}, 2, ""},
      {{"sql", "   "}, 2, ""},
      {{"sql", "SELECT nothing FROM nowhere"}, 1, ""},
  };
  for (const Case& c : cases) {
    CliOutput result = runOn(release, c.args);
    EXPECT_EQ(result.status, c.status) << c.args[1] << result.err;
    EXPECT_EQ(result.out, c.out) << c.args[1];
  }
  EXPECT_EQ(runOn(release, {"sql", "SELECT count(*) FROM frames"}).out, "count(*)\n14\n");
  CliOutput index = runOn(release, {"index"});
  EXPECT_EQ(index.status, 0);
  EXPECT_NE(index.out.find("Action:\trefreshed\n"), std::string::npos) << index.out;
  EXPECT_NE(index.out.find("Documents read:\t0\n"), std::string::npos) << index.out;
}

}  // namespace
}  // namespace sorvanta::testing
