// sorvanta dictionaries: FrameDict.xml, frames.dmp and svlex.dmp, written into the data folder.
#include <ostream>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "derived/Dictionaries.h"
#include "text/IntegerText.h"

namespace sorvanta::cli {

CommandRun declareDictionaries(CommandLine& line) {
  CLI::Option* framesOnlyFlag = line.flag("--frames-only");
  line.check([&line, framesOnlyFlag] {
    line.rejectExtras();
    if (framesOnlyFlag->count() > 1) throw UsageError{"--frames-only given twice"};
  });
  return [framesOnlyFlag](CliContext& context) {
    const bool framesOnly = framesOnlyFlag->count() > 0;
    ReleaseSession& release = context.release();
    // As in the window, an unreadable relations document is reported and the dictionaries are
    // written without relation lines and entries.
    std::ostringstream relationsProblem;
    const bool haveRelations = release.loadRelations(relationsProblem);
    if (!haveRelations)
      context.err << relationsProblem.str() << kMessagePrefix
                  << "Writing the dictionaries without relations.\n";

    xml::TXpObjModel dictionary, lexEntry;
    const derived::DictionaryResult result = derived::createDictionaries(
        release.framesRoot(), haveRelations ? release.relationsRoot() : nullptr,
        release.dataFolder(), framesOnly, {dictionary, lexEntry}, context.progress());
    if (!result.outcome.done()) return report(context, result.outcome);
    writeRecord(context.out, {"Frames completed:", text::intToStr(result.frames)});
    if (!framesOnly) {
      writeRecord(context.out, {"Lexeme entries:", text::intToStr(result.lexemeEntries)});
      writeRecord(context.out,
                  {"Without lexical entry:", text::intToStr(result.missingLexEntries)});
    }
    return finishWriting(context, result.outcome, haveRelations ? 0 : 1);
  };
}

}  // namespace sorvanta::cli
