#pragma once
// The system calls that write files, behind one seam: tests make the Nth write, flush, link
// or rename from now on fail with a chosen error (a full disk by default), so disk-full and
// rename failures are tried in the ordinary test run, without root or special mounts.
#include <sys/types.h>

#include <cerrno>
#include <cstddef>

namespace sorvanta::text {

struct FileFaults {
  // 1-based: the Nth call of that kind after the faults are set fails; 0 never.
  int failWrite = 0;
  int failSync = 0;  // fdatasync and syncfs
  int failLink = 0;
  int failRename = 0;
  int error = ENOSPC;  // the errno the failing call reports
};

// Arms faults for this process and starts counting; a default FileFaults disarms them.
void setFileFaults(const FileFaults& faults);

// Arms faults for one scope (a test) and disarms them at its end.
class ScopedFileFaults {
 public:
  explicit ScopedFileFaults(const FileFaults& faults) { setFileFaults(faults); }
  ~ScopedFileFaults() { setFileFaults({}); }
  ScopedFileFaults(const ScopedFileFaults&) = delete;
  ScopedFileFaults& operator=(const ScopedFileFaults&) = delete;
};

// The calls every file writer of the program goes through; each behaves like the system call
// of its name unless a fault is due.
namespace io {
ssize_t write(int fd, const void* data, size_t size);
int fdatasync(int fd);
int syncfs(int fd);
int link(const char* from, const char* to);
int rename(const char* from, const char* to);
}  // namespace io

}  // namespace sorvanta::text
