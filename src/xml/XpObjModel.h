#pragma once
// TXpObjModel: the document object. Holds at most one document, loaded from a file or from
// memory or built from a template, and saves it. A load replaces the document; node
// references stay valid until the next load.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpEncoding.h"
#include "xml/XpNode.h"
#include "xml/XpParseResult.h"

namespace sorvanta::xml {

class TXpObjModel {
 public:
  TXpObjModel();
  ~TXpObjModel();
  TXpObjModel(const TXpObjModel&) = delete;
  TXpObjModel& operator=(const TXpObjModel&) = delete;

  // Loads a file named by a working-text path. False (with an error line and parseResult()
  // saying what and where) on any failure; never throws. A file that cannot be opened leaves
  // the document empty.
  bool LoadDataSource(std::string_view path);
  // Parses length bytes held in memory. False (with an error line) on any failure.
  bool LoadMemory(const char* buffer, size_t length);
  // Writes the document in the layout of FormattedOutput and the encoding of OutCharSet.
  // Throws FileCreateError "Cannot create file <path>" when the file cannot be created;
  // false when the document cannot be written in that encoding.
  bool SaveToFile(std::string_view path);
  // The bytes SaveToFile would write; false when a name cannot be encoded.
  bool saveToBytes(std::string& out);
  // Removes every node of the document.
  void ClearDocument();
  // Exchanges the documents (with their load errors and results) of two objects; the settings
  // stay with each. Node references follow their document.
  void swapDocument(TXpObjModel& other) noexcept;

  TXpDocument* Document();
  // Error messages of the last load or save.
  const std::vector<std::string>& errors() const { return errors_; }
  // The outcome of the last load: status, place and description of a failure.
  const XpParseResult& parseResult() const { return result_; }
  // Bytes the current tree occupies (nodes, strings, input buffers, caches).
  size_t memoryUsage() const;

  // Settings. The program runs every object with these values, except FormattedOutput.
  bool NormalizeData = true;
  bool FormattedOutput = false;
  bool WriteUTF8Signature = true;
  TCharEncoding OutCharSet = ceUnknown;
  // Fixed: names compare case-sensitively, loads report failure by their result, line
  // breaks are written as held, input is read whole (the buffer size is informational).
  static constexpr bool IgnoreCase = false;
  static constexpr bool RaiseErrors = false;
  static constexpr bool LineBreakCharReplace = false;
  static constexpr TLineBreakMode LineBreakMode = lbmDefault;
  static constexpr int BufferSize = 8192;

 private:
  bool parseBuffer(std::string buffer, bool fromFile);
  // Completes the failure's place from the raw input and adds its error line.
  void locate(std::string_view raw);

  std::unique_ptr<DocStorage> storage_;
  std::vector<std::string> errors_;
  XpParseResult result_;
  std::string failedPrefix_;  // the text decoded before a failure, until it is located
  TCharEncoding failedEncoding_ = ceUTF8;
};

}  // namespace sorvanta::xml
