#include "cli/SignalCancel.h"

#include <signal.h>

#include <atomic>

namespace sorvanta::cli {

namespace {

// The progress the handler cancels. Setting the flag is a store to a lock-free atomic, which a
// signal handler may do.
std::atomic<text::Progress*> target{nullptr};
static_assert(std::atomic<text::Progress*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction earlierInt;
struct sigaction earlierTerm;

extern "C" void cancelOnSignal(int) {
  if (text::Progress* progress = target.load()) progress->cancel();
}

}  // namespace

SignalCancel::SignalCancel(text::Progress& progress) {
  target.store(&progress);
  struct sigaction action = {};
  action.sa_handler = cancelOnSignal;
  sigemptyset(&action.sa_mask);
  // The first signal cancels; the handler is then reset, so a second one ends the process.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &earlierInt);
  sigaction(SIGTERM, &action, &earlierTerm);
}

SignalCancel::~SignalCancel() {
  sigaction(SIGINT, &earlierInt, nullptr);
  sigaction(SIGTERM, &earlierTerm, nullptr);
  target.store(nullptr);
}

}  // namespace sorvanta::cli
