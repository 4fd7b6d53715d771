// The release check: each fault injected into a clean generated release is reported under its
// own code and nothing else; the sample release gives exactly its intended findings.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "quality/Check.h"
#include "quality/QualityFixture.h"
#include "support/CliRun.h"

namespace sorvanta::testing {
namespace {

using quality::Finding;

std::vector<Finding> check(const std::string& release) {
  quality::CheckResult result;
  index::IndexOptions options;
  options.releaseFolder = release;
  options.threads = 1;
  const text::Outcome outcome = quality::checkRelease(options, result);
  EXPECT_TRUE(outcome.done());
  return result.findings;
}

// Findings of after that are not in before, compared by code, document and location.
std::vector<Finding> added(const std::vector<Finding>& before, const std::vector<Finding>& after) {
  std::vector<Finding> result;
  for (const Finding& finding : after) {
    const bool old = std::any_of(before.begin(), before.end(), [&](const Finding& other) {
      return other.code == finding.code && other.document == finding.document &&
             other.location == finding.location;
    });
    if (!old) result.push_back(finding);
  }
  return result;
}

struct Fault {
  const char* code;
  const char* document;  // the document the finding names; "LU" stands for the unit's folder file
  std::function<void(const std::string& release, const std::string& lu)> inject;
};

std::string luFile(const char* folder, const std::string& lu) {
  return std::string(folder) + (std::string(folder) == "leXML" ? "/le" : "/lu") + lu + ".xml";
}

// A frame added before the end of the frames document.
std::string extraFrame(const std::string& id, const std::string& name, const std::string& lexunits) {
  return "<frame ID=\"" + id + "\" name=\"" + name + "\"><definition>An extra frame.</definition>"
         "<fes/><lexunits>" + lexunits + "</lexunits></frame></frames>";
}

TEST_F(QualityTest, EachInjectedFaultIsReportedUnderItsOwnCodeAlone) {
  const std::string clean = writeRelease("clean");
  const std::vector<Finding> baseline = check(clean);
  EXPECT_TRUE(baseline.empty()) << baseline.front().code << " " << baseline.front().message;
  const std::string frames = "frXML/frames.xml", relations = "frXML/frRelation.xml";
  const std::string firstFrame = model_.frames.front().name;
  const std::vector<Fault> faults = {
      {"unreadable-document", "luXML",
       [](auto& r, auto& lu) { edit(r, luFile("luXML", lu), "</lexunit-annotation>", "</lexunit-annotatio>"); }},
      {"missing-annotation-document", "luXML",
       [](auto& r, auto& lu) { std::filesystem::remove(r + "/" + luFile("luXML", lu)); }},
      {"annotated-count-mismatch", "frXML/frames.xml",
       [](auto& r, auto& lu) {
         edit(r, "frXML/frames.xml", "(<lexunit ID=\"" + lu + "\"[\\s\\S]*?<annotated)>\\d+", "$1>999");
       }},
      {"label-offset-out-of-range", "luXML",
       [](auto& r, auto& lu) { edit(r, luFile("luXML", lu), "(layer name=\"FE\"[\\s\\S]*?end=)\"\\d+", "$1\"999"); }},
      {"label-offset-out-of-range", "luXML",
       [](auto& r, auto& lu) {
         edit(r, luFile("luXML", lu), "(name=\"Target\" start=\")(\\d+)(\" end=\")(\\d+)", "$1$4$3$2");
       }},
      {"label-bad-integer", "luXML",
       [](auto& r, auto& lu) { edit(r, luFile("luXML", lu), "(layer name=\"FE\"[\\s\\S]*?start=)\"\\d+", "$1\"x3"); }},
      {"unknown-fe-label", "xml",
       [](auto& r, auto& lu) {
         edit(r, luFile("xml", lu), "(layer name=\"FE\"[\\s\\S]*?<label name=\")[^\"]+", "$1Nobody");
       }},
      {"relation-unknown-frame", "frXML/frRelation.xml",
       [](auto& r, auto&) { edit(r, "frXML/frRelation.xml", "superFrameName=\"[^\"]+\"", "superFrameName=\"Nowhere\""); }},
      {"relation-unknown-fe", "frXML/frRelation.xml",
       [](auto& r, auto&) { edit(r, "frXML/frRelation.xml", "subFEName=\"[^\"]+\"", "subFEName=\"Nothing\""); }},
      {"duplicate-frame-id", "frXML/frames.xml",
       [&](auto& r, auto&) {
         edit(r, "frXML/frames.xml", "</frames>", extraFrame(std::to_string(model_.frames.front().id), "Second", ""));
       }},
      {"duplicate-frame-name", "frXML/frames.xml",
       [&](auto& r, auto&) { edit(r, "frXML/frames.xml", "</frames>", extraFrame("9001", firstFrame, "")); }},
      {"duplicate-lu-id", "frXML/frames.xml",
       [](auto& r, auto& lu) {
         edit(r, "frXML/frames.xml", "</frames>",
              extraFrame("9002", "Other", "<lexunit ID=\"" + lu + "\" name=\"twin.n\" pos=\"N\"/>"));
       }},
      {"duplicate-fe-name", "frXML/frames.xml",
       [](auto& r, auto&) { edit(r, "frXML/frames.xml", "(<fe [\\s\\S]*?</fe>)", "$1$1"); }},
      {"duplicate-sentence-id", "luXML",
       [](auto& r, auto& lu) { edit(r, luFile("luXML", lu), "(<annotationSet[\\s\\S]*?</annotationSet>)", "$1$1"); }},
      {"overlapping-fe-labels", "luXML",
       [](auto& r, auto& lu) {
         edit(r, luFile("luXML", lu),
              "(layer name=\"FE\"[^>]*>\\s*<labels>\\s*<label [^>]*end=\")(\\d+)(\"[^>]*>\\s*<label [^>]*start=\")\\d+",
              "$1$2$3$2");
       }},
      {"realization-count-mismatch", "leXML",
       [](auto& r, auto& lu) { edit(r, luFile("leXML", lu), "total=\"(\\d+)\"", "total=\"1$1\""); }},
      {"outside-windows-1252", "frXML/frames.xml",
       [](auto& r, auto&) { edit(r, "frXML/frames.xml", "<definition>", "<definition>\xCE\xA9 "); }},
      {"empty-definition", "frXML/frames.xml",
       [](auto& r, auto&) { edit(r, "frXML/frames.xml", "<definition>[^<]*</definition>", "<definition> </definition>"); }},
      {"id-bad-integer", "frXML/frames.xml",
       [](auto& r, auto&) { edit(r, "frXML/frames.xml", "<frame ID=\"(\\d+)\"", "<frame ID=\"$1x\""); }},
      {"sentence-without-id", "luXML",
       [](auto& r, auto& lu) { edit(r, luFile("luXML", lu), "<sentence ID=\"\\d+\"", "<sentence"); }},
      {"realization-bad-total", "leXML",
       [](auto& r, auto& lu) { edit(r, luFile("leXML", lu), "total=\"\\d+\"", "total=\"many\""); }},
      {"realization-without-valence-unit", "leXML",
       [](auto& r, auto& lu) { edit(r, luFile("leXML", lu), "<valence-unit [^>]*/>", ""); }},
  };
  const std::string lu = std::to_string(annotatedUnit().id);
  int n = 0;
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.code);
    const std::string release = writeRelease("fault" + std::to_string(n++));
    fault.inject(release, lu);
    const std::vector<Finding> found = added(baseline, check(release));
    ASSERT_FALSE(found.empty());
    for (const Finding& finding : found) {
      EXPECT_EQ(finding.code, fault.code) << finding.document << " " << finding.location << " " << finding.message;
      const std::string document = fault.document;
      if (document.find('/') == std::string::npos) EXPECT_EQ(finding.document, luFile(fault.document, lu));
      else EXPECT_EQ(finding.document, document);
      EXPECT_EQ(quality::severityName(finding.severity),
                quality::severityName(quality::findCheckCode(fault.code)->severity));
    }
  }
}

TEST_F(QualityTest, SampleReleaseGivesExactlyItsIntendedFindings) {
  const std::vector<Finding> found = check(sampleReleasePath());
  std::vector<std::string> rows;
  for (const Finding& f : found)
    rows.push_back(std::string(quality::severityName(f.severity)) + "|" + f.code + "|" + f.document + "|" + f.location);
  const std::vector<std::string> expected = {
      "warning|outside-windows-1252|frXML/frames.xml|frame[@name='Locative_relation']/definition",
      "warning|outside-windows-1252|luXML/lu1002.xml|sentence[@ID='500111']",
      "warning|outside-windows-1252|xml/lu1002.xml|sentence[@ID='500111']",
  };
  EXPECT_EQ(rows, expected);
}

TEST_F(QualityTest, UnreadableDocumentIsLocatedByLineAndColumn) {
  const std::string release = writeRelease("broken");
  const std::string lu = std::to_string(annotatedUnit().id);
  std::ofstream(release + "/luXML/lu" + lu + ".xml", std::ios::trunc)
      << "<?xml version=\"1.0\"?>\n<lexunit-annotation>\n  <subcorpus>\n</lexunit-annotation>\n";
  const std::vector<Finding> found = check(release);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].code, "unreadable-document");
  EXPECT_EQ(found[0].location, "4:1");
}

// The label faults are kept per document in the index: mending the document and checking
// again drops them, with nothing else reported.
TEST_F(QualityTest, ARefreshedDocumentTakesItsLabelFindingsAlong) {
  const std::string release = writeRelease("refreshed");
  const std::string lu = std::to_string(annotatedUnit().id), file = release + "/luXML/lu" + lu + ".xml";
  const std::string original = readBytes(file);
  edit(release, "luXML/lu" + lu + ".xml", "(layer name=\"FE\"[\\s\\S]*?end=)\"\\d+", "$1\"999");
  std::vector<Finding> faulty = check(release);
  ASSERT_EQ(faulty.size(), 1u);
  EXPECT_EQ(faulty[0].code, "label-offset-out-of-range");
  std::ofstream(file, std::ios::binary | std::ios::trunc) << original;
  const std::vector<Finding> mended = check(release);
  EXPECT_TRUE(mended.empty()) << mended.front().code;
}

// A set's FE layer counts from the subcorpus document where the annotation document has none
// for it; only when neither has it do the realization totals disagree with the labels.
TEST_F(QualityTest, RealizationCountsTakeTheSubcorpusLayerWhereTheAnnotationLacksIt) {
  const std::string lu = std::to_string(annotatedUnit().id);
  const std::string annotation = "luXML/lu" + lu + ".xml", subcorpus = "xml/lu" + lu + ".xml";
  const std::string dropLayer = "<layer name=\"FE\"[^>]*>[\\s\\S]*?</layer>";
  // Only the first set's layer goes: the subcorpus document's first set is the same sentence.
  const std::string firstSet = "(<annotationSet[^>]*>[\\s\\S]*?)" + dropLayer;

  const std::string one = writeRelease("annotation-lacks");
  edit(one, annotation, firstSet, "$1");
  EXPECT_TRUE(check(one).empty());

  const std::string both = writeRelease("both-lack");
  edit(both, annotation, firstSet, "$1");
  edit(both, subcorpus, firstSet, "$1");
  const std::vector<Finding> findings = check(both);
  ASSERT_FALSE(findings.empty());
  for (const Finding& finding : findings) EXPECT_EQ(finding.code, "realization-count-mismatch");
}

TEST_F(QualityTest, CommandLineFormatsAndExitStatus) {
  const std::string sample = sampleReleasePath();
  CliOutput tsv = runOn(sample, {"check"});
  EXPECT_EQ(tsv.status, 0);
  EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 3);
  EXPECT_EQ(tsv.out.substr(0, tsv.out.find('\n')),
            "warning\toutside-windows-1252\tfrXML/frames.xml\tframe[@name='Locative_relation']/definition\t"
            "the definition holds 1 character outside Windows-1252 (\xCE\xA9), written as '?' in every list");
  EXPECT_NE(tsv.err.find("sorvanta: outside-windows-1252: 3 (warning)"), std::string::npos);
  EXPECT_NE(tsv.err.find("sorvanta: check: 0 errors, 3 warnings"), std::string::npos);
  EXPECT_EQ(runOn(sample, {"check", "--strict"}).status, 1);

  CliOutput json = runOn(sample, {"check", "--format", "json"});
  const nlohmann::json array = nlohmann::json::parse(json.out);
  ASSERT_EQ(array.size(), 3u);
  for (const auto& object : array) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"code", "document", "location", "message", "severity"}));
  }

  const std::string release = writeRelease("errors");
  edit(release, "frXML/frRelation.xml", "superFrameName=\"[^\"]+\"", "superFrameName=\"Nowhere\"");
  EXPECT_EQ(runOn(release, {"check"}).status, 1);
  EXPECT_EQ(runOn(release, {"check", "--format", "xml"}).status, 2);
  EXPECT_EQ(runOn(work_.file("nothing"), {"check"}).status, 1);
}

}  // namespace
}  // namespace sorvanta::testing
