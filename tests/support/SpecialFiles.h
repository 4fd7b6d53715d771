#pragma once
// Files named like documents that are not regular files, and a guard that a read of one
// returns rather than waits: a reader stuck on a FIFO is released by opening its other end.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace sorvanta::testing {

struct SpecialFile {
  std::string kind;
  std::string path;
};

// A FIFO, a folder and a character device (through a link to /dev/null), all in dir.
inline std::vector<SpecialFile> makeSpecialFiles(const TempDir& dir) {
  std::vector<SpecialFile> files{{"fifo", dir.file("fifo.xml")},
                                 {"folder", dir.file("folder.xml")},
                                 {"device", dir.file("device.xml")}};
  ::mkfifo(files[0].path.c_str(), 0600);
  std::filesystem::create_directory(files[1].path);
  std::filesystem::create_symlink("/dev/null", files[2].path);
  return files;
}

// Runs read (which opens path) and reports whether it returned within a few seconds; when it
// did not, the FIFO's writing end is opened and closed so the read ends and the test goes on.
inline bool returnsWithoutBlocking(const std::string& path, const std::function<bool()>& read,
                                   bool& result) {
  std::future<bool> done = std::async(std::launch::async, read);
  if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
    result = done.get();
    return true;
  }
  const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) ::close(writer);
  result = done.get();
  return false;
}

}  // namespace sorvanta::testing
