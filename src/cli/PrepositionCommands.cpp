// sorvanta subcorpora | realizations: the preposition study, written into the data folder.
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "derived/OtherRealizations.h"
#include "derived/PrepositionSubcorpora.h"
#include "text/IntegerText.h"

namespace sorvanta::cli {

namespace {

// Options that take one value and must each be given exactly once.
std::vector<CLI::Option*> declareRequired(CommandLine& line,
                                          std::initializer_list<const char*> names) {
  std::vector<CLI::Option*> options;
  for (const char* name : names) options.push_back(line.value(name));
  line.check([&line, options] {
    line.rejectExtras();
    for (const CLI::Option* option : options)
      if (option->count() > 1) throw UsageError{option->get_name() + " given twice"};
    for (const CLI::Option* option : options)
      if (option->count() == 0) throw UsageError{"missing " + option->get_name()};
  });
  return options;
}

}  // namespace

CommandRun declareSubcorpora(CommandLine& line) {
  const std::vector<CLI::Option*> options =
      declareRequired(line, {"--low", "--high", "--preposition"});
  const WriteOptions writing = declareWriteOptions(line, true);
  CLI::Option* jobs = declareJobs(line);
  return [options, writing, jobs](CliContext& context) {
    return runWriting(context, writing, [&] {
      const derived::SubcorporaRequest request{
          *CommandLine::last(options[0]), *CommandLine::last(options[1]),
          *CommandLine::last(options[2]), context.folder.path(), jobsValue(jobs)};
      xml::TXpObjModel lexUnit;
      const derived::SubcorporaResult result =
          derived::selectSubcorpora(request, lexUnit, context.progress());
      if (result.outcome.done()) {
        writeRecord(context.out,
                    {"Subcorpus documents read:", text::intToStr(result.documentsRead)});
        writeRecord(context.out, {"Sentences selected:", text::intToStr(result.sentencesSelected)});
        writeRecord(context.out, {"Empty subcorpora:", text::intToStr(result.emptySubcorpora)});
      }
      return finishWriting(context, result.outcome);
    });
  };
}

CommandRun declareRealizations(CommandLine& line) {
  const std::vector<CLI::Option*> options = declareRequired(line, {"--preposition"});
  const WriteOptions writing = declareWriteOptions(line, false);
  CLI::Option* jobs = declareJobs(line);
  return [options, writing, jobs](CliContext& context) {
    return runWriting(context, writing, [&] {
      ReleaseSession& release = context.release();
      xml::TXpObjModel lexUnit;
      const derived::RealizationsResult result =
          derived::findOtherRealizations(*CommandLine::last(options[0]), release.dataFolder(),
                                         release.framesRoot(), lexUnit, context.progress(),
                                         jobsValue(jobs));
      if (result.outcome.done()) {
        writeRecord(context.out, {"Preposition lines read:", text::intToStr(result.linesRead)});
        writeRecord(context.out, {"Realization lines:", text::intToStr(result.realizationLines)});
      }
      return finishWriting(context, result.outcome);
    });
  };
}

}  // namespace sorvanta::cli
