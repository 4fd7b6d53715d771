// A whole release under attack: a small generated release is written once; each input picks
// one of its documents (first byte) and replaces it with the remaining bytes, then every
// command runs on the release through the command line, in process, writing its files into
// the release's folder. Nothing may crash, hang or fail a sanitizer; each document is put
// back before the next input.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"

namespace {

namespace fs = std::filesystem;

struct Release {
  fs::path root;
  std::string folder;  // the data folder as the commands take it, ending with '/'
  std::vector<fs::path> documents;
  std::vector<std::string> originals;
  std::string frameName;
  std::string lexUnitId;
  std::string annotatedId;  // a lexical unit with annotated sentences, when there is one

  Release() {
    root = fs::temp_directory_path() / ("sorvanta-release-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const sorvanta::tools::ReleaseModel model = sorvanta::tools::generateReleaseModel({3, 11});
    sorvanta::tools::writeReleaseFolder(model, root);
    folder = root.string() + "/";
    for (const auto& entry : fs::recursive_directory_iterator(root))
      if (entry.is_regular_file()) documents.push_back(entry.path());
    std::sort(documents.begin(), documents.end());
    for (const fs::path& path : documents) {
      std::ifstream in(path, std::ios::binary);
      originals.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    frameName = model.frames.front().name;
    lexUnitId = std::to_string(model.frames.front().lexUnits.front().id);
    annotatedId = lexUnitId;
    for (const auto& frame : model.frames)
      for (const auto& lexUnit : frame.lexUnits)
        if (lexUnit.annotated > 0) annotatedId = std::to_string(lexUnit.id);
  }
  ~Release() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

void write(const fs::path& path, const char* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(data, static_cast<std::streamsize>(size));
}

int run(const Release& release, std::vector<std::string> args) {
  args.insert(args.begin(), {"--data", release.folder});
  std::ostringstream out, err;
  return sorvanta::cli::runCli(args, out, err);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Release release;
  if (size == 0) return 0;
  const size_t which = data[0] % release.documents.size();
  const fs::path& document = release.documents[which];
  write(document, reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string& lu = release.annotatedId;
  const std::vector<std::vector<std::string>> commands = {
      {"frames"},
      {"lexunits", "--sort", "2"},
      {"fes"},
      {"totals"},
      {"frame", release.frameName},
      {"lu", lu},
      {"lu", lu, "--subcorpora"},
      {"sentence-fes", lu, "1"},
      {"sample", "--low", "0", "--high", "100", "--frames", "1", "--sentences", "1", "--seed", "3"},
      {"frame-files", "--all"},
      {"subcorpora", "--low", "-2147483648", "--high", "2147483647", "--preposition", "in"},
      {"realizations", "--preposition", "in"},
      {"dictionaries"},
  };
  for (const auto& command : commands) run(release, command);
  std::ostringstream out, err;
  sorvanta::cli::runCli({"query", document.string(), "//*"}, out, err);

  write(document, release.originals[which].data(), release.originals[which].size());
  return 0;
}
