// Replacing data sets as a whole: the two ways of flushing the temporaries before the renames
// (fdatasync of each file, one syncfs of the file system), with no flush, against the
// yardstick of writing each file to a temporary and renaming it without any flush (how single
// files were replaced before sets). Two workloads of full-size outputs: the sample's five
// files (about 60 MB, sizes of a 1,200-frame release) and the frame files of 1,081 frames
// (three small files each, all frames committed together). Runs are interleaved, each run
// replacing the files the previous one wrote, so every run frees as many old files.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "text/OutputSet.h"

namespace {

namespace text = sorvanta::text;
using sorvanta::bench::interleavedMedianMs;
using sorvanta::bench::intArgument;
using sorvanta::bench::printRatioRow;
using sorvanta::bench::TempFolder;

struct File {
  std::string name;
  std::string bytes;
};

std::vector<File> sampleFiles() {
  const std::pair<const char*, size_t> sizes[] = {{"SensSemRolesTrg.xml", 188905},
                                                  {"SensSemRolesTest.xml", 46732407},
                                                  {"SensSemRolesTrgAns.txt", 131032},
                                                  {"SensSemRolesTestAns.txt", 13176742},
                                                  {"SensSemRolesMessages.txt", 54791}};
  std::vector<File> files;
  for (const auto& [name, size] : sizes) files.push_back({name, std::string(size, 'x')});
  return files;
}

std::vector<std::vector<File>> frameFileSets() {
  std::vector<std::vector<File>> sets;
  for (int frame = 0; frame < 1081; ++frame) {
    const std::string name = "Frame_" + std::to_string(frame);
    sets.push_back({{name + ".eval", std::string(240, 'e')},
                    {name + ".trec", std::string(20, 't')},
                    {name + ".out", std::string(290, 'o')}});
  }
  return sets;
}

// The yardstick: a temporary per file, written and renamed, nothing flushed.
void writeAndRename(const std::string& folder, const std::vector<std::vector<File>>& sets) {
  for (const auto& set : sets) {
    for (const File& file : set) {
      const std::string temp = folder + ".plain-" + file.name;
      const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0 || ::write(fd, file.bytes.data(), file.bytes.size()) < 0 || ::close(fd) != 0 ||
          ::rename(temp.c_str(), (folder + file.name).c_str()) != 0)
        throw std::runtime_error("cannot write " + temp);
    }
  }
}

void writeSets(const std::string& folder, const std::vector<std::vector<File>>& sets,
               text::OutputSet::Flush flush) {
  std::vector<std::unique_ptr<text::OutputSet>> written;
  std::vector<text::OutputSet*> pointers;
  for (const auto& set : sets) {
    written.push_back(std::make_unique<text::OutputSet>(flush));
    for (const File& file : set) written.back()->add(folder + file.name, file.bytes);
    pointers.push_back(written.back().get());
  }
  text::OutputSet::commitTogether(pointers);
}

void compare(const char* workload, const std::vector<std::vector<File>>& sets, int repetitions) {
  TempFolder dir("sorvanta-output-set-bench");
  const std::string folder = dir.folder();
  using Flush = text::OutputSet::Flush;
  const std::vector<double> ms = interleavedMedianMs(
      repetitions, {[&] { writeAndRename(folder, sets); },
                    [&] { writeSets(folder, sets, Flush::None); },
                    [&] { writeSets(folder, sets, Flush::PerFile); },
                    [&] { writeSets(folder, sets, Flush::FileSystem); }});
  std::printf("\n%s\n%-52s %10s %12s\n", workload, "", "median ms", "x yardstick");
  printRatioRow("write + rename, no flush (yardstick)", ms[0], ms[0]);
  printRatioRow("output sets, no flush", ms[1], ms[0]);
  printRatioRow("output sets, fdatasync per file", ms[2], ms[0]);
  printRatioRow("output sets, one syncfs", ms[3], ms[0]);
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = intArgument(argc, argv, "--repetitions", 5);
  compare("The sample's five files (60 MB)", {sampleFiles()}, repetitions);
  compare("Frame files of 1,081 frames (3,243 files)", frameFileSets(), repetitions);
  return 0;
}
