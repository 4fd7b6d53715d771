#pragma once
// What a command reports besides its files: refused, finished (possibly with notices), or
// cancelled. One shape for every command; the window shows it in message boxes and its
// status bar, the command line on stderr with the matching exit status.
#include <string>
#include <utility>
#include <vector>

namespace sorvanta::text {

enum class Severity { Info, Warning, Error };

// One message for the user: a caption (the window's box title) and the text.
struct Notice {
  Severity severity = Severity::Info;
  std::string caption;
  std::string text;
};

struct Outcome {
  enum class Status { Done, Refused, Cancelled };
  Status status = Status::Done;
  // Refused: the first notice says why (nothing was written). Done: warnings and remarks.
  std::vector<Notice> notices;
  // The files the command wrote, in the order it wrote them.
  std::vector<std::string> filesWritten;

  static Outcome refused(std::string caption, std::string text) {
    Outcome outcome;
    outcome.status = Status::Refused;
    outcome.notices.push_back({Severity::Error, std::move(caption), std::move(text)});
    return outcome;
  }
  static Outcome cancelled() {
    Outcome outcome;
    outcome.status = Status::Cancelled;
    return outcome;
  }
  bool done() const { return status == Status::Done; }
  void warn(std::string caption, std::string text) {
    notices.push_back({Severity::Warning, std::move(caption), std::move(text)});
  }
  int warningCount() const {
    int count = 0;
    for (const Notice& notice : notices) count += notice.severity == Severity::Warning;
    return count;
  }
};

}  // namespace sorvanta::text
