#include "exports/Export.h"

#include <optional>
#include <ostream>

#include "exports/OutputFile.h"
#include "index/ReleaseIndex.h"
#include "index/Sqlite.h"
#include "text/Errors.h"

namespace sorvanta::exports {

namespace {

// Writes through to the stream or the output file in chunks.
class Sink {
 public:
  Sink(std::ostream* stream, OutputFile* file) : stream_(stream), file_(file) {}
  std::string& buffer() { return buffer_; }
  void maybeFlush() {
    if (buffer_.size() >= (1 << 20)) flush();
  }
  void flush() {
    if (file_) file_->write(buffer_);
    else if (stream_) stream_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  std::ostream* stream_;
  OutputFile* file_;
  std::string buffer_;
};

// Reads the sets and writes them to the stream or the output file.
text::Outcome writeSets(const ExportRequest& request, const std::string& indexFile, std::ostream* stream,
                        ExportReport& report, text::Progress& progress, text::Outcome& outcome) {
  std::optional<OutputFile> file;
  if (!request.outFile.empty()) file.emplace(request.outFile);
  Sink sink(stream, file ? &*file : nullptr);
  RecordFormatter formatter(request.format);
  progress.stage("Writing annotation sets");
  text::Outcome read;
  try {
    read = readAnnotationSets(indexFile, request.selection, [&](const AnnotationRecord& record) {
      if (formatter.append(sink.buffer(), record)) {
        ++report.sets;
      } else {
        outcome.warn("Export", "lexical unit " + std::to_string(record.luId) + ", sentence " +
                                   std::to_string(record.sentenceId) +
                                   ": the text has no tokens; set left out");
      }
      sink.maybeFlush();
    }, progress);
  } catch (const index::SqliteError& error) {
    return text::Outcome::refused("Export", std::string("Cannot read the index: ") + error.what());
  }
  if (!read.done()) return read;
  sink.flush();
  if (file) {
    file->commit();
    outcome.filesWritten.push_back(file->path());
  }
  for (text::Notice& notice : read.notices) outcome.notices.push_back(std::move(notice));
  return std::move(outcome);
}

}  // namespace

bool freshIndex(const std::string& releaseFolder, const std::string& indexFile, std::string& usedFile,
                text::Outcome& outcome, text::Progress& progress) {
  text::Outcome indexed = index::refreshIndex(releaseFolder, indexFile, usedFile, progress);
  if (!indexed.done()) {
    outcome = std::move(indexed);
    return false;
  }
  for (text::Notice& notice : indexed.notices) outcome.notices.push_back(std::move(notice));
  return true;
}

text::Outcome exportAnnotations(const ExportRequest& request, std::ostream* stream,
                                ExportReport& report, text::Progress& progress) {
  report = ExportReport();
  text::Outcome outcome;
  std::string indexFile;
  if (!freshIndex(request.releaseFolder, request.indexFile, indexFile, outcome, progress)) return outcome;

  try {
    return writeSets(request, indexFile, stream, report, progress, outcome);
  } catch (const text::FileCreateError& error) {
    return text::Outcome::refused("Export", error.what());
  }
}

}  // namespace sorvanta::exports
