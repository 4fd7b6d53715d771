// The commands that derive files from a release, at full size on a generated release: the
// evaluation sample over every frame, the frame files of 50 frames of that sample (with every
// core and with one job), the preposition subcorpora over the whole lexical-unit ID range, the
// other realizations of that preposition and the dictionaries. Each is timed in the same run
// as its yardstick: reading the files the command opens (the same sequence of opens) into
// memory without parsing, page cache warm for both, and against the parse floor: pugixml
// parsing every XML document the command opens, each once, in the order first opened. A plain
// read moves with the machine's disk cache; a ratio to another parser does not, so the targets
// are set against the floor.
// The peak memory of `sorvanta sample --provide-fes` is read from the rusage of the CLI run as
// a child process, beside the size of its largest output. The relation lines of the dictionaries are also timed at three release
// sizes, to show their cost per frame stays flat.
//
// Freed memory stays in the process as in the programs (xml::retainFreedMemory): on this
// virtual machine a page the kernel hands out afresh costs so much that the commands, which
// build and drop documents of many megabytes, would mostly measure that. The first run of each command is
// printed beside the medians: for the first command measured, that is a run on fresh pages.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "xml/HeapRetention.h"
#include "BenchSupport.h"
#include "derived/Dictionaries.h"
#include "derived/FrameFiles.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "derived/TarkoEntries.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "samples/TrainingTestSets.h"
#include "text/TextLines.h"
#include "xml/XpObjModel.h"

namespace {

namespace fs = std::filesystem;
namespace tools = sorvanta::tools;
namespace xml = sorvanta::xml;
using sorvanta::bench::Clock;
using sorvanta::bench::gSink;
using sorvanta::bench::msSince;
using sorvanta::bench::TempFolder;

// A generated release on disk, with its frames document loaded and indexed.
struct Release {
  explicit Release(int frames) : folder("sorvanta-derived-bench") {
    const auto start = Clock::now();
    model = tools::generateReleaseModel({frames, 1, tools::Encoding::Utf8});
    summary = tools::writeReleaseFolder(model, folder.path());
    generateMs = msSince(start);
    // On disk before anything is timed, so write-back does not compete.
    sync();
    dataFolder = folder.folder();
    if (!framesDocument.LoadDataSource(sorvanta::lexicon::framesDocumentPath(dataFolder)))
      throw std::runtime_error("cannot load the generated frames document");
    index = sorvanta::lexicon::fillFramesIndex(framesRoot());
  }
  const xml::TXpNode* framesRoot() { return framesDocument.Document()->docGetDocumentElement(); }

  TempFolder folder;
  tools::ReleaseModel model;
  tools::ReleaseSummary summary;
  double generateMs = 0;
  std::string dataFolder;
  xml::TXpObjModel framesDocument;
  sorvanta::lexicon::FramesIndex index;
};

// One command against its yardstick.
struct Comparison {
  std::string command;
  std::string detail;  // what the command did, for the reader
  double oursMs = 0;
  double yardstickMs = 0;
  double floorMs = 0;  // pugixml parsing each XML document opened, once
  size_t floorFiles = 0;
  double firstMs = 0;  // ours, the first run of the process
  size_t files = 0;    // opens of the yardstick
  size_t bytes = 0;
  double target = 0;  // the ratio to the parse floor (or the read) to stay within; 0 for none
  bool targetOnRead = false;
};

// The XML documents of paths, each once, in the order first named.
std::vector<std::string> distinctDocuments(const std::vector<std::string>& paths) {
  std::vector<std::string> documents;
  std::unordered_set<std::string> seen;
  for (const std::string& path : paths)
    if (path.ends_with(".xml") && seen.insert(path).second) documents.push_back(path);
  return documents;
}

// The parse floor: pugixml parsing each of paths from its file, in turn.
void parseFiles(const std::vector<std::string>& paths) {
  size_t nodes = 0;
  for (const std::string& path : paths) {
    pugi::xml_document document;
    if (document.load_file(path.c_str()).status != pugi::status_ok)
      throw std::runtime_error("pugixml cannot parse " + path);
    nodes += document.first_child() ? 1 : 0;
  }
  gSink = gSink + nodes;
}

// Times ours, the plain read of paths and the parse floor of their distinct XML documents in
// turn, repetitions times after one untimed pass of each; with no repetitions, runs ours once
// untimed and leaves the times 0.
Comparison compare(std::string command, int repetitions, const std::function<void()>& ours,
                   const std::vector<std::string>& paths, double target) {
  Comparison result;
  result.command = std::move(command);
  result.target = target;
  result.files = paths.size();
  const std::vector<std::string> documents = distinctDocuments(paths);
  result.floorFiles = documents.size();
  if (repetitions == 0) {
    ours();
    return result;
  }
  std::vector<double> first;
  const std::vector<double> medians = sorvanta::bench::interleavedMedianMs(
      repetitions,
      {ours, [&] { result.bytes = sorvanta::bench::readFiles(paths); },
       [&] { parseFiles(documents); }},
      &first);
  result.firstMs = first[0];
  result.oursMs = medians[0];
  result.yardstickMs = medians[1];
  result.floorMs = medians[2];
  return result;
}

std::string luPath(const Release& release, int id, bool subcorpus) {
  const std::string text = std::to_string(id);
  return subcorpus ? sorvanta::lexicon::subcorpusDocumentPath(release.dataFolder, text)
                   : sorvanta::lexicon::annotationDocumentPath(release.dataFolder, text);
}

// ---- Evaluation samples ----------------------------------------------------------------------

// Every frame (NumFrames 0) over the whole annotation range; both sets, answers, messages.
Comparison measureSample(Release& release, int repetitions, bool provideFes, unsigned jobs = 0) {
  sorvanta::samples::SampleRequest request;
  request.low = 0;
  request.high = 32767;  // the spinner's top
  request.numFramesText = "0";
  request.numSentsText = "5";
  request.provideFes = provideFes;
  request.seed = 20240611;
  request.jobs = jobs;
  xml::TXpObjModel training, test, lexUnit;
  sorvanta::samples::SampleResult result;
  const auto ours = [&] {
    result =
        sorvanta::samples::selectSample(request, release.index.frames, release.framesRoot(),
                                        release.dataFolder, {training, test, lexUnit},
                                        sorvanta::text::noProgress());
  };
  // The annotation files of every annotated lexical unit, each read once.
  std::vector<std::string> paths;
  for (const tools::FrameModel& frame : release.model.frames)
    for (const tools::LexUnitModel& lu : frame.lexUnits)
      if (lu.annotated > 0) paths.push_back(luPath(release, lu.id, false));
  const std::string jobsText = jobs == 0 ? "every core" : std::to_string(jobs) + " job";
  Comparison comparison =
      compare((provideFes ? "sample: every frame, 5 sentences, with FEs, "
                          : "sample: every frame, 5 sentences, ") +
                  jobsText,
              repetitions, ours, paths, provideFes ? 0 : jobs == 1 ? 1.5 : 0.9);
  if (!result.outcome.done()) throw std::runtime_error("sample refused");
  char detail[200];
  std::snprintf(detail, sizeof detail,
                "%d frames done, %lld candidate sentences in sufficient frames, %zu message "
                "lines; test set %.1f MB",
                result.framesDone, static_cast<long long>(result.sentenceTotal),
                result.messages.size(),
                static_cast<double>(
                    fs::file_size(release.dataFolder + std::string(sorvanta::samples::kTestFile))) /
                    1e6);
  comparison.detail = detail;
  return comparison;
}

// The training set written by the sample, loaded back; the frame files of its first frames,
// their documents read on `jobs` worker threads (0: every core).
Comparison measureFrameFiles(Release& release, int repetitions, int frames, unsigned jobs = 0) {
  const std::string trainingPath =
      release.dataFolder + std::string(sorvanta::samples::kTrainingFile);
  xml::TXpObjModel training, test, lexUnit;
  std::vector<std::string> checked;
  sorvanta::text::Outcome outcome;
  const auto ours = [&] {
    const sorvanta::samples::TrainingSetLoad load =
        sorvanta::samples::loadTrainingSet(training, release.dataFolder);
    if (!load.loaded) throw std::runtime_error(load.message);
    checked.assign(
        load.frameNames.begin(),
        load.frameNames.begin() + std::min<std::ptrdiff_t>(frames, std::ssize(load.frameNames)));
    outcome = sorvanta::derived::createFrameFiles(checked, release.dataFolder,
                                                  {training, test, lexUnit},
                                                  sorvanta::text::noProgress(), jobs);
  };
  ours();
  if (!outcome.done()) throw std::runtime_error(outcome.notices.front().text);
  // The opens of the command: the training set, then per frame the annotation file of every
  // run of instances of one lexical unit.
  std::vector<std::string> paths = {trainingPath};
  size_t instances = 0;
  const xml::TXpNode* root = training.Document()->docGetDocumentElement();
  for (const std::string& frame : checked) {
    std::string current;
    for (const xml::TXpNode* instance :
         root->SelectNodes("frame[@name='" + frame + "']/instance")) {
      ++instances;
      const std::string luId = xml::attributeText(instance, "luID");
      if (luId == current) continue;
      current = luId;
      paths.push_back(sorvanta::lexicon::annotationDocumentPath(release.dataFolder, luId));
    }
  }
  char command[80];
  std::snprintf(command, sizeof command, "frame files: %zu frames%s (with loading the set)",
                checked.size(), jobs == 1 ? ", 1 job" : "");
  Comparison comparison = compare(command, repetitions, ours, paths, jobs == 1 ? 0 : 10);
  comparison.targetOnRead = true;
  char detail[160];
  std::snprintf(detail, sizeof detail, "%zu training instances; set of %.2f MB", instances,
                static_cast<double>(fs::file_size(trainingPath)) / 1e6);
  comparison.detail = detail;
  return comparison;
}

// ---- Preposition study -----------------------------------------------------------------------

Comparison measureSubcorpora(Release& release, int repetitions, const std::string& preposition) {
  int lowest = 0, highest = 0;
  std::vector<std::string> paths;
  for (const tools::FrameModel& frame : release.model.frames) {
    for (const tools::LexUnitModel& lu : frame.lexUnits) {
      lowest = lowest == 0 ? lu.id : std::min(lowest, lu.id);
      highest = std::max(highest, lu.id);
      if (lu.annotated > 0) paths.push_back(luPath(release, lu.id, true));
    }
  }
  // Generated IDs grow through the document, so the paths are in the order of the range.
  const sorvanta::derived::SubcorporaRequest request{
      std::to_string(lowest), std::to_string(highest), preposition, release.dataFolder};
  xml::TXpObjModel lexUnit;
  sorvanta::derived::SubcorporaResult result;
  const auto ours = [&] {
    result = sorvanta::derived::selectSubcorpora(request, lexUnit, sorvanta::text::noProgress());
  };
  Comparison comparison = compare("subcorpora: IDs " + request.lowText + " to " + request.highText +
                                      ", \"" + preposition + "\"",
                                  repetitions, ours, paths, 1.3);
  if (!result.outcome.done() || !result.outcome.notices.empty())
    throw std::runtime_error(result.outcome.notices.front().text);
  if (static_cast<size_t>(result.documentsRead) != paths.size())
    throw std::runtime_error("subcorpora read another number of documents than expected");
  if (result.sentencesSelected == 0)
    throw std::runtime_error("no sentence selected for \"" + preposition + "\"");
  char detail[160];
  std::snprintf(detail, sizeof detail, "%d documents, %d sentences selected, %d empty subcorpora",
                result.documentsRead, result.sentencesSelected, result.emptySubcorpora);
  comparison.detail = detail;
  return comparison;
}

std::vector<std::string> tabFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (;;) {
    const size_t tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab - from));
    if (tab == std::string::npos) return fields;
    from = tab + 1;
  }
}

// Needs the list the subcorpora command wrote.
Comparison measureRealizations(Release& release, int repetitions, const std::string& preposition) {
  xml::TXpObjModel lexUnit;
  sorvanta::derived::RealizationsResult result;
  const auto ours = [&] {
    result = sorvanta::derived::findOtherRealizations(preposition, release.dataFolder,
                                                      release.framesRoot(), lexUnit,
                                                      sorvanta::text::noProgress());
  };
  // The opens of the command: the list, then for every line that starts a pass (not an empty
  // subcorpus, not the frame and frame element of the pass before) the subcorpus documents of
  // the frame's annotated lexical units.
  std::map<std::string, std::vector<int>, std::less<>> annotatedOf;
  for (const tools::FrameModel& frame : release.model.frames)
    for (const tools::LexUnitModel& lu : frame.lexUnits)
      if (lu.annotated > 0) annotatedOf[frame.name].push_back(lu.id);
  const std::string listPath =
      sorvanta::derived::prepositionListPath(release.dataFolder, preposition);
  sorvanta::text::TextLines lines;
  if (!lines.loadFromFile(listPath)) throw std::runtime_error("cannot read " + listPath);
  std::vector<std::string> paths = {listPath};
  std::string previousFrame, previousFe;
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::vector<std::string> fields = tabFields(lines[k]);
    if (fields.size() < 2 || fields[1] == sorvanta::derived::kNoInstances) continue;
    if (fields[0] == previousFrame && fields[1] == previousFe) continue;
    previousFrame = fields[0];
    previousFe = fields[1];
    if (auto it = annotatedOf.find(fields[0]); it != annotatedOf.end())
      for (int id : it->second) paths.push_back(luPath(release, id, true));
  }
  Comparison comparison =
      compare("realizations: \"" + preposition + "\"", repetitions, ours, paths, 1.3);
  if (!result.outcome.done()) throw std::runtime_error(result.outcome.notices.front().text);
  if (result.documentsRead + 1 != paths.size())
    throw std::runtime_error("realizations read another number of documents than expected");
  char detail[160];
  std::snprintf(detail, sizeof detail,
                "%zu list lines, %zu passes, %zu documents used, %zu parsed, %zu realization lines",
                result.linesRead, result.framesWorked, result.documentsRead,
                result.documentsParsed, result.realizationLines);
  comparison.detail = detail;
  return comparison;
}

// ---- Dictionaries ---------------------------------------------------------------------------

void load(xml::TXpObjModel& model, const std::string& path) {
  if (!model.LoadDataSource(path)) throw std::runtime_error("cannot load " + path);
}

const xml::TXpNode* rootOf(xml::TXpObjModel& model) {
  return model.Document()->docGetDocumentElement();
}

// The whole command: both documents loaded, then the dictionaries written.
Comparison measureDictionaries(Release& release, int repetitions) {
  const std::string framesPath = sorvanta::lexicon::framesDocumentPath(release.dataFolder);
  const std::string relationsPath = sorvanta::lexicon::relationsDocumentPath(release.dataFolder);
  xml::TXpObjModel frames, relations, dictionary, lexEntry;
  sorvanta::derived::DictionaryResult result;
  const auto ours = [&] {
    load(frames, framesPath);
    load(relations, relationsPath);
    result =
        sorvanta::derived::createDictionaries(rootOf(frames), rootOf(relations), release.dataFolder,
                                              false, {dictionary, lexEntry},
                                              sorvanta::text::noProgress());
  };
  // The command tries the lexical-entry file of every lexical unit; those of the annotated
  // ones exist.
  std::vector<std::string> paths = {framesPath, relationsPath};
  for (const tools::FrameModel& frame : release.model.frames)
    for (const tools::LexUnitModel& lu : frame.lexUnits)
      if (lu.annotated > 0)
        paths.push_back(
            sorvanta::lexicon::lexicalEntryDocumentPath(release.dataFolder, std::to_string(lu.id)));
  Comparison comparison =
      compare("dictionaries (with loading both documents)", repetitions, ours, paths, 1.3);
  if (result.frames != release.summary.frames)
    throw std::runtime_error("the dictionaries hold another number of frames than the release");
  char detail[200];
  std::snprintf(detail, sizeof detail,
                "%d frames, %d lexeme entries (%d without a lexical-entry file); frames.dmp "
                "%.1f MB",
                result.frames, result.lexemeEntries, result.missingLexEntries,
                static_cast<double>(fs::file_size(
                    release.dataFolder + std::string(sorvanta::derived::kFramesDumpFile))) /
                    1e6);
  comparison.detail = detail;
  return comparison;
}

// Per-frame costs of the relation lines at one release size.
struct RelationCost {
  int frames = 0;
  int relations = 0;
  double frameLinesMs = 0;  // AddFrameRelationLines of every frame, the index built first
  double entriesMs = 0;     // AddRelationEntries
  double framesOnlyMs = 0;  // the frames-only dictionaries, both documents loaded
  size_t lines = 0;
};

RelationCost measureRelationLines(const tools::ReleaseModel& model, int repetitions) {
  TempFolder folder("sorvanta-derived-bench-relations");
  const std::string dataFolder = folder.folder();
  fs::create_directories(folder.path() / "frXML");
  const std::string framesPath = sorvanta::lexicon::framesDocumentPath(dataFolder);
  const std::string relationsPath = sorvanta::lexicon::relationsDocumentPath(dataFolder);
  for (const auto& [path, bytes] :
       {std::pair{framesPath, tools::renderFramesDocument(model)},
        std::pair{relationsPath, tools::renderRelationsDocument(model)}}) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file == nullptr || std::fclose(file) != 0 || !written)
      throw std::runtime_error("cannot write " + path);
  }
  RelationCost cost;
  cost.frames = static_cast<int>(model.frames.size());
  cost.relations = static_cast<int>(model.relations.size());
  xml::TXpObjModel frames, relations;
  load(frames, framesPath);
  std::vector<std::string> names;
  for (const xml::TXpNode* frame : rootOf(frames)->SelectNodes("//frame"))
    names.push_back(xml::attributeText(frame, "name"));
  // A fresh relations document before each run, so every run builds the index it keeps.
  cost.frameLinesMs = sorvanta::bench::medianMs(
      repetitions, [&] { load(relations, relationsPath); },
      [&] {
        sorvanta::text::TextLines lines;
        for (const std::string& name : names)
          sorvanta::derived::AddFrameRelationLines(lines, rootOf(relations), name);
        cost.lines = lines.size();
      });
  cost.entriesMs = sorvanta::bench::medianMs(repetitions, [&] {
    sorvanta::text::TextLines lines;
    sorvanta::derived::AddRelationEntries(lines, rootOf(relations));
    gSink = gSink + lines.size();
  });
  xml::TXpObjModel dictionary, lexEntry;
  cost.framesOnlyMs = sorvanta::bench::medianMs(repetitions, [&] {
    load(frames, framesPath);
    load(relations, relationsPath);
    sorvanta::derived::createDictionaries(rootOf(frames), rootOf(relations), dataFolder, true,
                                          {dictionary, lexEntry}, sorvanta::text::noProgress());
  });
  return cost;
}

void printRelationCosts(const std::vector<RelationCost>& costs) {
  std::printf("\nrelation lines: us per frame by release size (flat = linear total)\n");
  std::printf("%7s %10s %12s %14s %12s %16s\n", "frames", "relations", "lines", "frame lines",
              "entries", "frames-only cmd");
  for (const RelationCost& c : costs) {
    const double perFrame = 1000.0 / std::max(c.frames, 1);
    std::printf("%7d %10d %12zu %14.2f %12.2f %16.2f\n", c.frames, c.relations, c.lines,
                c.frameLinesMs * perFrame, c.entriesMs * perFrame, c.framesOnlyMs * perFrame);
  }
  std::printf(
      "(frame lines: AddFrameRelationLines of every frame on a freshly loaded relations document, "
      "its index built in the run; entries: AddRelationEntries; frames-only cmd: both documents "
      "loaded and the frames-only dictionaries written)\n");
}

// ---- Report ----------------------------------------------------------------------------------

void print(const std::vector<Comparison>& rows, int repetitions) {
  std::printf("\n%-50s %9s %8s %8s %8s %8s %9s %6s %7s  %s\n", "command", "ours ms", "read ms",
              "/read", "floor ms", "/floor", "1st run", "files", "MB", "target");
  for (const Comparison& row : rows) {
    const double ratio = row.oursMs / row.yardstickMs;
    const double floorRatio = row.floorMs > 0 ? row.oursMs / row.floorMs : 0;
    char target[48] = "";
    if (row.target > 0) {
      const double measured = row.targetOnRead ? ratio : floorRatio;
      std::snprintf(target, sizeof target, "<= %gx %s: %s", row.target,
                    row.targetOnRead ? "read" : "floor", measured <= row.target ? "ok" : "OVER");
    }
    std::printf("%-50s %9.1f %8.1f %7.2fx %8.1f %7.2fx %9.1f %6zu %7.1f  %s\n",
                row.command.c_str(), row.oursMs, row.yardstickMs, ratio, row.floorMs, floorRatio,
                row.firstMs, row.files, static_cast<double>(row.bytes) / 1e6, target);
    if (!row.detail.empty()) std::printf("  (%s)\n", row.detail.c_str());
  }
  std::printf(
      "(ours, read and floor: medians of %d runs, taken in turn after one untimed run of each; "
      "read: the files the command opens, in the same sequence, read whole into memory without "
      "parsing; floor: pugixml parsing each XML document the command opens, once, in the order "
      "first opened; the sample reads each annotation file once; 1st run: the untimed first run "
      "of ours, on the pages earlier commands left)\n",
      repetitions);
}

// ---- Peak memory ------------------------------------------------------------------------------

// Runs the CLI (built beside the benchmark) on the release as a child process and returns its
// peak resident memory in bytes; its output goes to /dev/null.
long long childPeakBytes(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot run " + arguments[0]);
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(arguments[0] + " " + arguments[3] + " failed");
  return static_cast<long long>(usage.ru_maxrss) * 1024;
}

void printSamplePeak(const Release& release, const std::vector<std::string>& extra) {
  std::vector<std::string> arguments = {SORVANTA_CLI_PATH, "--data", release.dataFolder,
                                        "sample", "--low", "0", "--high", "32767", "--frames",
                                        "0", "--sentences", "5", "--provide-fes", "--seed",
                                        "20240611"};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  std::string shown = "sorvanta sample --provide-fes";
  for (const std::string& argument : extra) shown += " " + argument;
  const long long peak = childPeakBytes(arguments);
  uintmax_t largest = 0;
  for (std::string_view name : {sorvanta::samples::kTrainingFile, sorvanta::samples::kTestFile,
                                sorvanta::samples::kTrainingAnswersFile,
                                sorvanta::samples::kTestAnswersFile})
    largest = std::max(largest, fs::file_size(release.dataFolder + std::string(name)));
  const double ratio = static_cast<double>(peak) / static_cast<double>(largest);
  std::printf("peak memory of %s: %.1f MB, %.2fx its largest output (%.1f MB)  <= 2x: %s\n",
              shown.c_str(), static_cast<double>(peak) / 1e6, ratio,
              static_cast<double>(largest) / 1e6, ratio <= 2 ? "ok" : "OVER");
}

std::string stringArgument(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string_view(argv[i]) == name) return argv[i + 1];
  return fallback;
}

bool flagArgument(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == name) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = std::max(3, sorvanta::bench::intArgument(argc, argv, "--repetitions", 7));
  const int frames = sorvanta::bench::intArgument(argc, argv, "--frames", 1200);
  const int frameFiles = sorvanta::bench::intArgument(argc, argv, "--frame-files", 50);
  const std::string preposition = stringArgument(argc, argv, "--preposition", "with");
  const std::string only = stringArgument(argc, argv, "--only", "");
  std::printf(
      "derived_bench: %d repetitions, %d frames (options --repetitions N (at least 3) --frames N "
      "--frame-files N --preposition P --only "
      "sample|frame-files|subcorpora|realizations|dictionaries|relations --default-allocator)\n",
      repetitions, frames);
  std::fflush(stdout);
  // Freed blocks of any size stay in the heap for reuse (see the top of the file), unless the
  // allocator's own defaults are asked for.
  const bool defaultAllocator = flagArgument(argc, argv, "--default-allocator");
  if (!defaultAllocator) sorvanta::xml::retainFreedMemory();
  try {
    Release release(frames);
    const tools::ReleaseSummary& s = release.summary;
    std::printf(
        "release of %d frames: %d lexical units (%d annotated), %d relations, %d files, "
        "%.1f MB, written in %.2f s; %s\n",
        s.frames, s.lexUnits, s.annotatedUnits, s.relations, s.files,
        static_cast<double>(s.bytes) / 1e6, release.generateMs / 1000,
        defaultAllocator ? "the allocator's defaults" : "freed memory kept in the process");
    std::fflush(stdout);
    // Frame files need the sample's training set, realizations the subcorpora's list: with
    // --only, those run once untimed.
    const auto wanted = [&](std::string_view name) { return only.empty() || only == name; };
    std::vector<Comparison> rows;
    if (wanted("sample") || wanted("frame-files"))
      rows.push_back(measureSample(release, wanted("sample") ? repetitions : 0, false));
    if (wanted("sample")) rows.push_back(measureSample(release, repetitions, false, 1));
    if (wanted("sample")) rows.push_back(measureSample(release, repetitions, true));
    if (wanted("frame-files")) rows.push_back(measureFrameFiles(release, repetitions, frameFiles));
    if (wanted("frame-files"))
      rows.push_back(measureFrameFiles(release, repetitions, frameFiles, 1));
    if (wanted("subcorpora") || wanted("realizations"))
      rows.push_back(
          measureSubcorpora(release, wanted("subcorpora") ? repetitions : 0, preposition));
    if (wanted("realizations"))
      rows.push_back(measureRealizations(release, repetitions, preposition));
    if (wanted("dictionaries")) rows.push_back(measureDictionaries(release, repetitions));
    std::erase_if(rows, [](const Comparison& row) { return row.yardstickMs == 0; });
    if (!rows.empty()) print(rows, repetitions);
    if (wanted("sample")) printSamplePeak(release, {});

    if (wanted("relations")) {
      std::vector<RelationCost> costs;
      for (const int size : {frames / 4, frames / 2}) {
        if (size > 0)
          costs.push_back(measureRelationLines(
              tools::generateReleaseModel({size, 1, tools::Encoding::Utf8}), repetitions));
      }
      costs.push_back(measureRelationLines(release.model, repetitions));
      printRelationCosts(costs);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "derived_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
