// sorvanta dictionaries: FrameDict.xml, frames.dmp and svlex.dmp, written into the data folder.
#include <ostream>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "derived/Dictionaries.h"
#include "lexicon/DataFolder.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

CommandRun declareDictionaries(CommandLine& line) {
  CLI::Option* framesOnlyFlag = line.flag("--frames-only");
  CLI::Option* allowMissingRelations = line.flag("--allow-missing-relations");
  const WriteOptions writing = declareWriteOptions(line, false);
  CLI::Option* jobs = declareJobs(line);
  line.check([&line, framesOnlyFlag] {
    line.rejectExtras();
    if (framesOnlyFlag->count() > 1) throw UsageError{"--frames-only given twice"};
  });
  return [framesOnlyFlag, allowMissingRelations, writing, jobs](CliContext& context) {
    return runWriting(context, writing, [&] {
      const bool framesOnly = framesOnlyFlag->count() > 0;
      ReleaseSession& release = context.release();
      // Dictionaries without relation lines and entries replace complete ones only when asked
      // for, as the window asks before writing them.
      std::ostringstream relationsProblem;
      const bool haveRelations = release.loadRelations(relationsProblem);
      text::Outcome relationsWarning;
      if (!haveRelations) {
        if (allowMissingRelations->count() == 0) {
          context.err << relationsProblem.str() << kMessagePrefix
                      << "Nothing was written; give --allow-missing-relations to write the "
                         "dictionaries without relations.\n";
          return 1;
        }
        std::string problem = relationsProblem.str();
        if (!problem.empty() && problem.back() == '\n') problem.pop_back();
        relationsWarning.warn(
            std::string(lexicon::kProgramCaption),
            text::utf8ToWorking(problem) + " The dictionaries are written without relations.");
      }

      xml::TXpObjModel dictionary, lexEntry;
      const derived::DictionaryResult result = derived::createDictionaries(
          release.framesRoot(), haveRelations ? release.relationsRoot() : nullptr,
          release.dataFolder(), framesOnly, {dictionary, lexEntry}, context.progress(),
          jobsValue(jobs));
      if (!result.outcome.done()) return report(context, result.outcome);
      text::Outcome outcome = result.outcome;
      outcome.notices.insert(outcome.notices.begin(), relationsWarning.notices.begin(),
                             relationsWarning.notices.end());
      writeRecord(context.out, {"Frames completed:", text::intToStr(result.frames)});
      if (!framesOnly) {
        writeRecord(context.out, {"Lexeme entries:", text::intToStr(result.lexemeEntries)});
        writeRecord(context.out,
                    {"Without lexical entry:", text::intToStr(result.missingLexEntries)});
      }
      return finishWriting(context, outcome);
    });
  };
}

}  // namespace sorvanta::cli
