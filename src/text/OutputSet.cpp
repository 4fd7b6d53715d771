#include "text/OutputSet.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "text/Errors.h"
#include "text/FileFaults.h"
#include "text/FileIO.h"

namespace sorvanta::text {

namespace {

// Keeps a temporary's name within the usual 255-byte limit of a name.
constexpr size_t kMaxTempStem = 200;

std::atomic<unsigned> temporaryCounter{0};

void splitPath(const std::string& fsPath, std::string& folder, std::string& name) {
  const size_t slash = fsPath.rfind('/');
  folder = slash == std::string::npos ? std::string(".") : fsPath.substr(0, slash == 0 ? 1 : slash);
  name = slash == std::string::npos ? fsPath : fsPath.substr(slash + 1);
}

// A name no other file of this process or any other has: prefix, pid, a counter of the process.
std::string temporaryName(const std::string& folder, const std::string& name) {
  std::string temp = folder;
  if (temp.back() != '/') temp += '/';
  temp += kTemporaryPrefix;
  temp += std::to_string(::getpid());
  temp += '-';
  temp += std::to_string(temporaryCounter.fetch_add(1));
  temp += '.';
  temp += name.substr(0, kMaxTempStem);
  return temp;
}

// Pieces of a file written in pieces gather up to this size before they go to the file.
constexpr size_t kFileBuffer = size_t{256} << 10;

// Errors of link() that only say the file system keeps no second names (FAT, some network
// shares): the commit then renames without a way back for that file.
bool linksUnsupported(int error) {
  return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EXDEV ||
         error == EMLINK || error == ENOSYS;
}

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // makes the renames durable; the set is in place whatever this reports
  ::close(fd);
}

// Removing a name that is a file's last frees the file, and some file systems wait for the
// device there (those that discard freed blocks at once): many names are removed by several
// threads, so those waits overlap. On a busy disk 32 removers took 150 names away in 4 ms
// where one took 85 to 450 ms.
constexpr size_t kNamesPerRemover = 4;
constexpr size_t kMaxRemovers = 32;

void removeNames(const std::vector<std::string>& names) {
  const size_t removers = std::min(kMaxRemovers, names.size() / kNamesPerRemover);
  if (removers <= 1) {
    for (const std::string& name : names) ::unlink(name.c_str());
    return;
  }
  std::atomic<size_t> next{0};
  const auto remove = [&] {
    for (size_t i = next++; i < names.size(); i = next++) ::unlink(names[i].c_str());
  };
  std::vector<std::jthread> threads;
  try {
    for (size_t k = 1; k < removers; ++k) threads.emplace_back(remove);
  } catch (const std::system_error&) {
    // No more threads to be had: those started and this one remove the rest.
  }
  remove();
}

// Cleans each folder once per process: later sets there find only temporaries of live ones.
bool firstVisit(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> visited;
  const std::lock_guard<std::mutex> lock(mutex);
  return visited.insert(folder).second;
}

// Removes the temporaries of processes no longer running from a folder (file system name).
size_t removeStaleIn(const std::string& fsFolder) {
  DIR* dir = ::opendir(fsFolder.empty() ? "." : fsFolder.c_str());
  if (!dir) return 0;
  size_t removed = 0;
  while (const dirent* item = ::readdir(dir)) {
    const std::string_view name(item->d_name);
    if (!name.starts_with(kTemporaryPrefix)) continue;
    const std::string_view rest = name.substr(kTemporaryPrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || pid <= 0 || end == rest.data() + rest.size() || *end != '-')
      continue;  // not a name this program gives
    if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    if (::unlinkat(::dirfd(dir), item->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace

OutputFile& OutputSet::open(std::string_view workingPath) {
  entries_.push_back(std::unique_ptr<OutputFile>(new OutputFile()));
  OutputFile& file = *entries_.back();
  file.set_ = this;
  file.target_ = std::string(workingPath);
  file.fsTarget_ = toFsPath(workingPath);
  std::string name;
  splitPath(file.fsTarget_, file.folder_, name);
  if (name.empty()) fail(file.target_);
  if (firstVisit(file.folder_)) removeStaleIn(file.folder_);

  struct stat info;
  if (::lstat(file.fsTarget_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) fail(file.target_);

  file.temp_ = temporaryName(file.folder_, name);
  // 0666 masked by the umask, like any new file.
  file.fd_ = ::open(file.temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file.fd_ < 0) {
    file.temp_.clear();
    fail(file.target_);
  }
  return file;
}

void OutputSet::add(std::string_view workingPath, std::string_view bytes) {
  // Closed at once, so a set of thousands of files holds no descriptors.
  open(workingPath).finish(bytes);
}

bool OutputFile::writeOut(std::string_view bytes) {
  if (fd_ < 0) return false;
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = io::write(fd_, p, left);
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

void OutputFile::write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() <= kFileBuffer) {
    if (buffer_.capacity() < kFileBuffer) buffer_.reserve(kFileBuffer);
    buffer_.append(bytes);
    return;
  }
  if (!writeOut(buffer_)) set_->fail(target_);
  buffer_.clear();
  if (bytes.size() >= kFileBuffer) {
    if (!writeOut(bytes)) set_->fail(target_);
  } else {
    buffer_.append(bytes);
  }
}

void OutputFile::finish(std::string_view last) {
  if (fd_ < 0) return;
  const bool written = writeOut(buffer_) && writeOut(last) &&
                       (set_->flush_ != OutputSet::Flush::PerFile || io::fdatasync(fd_) == 0);
  buffer_.clear();
  buffer_.shrink_to_fit();
  // Network file systems report write errors at the close.
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!written || !closed) set_->fail(target_);
}

// Files still open are finished before anything is flushed: a failure there discards every set.
void OutputSet::finishFiles(const std::vector<OutputSet*>& sets) {
  for (OutputSet* set : sets) {
    for (const std::unique_ptr<OutputFile>& file : set->entries_) {
      if (file->fd_ < 0) continue;
      try {
        file->finish({});
      } catch (...) {
        for (OutputSet* other : sets) other->discard();
        throw;
      }
    }
  }
}

// One syncfs per folder of the sets that flush the file system; the per-file flushes were made
// as the files were written.
void OutputSet::flushFileSystems(const std::vector<OutputSet*>& sets) {
  std::set<std::string> synced;
  for (OutputSet* set : sets) {
    if (set->flush_ != Flush::FileSystem) continue;
    for (const std::unique_ptr<OutputFile>& entry : set->entries_) {
      if (!synced.insert(entry->folder_).second) continue;
      const int fd = ::open(entry->folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      const bool ok = fd >= 0 && io::syncfs(fd) == 0;
      if (fd >= 0) ::close(fd);
      if (!ok) {
        const std::string target = entry->target_;
        for (OutputSet* other : sets) other->discard();
        throw FileCreateError("Cannot create file " + target);
      }
    }
  }
}

void OutputSet::commit() { commitTogether({this}); }

void OutputSet::commitTogether(const std::vector<OutputSet*>& sets) {
  finishFiles(sets);
  flushFileSystems(sets);
  Replaced replaced;
  for (size_t i = 0; i < sets.size(); ++i) {
    try {
      sets[i]->replaceTargets(replaced);
    } catch (...) {
      for (size_t j = i + 1; j < sets.size(); ++j) sets[j]->discard();
      replaced.finish();
      throw;
    }
  }
  replaced.finish();
}

void OutputSet::Replaced::finish() {
  removeNames(olderTargets);
  for (const std::string& folder : renamedIn) syncFolder(folder);
}

void OutputSet::replaceTargets(Replaced& replaced) {
  // Second names for the older targets first, so every rename below can be undone.
  for (const std::unique_ptr<OutputFile>& entry : entries_) {
    std::string folder, name;
    splitPath(entry->fsTarget_, folder, name);
    entry->backup_ = temporaryName(folder, name);
    if (io::link(entry->fsTarget_.c_str(), entry->backup_.c_str()) == 0) {
      entry->protectedByLink_ = true;
      continue;
    }
    const int error = errno;
    entry->backup_.clear();
    if (error == ENOENT)
      entry->created_ = true;
    else if (!linksUnsupported(error))
      fail(entry->target_);
  }
  // The one step that changes the targets.
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (io::rename(entries_[i]->temp_.c_str(), entries_[i]->fsTarget_.c_str()) != 0) {
      putBack(i);
      fail(entries_[i]->target_);
    }
    entries_[i]->temp_.clear();
  }
  for (const std::unique_ptr<OutputFile>& entry : entries_) {
    if (!entry->backup_.empty()) replaced.olderTargets.push_back(std::move(entry->backup_));
    entry->backup_.clear();
    if (flush_ != Flush::None) replaced.renamedIn.insert(entry->folder_);
  }
  entries_.clear();
}

// Undoes the renames of the first `replaced` entries, last first.
void OutputSet::putBack(size_t replaced) {
  for (size_t i = replaced; i-- > 0;) {
    OutputFile& entry = *entries_[i];
    if (entry.protectedByLink_) {
      if (io::rename(entry.backup_.c_str(), entry.fsTarget_.c_str()) == 0) entry.backup_.clear();
    } else if (entry.created_) {
      ::unlink(entry.fsTarget_.c_str());
    }
  }
}

void OutputSet::discard() {
  for (const std::unique_ptr<OutputFile>& entry : entries_) {
    if (entry->fd_ >= 0) ::close(entry->fd_);
    if (!entry->temp_.empty()) ::unlink(entry->temp_.c_str());
    if (!entry->backup_.empty()) ::unlink(entry->backup_.c_str());
  }
  entries_.clear();
}

void OutputSet::fail(const std::string& target) {
  const std::string message = "Cannot create file " + target;
  discard();
  throw FileCreateError(message);
}

std::vector<std::string> OutputSet::targets() const {
  std::vector<std::string> paths;
  for (const std::unique_ptr<OutputFile>& entry : entries_) paths.push_back(entry->target_);
  return paths;
}

size_t removeStaleTemporaries(std::string_view workingFolder) {
  return removeStaleIn(toFsPath(workingFolder));
}

}  // namespace sorvanta::text
