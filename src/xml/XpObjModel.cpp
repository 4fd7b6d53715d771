#include "xml/XpObjModel.h"

#include <algorithm>
#include <cctype>

#include "text/FileIO.h"
#include "xml/DocStorage.h"
#include "xml/XpDecoder.h"
#include "xml/XpParser.h"
#include "xml/XpScan.h"
#include "xml/XpWriter.h"

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

void TXpObjModel::swapDocument(TXpObjModel& other) noexcept {
  std::swap(storage_, other.storage_);
  std::swap(errors_, other.errors_);
  std::swap(result_, other.result_);
  std::swap(failedPrefix_, other.failedPrefix_);
  std::swap(failedEncoding_, other.failedEncoding_);
}

size_t TXpObjModel::memoryUsage() const { return storage_->memoryUsage(); }

bool TXpObjModel::LoadDataSource(std::string_view path) {
  ClearDocument();
  errors_.clear();
  result_ = XpParseResult{};
  std::string bytes;
  if (!readFileForParsing(path, bytes)) {
    result_.status = XpParseStatus::CannotOpen;
    result_.description = "cannot open file " + std::string(path);
    // The error line commands show (in warnings about skipped documents, for one) keeps its
    // capital: it stands first in its sentence there.
    errors_.push_back("Cannot open file " + std::string(path));
    return false;
  }
  if (parseBuffer(std::move(bytes), true)) return true;
  // The bytes were decoded in place: the file is read again to find the failure's offset.
  std::string raw;
  readFileForParsing(path, raw);
  locate(raw);
  return false;
}

bool TXpObjModel::LoadMemory(const char* buffer, size_t length) {
  ClearDocument();
  errors_.clear();
  result_ = XpParseResult{};
  std::string bytes;
  bytes.reserve(length + kScanPadding);
  if (buffer) bytes.assign(buffer, length);
  if (parseBuffer(std::move(bytes), false)) return true;
  locate(buffer ? std::string_view(buffer, length) : std::string_view());
  return false;
}

void TXpObjModel::locate(std::string_view raw) {
  if (result_.status != XpParseStatus::TooLarge)
    locateFailure(result_, failedPrefix_, raw,
                  failedEncoding_ == ceUTF16LE   ? 1
                  : failedEncoding_ == ceUTF16BE ? 2
                                                 : 0,
                  failedEncoding_ == ceISO88591);
  failedPrefix_.clear();
  failedPrefix_.shrink_to_fit();
  errors_.push_back(result_.message());
}

bool TXpObjModel::parseBuffer(std::string bytes, bool fromFile) {
  DecodedInput decoded;
  size_t decodedEnd = 0;
  if (!decodeInput(bytes, decoded, result_, decodedEnd)) {
    failedEncoding_ = decoded.encoding;
    failedPrefix_.assign(bytes, decoded.begin, decodedEnd - std::min(decodedEnd, decoded.begin));
    return false;
  }
  size_t length = bytes.size();
  bytes.resize(length + kScanPadding, '\0');
  std::string& text = storage_->adoptBuffer(std::move(bytes));
  Parser parser(*storage_, NormalizeData);
  const char* begin = text.data() + decoded.begin;
  if (!parser.parse(text.data() + decoded.begin, text.data() + length, result_)) {
    failedEncoding_ = decoded.encoding;
    failedPrefix_.assign(begin, static_cast<size_t>(parser.failedAt() - begin));
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
