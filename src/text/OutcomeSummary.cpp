#include "text/OutcomeSummary.h"

namespace sorvanta::text {

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string counted(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

OutcomeSummary summarizeOutcome(std::string_view command, const Outcome& outcome,
                                size_t messageLines, std::string_view messagesFile) {
  OutcomeSummary summary;
  summary.text = std::string(command) + ": ";
  if (outcome.status == Outcome::Status::Cancelled) {
    summary.text += "cancelled; the older files were left as they were";
    return summary;
  }
  if (outcome.status == Outcome::Status::Refused) {
    summary.text += "nothing written";
    if (!outcome.notices.empty()) summary.text += " (" + outcome.notices.front().text + ")";
    return summary;
  }
  const auto& files = outcome.filesWritten;
  if (files.empty()) {
    summary.text += "no files written";
  } else {
    summary.folder = folderOf(files.front());
    bool oneFolder = true;
    for (const std::string& file : files) oneFolder = oneFolder && folderOf(file) == summary.folder;
    summary.text += counted(files.size(), "file", "files") + " written";
    if (oneFolder && !summary.folder.empty()) summary.text += " in " + summary.folder;
  }
  if (messageLines > 0 && !messagesFile.empty())
    summary.text += "; " + counted(messageLines, "message", "messages") + " in " +
                    std::string(messagesFile);
  const int warnings = outcome.warningCount();
  if (warnings > 0) summary.text += "; " + counted(size_t(warnings), "warning", "warnings") + " shown";
  return summary;
}

}  // namespace sorvanta::text
