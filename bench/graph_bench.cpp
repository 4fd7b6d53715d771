// The frame-relation graph on a generated full-size release (1,200 frames by default):
// building the graph, a depth-2 neighbourhood computed, laid out by Graphviz and shown in the
// "Relations Graph" window (offscreen), and the whole graph as TSV and SVG through the
// command line in process (loading the release included). Yardstick in the same run: pugixml
// parsing the same relations document.
//
//   graph_bench [--frames N] [--repetitions R]
#include <QApplication>
#include <QSpinBox>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "cli/Cli.h"
#include "graph/GraphExport.h"
#include "graph/GraphText.h"
#include "graph/GraphvizLayout.h"
#include "graph/RelationGraph.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "releasegen/ReleaseGenerator.h"
#include "shell/RelationsGraphWindow.h"
#include "xml/XpObjModel.h"

namespace {

using sorvanta::bench::gSink;
using sorvanta::bench::medianMs;
using sorvanta::bench::printRatioRow;
using sorvanta::bench::TempFolder;
namespace graph = sorvanta::graph;

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
    throw std::runtime_error("cannot write " + path.string());
  std::fclose(file);
}

// Runs the command line in process; its stdout, or an exception when it fails.
std::string runCommand(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  if (sorvanta::cli::runCli(args, out, err) != 0)
    throw std::runtime_error("command failed: " + err.str());
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int frames = sorvanta::bench::intArgument(argc, argv, "--frames", 1200);
  const int repetitions = sorvanta::bench::intArgument(argc, argv, "--repetitions", 15);

  TempFolder release("graph-bench");
  const auto model = sorvanta::tools::generateReleaseModel({frames, 1});
  std::filesystem::create_directories(release.path() / "frXML");
  writeFile(release.path() / "frXML/frames.xml", sorvanta::tools::renderFramesDocument(model));
  const std::string relationsPath = sorvanta::lexicon::relationsDocumentPath(release.folder());
  writeFile(relationsPath, sorvanta::tools::renderRelationsDocument(model));

  sorvanta::xml::TXpObjModel framesDoc, relationsDoc;
  if (!framesDoc.LoadDataSource(sorvanta::lexicon::framesDocumentPath(release.folder())) ||
      !relationsDoc.LoadDataSource(relationsPath))
    throw std::runtime_error("cannot load the generated release");
  const auto* relationsRoot = relationsDoc.Document()->docGetDocumentElement();
  const auto names = graph::documentFrameNames(
      sorvanta::lexicon::fillFramesIndex(framesDoc.Document()->docGetDocumentElement()));

  // Yardstick: another parser reading the relations document.
  const double pugixmlMs = medianMs(repetitions, [&] {
    pugi::xml_document doc;
    if (!doc.load_file(relationsPath.c_str())) throw std::runtime_error("pugixml failed");
    gSink = gSink + static_cast<size_t>(doc.first_child().empty() ? 0 : 1);
  });
  const double buildMs = medianMs(repetitions, [&] {
    graph::RelationGraph built(relationsRoot, names);
    gSink = gSink + built.edges().size();
  });
  auto relations = std::make_shared<const graph::RelationGraph>(relationsRoot, names);

  // The typical frame (median depth-2 neighbourhood) and the one with the largest.
  std::vector<std::pair<size_t, graph::FrameId>> sizes;
  for (graph::FrameId frame = 0; frame < names.size(); ++frame)
    sizes.emplace_back(graph::neighbourhood(*relations, frame, {2}).size(), frame);
  std::sort(sizes.begin(), sizes.end());
  const auto typical = sizes[sizes.size() / 2];
  const auto largest = sizes.back();

  auto computeAndLayOut = [&](graph::FrameId frame) {
    const graph::GraphSelection selection = graph::neighbourhoodSelection(*relations, frame, {2});
    gSink = gSink + graph::layoutDot(graph::graphDot(*relations, selection, {false})).nodes.size();
  };
  sorvanta::shell::RelationsGraphWindow window;
  window.setGraph(relations);
  window.show();
  window.DepthSpin->setValue(2);
  auto shown = [&](graph::FrameId frame) {
    window.showFrame(relations->frameName(frame));
    QApplication::processEvents();
    gSink = gSink + window.layout().nodes.size();
  };

  std::printf("graph_bench: %d frames, %zu edges, frRelation.xml %.2f MB; medians of %d runs\n",
              frames, relations->edges().size(),
              static_cast<double>(std::filesystem::file_size(relationsPath)) / 1e6, repetitions);
  std::printf("%-52s %10s %12s\n", "", "ms", "vs pugixml");
  printRatioRow("pugixml parse of frRelation.xml (yardstick)", pugixmlMs, pugixmlMs);
  printRatioRow("graph built from the loaded relations document", buildMs, pugixmlMs);
  for (const auto& [edges, frame] : {typical, largest}) {
    char label[96];
    std::snprintf(label, sizeof label, "depth 2, %zu edges: computed + laid out", edges);
    printRatioRow(label, medianMs(repetitions, [&] { computeAndLayOut(frame); }), pugixmlMs);
    std::snprintf(label, sizeof label, "depth 2, %zu edges: + shown in the window", edges);
    printRatioRow(label, medianMs(repetitions, [&] { shown(frame); }), pugixmlMs);
  }
  // What every command pays before its own work: the two documents loaded, the index filled.
  printRatioRow("release loaded (frames.xml + index, frRelation.xml)", medianMs(repetitions, [&] {
                  sorvanta::xml::TXpObjModel f, r;
                  if (!f.LoadDataSource(sorvanta::lexicon::framesDocumentPath(release.folder())) ||
                      !r.LoadDataSource(relationsPath))
                    throw std::runtime_error("cannot load");
                  gSink = gSink + sorvanta::lexicon::fillFramesIndex(
                                      f.Document()->docGetDocumentElement()).frames.size();
                }),
                pugixmlMs);
  const std::vector<std::string> all = {"--data", release.folder(), "graph", "--all"};
  std::vector<std::string> tsv = all, svg = all;
  svg.insert(svg.end(), {"--format", "svg"});
  printRatioRow("sorvanta graph --all --format tsv (release loaded)",
                medianMs(repetitions, [&] { gSink = gSink + runCommand(tsv).size(); }), pugixmlMs);
  printRatioRow("sorvanta graph --all --format svg (release loaded)",
                medianMs(3, [&] { gSink = gSink + runCommand(svg).size(); }), pugixmlMs);
  std::printf("targets: depth 2 shown <= 100 ms, --all svg <= 15000 ms, --all tsv <= 100 ms\n");
  return 0;
}
