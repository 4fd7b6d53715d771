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

#include "exports/OutputFile.h"
#include "text/Errors.h"

namespace sorvanta::exports {

text::Outcome writeDataSetManifest(const DataSetManifest& manifest, const std::string& file) {
  std::vector<FileDigest> inputs, outputs;
  for (const std::string& name : manifest.inputs) {
    FileDigest& digest = inputs.emplace_back();
    if (!digestFile(manifest.releaseFolder, name, digest))
      return text::Outcome::refused("Manifest", "Cannot read " + manifest.releaseFolder + "/" + name);
  }
  for (const std::string& name : manifest.outputs) {
    FileDigest& digest = outputs.emplace_back();
    if (!digestFile(manifest.outputFolder, name, digest))
      return text::Outcome::refused("Manifest", "Cannot read " + manifest.outputFolder + "/" + name);
  }
  nlohmann::ordered_json json;
  json["tool"] = "sorvanta";
  json["tool_version"] = toolVersion();
  json["command_line"] = manifest.commandLine;
  json["seed"] = manifest.seed;
  json["parameters"] = manifest.parameters;
  json["inputs"] = digestList(inputs);
  json["counts"] = manifest.counts;
  json["outputs"] = digestList(outputs);
  try {
    OutputFile out(file);
    out.write(json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
    out.commit();
  } catch (const text::FileCreateError& error) {
    return text::Outcome::refused("Manifest", error.what());
  }
  text::Outcome outcome;
  outcome.filesWritten.push_back(file);
  return outcome;
}

}  // namespace sorvanta::exports
