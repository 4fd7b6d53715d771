#include "lexicon/SkippedDocument.h"

#include <filesystem>
#include <system_error>

#include "lexicon/DataFolder.h"
#include "text/FileIO.h"
#include "text/MessageText.h"

namespace sorvanta::lexicon {

std::string skippedDocumentText(std::string_view path, const xml::TXpObjModel& model) {
  const std::string reason =
      model.errors().empty() ? "not a well-formed document" : model.errors().front();
  return "Skipped " + text::messageText(path) + ": " + text::messageText(reason) + ".";
}

bool SkippedDocuments::add(std::string_view path, const xml::TXpObjModel& model,
                           text::Outcome& outcome) {
  return add(path, skippedDocumentText(path, model), outcome);
}

bool SkippedDocuments::add(std::string_view path, std::string_view warning,
                           text::Outcome& outcome) {
  // Anything by that name counts: a folder or FIFO named like a document is skipped too.
  std::error_code error;
  const std::filesystem::file_type type =
      std::filesystem::symlink_status(text::toFsPath(path), error).type();
  if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::none)
    return false;
  if (named_.contains(path)) return false;
  named_.emplace(path);
  outcome.warn(std::string(kProgramCaption), std::string(warning));
  return true;
}

}  // namespace sorvanta::lexicon
