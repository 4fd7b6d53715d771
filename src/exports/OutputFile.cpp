#include "exports/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "text/Errors.h"

namespace sorvanta::exports {

namespace {
constexpr size_t kChunk = 1 << 20;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  const size_t slash = path_.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path_.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  if (name.empty()) throw text::FileCreateError("Cannot create file " + path_);
  temporary_ = folder + (folder.back() == '/' ? "." : "/.") + name.substr(0, 200) + ".XXXXXX";
  fd_ = ::mkstemp(temporary_.data());
  if (fd_ < 0) throw text::FileCreateError("Cannot create file " + path_);
  const mode_t mask = ::umask(022);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
  buffer_.reserve(kChunk);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
  }
}

void OutputFile::write(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kChunk) flush();
}

void OutputFile::flush() {
  const char* p = buffer_.data();
  size_t left = buffer_.size();
  while (left > 0 && !failed_) {
    const ssize_t written = ::write(fd_, p, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      break;
    }
    p += written;
    left -= static_cast<size_t>(written);
  }
  buffer_.clear();
}

void OutputFile::commit() {
  flush();
  const int fd = fd_;
  fd_ = -1;
  const bool closed = ::close(fd) == 0;
  if (failed_ || !closed || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    ::unlink(temporary_.c_str());
    throw text::FileCreateError("Cannot create file " + path_);
  }
}

}  // namespace sorvanta::exports
