#include "exports/Manifest.h"

#include "exports/Sha256.h"

#ifndef SORVANTA_VERSION
#define SORVANTA_VERSION "unknown"
#endif

namespace sorvanta::exports {

std::string toolVersion() { return SORVANTA_VERSION; }

bool digestFile(const std::string& folder, const std::string& name, FileDigest& digest) {
  digest.name = name;
  return sha256OfFile(folder + "/" + name, digest.sha256, digest.size);
}

nlohmann::ordered_json digestList(const std::vector<FileDigest>& digests) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const FileDigest& digest : digests)
    list.push_back({{"path", digest.name}, {"size", digest.size}, {"sha256", digest.sha256}});
  return list;
}

bool readDigestList(const nlohmann::ordered_json& list, std::vector<FileDigest>& digests) {
  if (!list.is_array()) return false;
  for (const auto& item : list) {
    if (!item.is_object() || !item.contains("path") || !item["path"].is_string() ||
        !item.contains("size") || !item["size"].is_number_integer() || !item.contains("sha256") ||
        !item["sha256"].is_string())
      return false;
    digests.push_back({item["path"], item["size"].get<int64_t>(), item["sha256"]});
  }
  return true;
}

}  // namespace sorvanta::exports
