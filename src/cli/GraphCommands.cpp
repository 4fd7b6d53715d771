// sorvanta graph | fe-lineage: the frame-relation graph as TSV, DOT, SVG or PNG, and the
// lineage of a frame element up the relations that map frame elements.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "graph/FeLineage.h"
#include "graph/GraphExport.h"
#include "graph/RelationGraph.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

// Parses the command's arguments with app; true when the command should run, false after
// printing its help. A command line that does not fit becomes a UsageError.
bool parseArguments(CLI::App& app, const CliContext& context) {
  std::vector<std::string> reversed(context.args.rbegin(), context.args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    context.out << app.help();
    return false;
  } catch (const CLI::ParseError& error) {
    throw UsageError{error.what()};
  }
  return true;
}

std::string knownTypesList() {
  std::string list;
  for (std::string_view type : graph::kRelationTypes) list.append(list.empty() ? "" : ", ").append(type);
  return list;
}

graph::TypeSet parseTypes(const std::vector<std::string>& names) {
  graph::TypeSet types;
  for (const std::string& name : names) {
    const std::optional<size_t> type = graph::relationTypeIndex(name);
    if (!type)
      throw UsageError{"unknown relation type '" + name + "' (known: " + knownTypesList() + ")"};
    types.set(*type);
  }
  return types;
}

graph::Direction parseDirection(const std::string& name) {
  if (name == "up") return graph::Direction::Up;
  if (name == "down") return graph::Direction::Down;
  return graph::Direction::Both;
}

// Opens the release with both documents; false after a message on err.
bool openRelease(ReleaseSession& release, const CliContext& context) {
  return release.open(context.dataFolder, context.err) && release.loadRelations(context.err);
}

// The frame of the frames document named name (working text), or none after a message.
std::optional<graph::FrameId> documentFrame(const graph::RelationGraph& relations,
                                            const std::string& name, const CliContext& context) {
  const std::optional<graph::FrameId> frame = relations.findFrame(name);
  if (frame && !relations.isMissing(*frame)) return frame;
  context.err << "sorvanta: no frame named '" << text::workingToUtf8(name)
              << "' in the frames document\n";
  return std::nullopt;
}

const char* const kGraphFooter =
    "\nThe neighbourhood of FRAME holds the edges walked from FRAME within N steps (depth 0:\n"
    "none); 'up' walks from a sub frame to its super frames, 'down' the other way, 'both'\n"
    "either way at every step. --all lists every edge of the chosen types and takes no\n"
    "--depth or --direction. TYPES are relation type names as the relations document spells\n"
    "them: Inheritance, Subframe, Using, See_also, ReFraming_Mapping, CoreSet, Excludes,\n"
    "Requires, Inchoative_of, Causative_of, Precedes, Perspective_on (default: all of them).\n"
    "TSV: one edge per line, Type<TAB>Super frame<TAB>Sub frame, sorted by type, super and\n"
    "sub frame (UTF-8 byte order). DOT: edges from super to sub frame, one style per type,\n"
    "with a legend; SVG and PNG are drawn from it by Graphviz. A frame that a relation names\n"
    "but the frames document lacks is kept, drawn as missing, and warned about on stderr.\n"
    "Without --out the result goes to stdout. Exit status: 0 done, 1 unknown FRAME or\n"
    "unreadable release, 2 wrong command line.\n";

}  // namespace

int runGraphCommand(CliContext& context) {
  CLI::App app{"The frame-relation graph: the neighbourhood of FRAME, or every edge.", "graph"};
  std::string frameName;
  bool all = false;
  int depth = 1;
  std::vector<std::string> typeNames;
  std::string direction = "both";
  std::string format = "tsv";
  std::string outFile;
  app.add_option("FRAME", frameName, "The frame at the centre (its name in the frames document)");
  app.add_flag("--all", all, "Every edge of the release instead of a neighbourhood");
  auto* depthOption = app.add_option("--depth", depth, "Steps from FRAME (default 1)")
                          ->check(CLI::NonNegativeNumber);
  app.add_option("--types", typeNames, "Relation types to walk, separated by commas")
      ->delimiter(',');
  auto* directionOption =
      app.add_option("--direction", direction, "up, down or both (default both)")
          ->check(CLI::IsMember({"up", "down", "both"}));
  app.add_option("--format", format, "tsv, dot, svg or png (default tsv)")
      ->check(CLI::IsMember({"tsv", "dot", "svg", "png"}));
  app.add_option("--out", outFile, "Write the result to FILE instead of stdout");
  app.footer(kGraphFooter);
  if (!parseArguments(app, context)) return 0;
  if (all == !frameName.empty()) throw UsageError{"give either FRAME or --all"};
  if (all && (depthOption->count() > 0 || directionOption->count() > 0))
    throw UsageError{"--all takes no --depth or --direction"};
  const graph::TypeSet types = typeNames.empty() ? graph::allTypes() : parseTypes(typeNames);
  const graph::GraphFormat graphFormat = *graph::graphFormatNamed(format);

  ReleaseSession release;
  if (!openRelease(release, context)) return 1;
  const graph::RelationGraph relations(release.relationsRoot(),
                                       graph::documentFrameNames(release.index()));
  graph::GraphSelection selection;
  if (all) {
    selection = graph::wholeGraphSelection(relations, types);
  } else {
    const std::optional<graph::FrameId> centre =
        documentFrame(relations, text::utf8ToWorking(frameName), context);
    if (!centre) return 1;
    selection = graph::neighbourhoodSelection(relations, *centre,
                                              {depth, types, parseDirection(direction)});
  }
  for (const std::string& warning : graph::missingFrameWarnings(relations, selection.edges))
    context.err << "sorvanta: warning: " << warning << "\n";
  if (outFile.empty()) {
    context.out << graph::graphBytes(relations, selection, graphFormat);
    return 0;
  }
  const std::string path = text::utf8ToWorking(outFile);
  graph::saveGraph(relations, selection, graphFormat, path);
  writeRecord(context.out, {"Written:", path});
  return 0;
}

int runFeLineageCommand(CliContext& context) {
  CLI::App app{"The lineage of a frame element up the Inheritance, Perspective_on and Subframe "
               "relations.",
               "fe-lineage"};
  std::string frameName;
  std::string elementName;
  app.add_option("FRAME", frameName, "The frame (its name in the frames document)")->required();
  app.add_option("FE", elementName, "One of the frame's frame elements")->required();
  app.footer(
      "\nOne line per step, Relation<TAB>Frame<TAB>Frame element: the relation climbed and the\n"
      "super frame's element that FE maps to (fe-relation pairs), up to the top; nothing when\n"
      "FE maps to nothing. Where an element maps to several, the step taken is the first by\n"
      "relation (Inheritance, Perspective_on, Subframe), then frame name, then element name\n"
      "(UTF-8 byte order). The chain stops before an element it has passed. Exit status: 0\n"
      "done, 1 unknown FRAME or FE or unreadable release, 2 wrong command line.\n");
  if (!parseArguments(app, context)) return 0;

  ReleaseSession release;
  if (!openRelease(release, context)) return 1;
  const graph::RelationGraph relations(release.relationsRoot(),
                                       graph::documentFrameNames(release.index()));
  const std::string frame = text::utf8ToWorking(frameName);
  const std::optional<graph::FrameId> start = documentFrame(relations, frame, context);
  if (!start) return 1;
  const std::string element = text::utf8ToWorking(elementName);
  const auto& rows = release.index().frames;
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const lexicon::ListRow& r) {
    return r.cell(lexicon::kFrameName) == frame;
  });
  const std::vector<std::string> elements =
      graph::frameElementNames(row == rows.end() ? nullptr : row->data);
  if (std::find(elements.begin(), elements.end(), element) == elements.end()) {
    context.err << "sorvanta: frame '" << frameName << "' has no frame element named '"
                << text::workingToUtf8(element) << "'\n";
    return 1;
  }
  for (const graph::LineageStep& step : graph::feLineage(relations, *start, element))
    writeRecord(context.out, {graph::kRelationTypes[step.type], relations.frameName(step.frame),
                              step.element});
  return 0;
}

}  // namespace sorvanta::cli
