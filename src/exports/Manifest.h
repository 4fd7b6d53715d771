#pragma once
// What manifests say about files: size and SHA-256, and the tool that wrote them.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "text/Outcome.h"

namespace sorvanta::exports {

struct FileDigest {
  std::string name;  // as the manifest shows it: relative to the release or the output folder
  int64_t size = 0;
  std::string sha256;
};

// The version of the program, as manifests record it.
std::string toolVersion();

// Digests the file at folder/name; false when it cannot be read.
bool digestFile(const std::string& folder, const std::string& name, FileDigest& digest);

// [{"path": name, "size": n, "sha256": hex}, ...]
nlohmann::ordered_json digestList(const std::vector<FileDigest>& digests);

// Reads such a list back; false when it does not have that shape.
bool readDigestList(const nlohmann::ordered_json& list, std::vector<FileDigest>& digests);

}  // namespace sorvanta::exports

namespace sorvanta::exports {

// The manifest of a data set written into one folder from documents of a release.
struct DataSetManifest {
  std::string releaseFolder;  // file-system path; inputs are relative to it
  std::string outputFolder;   // file-system path; outputs are relative to it
  std::vector<std::string> commandLine;
  uint64_t seed = 0;
  nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
  std::vector<std::string> inputs;   // relative paths, in the order read
  nlohmann::ordered_json counts = nlohmann::ordered_json::object();
  std::vector<std::string> outputs;  // file names
};

// Digests the inputs and outputs and writes the manifest to file (replaced once complete):
// tool, tool_version, command_line, seed, parameters, inputs, counts, outputs. Refused when a
// listed file cannot be read or the manifest cannot be written.
text::Outcome writeDataSetManifest(const DataSetManifest& manifest, const std::string& file);

}  // namespace sorvanta::exports
