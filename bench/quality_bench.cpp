// The release check and the release diff at full size (generated releases of 1,200 frames
// unless --frames N), each on fresh indexes built beforehand (untimed). The check is set
// beside two yardsticks of the same run: the index freshness check it starts with (one stat
// per document), and one plain scan of the labels, `SELECT count(*) FROM labels`, which is
// what a check that looked at every label would pay at the least. The diff compares the release
// with an edited copy (frames renamed, definitions and core types changed, lexical units
// moved and their counts changed) and is set beside the freshness checks of both indexes.
// Page cache warm for all.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "index/ReleaseIndex.h"
#include "index/Sqlite.h"
#include "quality/Check.h"
#include "quality/Diff.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"

namespace {

namespace fs = std::filesystem;
namespace bench = sorvanta::bench;
namespace index = sorvanta::index;
namespace quality = sorvanta::quality;
namespace tools = sorvanta::tools;

// The next release: every 40th frame renamed, every 30th frame's definition rewritten, every
// 25th frame's first frame element made peripheral, every 50th frame's last lexical unit moved
// to the frame before it, every 20th annotated unit's count raised.
tools::ReleaseModel nextRelease(tools::ReleaseModel model) {
  int annotated = 0;
  for (size_t i = 0; i < model.frames.size(); ++i) {
    tools::FrameModel& frame = model.frames[i];
    if (i % 40 == 39) frame.name += "_revised";
    if (i % 30 == 29) frame.definition = "A definition rewritten for the next release.";
    if (i % 25 == 24 && !frame.frameElements.empty()) frame.frameElements.front().coreType = "Peripheral";
    for (tools::LexUnitModel& lu : frame.lexUnits)
      if (lu.annotated > 0 && ++annotated % 20 == 0) ++lu.annotated;
    if (i % 50 == 49 && i > 0 && !frame.lexUnits.empty()) {
      model.frames[i - 1].lexUnits.push_back(frame.lexUnits.back());
      frame.lexUnits.pop_back();
    }
  }
  return model;
}

int64_t countLabels(const std::string& indexFile) {
  index::Database db(indexFile, index::Database::Mode::ReadOnly);
  return db.scalarInt("SELECT count(*) FROM labels");
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = bench::intArgument(argc, argv, "--frames", 1200);
  const int repetitions = bench::intArgument(argc, argv, "--repetitions", 5);
  bench::TempFolder folder("sorvanta-quality-bench");
  const tools::ReleaseModel oldModel = tools::generateReleaseModel({frames, 1, tools::Encoding::Utf8});
  index::IndexOptions oldRelease, newRelease;
  oldRelease.releaseFolder = (folder.path() / "old").string();
  oldRelease.indexFile = (folder.path() / "old.sqlite").string();
  newRelease.releaseFolder = (folder.path() / "new").string();
  newRelease.indexFile = (folder.path() / "new.sqlite").string();
  tools::writeReleaseFolder(oldModel, oldRelease.releaseFolder);
  tools::writeReleaseFolder(nextRelease(oldModel), newRelease.releaseFolder);
  sync();
  index::IndexReport oldReport, newReport;
  if (!index::updateIndex(oldRelease, oldReport).done() || !index::updateIndex(newRelease, newReport).done()) {
    std::fprintf(stderr, "quality_bench: the releases cannot be indexed\n");
    return 1;
  }
  std::printf("releases: %d frames each, %lld labels in the old one\n\n", frames,
              static_cast<long long>(countLabels(oldRelease.indexFile)));

  size_t findings = 0, changes = 0;
  const std::vector<double> ms = bench::interleavedMedianMs(
      repetitions,
      {[&] {
         index::IndexReport report;
         if (!index::updateIndex(oldRelease, report).done()) throw std::runtime_error("freshness");
       },
       [&] { bench::gSink = bench::gSink + static_cast<size_t>(countLabels(oldRelease.indexFile)); },
       [&] {
         quality::CheckResult result;
         if (!quality::checkRelease(oldRelease, result).done()) throw std::runtime_error("check");
         findings = result.findings.size();
       },
       [&] {
         for (const index::IndexOptions* options : {&oldRelease, &newRelease}) {
           index::IndexReport report;
           if (!index::updateIndex(*options, report).done()) throw std::runtime_error("freshness");
         }
       },
       [&] {
         quality::DiffResult result;
         if (!quality::diffReleases(oldRelease, newRelease, result).done()) throw std::runtime_error("diff");
         changes = result.changes.size();
       }});
  std::printf("%-52s %10s %12s\n", "", "ms", "ratio");
  bench::printRatioRow("freshness check of one index (yardstick)", ms[0], ms[0]);
  bench::printRatioRow("SELECT count(*) FROM labels (yardstick)", ms[1], ms[0]);
  bench::printRatioRow("check (freshness included)", ms[2], ms[0]);
  std::printf("  check against the label scan: %.2f x; %zu findings; target 1000 ms\n\n", ms[2] / ms[1], findings);
  bench::printRatioRow("freshness check of both indexes (yardstick)", ms[3], ms[3]);
  bench::printRatioRow("diff (freshness of both included)", ms[4], ms[3]);
  std::printf("  %zu changes; target 2000 ms\n", changes);
  return 0;
}
