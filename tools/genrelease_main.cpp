// sorvanta-genrelease: writes a synthetic release folder, the same bytes for the same frame
// count and seed, for benchmarks and manual runs at full size.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "releasegen/ReleaseFolder.h"
#include "releasegen/ReleaseGenerator.h"

namespace {

constexpr int kMaxFrames = 100000;

constexpr char kUsage[] =
    "usage: sorvanta-genrelease [--frames N] [--seed S] --out DIR\n"
    "  --frames N  number of frames, 0 to 100000 (default 1200: about 13,000 lexical units)\n"
    "  --seed S    unsigned 64-bit seed (default 1)\n"
    "  --out DIR   release folder to write; created when missing, files in it are replaced\n";

int usageError(const std::string& message) {
  std::fprintf(stderr, "sorvanta-genrelease: %s\n%s", message.c_str(), kUsage);
  return 2;
}

// The whole text as an unsigned decimal number.
template <class Number>
bool parseNumber(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

}  // namespace

int main(int argc, char** argv) {
  sorvanta::tools::GeneratorOptions options;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (option != "--frames" && option != "--seed" && option != "--out") {
      return usageError("unknown argument '" + std::string(option) + "'");
    }
    if (i + 1 == argc) return usageError(std::string(option) + " needs a value");
    const std::string_view value = argv[++i];
    if (option == "--frames") {
      if (!parseNumber(value, options.frames) || options.frames < 0 ||
          options.frames > kMaxFrames) {
        return usageError("--frames wants a number from 0 to 100000, not '" + std::string(value) +
                          "'");
      }
    } else if (option == "--seed") {
      if (!parseNumber(value, options.seed)) {
        return usageError("--seed wants an unsigned 64-bit number, not '" + std::string(value) +
                          "'");
      }
    } else {
      if (value.empty()) return usageError("--out wants a folder name");
      out = value;
    }
  }
  if (out.empty()) return usageError("--out DIR is required");

  try {
    const sorvanta::tools::ReleaseModel model = sorvanta::tools::generateReleaseModel(options);
    const sorvanta::tools::ReleaseSummary summary = sorvanta::tools::writeReleaseFolder(model, out);
    std::fprintf(stderr,
                 "sorvanta-genrelease: %d frames, %d lexical units, %d annotated units, "
                 "%d relations, %d files, %.1f MB in %s\n",
                 summary.frames, summary.lexUnits, summary.annotatedUnits, summary.relations,
                 summary.files, static_cast<double>(summary.bytes) / 1e6, out.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "sorvanta-genrelease: %s\n", error.what());
    return 1;
  }
  return 0;
}
