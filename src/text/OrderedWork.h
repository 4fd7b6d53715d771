#pragma once
// Items worked on by a pool of threads, their results taken in item order on the calling
// thread: what a command does per document (parse, extract) runs in parallel, and what must
// happen in order (merging into outputs, random draws, progress, cancel checks) stays on the
// thread that called the command. With one job nothing runs on another thread: produce and
// consume alternate, item by item, exactly as a plain loop would.
//
//   text::orderedWork<Lines>(paths.size(), jobs,
//       [&](size_t i) { return linesOf(paths[i]); },            // any worker thread
//       [&](size_t i, Lines lines) { add(lines); return true; }); // calling thread, in order
//
// Plain threads with a small window rather than a task library: consume must run on the
// caller's own thread (the window's progress and the draw's generator live there), and at
// most `window` results wait at a time, which bounds the memory of results held for merging.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sorvanta::text {

// The worker count "every core" stands for: the hardware's threads, at least 1.
inline unsigned allCores() { return std::max(1u, std::thread::hardware_concurrency()); }

// The jobs a command runs with: requested, or every core for 0.
inline unsigned jobCount(unsigned requested) { return requested == 0 ? allCores() : requested; }

// Calls produce(i) for every i below count, on `jobs` worker threads (0: every core), and
// consume(i, result) on the calling thread in increasing i. consume returns false to stop:
// no later item is consumed and the workers end after their current item. An exception of
// produce(i) is thrown here when item i's turn comes, after items before it were consumed;
// one of consume propagates at once. Either way the workers have ended when this returns.
template <class Result, class Produce, class Consume>
void orderedWork(size_t count, unsigned jobs, Produce produce, Consume consume) {
  jobs = static_cast<unsigned>(std::min<size_t>(jobCount(jobs), std::max<size_t>(count, 1)));
  if (jobs <= 1) {
    for (size_t i = 0; i < count; ++i)
      if (!consume(i, produce(i))) return;
    return;
  }
  struct Slot {
    std::optional<Result> value;
    std::exception_ptr error;
    bool ready = false;
  };
  const size_t window = size_t{8} * jobs;
  std::vector<Slot> slots(window);
  std::mutex mutex;
  std::condition_variable readyChanged, spaceChanged;
  size_t claimed = 0;   // items handed to workers
  size_t consumed = 0;  // items taken by the caller
  bool stopping = false;

  const auto work = [&] {
    for (;;) {
      size_t item = 0;
      {
        std::unique_lock lock(mutex);
        spaceChanged.wait(lock, [&] { return stopping || claimed >= count || claimed < consumed + window; });
        if (stopping || claimed >= count) return;
        item = claimed++;
      }
      std::optional<Result> value;
      std::exception_ptr error;
      try {
        value.emplace(produce(item));
      } catch (...) {
        error = std::current_exception();
      }
      std::lock_guard lock(mutex);
      Slot& slot = slots[item % window];
      slot.value = std::move(value);
      slot.error = error;
      slot.ready = true;
      // The caller waits for item `consumed` only: waking it for a later one would only put
      // it to sleep again (a context switch per item on a busy machine).
      if (item == consumed) readyChanged.notify_all();
    }
  };
  // Declared after the state they use, so they are joined before it goes; the guard, declared
  // last, tells them to stop first on every way out.
  std::vector<std::jthread> workers;
  struct StopGuard {
    std::mutex& mutex;
    bool& stopping;
    std::condition_variable& spaceChanged;
    ~StopGuard() {
      {
        std::lock_guard lock(mutex);
        stopping = true;
      }
      spaceChanged.notify_all();
    }
  } guard{mutex, stopping, spaceChanged};
  for (unsigned j = 0; j < jobs; ++j) workers.emplace_back(work);

  for (size_t i = 0; i < count; ++i) {
    std::optional<Result> value;
    std::exception_ptr error;
    bool wasFull = false;
    {
      std::unique_lock lock(mutex);
      Slot& slot = slots[i % window];
      readyChanged.wait(lock, [&] { return slot.ready; });
      value = std::move(slot.value);
      error = slot.error;
      slot = Slot();
      wasFull = claimed >= consumed + window;  // workers may wait for room
      consumed = i + 1;
    }
    if (wasFull) spaceChanged.notify_all();
    if (error) std::rethrow_exception(error);
    if (!consume(i, std::move(*value))) return;
  }
}

}  // namespace sorvanta::text
