#include "text/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "text/OutputSet.h"
#include "text/WorkingText.h"

namespace sorvanta::text {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string toFsPath(std::string_view workingPath) { return workingToUtf8(workingPath); }

bool fileExists(std::string_view workingPath) {
  struct stat info;
  return ::stat(toFsPath(workingPath).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::vector<std::string> folderEntries(std::string_view workingFolder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(toFsPath(workingFolder).c_str());
  if (!dir) return names;
  while (const dirent* item = ::readdir(dir)) {
    const std::string_view name(item->d_name);
    if (name != "." && name != "..") names.push_back(utf8ToWorking(name));
  }
  ::closedir(dir);
  return names;
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
  OutputSet file;
  file.add(workingPath, bytes);
  file.commit();
}

}  // namespace sorvanta::text
