#pragma once
// A file written through a temporary beside it and renamed over the target on commit(), so
// a failed or cancelled export never leaves a truncated file and an older file stays.
#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanta::exports {

class OutputFile {
 public:
  // path: a file-system path (UTF-8). Throws text::FileCreateError when the temporary file
  // cannot be created.
  explicit OutputFile(std::string path);
  ~OutputFile();  // removes the temporary unless committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(std::string_view bytes);
  // Flushes, closes and renames over the target; throws text::FileCreateError on failure.
  void commit();

  const std::string& path() const { return path_; }

 private:
  void flush();
  std::string path_, temporary_;
  int fd_ = -1;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace sorvanta::exports
