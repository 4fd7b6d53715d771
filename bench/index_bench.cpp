// The release index at full size (a generated release of 1,200 frames unless --frames N):
// the cold build against the parse floor of its input documents (pugixml parsing each once,
// one thread, same run); the freshness check of an up-to-date index; the update after one
// lexical-unit document changed; ten representative queries (first 100 rows and count)
// against the yardstick of answering them by parsing every annotation document. The
// yardstick counts the parse alone, a lower bound of that approach, so its ratios are
// conservative. Page cache warm for all.
#include <pugixml.hpp>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "index/Query.h"
#include "index/ReleaseIndex.h"
#include "index/Search.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"

namespace {

namespace fs = std::filesystem;
namespace bench = sorvanta::bench;
namespace index = sorvanta::index;
namespace tools = sorvanta::tools;

double parseAll(const std::vector<std::string>& files) {
  const auto start = bench::Clock::now();
  for (const std::string& file : files) {
    pugi::xml_document doc;
    if (!doc.load_file(file.c_str())) throw std::runtime_error("pugixml cannot parse " + file);
    bench::gSink = bench::gSink + static_cast<size_t>(doc.first_child().type());
  }
  return bench::msSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = bench::intArgument(argc, argv, "--frames", 1200);
  const int repetitions = bench::intArgument(argc, argv, "--repetitions", 5);
  bench::TempFolder folder("sorvanta-index-bench");
  const fs::path release = folder.path() / "release";
  tools::writeReleaseFolder(tools::generateReleaseModel({frames, 1, tools::Encoding::Utf8}), release);
  sync();
  std::vector<std::string> inputs, annotation;
  uintmax_t inputBytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(release)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".xml") continue;
    inputs.push_back(entry.path().string());
    inputBytes += entry.file_size();
    if (entry.path().parent_path().filename() == "luXML") annotation.push_back(entry.path().string());
  }
  std::printf("release: %d frames, %zu documents, %.1f MB\n\n", frames, inputs.size(), inputBytes / 1e6);

  index::IndexOptions options;
  options.releaseFolder = release.string();
  options.indexFile = (folder.path() / "index.sqlite").string();
  index::IndexReport report;
  bench::readFiles(inputs);  // warm the page cache
  const double floorMs = parseAll(inputs);
  options.rebuild = true;
  std::vector<double> builds;
  for (int r = 0; r < std::max(1, repetitions / 2); ++r) {
    const auto start = bench::Clock::now();
    if (!index::updateIndex(options, report).done()) return 1;
    builds.push_back(bench::msSince(start));
  }
  options.rebuild = false;
  const double buildMs = bench::median(builds);
  std::printf("%-52s %10s %12s\n", "", "ms", "ratio");
  bench::printRatioRow("parse floor (pugixml, every input document)", floorMs, floorMs);
  bench::printRatioRow("cold build (all threads)", buildMs, floorMs);
  std::printf("index file %.1f MB = %.2f x the input documents\n\n",
              fs::file_size(options.indexFile) / 1e6, double(fs::file_size(options.indexFile)) / inputBytes);

  const double freshMs = bench::medianMs(repetitions * 2, [&] { index::updateIndex(options, report); });
  const std::string changed = (release / "luXML").string() + "/" + fs::path(annotation[annotation.size() / 2]).filename().string();
  const double updateMs = bench::medianMs(
      repetitions,
      [&] { fs::last_write_time(changed, fs::last_write_time(changed) + std::chrono::seconds(1)); },
      [&] { index::updateIndex(options, report); });
  std::printf("freshness check, index up to date      %8.1f ms\n", freshMs);
  std::printf("one lexical-unit document changed      %8.1f ms (documents read: %lld)\n\n", updateMs,
              static_cast<long long>(report.documentsRead));

  const double yardstickMs = parseAll(annotation);
  std::printf("yardstick: parsing every annotation document %.1f ms\n", yardstickMs);
  std::printf("%-34s %10s %10s %12s %12s\n", "query", "100 rows", "count", "x faster", "matches");
  index::IndexReader reader(options.indexFile);
  // The generated release names its frames at random: the first query takes the frame with
  // the most annotation sets.
  std::string bigFrame;
  reader.runSql("SELECT u.frame_name FROM annotation_sets s JOIN lexical_units u ON u.id = s.lu_id "
                "GROUP BY u.frame_name ORDER BY count(*) DESC LIMIT 1",
                [](const std::vector<std::string>&) {},
                [&](const std::vector<index::SqlCell>& row) { bigFrame = std::get<std::string>(row[0]); });
  const std::string queries[] = {"frame:" + bigFrame,   "fe:Goal",          "real:Goal.PP.Dep",
                                 "moved into",          "\"into the\"",     "re:/\\bin(to)?\\b/",
                                 "fe:Goal -pt:PP",      "frame:A* fe:Goal,Path lu:s*",
                                 "ni:Source itype:DNI", "pos:v -frame:" + bigFrame + " \"the\""};
  for (const std::string& text : queries) {
    const auto compiled = std::get<index::CompiledQuery>(index::compileQuery(text, index::SearchTarget::Sets));
    int64_t matches = 0;
    const double rowsMs = bench::medianMs(repetitions, [&] {
      int64_t seen = 0;
      reader.forEachSet(compiled, 0, 100, [&](const index::SetRow& row) {
        seen += static_cast<int64_t>(row.text.size());
        return true;
      });
      bench::gSink = bench::gSink + static_cast<size_t>(seen);
    });
    const double countMs = bench::medianMs(repetitions, [&] { matches = reader.countSets(compiled); });
    std::printf("%-34s %10.1f %10.1f %12.0f %12lld\n", text.c_str(), rowsMs, countMs,
                yardstickMs / std::max(rowsMs, countMs), static_cast<long long>(matches));
  }
  return 0;
}
