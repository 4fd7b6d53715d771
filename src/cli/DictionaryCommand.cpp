// sorvanta dictionaries: FrameDict.xml, frames.dmp and svlex.dmp, written into the data folder.
#include <iostream>
#include <ostream>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/TerminalLine.h"
#include "cli/ReleaseSession.h"
#include "derived/Dictionaries.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

// The window's two counters on one line: frames completed and lexeme entries completed.
class TerminalDictionaryProgress : public derived::DictionaryProgress {
 public:
  explicit TerminalDictionaryProgress(TerminalLine& line) : line_(line) {}
  void lexUnitStarting() override {}
  void lexemeEntriesCompleted(int completed) override {
    lexemes_ = completed;
    show();
  }
  void framesCompleted(int completed) override {
    frames_ = completed;
    show();
  }

 private:
  void show() {
    line_.rewrite() << "Frames completed: " << frames_ << "  "
                    << derived::kLexemesInFramesCaption << ": " << lexemes_ << std::flush;
  }
  TerminalLine& line_;
  int frames_ = 0;
  int lexemes_ = 0;
};

}  // namespace

int runDictionariesCommand(CliContext& context) {
  bool framesOnly = false;
  for (const std::string& arg : context.args) {
    if (arg != "--frames-only") throw UsageError{"unexpected argument '" + arg + "'"};
    if (framesOnly) throw UsageError{"--frames-only given twice"};
    framesOnly = true;
  }
  ReleaseSession release;
  if (!release.open(context.dataFolder, context.err)) return 1;
  // As in the window, an unreadable relations document is reported and the dictionaries are
  // written without relation lines and entries.
  std::ostringstream relationsProblem;
  const bool haveRelations = release.loadRelations(relationsProblem);
  if (!haveRelations)
    context.err << relationsProblem.str() << "Writing the dictionaries without relations.\n";

  xml::TXpObjModel dictionary, lexEntry;
  derived::DictionaryResult result;
  {
    TerminalLine line(context);
    TerminalDictionaryProgress progress(line);
    result = derived::createDictionaries(release.framesRoot(),
                                         haveRelations ? release.relationsRoot() : nullptr,
                                         release.dataFolder(), framesOnly, {dictionary, lexEntry},
                                         line.enabled() ? &progress : nullptr);
  }
  writeRecord(context.out, {"Frames completed:", text::intToStr(result.frames)});
  if (!framesOnly) {
    writeRecord(context.out, {"Lexeme entries:", text::intToStr(result.lexemeEntries)});
    writeRecord(context.out, {"Without lexical entry:", text::intToStr(result.missingLexEntries)});
  }
  for (std::string_view file :
       {derived::kFrameDictFile, derived::kFramesDumpFile, derived::kLexemesDumpFile}) {
    if (framesOnly && file == derived::kLexemesDumpFile) continue;
    writeRecord(context.out, {"Written:", release.dataFolder() + std::string(file)});
  }
  return 0;
}

}  // namespace sorvanta::cli
