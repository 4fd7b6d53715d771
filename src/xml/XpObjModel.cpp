#include "xml/XpObjModel.h"

#include "text/FileIO.h"
#include "xml/DocStorage.h"
#include "xml/XpDecoder.h"
#include "xml/XpParser.h"
#include "xml/XpScan.h"
#include "xml/XpWriter.h"

#include <cctype>

namespace sorvanta::xml {

namespace {

// Reads a whole file into a string with room for the scan padding, so that padding it
// later does not reallocate a buffer of many megabytes.
bool readFileForParsing(std::string_view path, std::string& out) {
  return text::readWholeFile(path, out, kScanPadding);
}

}  // namespace

TXpObjModel::TXpObjModel() : storage_(std::make_unique<DocStorage>()) {}
TXpObjModel::~TXpObjModel() = default;

TXpDocument* TXpObjModel::Document() { return &storage_->document(); }

void TXpObjModel::ClearDocument() { storage_->clear(); }

size_t TXpObjModel::memoryUsage() const { return storage_->memoryUsage(); }

bool TXpObjModel::LoadDataSource(std::string_view path) {
  ClearDocument();
  errors_.clear();
  std::string bytes;
  if (!readFileForParsing(path, bytes)) {
    errors_.push_back("Cannot open file " + std::string(path));
    return false;
  }
  return parseBuffer(std::move(bytes), true);
}

bool TXpObjModel::LoadMemory(const char* buffer, size_t length) {
  ClearDocument();
  errors_.clear();
  std::string bytes;
  bytes.reserve(length + kScanPadding);
  if (buffer) bytes.assign(buffer, length);
  return parseBuffer(std::move(bytes), false);
}

bool TXpObjModel::parseBuffer(std::string bytes, bool fromFile) {
  DecodedInput decoded;
  std::string error;
  if (!decodeInput(bytes, decoded, error)) {
    errors_.push_back(error);
    return false;
  }
  size_t length = bytes.size();
  bytes.resize(length + kScanPadding, '\0');
  std::string& text = storage_->adoptBuffer(std::move(bytes));
  Parser parser(*storage_, NormalizeData);
  if (!parser.parse(text.data() + decoded.begin, text.data() + length, decoded.begin, error)) {
    errors_.push_back(error);
    ClearDocument();
    return false;
  }
  if (fromFile) OutCharSet = decoded.encoding;
  return true;
}

bool TXpObjModel::saveToBytes(std::string& out) {
  std::string error;
  if (!encodeOutput(serializeDocument(storage_->document(), FormattedOutput), OutCharSet,
                    WriteUTF8Signature, out, error)) {
    errors_.assign(1, error);
    return false;
  }
  return true;
}

bool TXpObjModel::SaveToFile(std::string_view path) {
  constexpr std::string_view kFilePrefix = "FILE://";
  if (path.size() >= kFilePrefix.size()) {
    bool prefixed = true;
    for (size_t i = 0; i < kFilePrefix.size() && prefixed; ++i)
      prefixed = std::toupper(static_cast<unsigned char>(path[i])) == kFilePrefix[i];
    if (prefixed) path.remove_prefix(kFilePrefix.size());
  }
  std::string bytes;
  if (!saveToBytes(bytes)) return false;
  text::writeFileAtomically(path, bytes);
  return true;
}

}  // namespace sorvanta::xml
