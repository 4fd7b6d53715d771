#include "exports/Split.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "exports/Export.h"
#include "exports/Manifest.h"
#include "exports/OutputFile.h"
#include "exports/SeededShuffle.h"
#include "exports/Sha256.h"
#include "exports/Utf8.h"
#include "index/Sqlite.h"
#include "text/Errors.h"

namespace sorvanta::exports {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

namespace {

// A set read for the split. Its bytes and text key live in one buffer each (SetBytes), as
// a few hundred thousand strings of their own would cost an allocation apiece.
struct Item {
  size_t bytesAt = 0, bytesSize = 0;  // the set as written (CoNLL: without the blank line)
  size_t keyAt = 0, keySize = 0;      // the text with white space collapsed
  int64_t luId = 0;
  size_t frame = 0;  // in order of first appearance
  int64_t sentenceId = 0;
};

struct SetBytes {
  std::string bytes, keys;
  std::string_view bytesOf(const Item& item) const {
    return std::string_view(bytes).substr(item.bytesAt, item.bytesSize);
  }
  std::string_view keyOf(const Item& item) const {
    return std::string_view(keys).substr(item.keyAt, item.keySize);
  }
};

// Groups joined by shared texts; the root of a group is its earliest unit.
class Groups {
 public:
  explicit Groups(size_t count) : parent_(count) { std::iota(parent_.begin(), parent_.end(), 0); }
  size_t find(size_t unit) {
    while (parent_[unit] != unit) unit = parent_[unit] = parent_[parent_[unit]];
    return unit;
  }
  void join(size_t a, size_t b) {
    a = find(a), b = find(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<size_t> parent_;
};

// Distance of the split sizes from the ratios, in units of 1/sum(ratios) sets.
int64_t ratioError(const std::array<int64_t, 3>& sizes, const std::array<int64_t, 3>& ratios,
                   int64_t total, int64_t ratioSum) {
  int64_t error = 0;
  for (size_t k = 0; k < 3; ++k) error += std::abs(sizes[k] * ratioSum - ratios[k] * total);
  return error;
}

// Assigns components (sizes in sets) to the three splits: in shuffled order, each to the
// split furthest below its share; then single moves while they bring the sizes closer to
// the ratios.
std::vector<int> assignComponents(const std::vector<int64_t>& sizes, const std::array<int64_t, 3>& ratios,
                                  uint64_t seed) {
  std::vector<size_t> order(sizes.size());
  std::iota(order.begin(), order.end(), 0);
  seededShuffle(order, seed);
  const int64_t total = std::accumulate(sizes.begin(), sizes.end(), int64_t{0});
  const int64_t ratioSum = ratios[0] + ratios[1] + ratios[2];
  std::array<int64_t, 3> assigned{};
  std::vector<int> splitOf(sizes.size(), 0);
  for (size_t component : order) {
    int best = 0;
    int64_t bestDeficit = INT64_MIN;
    for (int k = 0; k < 3; ++k) {
      const int64_t deficit = ratios[k] * total - assigned[k] * ratioSum;
      if (deficit > bestDeficit) best = k, bestDeficit = deficit;
    }
    splitOf[component] = best;
    assigned[best] += sizes[component];
  }
  for (int pass = 0; pass < 16; ++pass) {
    bool improved = false;
    for (size_t component : order) {
      const int from = splitOf[component];
      for (int to = 0; to < 3; ++to) {
        if (to == from) continue;
        std::array<int64_t, 3> moved = assigned;
        moved[from] -= sizes[component];
        moved[to] += sizes[component];
        if (ratioError(moved, ratios, total, ratioSum) < ratioError(assigned, ratios, total, ratioSum)) {
          assigned = moved;
          splitOf[component] = to;
          improved = true;
          break;
        }
      }
    }
    if (!improved) break;
  }
  return splitOf;
}

std::string absoluteFolder(const std::string& folder) {
  std::error_code error;
  std::string text = fs::weakly_canonical(fs::absolute(folder, error), error).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// The documents the sets were read from: the frames document, then per unit (by ID) its
// annotation and subcorpus documents, as the index lists them.
text::Outcome digestInputs(const std::string& indexFile, const std::string& release,
                           const std::vector<int64_t>& units, std::vector<FileDigest>& digests) {
  const std::unordered_set<int64_t> wanted(units.begin(), units.end());
  struct Document {
    std::string path;
    int64_t luId, rank, size;
  };
  std::vector<Document> documents;
  {
    index::Database db(indexFile, index::Database::Mode::ReadOnly);
    index::Statement rows(db, "SELECT path, kind, lu_id, size FROM documents "
                              "WHERE kind IN ('frames', 'annotation', 'subcorpus')");
    while (rows.step()) {
      const std::string_view kind = rows.text(1);
      const int64_t luId = rows.isNull(2) ? -1 : rows.integer(2);
      if (kind != "frames" && !wanted.count(luId)) continue;
      documents.push_back({std::string(rows.text(0)), luId, kind == "frames" ? 0 : kind == "annotation" ? 1 : 2,
                           rows.integer(3)});
    }
  }
  std::sort(documents.begin(), documents.end(), [](const Document& a, const Document& b) {
    return std::tie(a.luId, a.rank, a.path) < std::tie(b.luId, b.rank, b.path);
  });
  // Hashing is most of the cost of a full release: the documents are shared among threads,
  // each writing its own slots, and checked in order afterwards.
  std::vector<FileDigest> found(documents.size());
  std::vector<char> readable(documents.size(), 0);
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next.fetch_add(1)) < documents.size();)
      readable[i] = digestFile(release, documents[i].path, found[i]);
  };
  {
    std::vector<std::jthread> workers;
    const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    for (unsigned t = 1; t < count; ++t) workers.emplace_back(work);
    work();
  }
  for (size_t i = 0; i < documents.size(); ++i) {
    if (!readable[i]) return text::Outcome::refused("Split", "Cannot read " + release + "/" + documents[i].path);
    if (found[i].size != documents[i].size)
      return text::Outcome::refused("Split", documents[i].path + " changed while the split was made; run it again");
    digests.push_back(std::move(found[i]));
  }
  return {};
}

std::string fileName(const SplitRequest& request, size_t split) {
  return std::string(kSplitNames[split]) + "." + std::string(formatName(request.format));
}

}  // namespace

std::string_view groupingName(Grouping grouping) {
  switch (grouping) {
    case Grouping::Sentence: return "sentence";
    case Grouping::LexicalUnit: return "lu";
    case Grouping::Frame: return "frame";
  }
  return "";
}

bool groupingNamed(std::string_view name, Grouping& grouping) {
  for (Grouping each : {Grouping::Sentence, Grouping::LexicalUnit, Grouping::Frame}) {
    if (groupingName(each) == name) {
      grouping = each;
      return true;
    }
  }
  return false;
}

bool seedNamed(std::string_view text, uint64_t& seed) {
  if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  uint64_t value = 0;
  for (char c : text) {
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  seed = value;
  return true;
}

std::vector<std::string> splitCommandLine(const SplitRequest& request) {
  const std::array<int64_t, 3>& r = request.ratios;
  std::vector<std::string> line = {"sorvanta", "--data", request.releaseFolder, "split",
                                   "--seed", std::to_string(request.seed),
                                   "--by", std::string(groupingName(request.grouping)),
                                   "--ratios", std::to_string(r[0]) + "," + std::to_string(r[1]) +
                                                   "," + std::to_string(r[2]),
                                   "--min-annotated", std::to_string(request.selection.minAnnotated)};
  for (const std::string& frame : request.selection.frames) {
    line.push_back("--frame");
    line.push_back(frame);
  }
  line.insert(line.end(), {"--format", std::string(formatName(request.format)), "--out",
                           request.outFolder});
  return line;
}

text::Outcome computeSplit(const SplitRequest& request, SplitResult& result, text::Progress& progress) {
  result = SplitResult();
  const std::array<int64_t, 3>& ratios = request.ratios;
  if (std::any_of(ratios.begin(), ratios.end(), [](int64_t r) { return r < 0 || r > 1000000; }) ||
      ratios[0] + ratios[1] + ratios[2] == 0)
    return text::Outcome::refused("Split", "The ratios must be three whole numbers from 0 to 1000000, not all 0");
  text::Outcome outcome;
  std::string indexFile;
  if (!freshIndex(request.releaseFolder, request.indexFile, indexFile, outcome, progress)) return outcome;
  const std::string release = absoluteFolder(request.releaseFolder);

  std::vector<Item> items;
  SetBytes stored;
  std::unordered_map<std::string, size_t> frameIds;
  std::vector<int64_t> unitsRead;
  progress.stage("Reading annotation sets");
  try {
    Selection selection = request.selection;
    text::Outcome read = readAnnotationSets(indexFile, selection, [&](const AnnotationRecord& record) {
      Item item;
      item.bytesAt = stored.bytes.size();
      if (request.format == Format::Conll) {
        appendConllBlock(stored.bytes, record);
        if (stored.bytes.size() == item.bytesAt) {
          outcome.warn("Split", "lexical unit " + std::to_string(record.luId) + ", sentence " +
                                    std::to_string(record.sentenceId) + ": the text has no tokens; set left out");
          return;
        }
      } else {
        appendJsonLine(stored.bytes, record);
      }
      item.bytesSize = stored.bytes.size() - item.bytesAt;
      item.luId = record.luId;
      item.frame = frameIds.emplace(record.frame, frameIds.size()).first->second;
      item.sentenceId = record.sentenceId;
      item.keyAt = stored.keys.size();
      appendCollapsedWhiteSpace(stored.keys, record.text);
      item.keySize = stored.keys.size() - item.keyAt;
      items.push_back(item);
    }, progress, &unitsRead);
    if (!read.done()) return read;
    for (text::Notice& notice : read.notices) outcome.notices.push_back(std::move(notice));
  } catch (const index::SqliteError& error) {
    return text::Outcome::refused("Split", std::string("Cannot read the index: ") + error.what());
  }

  // Units of the grouping, joined into groups by shared texts.
  std::vector<size_t> unitOf(items.size());
  size_t unitCount = 0;
  {
    std::unordered_map<int64_t, size_t> byLu;
    std::unordered_map<size_t, size_t> byFrame;
    for (size_t i = 0; i < items.size(); ++i) {
      if (request.grouping == Grouping::Sentence) {
        unitOf[i] = unitCount++;
      } else if (request.grouping == Grouping::LexicalUnit) {
        auto [found, added] = byLu.emplace(items[i].luId, unitCount);
        unitOf[i] = found->second;
        unitCount += added;
      } else {
        auto [found, added] = byFrame.emplace(items[i].frame, unitCount);
        unitOf[i] = found->second;
        unitCount += added;
      }
    }
  }
  Groups groups(unitCount);
  {
    std::unordered_map<std::string_view, size_t> byText;
    for (size_t i = 0; i < items.size(); ++i) {
      auto [found, added] = byText.emplace(stored.keyOf(items[i]), unitOf[i]);
      if (!added) groups.join(found->second, unitOf[i]);
    }
  }
  std::vector<size_t> componentOfRoot(unitCount, SIZE_MAX);
  std::vector<size_t> componentOf(items.size());
  std::vector<int64_t> componentSizes;
  for (size_t i = 0; i < items.size(); ++i) {
    size_t& component = componentOfRoot[groups.find(unitOf[i])];
    if (component == SIZE_MAX) {
      component = componentSizes.size();
      componentSizes.push_back(0);
    }
    componentOf[i] = component;
    ++componentSizes[component];
  }
  const std::vector<int> splitOf = assignComponents(componentSizes, ratios, request.seed);

  std::array<std::unordered_set<int64_t>, 3> sentences, units;
  std::array<std::unordered_set<size_t>, 3> frames;
  std::array<size_t, 3> outputSizes{};
  for (size_t i = 0; i < items.size(); ++i)
    outputSizes[static_cast<size_t>(splitOf[componentOf[i]])] += items[i].bytesSize + 1;
  for (size_t k = 0; k < 3; ++k) result.outputs[k].reserve(outputSizes[k]);
  for (size_t i = 0; i < items.size(); ++i) {
    const auto k = static_cast<size_t>(splitOf[componentOf[i]]);
    std::string& out = result.outputs[k];
    if (request.format == Format::Conll && !out.empty()) out += '\n';
    out += stored.bytesOf(items[i]);
    ++result.counts[k].sets;
    sentences[k].insert(items[i].sentenceId);
    units[k].insert(items[i].luId);
    frames[k].insert(items[i].frame);
  }
  for (size_t k = 0; k < 3; ++k) {
    result.counts[k].sentences = static_cast<int64_t>(sentences[k].size());
    result.counts[k].lexicalUnits = static_cast<int64_t>(units[k].size());
    result.counts[k].frames = static_cast<int64_t>(frames[k].size());
  }

  std::vector<FileDigest> inputs;
  text::Outcome digested = digestInputs(indexFile, release, unitsRead, inputs);
  if (!digested.done()) return digested;
  std::vector<FileDigest> outputs;
  for (size_t k = 0; k < 3; ++k)
    outputs.push_back({fileName(request, k), static_cast<int64_t>(result.outputs[k].size()),
                       sha256Hex(result.outputs[k])});

  Json manifest;
  manifest["tool"] = "sorvanta";
  manifest["tool_version"] = toolVersion();
  manifest["command_line"] = request.commandLine;
  manifest["seed"] = request.seed;
  manifest["parameters"] = Json{{"by", groupingName(request.grouping)},
                                {"ratios", ratios},
                                {"min_annotated", request.selection.minAnnotated},
                                {"frames", request.selection.frames},
                                {"format", formatName(request.format)},
                                {"release", release}};
  manifest["inputs"] = digestList(inputs);
  Json counts = Json::object();
  for (size_t k = 0; k < 3; ++k)
    counts[kSplitNames[k]] = Json{{"sets", result.counts[k].sets},
                                  {"sentences", result.counts[k].sentences},
                                  {"lexical_units", result.counts[k].lexicalUnits},
                                  {"frames", result.counts[k].frames}};
  manifest["counts"] = counts;
  manifest["outputs"] = digestList(outputs);
  result.manifest = manifest.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
  return outcome;
}

text::Outcome writeSplit(const SplitRequest& request, SplitResult& result, text::Progress& progress) {
  text::Outcome outcome = computeSplit(request, result, progress);
  if (!outcome.done()) return outcome;
  std::error_code error;
  fs::create_directories(request.outFolder, error);
  if (!fs::is_directory(request.outFolder, error))
    return text::Outcome::refused("Split", "Cannot create the folder " + request.outFolder);
  try {
    std::vector<std::unique_ptr<OutputFile>> files;
    for (size_t k = 0; k < 3; ++k) {
      files.push_back(std::make_unique<OutputFile>(request.outFolder + "/" + fileName(request, k)));
      files.back()->write(result.outputs[k]);
    }
    files.push_back(std::make_unique<OutputFile>(request.outFolder + "/" + kManifestFile));
    files.back()->write(result.manifest);
    if (progress.cancelled()) return text::Outcome::cancelled();
    for (auto& file : files) {
      file->commit();
      outcome.filesWritten.push_back(file->path());
    }
  } catch (const text::FileCreateError& failure) {
    return text::Outcome::refused("Split", failure.what());
  }
  return outcome;
}

namespace {

// A name a manifest may list: relative, without "..", and (for outputs) a plain file name.
bool safeName(const std::string& name, bool plain) {
  if (name.empty() || name[0] == '/' || (plain && name.find('/') != std::string::npos)) return false;
  for (const auto& part : fs::path(name))
    if (part == "..") return false;
  return name.find('\0') == std::string::npos;
}

void compareDigest(const FileDigest& recorded, const std::string& folder, std::vector<std::string>& checked,
                   std::vector<std::string>& differences) {
  FileDigest actual;
  if (!digestFile(folder, recorded.name, actual)) {
    differences.push_back(recorded.name + ": missing or unreadable");
  } else if (actual.size != recorded.size) {
    differences.push_back(recorded.name + ": " + std::to_string(actual.size) + " bytes, the manifest records " +
                          std::to_string(recorded.size));
  } else if (actual.sha256 != recorded.sha256) {
    differences.push_back(recorded.name + ": SHA-256 " + actual.sha256 + ", the manifest records " +
                          recorded.sha256);
  } else {
    checked.push_back(recorded.name + ": as recorded");
  }
}

}  // namespace

text::Outcome verifySplit(const std::string& folder, const std::string& releaseFolder,
                          const std::string& indexFile, std::vector<std::string>& checked,
                          std::vector<std::string>& differences, text::Progress& progress) {
  const std::string manifestPath = folder + "/" + kManifestFile;
  std::ifstream in(manifestPath, std::ios::binary);
  if (!in) return text::Outcome::refused("Split", "Cannot read " + manifestPath);
  Json manifest;
  SplitRequest request;
  std::vector<FileDigest> inputs, outputs;
  try {
    manifest = Json::parse(in);
    const Json& parameters = manifest.at("parameters");
    request.seed = manifest.at("seed").get<uint64_t>();
    if (!groupingNamed(parameters.at("by").get<std::string>(), request.grouping))
      throw std::invalid_argument("unknown grouping");
    request.ratios = parameters.at("ratios").get<std::array<int64_t, 3>>();
    request.selection.minAnnotated = parameters.at("min_annotated").get<int64_t>();
    request.selection.frames = parameters.at("frames").get<std::vector<std::string>>();
    const std::string format = parameters.at("format").get<std::string>();
    if (format != "jsonl" && format != "conll") throw std::invalid_argument("unknown format");
    request.format = format == "conll" ? Format::Conll : Format::Jsonl;
    request.releaseFolder = releaseFolder.empty() ? parameters.at("release").get<std::string>() : releaseFolder;
    request.commandLine = manifest.at("command_line").get<std::vector<std::string>>();
    if (!readDigestList(manifest.at("inputs"), inputs) || !readDigestList(manifest.at("outputs"), outputs))
      throw std::invalid_argument("inputs or outputs are not lists of files");
  } catch (const std::exception& error) {
    return text::Outcome::refused("Split", manifestPath + " is not a split manifest: " + error.what());
  }
  for (const FileDigest& digest : inputs)
    if (!safeName(digest.name, false))
      return text::Outcome::refused("Split", manifestPath + " lists an input outside the release: " + digest.name);
  for (const FileDigest& digest : outputs)
    if (!safeName(digest.name, true))
      return text::Outcome::refused("Split", manifestPath + " lists an output outside its folder: " + digest.name);

  for (const FileDigest& output : outputs) compareDigest(output, folder, checked, differences);
  for (const FileDigest& input : inputs) compareDigest(input, request.releaseFolder, checked, differences);

  request.indexFile = indexFile;
  SplitResult fresh;
  text::Outcome outcome = computeSplit(request, fresh, progress);
  if (!outcome.done()) return outcome;
  const Json again = Json::parse(fresh.manifest);
  std::vector<FileDigest> freshInputs, freshOutputs;
  readDigestList(again["inputs"], freshInputs);
  readDigestList(again["outputs"], freshOutputs);
  for (const FileDigest& input : freshInputs) {
    if (std::none_of(inputs.begin(), inputs.end(), [&](const FileDigest& d) { return d.name == input.name; }))
      differences.push_back("a fresh split reads " + input.name + ", which the manifest does not list");
  }
  for (const FileDigest& input : inputs) {
    if (std::none_of(freshInputs.begin(), freshInputs.end(), [&](const FileDigest& d) { return d.name == input.name; }))
      differences.push_back("a fresh split no longer reads " + input.name);
  }
  bool same = true;
  for (const FileDigest& output : freshOutputs) {
    auto recorded = std::find_if(outputs.begin(), outputs.end(), [&](const FileDigest& d) { return d.name == output.name; });
    if (recorded == outputs.end()) {
      differences.push_back("a fresh split writes " + output.name + ", which the manifest does not list");
      same = false;
    } else if (recorded->sha256 != output.sha256) {
      differences.push_back("a fresh split gives another " + output.name + " (SHA-256 " + output.sha256 + ")");
      same = false;
    }
  }
  for (const char* split : kSplitNames) {
    for (const char* count : {"sets", "sentences", "lexical_units", "frames"}) {
      Json recorded;
      const Json& counts = manifest["counts"];
      if (counts.is_object() && counts.contains(split) && counts[split].is_object() && counts[split].contains(count))
        recorded = counts[split][count];
      if (recorded != again["counts"][split][count]) {
        differences.push_back("a fresh split counts " + again["counts"][split][count].dump() + " " + count + " in " +
                              split + ", the manifest records " + recorded.dump());
        same = false;
      }
    }
  }
  if (same) checked.push_back("a fresh split gives the recorded outputs and counts");
  return outcome;
}

}  // namespace sorvanta::exports
