#pragma once
// The timing harness the benchmarks share: temporary folders, medians of repeated runs (one
// after another or interleaved), the plain file read most yardsticks are made of, ratio rows
// and command-line options.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace sorvanta::bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Results feed this, so no measured call can be optimised away.
inline volatile size_t gSink = 0;

// A fresh folder under /tmp named name + "-XXXXXX", removed however the run ends.
class TempFolder {
 public:
  explicit TempFolder(const char* name) {
    std::string pattern = (fs::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }
  // The path as a data folder: ending with the separator.
  std::string folder() const { return path_.string() + "/"; }

 private:
  fs::path path_;
};

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Median milliseconds of run over the repetitions; prepare runs untimed before each.
template <class Prepare, class Run>
double medianMs(int repetitions, Prepare prepare, Run run) {
  std::vector<double> times;
  for (int r = 0; r < repetitions; ++r) {
    prepare();
    const auto start = Clock::now();
    run();
    times.push_back(msSince(start));
  }
  return median(times);
}

template <class Run>
double medianMs(int repetitions, Run run) {
  const auto nothing = [] {};
  return medianMs(repetitions, nothing, run);
}

// Median milliseconds of each run. One pass of each first (warm caches for all; its times go
// to firstMs when given), then every repetition times each run once, in turn, so drift of the
// machine spreads evenly.
inline std::vector<double> interleavedMedianMs(int repetitions,
                                               const std::vector<std::function<void()>>& runs,
                                               std::vector<double>* firstMs = nullptr) {
  for (const auto& run : runs) {
    const auto start = Clock::now();
    run();
    if (firstMs) firstMs->push_back(msSince(start));
  }
  std::vector<std::vector<double>> times(runs.size());
  for (int r = 0; r < repetitions; ++r) {
    for (size_t i = 0; i < runs.size(); ++i) {
      const auto start = Clock::now();
      runs[i]();
      times[i].push_back(msSince(start));
    }
  }
  std::vector<double> medians;
  for (const std::vector<double>& each : times) medians.push_back(median(each));
  return medians;
}

// The whole file into out; false when it cannot be opened or read.
inline bool readFile(const std::string& path, std::string& out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  out.resize(size > 0 ? static_cast<size_t>(size) : 0);
  const size_t read = std::fread(out.data(), 1, out.size(), file);
  std::fclose(file);
  return read == out.size();
}

// The yardstick of the commands that read files: each of paths read whole into memory, in
// turn, without parsing. Returns the bytes read; throws when a file cannot be read.
inline size_t readFiles(const std::vector<std::string>& paths) {
  size_t bytes = 0;
  std::string content;
  for (const std::string& path : paths) {
    content.clear();
    if (!readFile(path, content)) throw std::runtime_error("cannot read " + path);
    bytes += content.size();
  }
  gSink = gSink + bytes;
  return bytes;
}

// One row of a table comparing a time with its yardstick.
inline void printRatioRow(const char* what, double ms, double yardstickMs) {
  std::printf("%-52s %10.1f %11.2fx\n", what, ms, ms / yardstickMs);
}

// The value of "name N" on the command line (at least 1), or fallback.
inline int intArgument(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  }
  return fallback;
}

}  // namespace sorvanta::bench
