#pragma once
// An advisory lock (flock) on a data folder, held by a command for its whole run so two
// commands (window or command line, in one process or two) never write into one folder at once.
// Readers take no lock. The lock ends with the object, or with the process however it ends.
//
//   FolderLock lock(folder, FolderLock::Wait::Yes, [&](const std::string& m) { say(m); });
//   if (!lock.held()) return refuse(lock.message());
#include <functional>
#include <string>
#include <string_view>

#include "text/Progress.h"

namespace sorvanta::text {

class FolderLock {
 public:
  enum class Wait { Yes, No };

  // Takes the lock of the folder (working-text path). When another command holds it:
  // Wait::Yes calls waiting(message) once and waits until it is free, or until progress is
  // cancelled; Wait::No does not wait. held() then tells, and message() says why not:
  // "Another command is writing into FOLDER", or that the folder cannot be opened.
  FolderLock(std::string_view folder, Wait wait,
             const std::function<void(const std::string&)>& waiting = {},
             const Progress& progress = noProgress());
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool held() const { return held_; }
  // Not held because another command holds the lock (rather than a folder that cannot be
  // opened or locked).
  bool busy() const { return !held_ && busy_; }
  const std::string& message() const { return message_; }

 private:
  int fd_ = -1;
  bool held_ = false;
  bool busy_ = false;
  std::string message_;
};

}  // namespace sorvanta::text
