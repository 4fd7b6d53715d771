// sorvanta sample | frame-files: the evaluation sample and the frame files built from it.
#include <algorithm>
#include <ctime>
#include <iostream>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "cli/ReleaseSession.h"
#include "derived/FrameFiles.h"
#include "exports/Manifest.h"
#include "lexicon/ReleaseLayout.h"
#include "samples/TrainingTestSets.h"
#include "samples/SampleSelection.h"
#include "samples/TrainingSetLoad.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

class TerminalSampleProgress : public samples::SampleProgress {
 public:
  explicit TerminalSampleProgress(TerminalLine& line) : line_(line) {}
  void framesCompleted(int framesDone) override {
    framesDone_ = framesDone;
    show();
  }
  void sentencesInFrames(int sentenceTotal) override {
    sentenceTotal_ = sentenceTotal;
    show();
  }

 private:
  void show() {
    line_.rewrite() << "Frames completed: " << framesDone_
                    << "  Total number of sentences in frames: " << sentenceTotal_ << std::flush;
  }
  TerminalLine& line_;
  int framesDone_ = 0;
  int sentenceTotal_ = 0;
};

class TerminalFrameProgress : public derived::FrameFilesProgress {
 public:
  explicit TerminalFrameProgress(TerminalLine& line) : line_(line) {}
  void frameWritten(std::string_view frameName, int framesDone) override {
    line_.newLine() << framesDone << ": " << text::workingToUtf8(frameName) << "\n";
  }

 private:
  TerminalLine& line_;
};

// The value after option args[i]; throws UsageError when there is none.
const std::string& optionValue(const std::vector<std::string>& args, size_t& i) {
  if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
  return args[++i];
}

// A spinner position: an integer within the 16-bit range the spinners hold.
int spinnerValue(const std::string& option, const std::string& value) {
  const std::optional<int32_t> number = text::tryStrToInt(value);
  if (!number || *number < -32768 || *number > 32767)
    throw UsageError{option + " needs an integer from -32768 to 32767"};
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
  if (!context.dataFolder.empty())
    manifest.commandLine.insert(manifest.commandLine.end(), {"--data", text::workingToUtf8(context.dataFolder)});
  manifest.commandLine.push_back("sample");
  manifest.commandLine.insert(manifest.commandLine.end(), context.args.begin(), context.args.end());
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

int runSampleCommand(CliContext& context) {
  samples::SampleRequest request;
  request.seed = static_cast<uint32_t>(std::time(nullptr));
  bool haveLow = false, haveHigh = false, haveFrames = false, haveSentences = false;
  std::string manifestFile;
  const std::vector<std::string>& args = context.args;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--low") {
      request.low = spinnerValue(option, optionValue(args, i));
      haveLow = true;
    } else if (option == "--high") {
      request.high = spinnerValue(option, optionValue(args, i));
      haveHigh = true;
    } else if (option == "--frames") {
      request.numFramesText = text::utf8ToWorking(optionValue(args, i));
      haveFrames = true;
    } else if (option == "--sentences") {
      request.numSentsText = text::utf8ToWorking(optionValue(args, i));
      haveSentences = true;
    } else if (option == "--provide-fes") {
      request.provideFes = true;
    } else if (option == "--seed") {
      request.seed = seedValue(optionValue(args, i));
    } else if (option == "--manifest") {
      manifestFile = optionValue(args, i);
      if (manifestFile.empty()) throw UsageError{"--manifest needs a file name"};
    } else {
      throw UsageError{"unexpected argument '" + option + "'"};
    }
  }
  if (!haveLow || !haveHigh || !haveFrames || !haveSentences)
    throw UsageError{"--low, --high, --frames and --sentences are required"};

  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  xml::TXpObjModel training, test, lexUnit;
  samples::SampleResult result;
  {
    TerminalLine line(context);
    TerminalSampleProgress progress(line);
    result = samples::selectSample(request, release.index().frames, release.framesRoot(),
                                   release.dataFolder(), {training, test, lexUnit},
                                   line.enabled() ? &progress : nullptr);
  }
  if (!result.refusal.empty()) {
    context.err << text::workingToUtf8(result.refusal) << "\n";
    return 1;
  }
  // The seed repeats the draw: sorvanta sample ... --seed S.
  context.err << "sorvanta: seed " << request.seed << "\n";
  if (!manifestFile.empty()) return writeSampleManifest(context, request, result, release.dataFolder(), manifestFile);
  return 0;
}

int runFrameFilesCommand(CliContext& context) {
  const bool all =
      std::find(context.args.begin(), context.args.end(), "--all") != context.args.end();
  if (all ? context.args.size() != 1 : context.args.empty())
    throw UsageError{"give --all or one or more frame names"};
  std::vector<std::string> wanted;
  for (const std::string& arg : context.args) wanted.push_back(text::utf8ToWorking(arg));

  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  xml::TXpObjModel training, test, lexUnit;
  const samples::TrainingSetLoad load = samples::loadTrainingSet(training, release.dataFolder());
  if (!load.loaded) {
    context.err << text::workingToUtf8(load.message) << "\n";
    return 1;
  }
  std::vector<std::string> checked;
  for (const std::string& item : load.frameNames)
    if (all || std::find(wanted.begin(), wanted.end(), item) != wanted.end())
      checked.push_back(item);
  if (!all) {
    for (const std::string& name : wanted) {
      if (std::find(load.frameNames.begin(), load.frameNames.end(), name) ==
          load.frameNames.end()) {
        context.err << "No frame named " << text::workingToUtf8(name) << " in the training set\n";
        return 1;
      }
    }
  }
  TerminalLine line(context);
  TerminalFrameProgress progress(line);
  const std::string refusal = derived::createFrameFiles(
      checked, release.dataFolder(), {training, test, lexUnit}, line.enabled() ? &progress : nullptr);
  if (!refusal.empty()) {
    context.err << text::workingToUtf8(refusal) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace sorvanta::cli
