#pragma once
// A text::Progress that keeps every count a command reports, and can cancel the run after a
// number of them: for tests of progress and of cancelling.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/Progress.h"

namespace sorvanta::testing {

class RecordingProgress : public text::Progress {
 public:
  struct Count {
    std::string counter;
    int64_t value;
    std::string item;
  };

  // Sets the cancel flag once this many counts were reported; negative: never.
  explicit RecordingProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {
    if (cancelAfter_ == 0) cancel();
  }

  void count(std::string_view counter, int64_t value, std::string_view item) override {
    counts.push_back({std::string(counter), value, std::string(item)});
    if (static_cast<int>(counts.size()) == cancelAfter_) cancel();
  }

  // The values reported for one counter, in order.
  std::vector<int64_t> values(std::string_view counter) const {
    std::vector<int64_t> found;
    for (const Count& count : counts)
      if (count.counter == counter) found.push_back(count.value);
    return found;
  }

  std::vector<Count> counts;

 private:
  int cancelAfter_;
};

}  // namespace sorvanta::testing
