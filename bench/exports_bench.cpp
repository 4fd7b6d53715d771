// The JSON Lines export and the split of a whole release against their yardstick: reading the
// same rows from the release index with one plain SELECT (every set's text and labels, every
// column stepped through). The index is built once before timing; export and split re-check
// its freshness each run, as they always do.
//
//   exports_bench [--frames N] [--repetitions R] [--release DIR]
#include <sstream>

#include "BenchSupport.h"
#include "exports/Export.h"
#include "exports/Split.h"
#include "index/ReleaseIndex.h"
#include "index/Sqlite.h"
#include "releasegen/ReleaseFolder.h"

using namespace sorvanta;

namespace {

// Discards what is written, counting it.
class CountingBuffer : public std::streambuf {
 public:
  size_t bytes = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<size_t>(n);
    return n;
  }
  int overflow(int c) override {
    ++bytes;
    return c;
  }
};

size_t plainSelect(const std::string& indexFile) {
  index::Database db(indexFile, index::Database::Mode::ReadOnly);
  index::Statement rows(db, "SELECT a.lu_id, a.sentence_id, a.text, l.source, l.layer, l.layer_rank, "
                            "l.name, l.start, l.\"end\", l.itype FROM annotation_sets a "
                            "JOIN labels l ON l.set_ord = a.set_ord");
  size_t touched = 0;
  while (rows.step()) {
    touched += static_cast<size_t>(rows.integer(0) + rows.integer(1)) + rows.text(2).size() +
               static_cast<size_t>(rows.integer(3)) + rows.text(4).size() + rows.text(5).size() +
               rows.text(6).size() + static_cast<size_t>(rows.integer(7) + rows.integer(8)) + rows.text(9).size();
  }
  return touched;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = bench::intArgument(argc, argv, "--frames", 1200);
  const int repetitions = bench::intArgument(argc, argv, "--repetitions", 3);
  std::string release;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--release") release = argv[i + 1];
  bench::TempFolder scratch("exports-bench");
  if (release.empty()) {
    release = (scratch.path() / "release").string();
    tools::writeReleaseFolder(tools::generateReleaseModel({frames, 1}), release);
  }
  index::IndexOptions options;
  options.releaseFolder = release;
  options.indexFile = (scratch.path() / "index.sqlite").string();
  index::IndexReport built;
  if (!index::updateIndex(options, built).done()) {
    std::fprintf(stderr, "cannot index %s\n", release.c_str());
    return 1;
  }

  exports::ExportRequest exportRequest;
  exportRequest.releaseFolder = release;
  exportRequest.indexFile = options.indexFile;
  exports::SplitRequest splitRequest;
  splitRequest.releaseFolder = release;
  splitRequest.indexFile = options.indexFile;
  splitRequest.seed = 1;
  splitRequest.grouping = exports::Grouping::LexicalUnit;

  const std::vector<double> medians = bench::interleavedMedianMs(
      repetitions,
      {[&] { bench::gSink = bench::gSink + plainSelect(options.indexFile); },
       [&] {
         CountingBuffer buffer;
         std::ostream out(&buffer);
         exports::ExportReport report;
         if (!exports::exportAnnotations(exportRequest, &out, report).done()) throw std::runtime_error("export");
         bench::gSink = bench::gSink + buffer.bytes;
       },
       [&] {
         exports::SplitResult result;
         if (!exports::computeSplit(splitRequest, result).done()) throw std::runtime_error("split");
         bench::gSink = bench::gSink + result.outputs[0].size();
       }});
  std::printf("Release: %s (%lld annotation sets), median of %d runs, ms\n", release.c_str(),
              static_cast<long long>(index::countRows(options.indexFile).annotationSets), repetitions);
  std::printf("%-52s %10.1f\n", "yardstick: plain SELECT of sets and labels", medians[0]);
  bench::printRatioRow("export --format jsonl (vs SELECT; target <= 1.5x)", medians[1], medians[0]);
  bench::printRatioRow("split --by lu, with input digests (vs export; target <= 2x)", medians[2], medians[1]);
  return 0;
}
