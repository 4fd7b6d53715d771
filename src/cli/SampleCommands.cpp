// sorvanta sample | frame-files: the evaluation sample and the frame files built from it.
#include <algorithm>
#include <ctime>
#include <memory>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "derived/FrameFiles.h"
#include "exports/Manifest.h"
#include "lexicon/DataFolder.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "samples/TrainingTestSets.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

// A spinner position: an integer within the 16-bit range the spinners hold.
int spinnerValue(const CLI::Option* option) {
  const std::optional<int32_t> number = text::tryStrToInt(option->results().back());
  if (!number || *number < -32768 || *number > 32767)
    throw UsageError{option->get_name() + " needs an integer from -32768 to 32767"};
  return *number;
}

uint32_t seedValue(const std::string& value) {
  uint64_t seed = 0;
  if (value.empty() || value.size() > 10)
    throw UsageError{"--seed needs a number from 0 to 4294967295"};
  for (char c : value) {
    if (c < '0' || c > '9') throw UsageError{"--seed needs a number from 0 to 4294967295"};
    seed = seed * 10 + static_cast<uint64_t>(c - '0');
  }
  if (seed > UINT32_MAX) throw UsageError{"--seed needs a number from 0 to 4294967295"};
  return static_cast<uint32_t>(seed);
}

// The manifest of the five sample files: what they were drawn from and with which values.
int writeSampleManifest(CliContext& context, const samples::SampleRequest& request,
                        const samples::SampleResult& result, const std::string& dataFolder,
                        const std::string& file) {
  exports::DataSetManifest manifest;
  manifest.releaseFolder = text::workingToUtf8(dataFolder);
  while (manifest.releaseFolder.size() > 1 && manifest.releaseFolder.back() == '/') manifest.releaseFolder.pop_back();
  manifest.outputFolder = manifest.releaseFolder;
  manifest.commandLine = {"sorvanta"};
  manifest.commandLine.insert(manifest.commandLine.end(), context.commandLine.begin(),
                              context.commandLine.end());
  manifest.seed = request.seed;
  manifest.parameters = {{"low", request.low},
                         {"high", request.high},
                         {"frames", text::workingToUtf8(request.numFramesText)},
                         {"sentences", text::workingToUtf8(request.numSentsText)},
                         {"provide_fes", request.provideFes}};
  manifest.inputs.push_back(std::string(lexicon::kFramesRelativePath));
  for (const std::string& id : result.lexUnitsRead) {
    const std::string path = "luXML/lu" + text::workingToUtf8(id) + ".xml";
    if (std::find(manifest.inputs.begin(), manifest.inputs.end(), path) == manifest.inputs.end())
      manifest.inputs.push_back(path);
  }
  manifest.counts = {{"frames", result.framesDone}, {"candidate_sentences", result.sentenceTotal}};
  for (std::string_view name : {samples::kTrainingFile, samples::kTestFile, samples::kTrainingAnswersFile,
                                samples::kTestAnswersFile, samples::kMessagesFile})
    manifest.outputs.emplace_back(name);
  const text::Outcome outcome = exports::writeDataSetManifest(manifest, file);
  if (!outcome.done()) {
    context.err << "sorvanta: " << outcome.notices.front().text << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

CommandRun declareSample(CommandLine& line) {
  CLI::Option* low = line.value("--low");
  CLI::Option* high = line.value("--high");
  CLI::Option* frames = line.value("--frames");
  CLI::Option* sentences = line.value("--sentences");
  CLI::Option* provideFes = line.flag("--provide-fes");
  CLI::Option* seed = line.value("--seed");
  CLI::Option* manifest = line.value("--manifest", "a file name");
  const WriteOptions writing = declareWriteOptions(line, true);
  CLI::Option* jobs = declareJobs(line);
  // The request the checks build and the run uses.
  auto request = std::make_shared<samples::SampleRequest>();
  line.check([=, &line] {
    request->jobs = jobsValue(jobs);
    line.rejectExtras();
    if (low->count() > 0) request->low = spinnerValue(low);
    if (high->count() > 0) request->high = spinnerValue(high);
    request->seed = seed->count() > 0 ? seedValue(seed->results().back())
                                      : static_cast<uint32_t>(std::time(nullptr));
    if (low->count() == 0 || high->count() == 0 || frames->count() == 0 || sentences->count() == 0)
      throw UsageError{"--low, --high, --frames and --sentences are required"};
    request->numFramesText = *CommandLine::last(frames);
    request->numSentsText = *CommandLine::last(sentences);
    request->provideFes = provideFes->count() > 0;
    if (manifest->count() > 0 && manifest->results().back().empty())
      throw UsageError{"--manifest needs a file name"};
  });
  return [request, manifest, writing](CliContext& context) {
    return runWriting(context, writing, [&] {
      ReleaseSession& release = context.release();
      xml::TXpObjModel training, test, lexUnit;
      const samples::SampleResult result = samples::selectSample(
          *request, release.index().frames, release.framesRoot(), release.dataFolder(),
          {training, test, lexUnit}, context.progress());
      const int status = finishWriting(context, result.outcome);
      if (!result.outcome.done()) return status;
      // The seed repeats the draw: sorvanta sample ... --seed S.
      context.err << "sorvanta: seed " << request->seed << "\n";
      if (manifest->count() > 0)
        return writeSampleManifest(context, *request, result, release.dataFolder(),
                                   manifest->results().back());
      return status;
    });
  };
}

namespace {

// frame-files once the data folder is locked: the training set, the frames asked for, the files.
int runFrameFiles(CliContext& context, const CommandLine& line, const CLI::Option* all,
                  unsigned jobs) {
  std::vector<std::string> wanted;
  for (const std::string& word : line.words()) wanted.push_back(text::utf8ToWorking(word));
  ReleaseSession& release = context.release();
  // Frame files derived from a release without frames would be empty.
  if (std::string_view problem = lexicon::framesDocumentProblem(release.framesRoot());
      !problem.empty())
    return report(context, text::Outcome::refused(std::string(lexicon::kProgramCaption),
                                                  std::string(problem)));
  xml::TXpObjModel training, test, lexUnit;
  const samples::TrainingSetLoad load = samples::loadTrainingSet(training, release.dataFolder());
  if (!load.loaded) {
    context.err << kMessagePrefix << text::workingToUtf8(load.message) << "\n";
    return 1;
  }
  const auto named = [](const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (const std::string& name : wanted) {
    if (!named(load.frameNames, name)) {
      context.err << kMessagePrefix << "No frame named " << text::workingToUtf8(name)
                  << " in the training set\n";
      return 1;
    }
  }
  std::vector<std::string> checked;
  for (const std::string& item : load.frameNames)
    if (all->count() > 0 || named(wanted, item)) checked.push_back(item);
  return finishWriting(context, derived::createFrameFiles(checked, release.dataFolder(),
                                                          {training, test, lexUnit},
                                                          context.progress(), jobs));
}

}  // namespace

CommandRun declareFrameFiles(CommandLine& line) {
  CLI::Option* all = line.flag("--all");
  const WriteOptions writing = declareWriteOptions(line, true);
  CLI::Option* jobs = declareJobs(line);
  line.check([&line, all] {
    const bool valid =
        all->count() > 0 ? all->count() == 1 && line.words().empty() : !line.words().empty();
    if (!valid) throw UsageError{"give --all or one or more frame names"};
  });
  return [&line, all, writing, jobs](CliContext& context) {
    return runWriting(context, writing,
                      [&] { return runFrameFiles(context, line, all, jobsValue(jobs)); });
  };
}

}  // namespace sorvanta::cli
