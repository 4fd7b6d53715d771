// Parse throughput and tree memory of the XML layer, measured in one run against pugixml and
// libxml2 (yardsticks only) and against a plain read of the same files, on generated release
// documents: one frames document and many lexical-unit annotation documents.
//
// Every allocation of the three parsers goes through one counting allocator (a size header in
// front of each block): ours through the replaced global operator new, pugixml through its
// memory-management hooks, libxml2 through xmlMemSetup. It stays installed while timing too,
// so all three pay the same small bookkeeping cost.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlmemory.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "releasegen/ReleaseGenerator.h"
#include "xml/XpObjModel.h"

namespace {

// ---- Counting allocator --------------------------------------------------------------------

constexpr size_t kHeader = 16;  // keeps the 16-byte alignment malloc gives

size_t gCurrentBytes = 0;
size_t gPeakBytes = 0;

void* countedAlloc(size_t size) {
  void* raw = std::malloc(size + kHeader);
  if (raw == nullptr) return nullptr;
  *static_cast<size_t*>(raw) = size;
  gCurrentBytes += size;
  gPeakBytes = std::max(gPeakBytes, gCurrentBytes);
  return static_cast<char*>(raw) + kHeader;
}

void countedFree(void* block) {
  if (block == nullptr) return;
  char* raw = static_cast<char*>(block) - kHeader;
  gCurrentBytes -= *reinterpret_cast<size_t*>(raw);
  std::free(raw);
}

void* countedRealloc(void* block, size_t size) {
  if (block == nullptr) return countedAlloc(size);
  char* raw = static_cast<char*>(block) - kHeader;
  const size_t old = *reinterpret_cast<size_t*>(raw);
  void* fresh = std::realloc(raw, size + kHeader);
  if (fresh == nullptr) return nullptr;
  *static_cast<size_t*>(fresh) = size;
  gCurrentBytes = gCurrentBytes - old + size;
  gPeakBytes = std::max(gPeakBytes, gCurrentBytes);
  return static_cast<char*>(fresh) + kHeader;
}

char* countedStrdup(const char* text) {
  const size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(countedAlloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

void* throwingAlloc(size_t size) {
  void* block = countedAlloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

void* operator new(size_t size) { return throwingAlloc(size); }
void* operator new[](size_t size) { return throwingAlloc(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return countedAlloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return countedAlloc(size ? size : 1);
}
void operator delete(void* block) noexcept { countedFree(block); }
void operator delete[](void* block) noexcept { countedFree(block); }
void operator delete(void* block, size_t) noexcept { countedFree(block); }
void operator delete[](void* block, size_t) noexcept { countedFree(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { countedFree(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { countedFree(block); }

namespace {

namespace fs = std::filesystem;
using sorvanta::bench::Clock;
using sorvanta::bench::readFile;
using sorvanta::bench::TempFolder;
using sorvanta::xml::TXpObjModel;

// ---- Inputs --------------------------------------------------------------------------------

struct Input {
  std::string title;
  std::vector<std::string> paths;
  std::vector<std::string> bytes;  // the same files held in memory, for the memory loads
  size_t totalBytes = 0;
};

void addFile(Input& input, const fs::path& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    throw std::runtime_error("cannot write " + path.string());
  }
  std::fclose(file);
  input.paths.push_back(path.string());
  input.totalBytes += bytes.size();
}

// Reads the written files back, so the memory loads see exactly the bytes on disk.
void loadBytes(Input& input) {
  input.bytes.resize(input.paths.size());
  for (size_t i = 0; i < input.paths.size(); ++i) {
    if (!readFile(input.paths[i], input.bytes[i]))
      throw std::runtime_error("cannot read " + input.paths[i]);
  }
}

Input framesInput(const fs::path& folder, int frames) {
  Input input;
  sorvanta::tools::GeneratorOptions options;
  options.frames = frames;
  addFile(input, folder / "frames.xml", sorvanta::tools::generateFramesDocument(options));
  loadBytes(input);
  char title[96];
  std::snprintf(title, sizeof title, "frames document (%d frames), 1 file, %.2f MB", frames,
                static_cast<double>(input.totalBytes) / 1e6);
  input.title = title;
  return input;
}

Input annotationInput(const fs::path& folder, int documents) {
  Input input;
  fs::create_directories(folder / "luXML");
  sorvanta::tools::Rng sizes(20240611);
  for (int i = 0; i < documents; ++i) {
    // Mostly small documents, a few large: 5 to 100 sentences, skewed low.
    const double u = sizes.unit();
    const int sentences = 5 + static_cast<int>(95.0 * u * u);
    const int luId = 1000 + 3 * i;
    addFile(
        input, folder / "luXML" / ("lu" + std::to_string(luId) + ".xml"),
        sorvanta::tools::generateAnnotationDocument(static_cast<uint64_t>(i) + 1, luId, sentences));
  }
  loadBytes(input);
  char title[112];
  std::snprintf(title, sizeof title, "annotation documents, %d files, %.2f MB", documents,
                static_cast<double>(input.totalBytes) / 1e6);
  input.title = title;
  return input;
}

// ---- Parsers -------------------------------------------------------------------------------

// Shape of a loaded tree, compared across parsers: elements and non-empty text nodes.
struct TreeShape {
  size_t elements = 0;
  size_t texts = 0;
  TreeShape& operator+=(const TreeShape& other) {
    elements += other.elements;
    texts += other.texts;
    return *this;
  }
  bool operator==(const TreeShape&) const = default;
};

TreeShape shapeOf(const sorvanta::xml::TXpNode* node) {
  TreeShape shape;
  for (auto* child = node->noGetFirstChild(); child != nullptr; child = child->noGetNextSibling()) {
    if (child->isElement()) {
      ++shape.elements;
      shape += shapeOf(child);
    } else if (child->isText()) {
      ++shape.texts;
    }
  }
  return shape;
}

TreeShape shapeOf(const pugi::xml_node& node) {
  TreeShape shape;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) {
      ++shape.elements;
      shape += shapeOf(child);
    } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      ++shape.texts;
    }
  }
  return shape;
}

TreeShape shapeOf(const xmlNode* node) {
  TreeShape shape;
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) {
      ++shape.elements;
      shape += shapeOf(child);
    } else if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      ++shape.texts;
    }
  }
  return shape;
}

constexpr int kLibxmlOptions = XML_PARSE_NOBLANKS | XML_PARSE_NONET;

// Loads file index of the input; while the tree is alive, calls visit (may be empty) with it.
// False when the parser reports an error.
struct Visit {
  std::function<void(const TreeShape&)> shape;  // set only for the correctness pass
  std::function<void()> alive;                  // set only for the memory pass
  void operator()(const std::function<TreeShape()>& measure) const {
    if (shape) shape(measure());
    if (alive) alive();
  }
};

struct Method {
  const char* parser;
  const char* mode;
  std::function<bool(const Input&, size_t, const Visit&)> load;
};

std::vector<Method> methods() {
  std::vector<Method> list;
  list.push_back({"read", "file", [](const Input& in, size_t i, const Visit& visit) {
                    std::string bytes;
                    const bool ok = readFile(in.paths[i], bytes);
                    visit([] { return TreeShape{}; });
                    return ok;
                  }});
  list.push_back({"ours", "file", [](const Input& in, size_t i, const Visit& visit) {
                    TXpObjModel model;
                    const bool ok = model.LoadDataSource(in.paths[i]);
                    visit([&] { return shapeOf(model.Document()); });
                    return ok;
                  }});
  list.push_back({"ours", "memory", [](const Input& in, size_t i, const Visit& visit) {
                    TXpObjModel model;
                    const bool ok = model.LoadMemory(in.bytes[i].data(), in.bytes[i].size());
                    visit([&] { return shapeOf(model.Document()); });
                    return ok;
                  }});
  list.push_back({"pugixml", "file", [](const Input& in, size_t i, const Visit& visit) {
                    pugi::xml_document doc;
                    const bool ok = doc.load_file(in.paths[i].c_str()).status == pugi::status_ok;
                    visit([&] { return shapeOf(doc); });
                    return ok;
                  }});
  list.push_back({"pugixml", "memory", [](const Input& in, size_t i, const Visit& visit) {
                    pugi::xml_document doc;
                    const bool ok =
                        doc.load_buffer(in.bytes[i].data(), in.bytes[i].size()).status ==
                        pugi::status_ok;
                    visit([&] { return shapeOf(doc); });
                    return ok;
                  }});
  list.push_back({"libxml2", "file", [](const Input& in, size_t i, const Visit& visit) {
                    xmlDocPtr doc = xmlReadFile(in.paths[i].c_str(), nullptr, kLibxmlOptions);
                    if (doc != nullptr)
                      visit([&] { return shapeOf(reinterpret_cast<xmlNode*>(doc)); });
                    xmlFreeDoc(doc);
                    return doc != nullptr;
                  }});
  list.push_back({"libxml2", "memory", [](const Input& in, size_t i, const Visit& visit) {
                    xmlDocPtr doc =
                        xmlReadMemory(in.bytes[i].data(), static_cast<int>(in.bytes[i].size()),
                                      "memory.xml", nullptr, kLibxmlOptions);
                    if (doc != nullptr)
                      visit([&] { return shapeOf(reinterpret_cast<xmlNode*>(doc)); });
                    xmlFreeDoc(doc);
                    return doc != nullptr;
                  }});
  return list;
}

// ---- Measuring -----------------------------------------------------------------------------

struct Result {
  std::vector<double> mbPerSecond;  // one per repetition
  size_t peakBytes = 0;             // sum over files of the peak allocation during one load
  size_t keptBytes = 0;             // sum over files of what the loaded tree holds
  size_t failures = 0;
  TreeShape shape;
  double median() const { return sorvanta::bench::median(mbPerSecond); }
};

// One untimed pass: the tree shape, load failures and memory of every file.
void measureOnce(const Method& method, const Input& input, Result& result) {
  size_t baseline = 0;
  Visit visit;
  visit.shape = [&](const TreeShape& shape) { result.shape += shape; };
  visit.alive = [&] { result.keptBytes += gCurrentBytes - baseline; };
  for (size_t i = 0; i < input.paths.size(); ++i) {
    baseline = gCurrentBytes;
    gPeakBytes = gCurrentBytes;
    if (!method.load(input, i, visit)) ++result.failures;
    result.peakBytes += gPeakBytes - baseline;
  }
}

double timeOnce(const Method& method, const Input& input) {
  const Visit none;
  const auto start = Clock::now();
  for (size_t i = 0; i < input.paths.size(); ++i) method.load(input, i, none);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return static_cast<double>(input.totalBytes) / 1e6 / seconds;
}

const Result* find(const std::vector<Method>& list, const std::vector<Result>& results,
                   const char* parser, const char* mode) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (std::strcmp(list[i].parser, parser) == 0 && std::strcmp(list[i].mode, mode) == 0) {
      return &results[i];
    }
  }
  return nullptr;
}

void benchmark(Input& input, int repetitions) {
  const std::vector<Method> list = methods();
  std::vector<Result> results(list.size());
  for (size_t m = 0; m < list.size(); ++m) measureOnce(list[m], input, results[m]);
  // Repetitions run the methods in turn, so slow drift of the machine spreads evenly.
  for (int r = 0; r < repetitions; ++r) {
    for (size_t m = 0; m < list.size(); ++m)
      results[m].mbPerSecond.push_back(timeOnce(list[m], input));
  }

  // Our own account of the tree it keeps, as a cross-check of the counted bytes.
  size_t reported = 0;
  for (const std::string& path : input.paths) {
    TXpObjModel model;
    model.LoadDataSource(path);
    reported += model.memoryUsage();
  }

  const double inputMb = static_cast<double>(input.totalBytes) / 1e6;
  const Result* read = find(list, results, "read", "file");
  std::printf("\n%s\n", input.title.c_str());
  std::printf("%-8s %-7s %11s %11s %11s %9s %10s %10s\n", "parser", "mode", "MB/s (med)",
              "vs pugixml", "vs libxml2", "vs read", "peak/MB", "kept/MB");
  for (size_t m = 0; m < list.size(); ++m) {
    const Result& result = results[m];
    const char* peerMode = std::strcmp(list[m].mode, "memory") == 0 ? "memory" : "file";
    const double speed = result.median();
    const double pugi = find(list, results, "pugixml", peerMode)->median();
    const double libxml = find(list, results, "libxml2", peerMode)->median();
    std::printf("%-8s %-7s %11.1f %10.2fx %10.2fx %8.3fx %10.2f %10.2f", list[m].parser,
                list[m].mode, speed, speed / pugi, speed / libxml, speed / read->median(),
                static_cast<double>(result.peakBytes) / 1e6 / inputMb,
                static_cast<double>(result.keptBytes) / 1e6 / inputMb);
    if (result.failures != 0) std::printf("  %zu LOAD FAILURES", result.failures);
    std::printf("\n");
  }
  std::printf(
      "speeds: median of %d repetitions, MB = 10^6 bytes of input; memory: bytes allocated "
      "per input byte\n",
      repetitions);
  std::printf("ours reports memoryUsage() %.2f per input byte\n",
              static_cast<double>(reported) / static_cast<double>(input.totalBytes));

  const TreeShape expected = find(list, results, "pugixml", "file")->shape;
  bool same = true;
  for (size_t m = 1; m < list.size(); ++m) {
    if (!(results[m].shape == expected)) {
      same = false;
      std::printf("tree shape differs: %s/%s has %zu elements, %zu texts; pugixml %zu, %zu\n",
                  list[m].parser, list[m].mode, results[m].shape.elements, results[m].shape.texts,
                  expected.elements, expected.texts);
    }
  }
  if (same) {
    std::printf("trees agree: %zu elements, %zu text nodes in every parser\n", expected.elements,
                expected.texts);
  }
}

void ignoreLibxmlMessage(void*, const char*, ...) {}

}  // namespace

int main(int argc, char** argv) {
  // Before libxml2 allocates anything, so every block it frees came from the same allocator.
  xmlMemSetup(countedFree, countedAlloc, countedRealloc, countedStrdup);
  xmlInitParser();
  pugi::set_memory_management_functions(countedAlloc, countedFree);
  // Failures are counted per file; libxml2's own messages would only disturb the timing.
  xmlSetGenericErrorFunc(nullptr, ignoreLibxmlMessage);

  const int repetitions = sorvanta::bench::intArgument(argc, argv, "--repetitions", 7);
  const int frames = sorvanta::bench::intArgument(argc, argv, "--frames", 1200);
  const int documents = sorvanta::bench::intArgument(argc, argv, "--documents", 2000);
  std::printf("parse_bench: %d repetitions (options --repetitions N --frames N --documents N)\n",
              repetitions);
  try {
    TempFolder folder("sorvanta-parse-bench");
    const auto start = Clock::now();
    Input framesDoc = framesInput(folder.path(), frames);
    Input annotations = annotationInput(folder.path(), documents);
    std::printf("generated inputs in %s in %.2f s\n", folder.path().c_str(),
                std::chrono::duration<double>(Clock::now() - start).count());
    benchmark(framesDoc, repetitions);
    benchmark(annotations, repetitions);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "parse_bench: %s\n", error.what());
    return 1;
  }
  xmlCleanupParser();
  return 0;
}
