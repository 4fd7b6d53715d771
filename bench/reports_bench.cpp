// Valence for every lexical unit of a generated release, read from its index, against a
// yardstick of the same kind measured in the same run: one SQL pass over every label of the
// release's annotation sets (merged_labels), the rows the valence tables are made of.
#include <unistd.h>

#include <cstdio>

#include "BenchSupport.h"
#include "index/ReleaseIndex.h"
#include "index/Sqlite.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"
#include "reports/ReportData.h"
#include "reports/ReportIndex.h"
#include "reports/Valence.h"

namespace {

namespace tools = sorvanta::tools;
using sorvanta::bench::gSink;
using sorvanta::bench::medianMs;
using sorvanta::bench::TempFolder;

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = std::max(3, sorvanta::bench::intArgument(argc, argv, "--repetitions", 5));
  const int frames = sorvanta::bench::intArgument(argc, argv, "--frames", 1200);
  TempFolder folder("sorvanta-reports-bench");
  const tools::ReleaseModel model = tools::generateReleaseModel({frames, 1, tools::Encoding::Utf8});
  tools::writeReleaseFolder(model, folder.path());
  sync();

  sorvanta::index::IndexOptions options;
  options.releaseFolder = folder.path().string();
  options.indexFile = (folder.path() / "index.sqlite").string();
  sorvanta::index::IndexReport report;
  if (!sorvanta::index::updateIndex(options, report).done()) {
    std::fprintf(stderr, "cannot build the index\n");
    return 1;
  }
  sorvanta::index::Database db;
  if (!sorvanta::reports::openReleaseIndex(options.releaseFolder, options.indexFile, db).done()) {
    std::fprintf(stderr, "cannot open the index\n");
    return 1;
  }
  std::vector<int64_t> ids;
  {
    sorvanta::index::Statement query(db, "SELECT DISTINCT lu_id FROM annotation_sets ORDER BY lu_id");
    while (query.step()) ids.push_back(query.integer(0));
  }

  const double yardstick = medianMs(repetitions, [&] {
    sorvanta::index::Statement scan(db, "SELECT name, start, \"end\" FROM merged_labels");
    while (scan.step()) gSink = gSink + scan.text(0).size();
  });
  const double valence = medianMs(repetitions, [&] {
    sorvanta::reports::ReportReader reader(db);
    for (int64_t id : ids) {
      const auto lu = reader.lexicalUnit(id);
      if (!lu) continue;
      const auto table = sorvanta::reports::computeValence(*lu);
      const auto patterns = sorvanta::reports::computePatterns(*lu);
      gSink = gSink + table.fes.size() + patterns.size();
    }
  });
  std::printf("release: %d frames, %zu annotated lexical units, index built in %.0f ms\n", frames,
              ids.size(), report.seconds * 1000);
  std::printf("%-44s %10.1f ms\n", "yardstick: scan of every merged label", yardstick);
  std::printf("%-44s %10.1f ms  (%.2fx the yardstick; target 2000 ms)\n",
              "valence + patterns, every lexical unit", valence, valence / yardstick);
  return 0;
}
