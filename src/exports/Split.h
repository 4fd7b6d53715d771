#pragma once
// Reproducible train/dev/test splits of a release's annotation sets, with a manifest that lets
// anyone check them later (docs/exports.md):
// - the same release, seed and parameters give byte-identical files;
// - grouped by lexical unit or frame, no unit or frame is in two splits;
// - no sentence text (white space collapsed) is in two splits: sets sharing a text go with
//   the first of them;
// - split sizes in annotation sets follow the ratios as closely as these groups allow.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exports/AnnotationSets.h"
#include "exports/Formats.h"
#include "text/Outcome.h"
#include "text/Progress.h"

namespace sorvanta::exports {

enum class Grouping { Sentence, LexicalUnit, Frame };

// "sentence", "lu", "frame"
std::string_view groupingName(Grouping grouping);
bool groupingNamed(std::string_view name, Grouping& grouping);

// A seed as typed: decimal digits only, 0 to 2^64 - 1; false for anything else.
bool seedNamed(std::string_view text, uint64_t& seed);

inline constexpr std::array<const char*, 3> kSplitNames = {"train", "dev", "test"};
inline constexpr const char* kManifestFile = "manifest.json";

struct SplitRequest {
  std::string releaseFolder;  // file-system path
  std::string indexFile;      // empty: the release's default index
  uint64_t seed = 0;
  Grouping grouping = Grouping::Sentence;
  std::array<int64_t, 3> ratios{80, 10, 10};  // non-negative, positive sum
  Selection selection;                         // frames and minAnnotated
  Format format = Format::Jsonl;
  std::string outFolder;                  // file-system path; created when missing
  std::vector<std::string> commandLine;  // recorded in the manifest
};

struct SplitCounts {
  int64_t sets = 0, sentences = 0, lexicalUnits = 0, frames = 0;
};

struct SplitResult {
  std::array<SplitCounts, 3> counts;
  std::array<std::string, 3> outputs;  // file contents
  std::string manifest;                // manifest.json contents
};

// The command line that writes this split (what the window records in the manifest, so the
// split can be repeated from a shell): sorvanta --data RELEASE split --seed S --by G
// --ratios A,B,C --min-annotated N [--frame F]... --format F --out DIR.
std::vector<std::string> splitCommandLine(const SplitRequest& request);

// Computes the split and its manifest without writing anything.
text::Outcome computeSplit(const SplitRequest& request, SplitResult& result,
                           text::Progress& progress = text::noProgress());

// Computes the split and writes the three files and manifest.json into request.outFolder,
// replacing them together only once all are complete.
text::Outcome writeSplit(const SplitRequest& request, SplitResult& result,
                         text::Progress& progress = text::noProgress());

// Re-checks a split folder: its files against the manifest, the release's documents against
// the sizes and digests recorded, and a fresh run of the recorded parameters against the
// recorded outputs. Each difference is one line in differences (empty: all agree); checked
// receives a line per check that passed. releaseFolder overrides the manifest's release.
text::Outcome verifySplit(const std::string& folder, const std::string& releaseFolder,
                          const std::string& indexFile, std::vector<std::string>& checked,
                          std::vector<std::string>& differences,
                          text::Progress& progress = text::noProgress());

}  // namespace sorvanta::exports
