#include "text/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "text/Errors.h"
#include "text/WorkingText.h"

namespace sorvanta::text {

namespace {

// The process umask, read once; new files get 0666 masked by it, like an ordinary create.
mode_t processUmask() {
  static const mode_t mask = [] {
    const mode_t old = ::umask(022);
    ::umask(old);
    return old;
  }();
  return mask;
}

// Keeps the temporary name within the usual 255-byte name limit.
constexpr size_t kMaxTempStem = 200;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, p, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    p += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

// Writes bytes to a new temporary file beside fsPath and renames it over fsPath.
bool replaceFile(const std::string& fsPath, std::string_view bytes) {
  const size_t slash = fsPath.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : fsPath.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? fsPath : fsPath.substr(slash + 1);
  if (name.empty()) return false;

  std::string temp = folder;
  if (temp.back() != '/') temp += '/';
  temp += '.';
  temp += name.substr(0, kMaxTempStem);
  temp += ".XXXXXX";

  const int rawFd = ::mkstemp(temp.data());
  if (rawFd < 0) return false;
  FileDescriptor fd(rawFd);
  const bool ok = ::fchmod(fd.get(), 0666 & ~processUmask()) == 0 && writeAll(fd.get(), bytes) &&
                  fd.close() && ::rename(temp.c_str(), fsPath.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace

std::string toFsPath(std::string_view workingPath) { return workingToUtf8(workingPath); }

bool fileExists(std::string_view workingPath) {
  struct stat info;
  return ::stat(toFsPath(workingPath).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool readWholeFile(std::string_view workingPath, std::string& out, size_t extraCapacity) {
  out.clear();
  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the type is checked on the
  // open descriptor, so nothing can be swapped in between. Reads of regular files ignore it.
  FileDescriptor fd(
      ::open(toFsPath(workingPath).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return false;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;

  // One read into a string sized from the file's length, then a short read to confirm the end
  // (a file may grow meanwhile, and some files report no length).
  const size_t expected = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
  out.reserve(expected + extraCapacity);
  out.resize(expected);
  size_t filled = 0;
  while (filled < expected) {
    const ssize_t got = ::read(fd.get(), out.data() + filled, expected - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      out.clear();
      return false;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  out.resize(filled);
  char rest[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), rest, sizeof rest);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      out.clear();
      return false;
    }
    if (got == 0) break;
    out.append(rest, static_cast<size_t>(got));
  }
  return true;
}

void writeFileAtomically(std::string_view workingPath, std::string_view bytes) {
  if (!replaceFile(toFsPath(workingPath), bytes)) {
    throw FileCreateError("Cannot create file " + std::string(workingPath));
  }
}

}  // namespace sorvanta::text
