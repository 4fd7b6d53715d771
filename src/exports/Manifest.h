#pragma once
// What manifests say about files: size and SHA-256, and the tool that wrote them.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

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
