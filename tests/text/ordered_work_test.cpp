// Work on a pool of threads, results taken in item order on the calling thread.
#include "text/OrderedWork.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace sorvanta::text {
namespace {

// Items that finish out of order: the early ones take longest.
int slowFirst(size_t i, size_t count) {
  std::this_thread::sleep_for(std::chrono::microseconds(50 * (count - i)));
  return static_cast<int>(i * i);
}

TEST(OrderedWork, ConsumesInItemOrderOnTheCallingThread) {
  for (const unsigned jobs : {1u, 2u, 4u, 0u}) {
    SCOPED_TRACE(jobs);
    const size_t count = 40;
    std::vector<int> seen;
    bool otherThread = false;
    const std::thread::id caller = std::this_thread::get_id();
    orderedWork<int>(
        count, jobs, [&](size_t i) { return slowFirst(i, count); },
        [&](size_t i, int value) {
          otherThread = otherThread || std::this_thread::get_id() != caller;
          EXPECT_EQ(value, static_cast<int>(i * i));
          seen.push_back(static_cast<int>(i));
          return true;
        });
    ASSERT_EQ(seen.size(), count);
    for (size_t i = 0; i < count; ++i) EXPECT_EQ(seen[i], static_cast<int>(i));
    EXPECT_FALSE(otherThread);
  }
}

TEST(OrderedWork, StopsAndThrowsAtTheItemsTurn) {
  const struct {
    const char* what;
    size_t failing;  // produce throws for this item; count for none
    size_t stopAfter;  // consume returns false for this item; count for none
    size_t consumed;
    bool throws;
  } cases[] = {
      {"an error of item 5 after items 0 to 4", 5, 30, 5, true},
      {"an error of the first item", 0, 30, 0, true},
      {"stopped by consume at item 3", 30, 3, 4, false},
      {"a stop before the error is met", 20, 3, 4, false},
      {"neither", 30, 30, 30, false},
  };
  for (const auto& c : cases) {
    for (const unsigned jobs : {1u, 3u}) {
      SCOPED_TRACE(std::string(c.what) + ", jobs " + std::to_string(jobs));
      size_t consumed = 0;
      bool threw = false;
      try {
        orderedWork<std::string>(
            30, jobs,
            [&](size_t i) {
              if (i == c.failing) throw std::runtime_error("item " + std::to_string(i));
              return std::to_string(slowFirst(i, 30));
            },
            [&](size_t i, std::string) {
              ++consumed;
              return i != c.stopAfter;
            });
      } catch (const std::runtime_error& error) {
        threw = true;
        EXPECT_EQ(std::string(error.what()), "item " + std::to_string(c.failing));
      }
      EXPECT_EQ(threw, c.throws);
      EXPECT_EQ(consumed, c.consumed);
    }
  }
}

TEST(OrderedWork, NoItemsConsumesNothing) {
  int calls = 0;
  orderedWork<int>(
      0, 4, [&](size_t) { return ++calls; }, [&](size_t, int) { return ++calls > 0; });
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace sorvanta::text
