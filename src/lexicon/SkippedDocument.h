#pragma once
// Release documents a command skips because they exist but cannot be read (truncated, empty,
// not well-formed, not a regular file): each is named once in a warning, so a run over a
// damaged release never reports success silently.
#include <set>
#include <string>
#include <string_view>

#include "text/Outcome.h"
#include "xml/XpObjModel.h"

namespace sorvanta::lexicon {

class SkippedDocuments {
 public:
  // After a load of path into model failed: a warning "Skipped PATH: REASON" in outcome,
  // unless the file does not exist (commands treat a missing document as described for each)
  // or the path was named already. Returns true when the document was named.
  bool add(std::string_view path, const xml::TXpObjModel& model, text::Outcome& outcome);
  // The same with the warning made beforehand (skippedDocumentText), where the load ran on
  // another thread.
  bool add(std::string_view path, std::string_view warning, text::Outcome& outcome);
  size_t count() const { return named_.size(); }

 private:
  std::set<std::string, std::less<>> named_;
};

// "Skipped PATH: REASON." for a document whose load into model failed.
std::string skippedDocumentText(std::string_view path, const xml::TXpObjModel& model);

}  // namespace sorvanta::lexicon
