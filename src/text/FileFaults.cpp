#include "text/FileFaults.h"

#include <unistd.h>

#include <atomic>

namespace sorvanta::text {

namespace {

struct Armed {
  std::atomic<bool> on{false};
  std::atomic<int> error{ENOSPC};
  std::atomic<int> writeLeft{0}, syncLeft{0}, linkLeft{0}, renameLeft{0};
};

Armed& armed() {
  static Armed faults;
  return faults;
}

// True when this call is the one to fail; counting stops at the failure.
bool due(std::atomic<int>& left) {
  if (!armed().on.load(std::memory_order_relaxed)) return false;
  int now = left.load();
  while (now > 0) {
    if (left.compare_exchange_weak(now, now - 1)) return now == 1;
  }
  return false;
}

template <class Call>
auto unlessDue(std::atomic<int>& left, Call call) -> decltype(call()) {
  if (due(left)) {
    errno = armed().error.load();
    return -1;
  }
  return call();
}

}  // namespace

void setFileFaults(const FileFaults& faults) {
  Armed& a = armed();
  a.on = false;
  a.error = faults.error;
  a.writeLeft = faults.failWrite;
  a.syncLeft = faults.failSync;
  a.linkLeft = faults.failLink;
  a.renameLeft = faults.failRename;
  a.on = faults.failWrite || faults.failSync || faults.failLink || faults.failRename;
}

namespace io {

ssize_t write(int fd, const void* data, size_t size) {
  return unlessDue(armed().writeLeft, [&] { return ::write(fd, data, size); });
}
int fdatasync(int fd) {
  return unlessDue(armed().syncLeft, [&] { return ::fdatasync(fd); });
}
int syncfs(int fd) {
  return unlessDue(armed().syncLeft, [&] { return ::syncfs(fd); });
}
int link(const char* from, const char* to) {
  return unlessDue(armed().linkLeft, [&] { return ::link(from, to); });
}
int rename(const char* from, const char* to) {
  return unlessDue(armed().renameLeft, [&] { return ::rename(from, to); });
}

}  // namespace io

}  // namespace sorvanta::text
