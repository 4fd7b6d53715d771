// sorvanta graph | fe-lineage: the frame-relation graph as TSV, DOT, SVG or PNG, and the
// lineage of a frame element up the relations that map frame elements.
#include <algorithm>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "graph/FeLineage.h"
#include "graph/GraphExport.h"
#include "graph/RelationGraph.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

std::string knownTypesList() {
  std::string list;
  for (std::string_view type : graph::kRelationTypes) list.append(list.empty() ? "" : ", ").append(type);
  return list;
}

// The relation types of every --types value (names separated by commas), or all types when
// none was given; an unknown name is a UsageError.
graph::TypeSet parseTypes(const CLI::Option* option) {
  if (option->results().empty()) return graph::allTypes();
  graph::TypeSet types;
  for (const std::string& value : option->results()) {
    size_t begin = 0;
    while (begin <= value.size()) {
      const size_t end = std::min(value.find(',', begin), value.size());
      const std::string name = value.substr(begin, end - begin);
      begin = end + 1;
      if (name.empty()) continue;
      const std::optional<size_t> type = graph::relationTypeIndex(name);
      if (!type)
        throw UsageError{"unknown relation type '" + name + "' (known: " + knownTypesList() + ")"};
      types.set(*type);
    }
  }
  return types;
}

// The value of --depth: 1 when not given; a UsageError unless a number from 0.
int parseDepth(const CLI::Option* option) {
  if (option->results().empty()) return 1;
  const std::optional<int32_t> depth = text::tryStrToInt(option->results().back());
  if (!depth || *depth < 0) throw UsageError{"--depth needs a number from 0"};
  return *depth;
}

graph::Direction parseDirection(const std::optional<std::string>& name) {
  if (name == "up") return graph::Direction::Up;
  if (name == "down") return graph::Direction::Down;
  return graph::Direction::Both;
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

}  // namespace

const char* const kGraphDetails =
    "The neighbourhood of FRAME holds the edges walked from FRAME within N steps (depth 0:\n"
    "none); 'up' walks from a sub frame to its super frames, 'down' the other way, 'both'\n"
    "either way at every step. --all lists every edge of the chosen types and takes no\n"
    "--depth or --direction. TYPES are relation type names as the relations document spells\n"
    "them: Inheritance, Subframe, Using, See_also, ReFraming_Mapping, CoreSet, Excludes,\n"
    "Requires, Inchoative_of, Causative_of, Precedes, Perspective_on (default: all of them);\n"
    "--types may be given more than once.\n"
    "TSV: one edge per line, Type<TAB>Super frame<TAB>Sub frame, sorted by type, super and\n"
    "sub frame (UTF-8 byte order). DOT: edges from super to sub frame, one style per type,\n"
    "with a legend; SVG and PNG are drawn from it by Graphviz. A frame that a relation names\n"
    "but the frames document lacks is kept, drawn as missing, and warned about on stderr.\n"
    "Without --out the result goes to stdout. Exit status: 0 done, 1 unknown FRAME or\n"
    "unreadable release, 2 wrong command line.";

const char* const kFeLineageDetails =
    "One line per step, Relation<TAB>Frame<TAB>Frame element: the relation climbed and the\n"
    "super frame's element that FE maps to (fe-relation pairs), up to the top; nothing when\n"
    "FE maps to nothing. Where an element maps to several, the step taken is the first by\n"
    "relation (Inheritance, Perspective_on, Subframe), then frame name, then element name\n"
    "(UTF-8 byte order). The chain stops before an element it has passed. Exit status: 0\n"
    "done, 1 unknown FRAME or FE or unreadable release, 2 wrong command line.";

CommandRun declareGraph(CommandLine& line) {
  CLI::Option* allFlag = line.flag("--all");
  CLI::Option* depthOption = line.value("--depth", "a number from 0");
  CLI::Option* typesOption = line.value("--types", "relation type names separated by commas");
  CLI::Option* directionOption = line.choice("--direction", {"up", "down", "both"});
  CLI::Option* formatOption = line.choice("--format", {"tsv", "dot", "svg", "png"});
  CLI::Option* outOption = line.value("--out", "a file");
  line.check([&line, allFlag, depthOption, directionOption, typesOption] {
    if (!line.extras().empty()) throw UsageError{"unexpected argument '" + line.extras().front() + "'"};
    const bool all = allFlag->count() > 0;
    if (line.arguments().size() > 1)
      throw UsageError{"unexpected argument '" + line.arguments()[1] + "'"};
    if (all == !line.arguments().empty()) throw UsageError{"give either FRAME or --all"};
    if (all && (depthOption->count() > 0 || directionOption->count() > 0))
      throw UsageError{"--all takes no --depth or --direction"};
    parseDepth(depthOption);
    parseTypes(typesOption);
  });
  return [&line, allFlag, depthOption, typesOption, directionOption, formatOption,
          outOption](CliContext& context) {
    const graph::TypeSet types = parseTypes(typesOption);
    const graph::GraphFormat format =
        *graph::graphFormatNamed(CommandLine::last(formatOption).value_or("tsv"));
    ReleaseSession& release = context.release();
    if (!release.loadRelations(context.err)) return 1;
    const graph::RelationGraph relations(release.relationsRoot(),
                                         graph::documentFrameNames(release.index()));
    graph::GraphSelection selection;
    if (allFlag->count() > 0) {
      selection = graph::wholeGraphSelection(relations, types);
    } else {
      const std::optional<graph::FrameId> centre =
          documentFrame(relations, text::utf8ToWorking(line.arguments().front()), context);
      if (!centre) return 1;
      selection = graph::neighbourhoodSelection(
          relations, *centre,
          {parseDepth(depthOption), types, parseDirection(CommandLine::last(directionOption))});
    }
    for (const std::string& warning : graph::missingFrameWarnings(relations, selection.edges))
      context.err << "sorvanta: warning: " << warning << "\n";
    const std::optional<std::string> path = CommandLine::last(outOption);
    if (!path) {
      context.out << graph::graphBytes(relations, selection, format);
      return 0;
    }
    graph::saveGraph(relations, selection, format, *path);
    writeRecord(context.out, {"Written:", *path});
    return 0;
  };
}

CommandRun declareFeLineage(CommandLine& line) {
  line.check([&line] {
    if (!line.extras().empty()) throw UsageError{"unexpected argument '" + line.extras().front() + "'"};
    if (line.arguments().size() > 2)
      throw UsageError{"unexpected argument '" + line.arguments()[2] + "'"};
    if (line.arguments().size() < 2) throw UsageError{"expected FRAME and FE"};
  });
  return [&line](CliContext& context) {
    ReleaseSession& release = context.release();
    if (!release.loadRelations(context.err)) return 1;
    const graph::RelationGraph relations(release.relationsRoot(),
                                         graph::documentFrameNames(release.index()));
    const std::string frame = text::utf8ToWorking(line.arguments()[0]);
    const std::optional<graph::FrameId> start = documentFrame(relations, frame, context);
    if (!start) return 1;
    const std::string element = text::utf8ToWorking(line.arguments()[1]);
    const auto& rows = release.index().frames;
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const lexicon::ListRow& r) {
      return r.cell(lexicon::kFrameName) == frame;
    });
    const std::vector<std::string> elements =
        graph::frameElementNames(row == rows.end() ? nullptr : row->data);
    if (std::find(elements.begin(), elements.end(), element) == elements.end()) {
      context.err << "sorvanta: frame '" << line.arguments()[0]
                  << "' has no frame element named '" << text::workingToUtf8(element) << "'\n";
      return 1;
    }
    for (const graph::LineageStep& step : graph::feLineage(relations, *start, element))
      writeRecord(context.out, {graph::kRelationTypes[step.type], relations.frameName(step.frame),
                                step.element});
    return 0;
  };
}

}  // namespace sorvanta::cli
