#pragma once
// Writes a whole synthetic release folder: the frames and frame-relations documents, and the
// annotation, subcorpus and lexical-entry documents of every lexical unit with annotated
// sentences, all rendered from one model.
#include <cstdint>
#include <filesystem>

#include "releasegen/ReleaseGenerator.h"

namespace sorvanta::tools {

struct ReleaseSummary {
  int frames = 0;
  int lexUnits = 0;
  int annotatedUnits = 0;  // lexical units with an annotated count above 0
  int relations = 0;
  int files = 0;
  uint64_t bytes = 0;
};

// Writes the release under folder, creating the folders it needs and replacing files of the
// same names. Throws std::runtime_error naming the file or folder that cannot be written.
ReleaseSummary writeReleaseFolder(const ReleaseModel& model, const std::filesystem::path& folder);

}  // namespace sorvanta::tools
