// The browsing core at full size, on generated releases: loading the frames and relations
// documents with the frames index filled, sorting the lists by every column, and the frames
// view and relations of every frame. Yardsticks measured in the same run: pugixml parsing the
// same two files (loading), a plain byte-order stable sort of the same rows (sorting). The
// per-frame costs are measured at three release sizes to show that they stay flat.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "lexicon/FrameRelations.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ListSort.h"
#include "lexicon/ReleaseLayout.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"
#include "views/FrameView.h"
#include "xml/XpObjModel.h"

namespace {

namespace fs = std::filesystem;
using sorvanta::bench::Clock;
using sorvanta::bench::gSink;
using sorvanta::bench::interleavedMedianMs;
using sorvanta::bench::medianMs;
using sorvanta::bench::msSince;
using sorvanta::bench::TempFolder;
using sorvanta::lexicon::FramesIndex;
using sorvanta::lexicon::ListRow;
using sorvanta::xml::TXpNode;
using sorvanta::xml::TXpObjModel;

const TXpNode* rootOf(TXpObjModel& doc) { return doc.Document()->docGetDocumentElement(); }

void load(TXpObjModel& doc, const std::string& path) {
  if (!doc.LoadDataSource(path)) throw std::runtime_error("cannot load " + path);
}

// Everything measured on one release.
struct SizeResult {
  int frames = 0;
  int lexUnits = 0;
  int annotatedUnits = 0;
  int relations = 0;
  int files = 0;
  double releaseMb = 0;
  double framesMb = 0;
  double relationsMb = 0;
  double generateMs = 0;
  double syncMs = 0;
  // Loading.
  double pugixmlMs = 0;
  double oursMs = 0;  // both documents and the frames index
  double loadFramesMs = 0;
  double loadRelationsMs = 0;
  double fillIndexMs = 0;
  // Sorting, per column.
  std::array<double, sorvanta::lexicon::kLexUnitColumns> lexUnitSortMs{}, lexUnitPlainMs{};
  std::array<double, sorvanta::lexicon::kFramesColumns> framesSortMs{}, framesPlainMs{};
  // Browsing every frame once.
  double relationsIndexMs = 0;  // first frameRelations call on a fresh document
  double relationsMs = 0;
  double viewsMs = 0;       // every frame viewed before
  double firstViewsMs = 0;  // every frame's first view after loading
  size_t relationEntries = 0;
};

// The yardstick sort: the same rows, stable, by plain byte order of the column's cells.
void plainSort(std::vector<ListRow>& rows, int column) {
  std::stable_sort(rows.begin(), rows.end(), [column](const ListRow& a, const ListRow& b) {
    return a.cell(column) < b.cell(column);
  });
}

template <size_t Columns, class Sort>
void measureSorts(const std::vector<ListRow>& rows, int repetitions, Sort sort,
                  std::array<double, Columns>& oursMs, std::array<double, Columns>& plainMs) {
  std::vector<ListRow> copy;
  const auto fresh = [&] { copy = rows; };
  for (size_t c = 0; c < Columns; ++c) {
    const int column = static_cast<int>(c);
    oursMs[c] = medianMs(repetitions, fresh, [&] { sort(copy, column); });
    gSink = gSink + copy.size();
    plainMs[c] = medianMs(repetitions, fresh, [&] { plainSort(copy, column); });
  }
}

SizeResult measureRelease(int frames, int repetitions) {
  SizeResult result;
  TempFolder folder("sorvanta-browse-bench");
  const auto generateStart = Clock::now();
  const sorvanta::tools::ReleaseModel model =
      sorvanta::tools::generateReleaseModel({frames, 1, sorvanta::tools::Encoding::Utf8});
  const sorvanta::tools::ReleaseSummary summary =
      sorvanta::tools::writeReleaseFolder(model, folder.path());
  result.generateMs = msSince(generateStart);
  // The fresh release goes to disk before anything is timed, so write-back does not compete.
  const auto syncStart = Clock::now();
  sync();
  result.syncMs = msSince(syncStart);
  result.frames = summary.frames;
  result.lexUnits = summary.lexUnits;
  result.annotatedUnits = summary.annotatedUnits;
  result.relations = summary.relations;
  result.files = summary.files;
  result.releaseMb = static_cast<double>(summary.bytes) / 1e6;

  const std::string dataFolder = folder.path().string() + "/";
  const std::string framesPath = sorvanta::lexicon::framesDocumentPath(dataFolder);
  const std::string relationsPath = sorvanta::lexicon::relationsDocumentPath(dataFolder);
  result.framesMb = static_cast<double>(fs::file_size(framesPath)) / 1e6;
  result.relationsMb = static_cast<double>(fs::file_size(relationsPath)) / 1e6;

  // Loading. Each run builds and drops its trees, so both sides pay for construction and
  // destruction alike; repetitions take the four in turn after one untimed pass of each, so
  // drift of the machine (disk write-back of the fresh release, other load) spreads evenly.
  const std::vector<std::function<void()>> loads = {
      [&] {
        pugi::xml_document framesDoc, relationsDoc;
        if (framesDoc.load_file(framesPath.c_str()).status != pugi::status_ok ||
            relationsDoc.load_file(relationsPath.c_str()).status != pugi::status_ok) {
          throw std::runtime_error("pugixml cannot load the release");
        }
        gSink = gSink + static_cast<size_t>(framesDoc.first_child().type());
      },
      [&] {
        TXpObjModel framesDoc, relationsDoc;
        load(framesDoc, framesPath);
        load(relationsDoc, relationsPath);
        const FramesIndex index = sorvanta::lexicon::fillFramesIndex(rootOf(framesDoc));
        gSink = gSink + index.lexUnits.size();
      },
      [&] {
        TXpObjModel doc;
        load(doc, framesPath);
      },
      [&] {
        TXpObjModel doc;
        load(doc, relationsPath);
      },
  };
  const std::vector<double> loadMs = interleavedMedianMs(repetitions, loads);
  result.pugixmlMs = loadMs[0];
  result.oursMs = loadMs[1];
  result.loadFramesMs = loadMs[2];
  result.loadRelationsMs = loadMs[3];

  TXpObjModel framesDoc, relationsDoc;
  load(framesDoc, framesPath);
  FramesIndex index;
  result.fillIndexMs = medianMs(
      repetitions, [&] { index = FramesIndex(); },
      [&] { index = sorvanta::lexicon::fillFramesIndex(rootOf(framesDoc)); });
  if (static_cast<int>(index.lexUnits.size()) != result.lexUnits ||
      index.numFrames != result.frames) {
    throw std::runtime_error("the frames index does not match the generated release");
  }

  measureSorts(index.lexUnits, repetitions, sorvanta::lexicon::sortLexUnitRows,
               result.lexUnitSortMs, result.lexUnitPlainMs);
  measureSorts(index.frames, repetitions, sorvanta::lexicon::sortFramesRows, result.framesSortMs,
               result.framesPlainMs);

  // The relations index is built by the first frameRelations call on a freshly loaded
  // document, and kept with it for every later call.
  const std::string firstFrame(index.frames.empty() ? "" : index.frames.front().caption());
  result.relationsIndexMs = medianMs(
      repetitions, [&] { load(relationsDoc, relationsPath); },
      [&] {
        gSink = gSink + sorvanta::lexicon::frameRelations(rootOf(relationsDoc), firstFrame).size();
      });
  const TXpNode* relationsRoot = rootOf(relationsDoc);
  result.relationsMs = medianMs(repetitions, [&] {
    size_t entries = 0;
    for (const ListRow& row : index.frames)
      entries += sorvanta::lexicon::frameRelations(relationsRoot, row.caption()).size();
    result.relationEntries = entries;
  });
  const auto viewEveryFrame = [&](const FramesIndex& rows) {
    size_t shown = 0;
    for (const ListRow& row : rows.frames) {
      const sorvanta::views::FrameView view = sorvanta::views::frameView(row.data, relationsRoot);
      shown += view.elements.size() + view.relations.size() + view.description.size();
    }
    gSink = gSink + shown;
  };
  result.viewsMs = medianMs(repetitions, [&] { viewEveryFrame(index); });
  // The first visit of each frame after start-up, on a freshly loaded frames document.
  TXpObjModel freshFrames;
  FramesIndex freshIndex;
  result.firstViewsMs = medianMs(
      repetitions,
      [&] {
        freshIndex = FramesIndex();
        load(freshFrames, framesPath);
        freshIndex = sorvanta::lexicon::fillFramesIndex(rootOf(freshFrames));
      },
      [&] { viewEveryFrame(freshIndex); });
  return result;
}

const char* const kLexUnitHeaders[] = {"Lexical Unit", "P",     "LU-ID",     "Anns",
                                       "Frame",        "FR-ID", "Definition"};
const char* const kFramesHeaders[] = {"Frame", "ID", "FEs", "LUs", "Anns"};

void printFullSize(const SizeResult& r, int repetitions) {
  std::printf(
      "\nrelease of %d frames: %d lexical units (%d annotated), %d relations, %d files, "
      "%.1f MB, written in %.2f s (then %.2f s to flush it to disk)\n",
      r.frames, r.lexUnits, r.annotatedUnits, r.relations, r.files, r.releaseMb,
      r.generateMs / 1000, r.syncMs / 1000);
  std::printf("frames.xml %.2f MB, frRelation.xml %.2f MB; times are medians of %d repetitions\n",
              r.framesMb, r.relationsMb, repetitions);

  std::printf("\n%-52s %10s %12s\n", "load", "ms", "vs pugixml");
  const auto loadRow = [&](const char* what, double ms) {
    sorvanta::bench::printRatioRow(what, ms, r.pugixmlMs);
  };
  loadRow("pugixml load_file, both documents (yardstick)", r.pugixmlMs);
  loadRow("ours: both documents + fillFramesIndex (target 3x)", r.oursMs);
  loadRow("  ours: frames.xml only", r.loadFramesMs);
  loadRow("  ours: frRelation.xml only", r.loadRelationsMs);
  loadRow("  ours: fillFramesIndex only", r.fillIndexMs);

  std::printf("\n%-30s %10s %12s %12s\n", "sort lexical units, column", "ms", "plain ms",
              "vs plain");
  for (size_t c = 0; c < r.lexUnitSortMs.size(); ++c) {
    char what[48];
    std::snprintf(what, sizeof what, "%zu %s (%d rows)", c, kLexUnitHeaders[c], r.lexUnits);
    std::printf("%-30s %10.2f %12.2f %11.2fx%s\n", what, r.lexUnitSortMs[c], r.lexUnitPlainMs[c],
                r.lexUnitSortMs[c] / r.lexUnitPlainMs[c],
                r.lexUnitSortMs[c] < 20 ? "" : "  OVER 20 ms");
  }
  std::printf("%-30s %10s %12s %12s\n", "sort frames, column", "ms", "plain ms", "vs plain");
  for (size_t c = 0; c < r.framesSortMs.size(); ++c) {
    char what[48];
    std::snprintf(what, sizeof what, "%zu %s (%d rows)", c, kFramesHeaders[c], r.frames);
    std::printf("%-30s %10.2f %12.2f %11.2fx\n", what, r.framesSortMs[c], r.framesPlainMs[c],
                r.framesSortMs[c] / r.framesPlainMs[c]);
  }
  std::printf("(rows copied before each sort, untimed; plain: std::stable_sort by byte order)\n");

  std::printf("\n%-52s %10s %12s\n", "every frame once", "total ms", "us/frame");
  const auto browseRow = [&](const char* what, double ms) {
    std::printf("%-52s %10.2f %12.2f\n", what, ms, 1000 * ms / std::max(r.frames, 1));
  };
  browseRow("relations index: first frameRelations call", r.relationsIndexMs);
  browseRow("frameRelations of every frame", r.relationsMs);
  browseRow("frameView of every frame, first visit after loading", r.firstViewsMs);
  browseRow("frameView of every frame, visited before", r.viewsMs);
  std::printf("(%zu relation entries over all frames)\n", r.relationEntries);
}

void printLinearity(const std::vector<SizeResult>& results) {
  std::printf("\nper-frame cost by release size (flat = linear total)\n");
  std::printf("%7s %8s %9s %10s %10s %10s %10s %10s %12s\n", "frames", "LUs", "load ms", "load",
              "rel.index", "relations", "view 1st", "view", "LU sort/1k");
  for (const SizeResult& r : results) {
    const double perFrame = 1000.0 / std::max(r.frames, 1);
    std::printf("%7d %8d %9.1f %10.2f %10.2f %10.2f %10.2f %10.2f %12.3f\n", r.frames, r.lexUnits,
                r.oursMs, r.oursMs * perFrame, r.relationsIndexMs * perFrame,
                r.relationsMs * perFrame, r.firstViewsMs * perFrame, r.viewsMs * perFrame,
                r.lexUnitSortMs[0] * 1000 / std::max(r.lexUnits, 1));
  }
  std::printf(
      "(us per frame: load = both documents + index, rel.index = building the relations index,\n"
      " relations = frameRelations, view = frameView; LU sort/1k: column 0, ms per 1,000 rows)\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = std::max(5, sorvanta::bench::intArgument(argc, argv, "--repetitions", 7));
  const int frames = sorvanta::bench::intArgument(argc, argv, "--frames", 1200);
  std::printf(
      "browse_bench: %d repetitions, %d frames (options --repetitions N (at least 5) "
      "--frames N)\n",
      repetitions, frames);
  try {
    std::vector<SizeResult> results;
    for (const int size : {frames / 4, frames / 2, frames}) {
      if (size > 0) results.push_back(measureRelease(size, repetitions));
    }
    printFullSize(results.back(), repetitions);
    printLinearity(results);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "browse_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
