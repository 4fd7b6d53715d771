// sorvanta subcorpora | realizations: the preposition study, written into the data folder.
#include <algorithm>
#include <iostream>
#include <map>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "cli/ReleaseSession.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "lexicon/DataFolder.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"
#include "widgets/QtSettingsStore.h"

namespace sorvanta::cli {

namespace {

class TerminalSubcorporaProgress : public derived::SubcorporaProgress {
 public:
  explicit TerminalSubcorporaProgress(TerminalLine& line) : line_(line) {}
  void lexUnitTried(int32_t id) override {
    line_.rewrite() << "Lexical unit " << id << "   " << std::flush;
  }

 private:
  TerminalLine& line_;
};

class TerminalRealizationsProgress : public derived::RealizationsProgress {
 public:
  explicit TerminalRealizationsProgress(TerminalLine& line) : line_(line) {}
  void linesRead(size_t count) override { count_ = count; }
  void lineDone(size_t nextLineNumber) override {
    line_.rewrite() << "Line " << nextLineNumber - 1 << " of " << count_ << std::flush;
  }

 private:
  TerminalLine& line_;
  size_t count_ = 0;
};

// The values of the named options (each given exactly once), as working text.
std::map<std::string, std::string> takeOptions(const CliContext& context,
                                               std::initializer_list<std::string> names) {
  std::map<std::string, std::string> values;
  const std::vector<std::string>& args = context.args;
  for (size_t i = 0; i < args.size(); i += 2) {
    if (std::find(names.begin(), names.end(), args[i]) == names.end())
      throw UsageError{"unexpected argument '" + args[i] + "'"};
    if (i + 1 == args.size()) throw UsageError{args[i] + " needs a value"};
    if (!values.emplace(args[i], text::utf8ToWorking(args[i + 1])).second)
      throw UsageError{args[i] + " given twice"};
  }
  for (const std::string& name : names)
    if (!values.count(name)) throw UsageError{"missing " + name};
  return values;
}

// The folder the study reads and writes: DIR of --data, else the stored one; ends with '/'.
std::string studyFolder(const CliContext& context) {
  std::string folder = context.dataFolder;
  if (folder.empty()) folder = widgets::QtSettingsStore().readString(lexicon::kLocationSetting);
  if (folder.empty()) {
    context.err << "No data folder: give one with --data DIR, or start the window once to "
                   "choose it.\n";
    return {};
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

int showMessage(const CliContext& context, const derived::PrepositionMessage& message) {
  context.err << text::workingToUtf8(message.caption) << ": " << text::workingToUtf8(message.text)
              << "\n";
  return 1;
}

}  // namespace

int runSubcorporaCommand(CliContext& context) {
  std::map<std::string, std::string> options =
      takeOptions(context, {"--low", "--high", "--preposition"});
  const std::string folder = studyFolder(context);
  if (folder.empty()) return 1;
  derived::SubcorporaRequest request{options["--low"], options["--high"], options["--preposition"],
                                     folder};
  xml::TXpObjModel lexUnit;
  derived::SubcorporaResult result;
  {
    TerminalLine line(context);
    TerminalSubcorporaProgress progress(line);
    result = derived::selectSubcorpora(request, lexUnit, line.enabled() ? &progress : nullptr);
  }
  if (result.refused) return showMessage(context, *result.refused);
  writeRecord(context.out, {"Subcorpus documents read:", text::intToStr(result.documentsRead)});
  writeRecord(context.out, {"Sentences selected:", text::intToStr(result.sentencesSelected)});
  writeRecord(context.out, {"Empty subcorpora:", text::intToStr(result.emptySubcorpora)});
  writeRecord(context.out, {"Written:", result.sentencesPath});
  writeRecord(context.out, {"Written:", result.listPath});
  return 0;
}

int runRealizationsCommand(CliContext& context) {
  std::map<std::string, std::string> options = takeOptions(context, {"--preposition"});
  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  xml::TXpObjModel lexUnit;
  derived::RealizationsResult result;
  {
    TerminalLine line(context);
    TerminalRealizationsProgress progress(line);
    result = derived::findOtherRealizations(options["--preposition"], release.dataFolder(),
                                            release.framesRoot(), lexUnit,
                                            line.enabled() ? &progress : nullptr);
  }
  if (result.message) return showMessage(context, *result.message);
  writeRecord(context.out, {"Preposition lines read:", text::intToStr(result.linesRead)});
  writeRecord(context.out, {"Realization lines:", text::intToStr(result.realizationLines)});
  writeRecord(context.out, {"Written:", result.outputPath});
  return 0;
}

}  // namespace sorvanta::cli
