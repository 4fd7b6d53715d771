#pragma once
// Progress of a long command: counters the front end shows while it runs, and a cancel flag
// the front end sets (from another thread or a signal handler) and the command polls between
// items. One interface for every command; the window and the command line adapt it once.
#include <atomic>
#include <cstdint>
#include <string_view>

namespace sorvanta::text {

class Progress {
 public:
  virtual ~Progress() = default;

  // A counter of the command changed. `counter` names it (each command documents its own,
  // e.g. "frames completed"); `item` optionally names what was just done (a frame name).
  virtual void count(std::string_view counter, int64_t value, std::string_view item = {}) {
    (void)counter, (void)value, (void)item;
  }
  // The command moved to another stage ("Reading annotation documents").
  virtual void stage(std::string_view what) { (void)what; }

  void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> cancelled_{false};
};

// For callers that want no progress: counts nothing, never cancelled.
inline Progress& noProgress() {
  static thread_local Progress none;
  return none;
}

}  // namespace sorvanta::text
