#include "cli/Cli.h"

#include <exception>
#include <memory>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/ReleaseSession.h"
#include "cli/SignalCancel.h"
#include "cli/TerminalLine.h"
#include "lexicon/DataFolder.h"
#include "settings/QtSettingsStore.h"
#include "text/Errors.h"
#include "text/Version.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

namespace {

// The closing sentences of the help of the commands that write into the data folder.
#define WAIT_HELP                                                                        \
  " While another command writes into the data folder, waits for it; --no-wait refuses " \
  "instead (exit 1). Ctrl-C cancels: the older files stay, exit 130."
// Of the commands that parse many documents.
#define JOBS_HELP                                                                          \
  " --jobs N parses the documents on N worker threads (1 to 256; default: every core); the " \
  "files are the same for any N."
#define WRITING_HELP                                                                          \
  " A document that cannot be read is skipped with a warning; --strict makes a warning fail " \
  "the run (exit 1)." WAIT_HELP

constexpr const char* kWritingDetails =
    "Prints a Written: record per file it wrote, then the Warnings: count.";
constexpr const char* kCountingDetails =
    "Prints its counts, then a Written: record per file and the Warnings: count.";

const CliCommand kCommands[] = {
    {"query", "query FILE EXPR [--attr NAME | --count | --integer]",
     "Evaluates a path expression from the document element of FILE and prints one line per "
     "selected node (its text, or the attribute NAME), the count, or the integer value. An "
     "expression that cannot be read exits 2; a query stopped by the work budget exits 1.",
     Needs::Nothing, declareQuery, nullptr},
    {"frames", "frames [--sort C] [--format tsv|json] [--header]",
     "The frames list: Frame, ID, FEs, LUs, Anns; in document order, or sorted as a click on "
     "the header of column C sorts it.",
     Needs::Release, declareFrames,
     "JSON: an array of {\"frame\", \"id\", \"fes\", \"lus\", \"anns\"}, one per row.\n"
     "--header: the row Frame, ID, FEs, LUs, Anns first."},
    {"lexunits", "lexunits [--sort C] [--format tsv|json] [--header]",
     "The lexical-units list: Lexical Unit, P, LU-ID, Anns, Frame, FR-ID, Definition.",
     Needs::Release, declareLexUnits,
     "JSON: an array of {\"lexical_unit\", \"pos\", \"lu_id\", \"anns\", \"frame\", "
     "\"frame_id\", \"definition\"}, one per row.\n"
     "--header: the row Lexical Unit, P, LU-ID, Anns, Frame, FR-ID, Definition first."},
    {"fes", "fes [--format tsv|json] [--header]", "The frame-element list: Frame Element, Number.",
     Needs::Release, declareFes,
     "JSON: an array of {\"frame_element\", \"number\"}, one per row.\n"
     "--header: the row Frame Element, Number first."},
    {"totals", "totals [--format tsv|json] [--header]", "The three totals of the frames index.",
     Needs::Release, declareTotals,
     "JSON: {\"frames\", \"annotated_sentences\", \"frame_elements\"}.\n"
     "--header: the row Total, Value first."},
    {"frame", "frame NAME [--format tsv|json] [--header]",
     "The frames view of the frame NAME: name, description, frame elements, lexemes, relations.",
     Needs::Release, declareFrame,
     "JSON: {\"frame\", \"description\", \"fes\": [{\"name\", \"core_type\", "
     "\"definition\"}], \"lexemes\": [names], \"relations\": [{\"relation\", \"frames\": "
     "[names]}]} (no relation: an empty array).\n"
     "--header: the row Field, Value, Detail first."},
    {"fe", "fe NAME [--format tsv|json] [--header]",
     "Every frame element named NAME: Element, Frame, Type, Definition.", Needs::Release, declareFe,
     "JSON: an array of {\"frame_element\", \"frame\", \"type\", \"definition\"}.\n"
     "--header: the row Element, Frame, Type, Definition first."},
    {"lu", "lu ID [--subcorpora | --subcorpus NAME] [--format tsv|json] [--header]",
     "The annotated sentences of the lexical unit ID, its subcorpora, or the sentences of one "
     "subcorpus.",
     Needs::Release, declareLu,
     "JSON: an array of {\"sentence_id\", \"text\"} per sentence; with --subcorpora of "
     "{\"subcorpus\"}.\n"
     "--header: the row Sentence (Subcorpus with --subcorpora) first."},
    {"sentence-fes", "sentence-fes LUID SENTID [--offsets] [--format tsv|json] [--header]",
     "The target and the frame elements of sentence SENTID of lexical unit LUID; with --offsets "
     "each label's start and end offsets too.",
     Needs::Release, declareSentenceFes,
     "--offsets: two more columns on each label row, the label's start and end (0-based "
     "character offsets, both inclusive; empty for a null instantiation).\n"
     "JSON: {\"frame\", \"lexical_unit\", \"sentence_id\", \"sentence\", \"labels\": "
     "[{\"label\", \"text\", \"start\", \"end\"}]}, start and end always (null for a null "
     "instantiation).\n"
     "--header: the row Field, Text (and Start, End with --offsets) first."},
    {"sample",
     "sample --low L --high H --frames N --sentences M [--provide-fes] [--seed S] [--strict] "
     "[--no-wait] [--jobs N]",
     "Draws N frames whose annotation count lies from L to H (all of them when N is 0) and M "
     "training sentences in each; writes the training and test sets, their answer files and "
     "the messages file into the data folder. S fixes the generator's state in place of the "
     "clock." JOBS_HELP WRITING_HELP,
     Needs::Release, declareSample, kWritingDetails},
    {"frame-files", "frame-files (--all | FRAME...) [--strict] [--no-wait] [--jobs N]",
     "Loads SensSemRolesTrg.xml from the data folder and writes the .eval, .trec and .out "
     "files of every listed frame (or all) and SensSemRolesTrgTest.xml." JOBS_HELP WRITING_HELP,
     Needs::Release, declareFrameFiles, kWritingDetails},
    {"subcorpora",
     "subcorpora --low L --high H --preposition P [--strict] [--no-wait] [--jobs N]",
     "For every lexical unit with an ID from L to H, the sentences of its subcorpora named with "
     "\"-pp\" + P in which P heads a frame element; writes pp-P.sents.xml and pp-P.txt into "
     "the data folder." JOBS_HELP WRITING_HELP,
     Needs::Folder, declareSubcorpora, kCountingDetails},
    {"realizations", "realizations --preposition P [--no-wait] [--jobs N]",
     "Reads pp-P.txt from the data folder and writes pp-P.alters.txt: every realization of "
     "the frame elements it names, in all annotated lexical units of their frames; each "
     "subcorpus document is parsed once." JOBS_HELP WAIT_HELP,
     Needs::Release, declareRealizations, kCountingDetails},
    {"dictionaries",
     "dictionaries [--frames-only] [--allow-missing-relations] [--no-wait] [--jobs N]",
     "Writes FrameDict.xml, frames.dmp (frame and relation entries) and svlex.dmp (lexeme "
     "entries, read from leXML/) into the data folder; with --frames-only no lexical entry is "
     "read and svlex.dmp is left as it is. Without a readable relations document nothing is "
     "written, unless --allow-missing-relations: then they are written without relations, with "
     "a warning." JOBS_HELP WAIT_HELP,
     Needs::Release, declareDictionaries, kCountingDetails},
    {"index", "index [--rebuild] [--index FILE]",
     "Builds or refreshes the release index (an SQLite file in the cache folder, or FILE) and "
     "prints what it did: documents read, row counts, seconds.",
     Needs::Folder, declareIndex, nullptr},
    {"search",
     "search QUERY [--limit N] [--count] [--format tsv|jsonl|kwic] [--what sets|frames|lus|fes] "
     "[--index FILE]",
     "Searches the release index (refreshed first when needed): annotated sentences by frame, "
     "lexical unit, frame element, realization, words, phrase or regular expression; or frames, "
     "lexical units, frame elements (search --help gives the syntax).",
     Needs::Folder, declareSearch, nullptr},
    {"sql", "sql \"SELECT ...\" [--format tsv|jsonl] [--index FILE]",
     "Runs one read-only SQL statement on the release index (tables: docs/index-schema.md).",
     Needs::Folder, declareSql},
    {"check", "check [--format tsv|json] [--strict] [--index FILE]",
     "Checks the release (through its index) and prints one line per finding: severity, code, "
     "document, location, message; exit status 1 when an error is found.",
     Needs::Folder, declareCheck},
    {"diff", "diff OLD NEW [--format tsv|json|html] [--old-index FILE] [--new-index FILE]",
     "What changed between the releases in the folders OLD and NEW: one line per change (code, "
     "key, old value, new value); exit status 0 no difference, 1 differences, 2 an unreadable "
     "release.",
     Needs::Nothing, declareDiff},
    {"valence", "valence LUID [--patterns] [--format tsv|json] [--index FILE]",
     "The valence of the lexical unit LUID: per frame element its realizations (PT, GF, "
     "count), or with --patterns its valence patterns with their sentences.",
     Needs::Folder, declareValence},
    {"report", "report (--lu LUID | --frame NAME) [--out FILE.html] [--index FILE]",
     "The report of a lexical unit or a frame as one self-contained HTML page, to FILE.html "
     "or stdout.",
     Needs::Folder, declareReport},
    {"export", "export --format jsonl|conll [--frame NAME]... [--lu LUID]... [--out FILE]",
     "Writes the annotation sets (all, or those of the given frames and lexical units) as JSON "
     "Lines or CoNLL, to stdout or FILE; offsets in code points, end exclusive.",
     Needs::Folder, declareExport},
    {"split",
     "split --seed S --by sentence|lu|frame --ratios A,B,C [--min-annotated N] [--frame NAME]... "
     "--out DIR [--format jsonl|conll] | split --verify DIR",
     "Writes train, dev and test files and manifest.json into DIR: reproducible for one seed, "
     "units or frames kept apart, no sentence text in two splits; --verify re-checks a split "
     "folder against its manifest and the release.",
     Needs::FolderIfKnown, declareSplit},
    {"graph",
     "graph (FRAME | --all) [--depth N] [--types T1,T2...] [--direction up|down|both] "
     "[--format tsv|dot|svg|png] [--out FILE]",
     "The frame-relation graph: the edges walked from FRAME within N steps (default 1, both "
     "directions, every relation type), or every edge; TSV lines Type, Super frame, Sub frame, "
     "or DOT, SVG or PNG.",
     Needs::Release, declareGraph, kGraphDetails},
    {"fe-lineage", "fe-lineage FRAME FE",
     "The chain of frame elements FE maps to up the Inheritance, Perspective_on and Subframe "
     "relations: Relation, Frame, Frame element per step.",
     Needs::Release, declareFeLineage, kFeLineageDetails},
};

#undef WRITING_HELP
#undef WAIT_HELP

constexpr const char* kNoDataFolder =
    "No data folder: give one with --data DIR (the folder holding frXML/frames.xml), or start "
    "the window once to choose it.";

void printHelp(std::ostream& out) {
  out << "Usage: sorvanta [--data DIR] COMMAND [ARGUMENTS]\n\n"
         "Sorvanta Explorer on the command line: browses a frame-semantic lexical database\n"
         "release and writes the data sets derived from it. DIR is the release's data folder\n"
         "(the one holding frXML/frames.xml); without --data the folder the window stored is\n"
         "used. Output is UTF-8, one record per line, fields separated by tabs; the listing\n"
         "commands (frames to sentence-fes) print JSON with --format json and a header row\n"
         "with --header. Commands that write files end with a \"Written:\" record per file\n"
         "and a \"Warnings:\" count. Messages go to stderr, starting \"sorvanta\". Exit\n"
         "status: 0 done, 1 a data or file problem, 2 a wrong command line.\n\nCommands:\n";
  for (const CliCommand& command : kCommands)
    out << "  " << command.usage << "\n      " << command.summary << "\n";
  out << "  --help\n      Shows this text; COMMAND --help shows the command's.\n"
         "  --version\n      Shows the program's version.\n";
}

void printCommandHelp(std::ostream& out, const CliCommand& command) {
  out << "Usage: sorvanta [--data DIR] " << command.usage << "\n\n" << command.summary << "\n";
  if (command.details) out << "\n" << command.details << "\n";
}

// The data folder of --data, else the one the window stored (in the store SORVANTA_SETTINGS_DIR
// names, when it is set, as for the window).
lexicon::ReleaseFolder resolveFolder(const CLI::Option* data) {
  if (std::optional<std::string> given = CommandLine::last(data); given && !given->empty())
    return lexicon::ReleaseFolder(std::move(*given));
  settings::redirectSettingsFromEnvironment();
  return lexicon::storedDataFolder(settings::QtSettingsStore());
}

// The command CLI11 chose, with its command line.
struct Chosen {
  const CliCommand* command = nullptr;
  CommandLine* line = nullptr;
  CommandRun run;
};

// Runs the chosen command once its command line passed: folder, release, then the command.
int runChosen(const Chosen& chosen, const CLI::Option* data, const std::vector<std::string>& args,
              std::ostream& out, std::ostream& err) {
  CliContext context{out, err, {}, nullptr, nullptr, args};
  ReleaseSession session;
  if (chosen.command->needs != Needs::Nothing) {
    context.folder = resolveFolder(data);
    if (context.folder.empty() && chosen.command->needs != Needs::FolderIfKnown) {
      err << kMessagePrefix << kNoDataFolder << "\n";
      return 1;
    }
  }
  if (chosen.command->needs == Needs::Release) {
    if (!session.open(context.folder, err)) return 1;
    context.session = &session;
  }
  TerminalLine line(err);
  TerminalProgress progress(line);
  context.progressSink = &progress;
  const SignalCancel cancelOnSignal(progress);
  return chosen.run(context);
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app("sorvanta", "sorvanta");
  app.set_help_flag();
  app.allow_extras();
  app.require_subcommand(0, 1);
  CLI::Option* data = app.add_option("--data")->expected(1);
  CLI::Option* help = app.add_flag("--help,-h");
  CLI::Option* version = app.add_flag("--version");
  CLI::App* helpCommand = app.add_subcommand("help")->allow_extras();

  std::vector<std::unique_ptr<CommandLine>> lines;
  std::vector<Chosen> commands;
  for (const CliCommand& command : kCommands) {
    CLI::App* sub = app.add_subcommand(command.name);
    lines.push_back(std::make_unique<CommandLine>(*sub));
    commands.push_back({&command, lines.back().get(), command.declare(*lines.back())});
  }
  const auto chosenCommand = [&]() -> const Chosen* {
    for (const Chosen& chosen : commands)
      if (app.got_subcommand(chosen.command->name)) return &chosen;
    return nullptr;
  };

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  const Chosen* chosen = nullptr;
  try {
    try {
      app.parse(reversed);
    } catch (const CLI::ParseError& error) {
      chosen = chosenCommand();
      const std::string what = error.what();
      const std::string name = what.substr(0, what.find(':'));
      if (name == "--data") {
        err << "sorvanta: --data needs a folder\n";
        return 2;
      }
      if (!chosen) {
        err << "sorvanta: " << what << " (see sorvanta --help)\n";
        return 2;
      }
      throw UsageError{chosen->line->missingValueMessage(name).value_or(what)};
    }
    if (version->count() > 0) {
      out << "sorvanta " << kVersion << "\n";
      return 0;
    }
    if (help->count() > 0 || helpCommand->parsed()) {
      printHelp(out);
      return 0;
    }
    if (!app.remaining().empty()) {
      err << "sorvanta: unknown command '" << app.remaining().front()
          << "' (see sorvanta --help)\n";
      return 2;
    }
    chosen = chosenCommand();
    if (!chosen) {
      err << kMessagePrefix << "a command is needed\n\n";
      printHelp(err);
      return 2;
    }
    if (chosen->line->helpWanted()) {
      printCommandHelp(out, *chosen->command);
      return 0;
    }
    chosen->line->runChecks();
    return runChosen(*chosen, data, args, out, err);
  } catch (const UsageError& usage) {
    err << "sorvanta " << chosen->command->name << ": " << usage.message << "\nUsage: sorvanta "
        << chosen->command->usage << "\n";
    return 2;
  } catch (const text::RuntimeError& error) {
    err << kMessagePrefix << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    // Anything else a library throws (a file system or allocation failure) is a data or file
    // problem too: said, never a crash.
    err << kMessagePrefix << error.what() << "\n";
    return 1;
  }
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const int status = runCommandLine(args, out, err);
  // Output that did not reach its file (a full disk, a closed pipe) is no success.
  if (!out.flush() && status == 0) {
    err << kMessagePrefix << "cannot write the output\n";
    return 1;
  }
  return status;
}

}  // namespace sorvanta::cli
