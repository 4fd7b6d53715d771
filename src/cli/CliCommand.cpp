#include "cli/CliCommand.h"

#include <ostream>

#include "lexicon/DataFolder.h"
#include "text/FolderLock.h"
#include "text/IntegerText.h"
#include "text/WorkingText.h"

namespace sorvanta::cli {

CommandLine::CommandLine(CLI::App& app) : app_(app) {
  app_.allow_extras();
  help_ = app_.add_flag("--help");
  app_.add_option("arguments", arguments_);
}

CLI::Option* CommandLine::value(const std::string& name, std::string needs) {
  needs_[name] = std::move(needs);
  return app_.add_option(name)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

CLI::Option* CommandLine::choice(const std::string& name, std::vector<std::string> choices) {
  std::string spelled;
  for (size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) spelled += i + 1 == choices.size() ? " or " : ", ";
    spelled += choices[i];
  }
  CLI::Option* option = value(name, std::move(spelled));
  check([option, choices = std::move(choices)] {
    if (option->results().empty()) return;
    const std::string& typed = option->results().back();
    for (const std::string& choice : choices)
      if (typed == choice) return;
    std::string list;
    for (const std::string& choice : choices) list += (list.empty() ? "" : "|") + choice;
    throw UsageError{option->get_name() + " needs one of " + list};
  });
  return option;
}

CLI::Option* CommandLine::flag(const std::string& name) { return app_.add_flag(name); }

std::vector<std::string> CommandLine::words() const {
  std::vector<std::string> words = arguments_;
  for (std::string& extra : app_.remaining()) words.push_back(std::move(extra));
  return words;
}

void CommandLine::rejectExtras() const {
  const std::vector<std::string> all = words();
  if (!all.empty()) throw UsageError{"unexpected argument '" + all.front() + "'"};
}

std::optional<std::string> CommandLine::last(const CLI::Option* option) {
  if (option->results().empty()) return std::nullopt;
  return text::utf8ToWorking(option->results().back());
}

void CommandLine::runChecks() const {
  for (const auto& check : checks_) check();
}

std::optional<std::string> CommandLine::missingValueMessage(const std::string& name) const {
  const auto found = needs_.find(name);
  if (found == needs_.end()) return std::nullopt;
  return name + " needs " + found->second;
}

namespace {

template <class Cells>
void writeCells(std::ostream& out, const Cells& cells) {
  bool first = true;
  for (std::string_view cell : cells) {
    if (!first) out << '\t';
    first = false;
    out << text::workingToUtf8(cell);
  }
  out << '\n';
}

}  // namespace

std::string typed(const CLI::Option* option, std::string fallback) {
  return option->results().empty() ? std::move(fallback) : option->results().back();
}

void writeRecord(std::ostream& out, std::initializer_list<std::string_view> cells) {
  writeCells(out, cells);
}

void writeRecord(std::ostream& out, const std::vector<std::string>& cells) {
  writeCells(out, cells);
}

void writeFilesWritten(std::ostream& out, const text::Outcome& outcome) {
  for (const std::string& file : outcome.filesWritten) writeRecord(out, {"Written:", file});
}

int finishWriting(const CliContext& context, const text::Outcome& outcome, int extraWarnings) {
  if (outcome.status != text::Outcome::Status::Refused) {
    writeFilesWritten(context.out, outcome);
    writeRecord(context.out, {"Warnings:", std::to_string(outcome.warningCount() + extraWarnings)});
  }
  return report(context, outcome);
}

int report(const CliContext& context, const text::Outcome& outcome) {
  bool failed = outcome.status == text::Outcome::Status::Refused;
  for (const text::Notice& notice : outcome.notices) {
    if (notice.severity == text::Severity::Info) continue;
    failed |= notice.severity == text::Severity::Error;
    context.err << kMessagePrefix;
    if (notice.caption != lexicon::kProgramCaption)
      context.err << text::workingToUtf8(notice.caption) << ": ";
    context.err << text::workingToUtf8(notice.text) << "\n";
  }
  if (outcome.status == text::Outcome::Status::Cancelled) {
    context.err << kMessagePrefix << "cancelled\n";
    return 130;
  }
  if (const int warnings = outcome.warningCount(); warnings > 0) {
    context.err << "sorvanta: " << warnings << (warnings == 1 ? " warning" : " warnings")
                << (context.strict ? " (--strict: the run fails)" : "") << "\n";
    failed |= context.strict;
  }
  return failed ? 1 : 0;
}

WriteOptions declareWriteOptions(CommandLine& line, bool withStrict) {
  WriteOptions options;
  options.noWait = line.flag("--no-wait");
  if (withStrict) options.strict = line.flag("--strict");
  return options;
}

CLI::Option* declareJobs(CommandLine& line) {
  CLI::Option* jobs = line.value("--jobs", "a number of worker threads");
  line.check([jobs] { jobsValue(jobs); });
  return jobs;
}

unsigned jobsValue(const CLI::Option* jobs) {
  if (jobs->count() == 0) return 0;
  const std::optional<int32_t> number = text::tryStrToInt(jobs->results().back());
  if (!number || *number < 1 || *number > static_cast<int32_t>(kMaxJobs))
    throw UsageError{"--jobs needs a number from 1 to " + std::to_string(kMaxJobs)};
  return static_cast<unsigned>(*number);
}

int runWriting(CliContext& context, const WriteOptions& options,
               const std::function<int()>& write) {
  const text::FolderLock lock(
      context.folder.path(),
      options.noWait->count() > 0 ? text::FolderLock::Wait::No : text::FolderLock::Wait::Yes,
      [&context](const std::string& message) {
        context.err << "sorvanta: " << text::workingToUtf8(message) << "; waiting\n";
      },
      context.progress());
  if (!lock.held()) {
    if (context.progress().cancelled()) {
      context.err << "sorvanta: cancelled\n";
      return 130;
    }
    context.err << "sorvanta: " << text::workingToUtf8(lock.message()) << "\n";
    return 1;
  }
  context.strict = options.strict && options.strict->count() > 0;
  return write();
}

}  // namespace sorvanta::cli
