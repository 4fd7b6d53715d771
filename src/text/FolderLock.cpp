#include "text/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "text/FileIO.h"
#include "text/MessageText.h"

namespace sorvanta::text {

namespace {

// How often a waiting command looks at the lock and at its cancel flag.
constexpr auto kPollInterval = std::chrono::milliseconds(50);

bool tryLock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

FolderLock::FolderLock(std::string_view folder, Wait wait,
                       const std::function<void(const std::string&)>& waiting,
                       const Progress& progress) {
  // The folder itself is locked: no lock file is left in the user's data folder.
  fd_ = ::open(toFsPath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    message_ = "Cannot lock the folder " + quotedText(folder) + ": " + std::strerror(errno);
    return;
  }
  if (tryLock(fd_)) {
    held_ = true;
    return;
  }
  if (errno != EWOULDBLOCK) {
    message_ = "Cannot lock the folder " + quotedText(folder) + ": " + std::strerror(errno);
    return;
  }
  busy_ = true;
  message_ = "Another command is writing into " + messageText(folder);
  if (wait == Wait::No) return;
  if (waiting) waiting(message_);
  // Polled rather than blocking, so a cancelled wait ends promptly.
  while (!progress.cancelled()) {
    std::this_thread::sleep_for(kPollInterval);
    if (tryLock(fd_)) {
      held_ = true;
      message_.clear();
      return;
    }
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
}

}  // namespace sorvanta::text
