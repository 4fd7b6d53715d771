// The index as a cache: only changed documents are re-read, removed ones leave, a damaged file
// is rebuilt, and two builders at once agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "index/IndexFixture.h"
#include "index/ReleaseIndex.h"

namespace sorvanta::testing {
namespace {

namespace fs = std::filesystem;

class Freshness : public IndexTest {
 protected:
  index::IndexReport update(const std::string& release, bool verify = false) {
    index::IndexOptions options;
    options.releaseFolder = release;
    options.verify = verify;
    index::IndexReport report;
    EXPECT_TRUE(index::updateIndex(options, report).done());
    return report;
  }
  static void touchLater(const std::string& path) {
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
  }
};

TEST_F(Freshness, IndexLivesInTheCacheFolderOnly) {
  const std::string release = copySample();
  auto listing = [&] {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(release)) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
  };
  const std::vector<std::string> before = listing();
  const index::IndexReport report = update(release);
  EXPECT_TRUE(report.built);
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(report.indexFile.rfind(cache_.path().string() + "/sorvanta/release-", 0), 0u);
  EXPECT_TRUE(fs::exists(report.indexFile));
  EXPECT_EQ(index::defaultIndexPath(release), index::defaultIndexPath(release + "/"));
  EXPECT_NE(index::defaultIndexPath(release), index::defaultIndexPath(sampleReleasePath()));
  // The build's temporaries (the file renamed into place, the label side files) are gone.
  std::vector<std::string> cached;
  for (const auto& entry : fs::directory_iterator(cache_.path() / "sorvanta"))
    cached.push_back(entry.path().string());
  std::sort(cached.begin(), cached.end());
  EXPECT_EQ(cached, (std::vector<std::string>{report.indexFile, report.indexFile + ".lock"}));
}

// Cancelled while documents are read, or at once: no index, no temporaries, and the next
// update builds it whole.
TEST_F(Freshness, CancelledBuildLeavesNoFiles) {
  const std::string release = copySample();
  struct CancelAfter : text::Progress {
    int64_t limit;
    explicit CancelAfter(int64_t n) : limit(n) {}
    void count(std::string_view, int64_t value, std::string_view) override {
      if (value >= limit) cancel();
    }
  };
  for (int64_t limit : {0, 1, 5}) {
    CancelAfter progress(limit);
    if (limit == 0) progress.cancel();
    index::IndexOptions options;
    options.releaseFolder = release;
    index::IndexReport report;
    EXPECT_EQ(index::updateIndex(options, report, progress).status, text::Outcome::Status::Cancelled)
        << limit;
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(cache_.path() / "sorvanta"))
      if (entry.path().extension() != ".lock") left.push_back(entry.path().filename().string());
    EXPECT_TRUE(left.empty()) << limit << ": " << (left.empty() ? "" : left.front());
  }
  const index::IndexReport report = update(release);
  EXPECT_TRUE(report.built);
  EXPECT_EQ(search(release, {"--count", "*"}).out, "52\n");
}

TEST_F(Freshness, TouchedDocumentIsReadAlone) {
  const std::string release = copySample();
  const index::IndexReport first = update(release);
  const index::IndexReport again = update(release);
  EXPECT_FALSE(again.built);
  EXPECT_EQ(again.documentsRead, 0);
  EXPECT_EQ(again.documentsUnchanged, first.documentsRead);
  touchLater(release + "/xml/lu1001.xml");
  const index::IndexReport touched = update(release);
  EXPECT_FALSE(touched.built);
  EXPECT_EQ(touched.documentsRead, 1);
  // A set held by both documents keeps the labels of both after the re-read.
  EXPECT_EQ(runOn(release, {"sql", "SELECT count(DISTINCT source) FROM labels l JOIN "
                                          "annotation_sets s USING (set_ord) WHERE s.sentence_id = 500101"})
                .out,
            "count(DISTINCT source)\n2\n");
}

TEST_F(Freshness, ChangedAndRemovedDocumentsChangeTheResults) {
  const std::string release = copySample();
  update(release);
  const std::string before = search(release, {"luid:1001"}).out;
  ASSERT_NE(before.find("500101"), std::string::npos);
  // The sentence leaves the annotation document but stays in the subcorpus document.
  std::string doc = readBytes(release + "/luXML/lu1001.xml");
  const std::string marker = "<sentence ID=\"500101\"";
  const size_t at = doc.find(marker);
  ASSERT_NE(at, std::string::npos);
  doc.replace(at, marker.size(), "<sentence ID=\"599999\"");
  std::ofstream(release + "/luXML/lu1001.xml", std::ios::binary) << doc;
  touchLater(release + "/luXML/lu1001.xml");
  CliOutput changed = search(release, {"luid:1001", "sentid:599999,500101"});
  EXPECT_EQ(changed.status, 0) << changed.err;
  EXPECT_NE(changed.out.find("\t500101\t"), std::string::npos);
  EXPECT_NE(changed.out.find("\t599999\t"), std::string::npos);
  // Both documents gone: the unit's sets go with them.
  fs::remove(release + "/luXML/lu1001.xml");
  fs::remove(release + "/xml/lu1001.xml");
  const index::IndexReport removed = update(release);
  EXPECT_EQ(removed.documentsRemoved, 2);
  EXPECT_EQ(search(release, {"--count", "luid:1001"}).out, "0\n");
  // The refreshed index answers as a fresh build of the same release does.
  const std::string refreshed = search(release, {"*"}).out;
  index::IndexOptions options;
  options.releaseFolder = release;
  options.rebuild = true;
  index::IndexReport rebuilt;
  ASSERT_TRUE(index::updateIndex(options, rebuilt).done());
  EXPECT_EQ(search(release, {"*"}).out, refreshed);
}

// Labels, merged labels and constituents after re-reading one document of a unit alone (the
// subcorpus document may share the annotation document's label rows) equal a fresh build's.
TEST_F(Freshness, RereadDocumentKeepsLabelsOfTheOther) {
  const std::string release = copySample();
  const auto dump = [&] {
    std::string all;
    for (const char* sql :
         {"SELECT set_ord, source, doc_order, layer, layer_rank, name, start_text, end_text, itype "
          "FROM labels ORDER BY 1, 2, 3",
          "SELECT set_ord, source, doc_order, layer, name FROM merged_labels ORDER BY 1, 2, 3",
          "SELECT c.set_ord, c.start, c.\"end\", f.text, p.text, g.text FROM constituents c "
          "JOIN label_names f ON f.name_id = c.fe_id JOIN label_names p ON p.name_id = c.pt_id "
          "JOIN label_names g ON g.name_id = c.gf_id ORDER BY 1, 2, 3, 4, 5, 6"})
      all += runOn(release, {"sql", sql}).out;
    return all;
  };
  const auto rebuilt = [&] {
    index::IndexOptions options;
    options.releaseFolder = release;
    options.rebuild = true;
    index::IndexReport report;
    EXPECT_TRUE(index::updateIndex(options, report).done());
    return dump();
  };
  const struct {
    const char* document;
    const char* from;
    const char* to;
  } kEdits[] = {
      {"/luXML/lu1001.xml", "name=\"Path\" start=\"15\"", "name=\"Route\" start=\"15\""},
      {"/xml/lu1001.xml", "name=\"Goal\"", "name=\"Source\""},
      {"/luXML/lu1001.xml", "name=\"Theme\"", "name=\"Mover\""},
  };
  update(release);
  ASSERT_EQ(dump(), rebuilt());
  for (const auto& edit : kEdits) {
    SCOPED_TRACE(std::string(edit.document) + ": " + edit.from);
    std::string doc = readBytes(release + edit.document);
    const size_t at = doc.find(edit.from);
    ASSERT_NE(at, std::string::npos);
    doc.replace(at, std::string_view(edit.from).size(), edit.to);
    std::ofstream(release + edit.document, std::ios::binary) << doc;
    touchLater(release + edit.document);
    EXPECT_EQ(update(release).documentsRead, 1);
    const std::string refreshed = dump();
    EXPECT_NE(refreshed.find(std::string_view(edit.to).substr(6, 5)), std::string::npos);
    EXPECT_EQ(refreshed, rebuilt());
  }
}

// Each refresh reads exactly the documents changed since the one before, however far the
// index's record of them has drifted from build order (re-read documents go to its end).
TEST_F(Freshness, EveryChangeIsFoundAfterEarlierUpdates) {
  const std::string release = copySample();
  const index::IndexReport first = update(release);
  const int64_t total = first.documentsRead;
  const std::function<void()> nothing = [] {};
  const struct {
    const char* what;
    std::function<void()> change;
    int64_t read, removed, unchanged;
  } kSteps[] = {
      {"one in the middle", [&] { touchLater(release + "/luXML/lu1101.xml"); }, 1, 0, total - 1},
      {"the re-read one and one before it",
       [&] {
         touchLater(release + "/luXML/lu1101.xml");
         touchLater(release + "/leXML/le1001.xml");
       },
       2, 0, total - 2},
      {"one after the re-read ones", [&] { touchLater(release + "/leXML/le2101.xml"); }, 1, 0, total - 1},
      {"none", nothing, 0, 0, total},
      {"a new document",
       [&] { fs::copy_file(release + "/leXML/le1001.xml", release + "/leXML/le1003.xml"); }, 1, 0, total},
      {"a removed one and a changed one",
       [&] {
         fs::remove(release + "/leXML/le1101.xml");
         touchLater(release + "/frXML/frRelation.xml");
       },
       1, 1, total - 1},
      {"none again", nothing, 0, 0, total},
  };
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.what);
    step.change();
    const index::IndexReport report = update(release);
    EXPECT_FALSE(report.built);
    EXPECT_EQ(report.documentsRead, step.read);
    EXPECT_EQ(report.documentsRemoved, step.removed);
    EXPECT_EQ(report.documentsUnchanged, step.unchanged);
  }
}

TEST_F(Freshness, DamagedOrForeignIndexIsRebuilt) {
  const std::string release = copySample();
  const index::IndexReport first = update(release);
  const std::string expected = search(release, {"fe:Goal"}).out;
  struct Damage {
    const char* what;
    std::function<void(const std::string&)> apply;
  };
  const Damage damages[] = {
      {"garbage", [](const std::string& file) { std::ofstream(file, std::ios::binary) << "not a database"; }},
      {"empty", [](const std::string& file) { std::ofstream(file, std::ios::binary).flush(); }},
      {"truncated",
       [](const std::string& file) { fs::resize_file(file, fs::file_size(file) / 2); }},
      {"pages overwritten",
       [](const std::string& file) {
         std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
         f.seekp(4096 * 3);
         const std::string junk(4096 * 4, '\x5a');
         f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
       }},
  };
  for (const Damage& damage : damages) {
    damage.apply(first.indexFile);
    const index::IndexReport report = update(release, true);
    EXPECT_TRUE(report.built) << damage.what;
    CliOutput result = search(release, {"fe:Goal"});
    EXPECT_EQ(result.status, 0) << damage.what << result.err;
    EXPECT_EQ(result.out, expected) << damage.what;
  }
  // Damaged under a search (no check first): rebuilt and answered all the same.
  std::ofstream(first.indexFile, std::ios::binary) << "SQLite format 3" << std::string(100, '\0');
  CliOutput result = search(release, {"fe:Goal"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, expected);
}

// A side file that cannot be created (a folder holds its name): the build stops with the
// SQLite message, leaves no index and no temporary, and does not hang on the writing threads.
TEST_F(Freshness, FailingSideFileRefusesTheBuild) {
  const std::string release = copySample();
  const std::string indexFile = (work_.path() / "index.sqlite").string();
  const std::string blocked = indexFile + ".tmp-" + std::to_string(getpid()) + "-labels";
  fs::create_directories(blocked + "/inside");
  index::IndexOptions options;
  options.releaseFolder = release;
  options.indexFile = indexFile;
  index::IndexReport report;
  const text::Outcome outcome = index::updateIndex(options, report);
  ASSERT_EQ(outcome.status, text::Outcome::Status::Refused);
  ASSERT_FALSE(outcome.notices.empty());
  EXPECT_EQ(outcome.notices.front().text.rfind("Cannot write the index: ", 0), 0u)
      << outcome.notices.front().text;
  EXPECT_FALSE(fs::exists(indexFile));
  EXPECT_FALSE(fs::exists(indexFile + ".tmp-" + std::to_string(getpid())));
  EXPECT_FALSE(fs::exists(indexFile + ".tmp-" + std::to_string(getpid()) + "-constituents"));
  fs::remove_all(blocked);
  EXPECT_TRUE(index::updateIndex(options, report).done());
  EXPECT_TRUE(report.built);
}

TEST_F(Freshness, TwoBuildersAtOnceAgree) {
  const std::string release = copySample();
  index::IndexReport reports[2];
  bool done[2] = {false, false};
  {
    std::jthread a([&] {
      index::IndexOptions options;
      options.releaseFolder = release;
      done[0] = index::updateIndex(options, reports[0]).done();
    });
    std::jthread b([&] {
      index::IndexOptions options;
      options.releaseFolder = release;
      done[1] = index::updateIndex(options, reports[1]).done();
    });
  }
  ASSERT_TRUE(done[0] && done[1]);
  EXPECT_NE(reports[0].built, reports[1].built);  // one built, the other found it fresh
  EXPECT_EQ(reports[0].indexFile, reports[1].indexFile);
  EXPECT_EQ(search(release, {"--count", "*"}).out, "52\n");
  EXPECT_FALSE(fs::exists(reports[0].indexFile + ".tmp-" + std::to_string(getpid())));
}

TEST_F(Freshness, NoFramesDocumentIsRefused) {
  index::IndexOptions options;
  options.releaseFolder = work_.path().string();
  index::IndexReport report;
  const text::Outcome outcome = index::updateIndex(options, report);
  EXPECT_EQ(outcome.status, text::Outcome::Status::Refused);
  CliOutput result = runOn(work_.path().string(), {"search", "fe:Goal"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("frames"), std::string::npos);
}

}  // namespace
}  // namespace sorvanta::testing
