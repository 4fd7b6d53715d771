#include "cli/Cli.h"

#include <ostream>

#include "cli/CliCommand.h"
#include "text/Errors.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

const CliCommand kCommands[] = {
    {"query", "query FILE EXPR [--attr NAME | --count | --integer]",
     "Evaluates a path expression from the document element of FILE and prints one line per "
     "selected node (its text, or the attribute NAME), the count, or the integer value.",
     runQueryCommand},
    {"frames", "frames [--sort C]",
     "The frames list: Frame, ID, FEs, LUs, Anns; in document order, or sorted as a click on "
     "the header of column C sorts it.",
     runFramesCommand},
    {"lexunits", "lexunits [--sort C]",
     "The lexical-units list: Lexical Unit, P, LU-ID, Anns, Frame, FR-ID, Definition.",
     runLexUnitsCommand},
    {"fes", "fes", "The frame-element list: Frame Element, Number.", runFesCommand},
    {"totals", "totals", "The three totals of the frames index.", runTotalsCommand},
    {"frame", "frame NAME",
     "The frames view of the frame NAME: name, description, frame elements, lexemes, relations.",
     runFrameCommand},
    {"fe", "fe NAME",
     "Every frame element named NAME: Element, Frame, Type, Definition.", runFeCommand},
    {"lu", "lu ID [--subcorpora | --subcorpus NAME]",
     "The annotated sentences of the lexical unit ID, its subcorpora, or the sentences of one "
     "subcorpus.",
     runLuCommand},
    {"sentence-fes", "sentence-fes LUID SENTID",
     "The target and the frame elements of sentence SENTID of lexical unit LUID.",
     runSentenceFesCommand},
    {"sample", "sample --low L --high H --frames N --sentences M [--provide-fes] [--seed S]",
     "Draws N frames whose annotation count lies from L to H (all of them when N is 0) and M "
     "training sentences in each; writes the training and test sets, their answer files and "
     "the messages file into the data folder. S fixes the generator's state in place of the "
     "clock.",
     runSampleCommand},
    {"frame-files", "frame-files (--all | FRAME...)",
     "Loads SensSemRolesTrg.xml from the data folder and writes the .eval, .trec and .out "
     "files of every listed frame (or all) and SensSemRolesTrgTest.xml.",
     runFrameFilesCommand},
    {"subcorpora", "subcorpora --low L --high H --preposition P",
     "For every lexical unit with an ID from L to H, the sentences of its subcorpora named with "
     "\"-pp\" + P in which P heads a frame element; writes pp-P.sents.xml and pp-P.txt into "
     "the data folder.",
     runSubcorporaCommand},
    {"realizations", "realizations --preposition P",
     "Reads pp-P.txt from the data folder and writes pp-P.alters.txt: every realization of "
     "the frame elements it names, in all annotated lexical units of their frames.",
     runRealizationsCommand},
    {"dictionaries", "dictionaries [--frames-only]",
     "Writes FrameDict.xml, frames.dmp (frame and relation entries) and svlex.dmp (lexeme "
     "entries, read from leXML/) into the data folder; with --frames-only no lexical entry is "
     "read and svlex.dmp is left as it is.",
     runDictionariesCommand},
    {"graph",
     "graph (FRAME | --all) [--depth N] [--types T1,T2...] [--direction up|down|both] "
     "[--format tsv|dot|svg|png] [--out FILE]",
     "The frame-relation graph: the edges walked from FRAME within N steps (default 1, both "
     "directions, every relation type), or every edge; TSV lines Type, Super frame, Sub frame, "
     "or DOT, SVG or PNG. See graph --help.",
     runGraphCommand},
    {"fe-lineage", "fe-lineage FRAME FE",
     "The chain of frame elements FE maps to up the Inheritance, Perspective_on and Subframe "
     "relations: Relation, Frame, Frame element per step.",
     runFeLineageCommand},
};

void printHelp(std::ostream& out) {
  out << "Usage: sorvanta [--data DIR] COMMAND [ARGUMENTS]\n\n"
         "Sorvanta Explorer on the command line: browses a frame-semantic lexical database\n"
         "release and writes the data sets derived from it. DIR is the release's data folder\n"
         "(the one holding frXML/frames.xml); without --data the folder the window stored is\n"
         "used. Output is UTF-8, one record per line, fields separated by tabs.\n\nCommands:\n";
  for (const CliCommand& command : kCommands)
    out << "  " << command.usage << "\n      " << command.summary << "\n";
  out << "  --help\n      Shows this text.\n";
}

}  // namespace

int runCli(const std::vector<std::string>& commandLine, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args = commandLine;
  std::string dataFolder;
  if (!args.empty() && args[0] == "--data") {
    if (args.size() < 2) {
      err << "sorvanta: --data needs a folder\n";
      return 2;
    }
    dataFolder = text::utf8ToWorking(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printHelp(args.empty() ? err : out);
    return args.empty() ? 2 : 0;
  }
  for (const CliCommand& command : kCommands) {
    if (args[0] != command.name) continue;
    CliContext context{std::vector<std::string>(args.begin() + 1, args.end()), out, err,
                       dataFolder};
    try {
      return command.run(context);
    } catch (const UsageError& usage) {
      err << "sorvanta " << command.name << ": " << usage.message << "\nUsage: sorvanta "
          << command.usage << "\n";
      return 2;
    } catch (const text::RuntimeError& error) {
      err << error.what() << "\n";
      return 1;
    }
  }
  err << "sorvanta: unknown command '" << args[0] << "' (see sorvanta --help)\n";
  return 2;
}

}  // namespace sorvanta::cli
