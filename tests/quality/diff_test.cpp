// The release diff: a release against itself is empty; each change kind is found on a pair of
// generated releases (added/removed kinds by comparing the pair both ways).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <set>

#include "quality/Diff.h"
#include "quality/QualityFixture.h"
#include "support/CliRun.h"

namespace sorvanta::testing {
namespace {

std::set<std::string> changes(const std::string& oldRelease, const std::string& newRelease) {
  index::IndexOptions oldOptions, newOptions;
  oldOptions.releaseFolder = oldRelease;
  newOptions.releaseFolder = newRelease;
  quality::DiffResult result;
  EXPECT_TRUE(quality::diffReleases(oldOptions, newOptions, result).done());
  std::set<std::string> rows;
  for (const quality::Change& change : result.changes)
    rows.insert(change.code + "|" + change.key + "|" + change.oldValue + "|" + change.newValue);
  return rows;
}

struct Edit {
  std::function<void(const std::string& release)> apply;
  std::set<std::string> forward;   // old = clean, new = edited
  std::set<std::string> backward;  // old = edited, new = clean
};

TEST_F(QualityTest, ReleaseAgainstItselfIsEmpty) {
  const std::string release = writeRelease("same");
  EXPECT_TRUE(changes(release, release).empty());
  const std::string copy = writeRelease("copy");
  EXPECT_TRUE(changes(release, copy).empty());
  CliOutput out = runCommandLine({"diff", release, copy});
  EXPECT_EQ(out.status, 0);
  EXPECT_EQ(out.out, "");
}

TEST_F(QualityTest, EachChangeKindIsFound) {
  const std::string clean = writeRelease("clean");
  const tools::FrameModel& first = model_.frames.front();
  const tools::FrameModel& last = model_.frames.back();
  const tools::FrameElementModel& fe = first.frameElements.front();
  const tools::LexUnitModel& lu = first.lexUnits.front();
  const std::string feKey = first.name + "/" + fe.name;
  const std::string luId = std::to_string(lu.id), frameId = std::to_string(last.id);
  const tools::FrameRelationModel& relation = model_.relations.front();
  const std::string relationKey = std::string(tools::kFrameRelationTypes[relation.type]) + ":" +
                                  model_.frames[relation.superFrame].name + ">" +
                                  model_.frames[relation.subFrame].name;
  // A frame without units of its own, so that removing it removes nothing else.
  const std::string frames = "frXML/frames.xml";
  const std::vector<Edit> edits = {
      {[&](auto& r) { edit(r, frames, "</frames>", "<frame ID=\"9100\" name=\"Fresh\"><definition>New.</definition></frame></frames>"); },
       {"frame-added|9100||Fresh"}, {"frame-removed|9100|Fresh|"}},
      {[&](auto& r) { edit(r, frames, "name=\"" + last.name + "\"", "name=\"Renamed_frame\""); },
       {"frame-renamed|" + frameId + "|" + last.name + "|Renamed_frame"},
       {"frame-renamed|" + frameId + "|Renamed_frame|" + last.name}},
      {[&](auto& r) { edit(r, frames, "<fe ID=\"" + std::to_string(fe.id) + "\"[\\s\\S]*?</fe>", ""); },
       {"fe-removed|" + feKey + "|" + fe.coreType + "|"}, {"fe-added|" + feKey + "||" + fe.coreType}},
      {[&](auto& r) {
         edit(r, frames, "(<fe ID=\"" + std::to_string(fe.id) + "\"[^>]*coreType=)\"[^\"]*\"", "$1\"Odd\"");
       },
       {"fe-coretype-changed|" + feKey + "|" + fe.coreType + "|Odd"},
       {"fe-coretype-changed|" + feKey + "|Odd|" + fe.coreType}},
      {[&](auto& r) { edit(r, frames, "<lexunits>", "<lexunits><lexunit ID=\"9200\" name=\"novel.n\"/>"); },
       {"lu-added|9200||novel.n"}, {"lu-removed|9200|novel.n|"}},
      {[&](auto& r) { edit(r, frames, "(<lexunit ID=\"" + luId + "\" name=)\"[^\"]*\"", "$1\"other.v\""); },
       {"lu-renamed|" + luId + "|" + lu.name() + "|other.v"}, {"lu-renamed|" + luId + "|other.v|" + lu.name()}},
      {[&](auto& r) {  // the unit's element cut out and put first into the last frame's units
         std::string bytes = readBytes(r + "/" + frames);
         const size_t begin = bytes.find("<lexunit ID=\"" + luId + "\"");
         const size_t end = bytes.find("</lexunit>", begin) + 10;
         const std::string unit = bytes.substr(begin, end - begin);
         bytes.erase(begin, end - begin);
         bytes.insert(bytes.rfind("<lexunits>") + 10, unit);
         std::ofstream(r + "/" + frames, std::ios::binary | std::ios::trunc) << bytes;
       },
       {"lu-moved|" + luId + "|" + first.name + "|" + last.name}, {"lu-moved|" + luId + "|" + last.name + "|" + first.name}},
      {[&](auto& r) {
         edit(r, frames, "(<frame ID[^>]*>\\s*<definition>)[^<]*", "$1Frame text.");
         edit(r, frames, "(<fe ID[^>]*>\\s*<definition>)[^<]*", "$1FE text.");
         edit(r, frames, "(<lexunit ID[^>]*>\\s*<definition>)[^<]*", "$1Unit text.");
       },
       {}, {}},
      {[&](auto& r) { edit(r, frames, "(<lexunit ID=\"" + luId + "\"[\\s\\S]*?<annotated)>\\d+", "$1>77"); },
       {"annotation-count-changed|" + luId + "|" + std::to_string(lu.annotated) + "|77"},
       {"annotation-count-changed|" + luId + "|77|" + std::to_string(lu.annotated)}},
      {[&](auto& r) { edit(r, "frXML/frRelation.xml", "<frame-relation [\\s\\S]*?</frame-relation>", ""); },
       {"relation-removed|" + relationKey + "|" + std::to_string(relation.id) + "|"},
       {"relation-added|" + relationKey + "||" + std::to_string(relation.id)}},
  };
  int n = 0;
  for (const Edit& change : edits) {
    SCOPED_TRACE("edit " + std::to_string(n));
    const std::string edited = writeRelease("edited" + std::to_string(n++));
    change.apply(edited);
    if (change.forward.empty()) {  // the three definitions
      std::set<std::string> codes;
      for (const std::string& row : changes(clean, edited)) codes.insert(row.substr(0, row.find('|', 19)));
      EXPECT_EQ(codes, (std::set<std::string>{"definition-changed|" + std::to_string(first.id),
                                              "definition-changed|" + feKey, "definition-changed|" + luId}));
      continue;
    }
    EXPECT_EQ(changes(clean, edited), change.forward);
    EXPECT_EQ(changes(edited, clean), change.backward);
  }
}

TEST_F(QualityTest, DiffCommandLine) {
  const std::string clean = writeRelease("clean");
  const std::string edited = writeRelease("edited");
  edit(edited, "frXML/frames.xml", "name=\"" + model_.frames.back().name + "\"", "name=\"A&lt;b&gt;&amp;c\"");
  CliOutput tsv = runCommandLine({"diff", clean, edited});
  EXPECT_EQ(tsv.status, 1);
  EXPECT_EQ(tsv.out, "frame-renamed\t" + std::to_string(model_.frames.back().id) + "\t" +
                         model_.frames.back().name + "\tA<b>&c\n");
  const nlohmann::json json = nlohmann::json::parse(runCommandLine({"diff", clean, edited, "--format", "json"}).out);
  ASSERT_EQ(json.size(), 1u);
  EXPECT_EQ(json[0]["code"], "frame-renamed");
  EXPECT_EQ(json[0]["new"], "A<b>&c");
  const std::string html = runCommandLine({"diff", clean, edited, "--format", "html"}).out;
  EXPECT_LT(html.find("<h2>Summary</h2>"), html.find("<h2>Changes</h2>"));
  EXPECT_NE(html.find("<td>A&lt;b&gt;&amp;c</td>"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);

  std::ofstream(edited + "/frXML/frames.xml", std::ios::trunc) << "<frames><frame";
  EXPECT_EQ(runCommandLine({"diff", clean, edited}).status, 2);
  EXPECT_EQ(runCommandLine({"diff", clean, work_.file("none")}).status, 2);
  EXPECT_EQ(runCommandLine({"diff", clean}).status, 2);
}

}  // namespace
}  // namespace sorvanta::testing
