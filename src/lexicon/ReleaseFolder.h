#pragma once
// The data folder of a release, resolved once by a front end (the command line's --data, the
// stored folder, or the window's start-up) and handed to every command: its path with the
// trailing separator, and where the documents of the layout lie inside it.
#include <string>
#include <string_view>

namespace sorvanta::lexicon {

class ReleaseFolder {
 public:
  // No folder: empty() holds.
  ReleaseFolder() = default;
  // folder is working text; the separator is added when it does not end with one. Empty text
  // is no folder.
  explicit ReleaseFolder(std::string folder);

  bool empty() const { return path_.empty(); }
  // Working text ending with '/', or empty.
  const std::string& path() const { return path_; }
  // path() + name: a file the commands write into the data folder.
  std::string file(std::string_view name) const;

  // The five documents of the layout (see ReleaseLayout.h).
  std::string frames() const;                                // frXML/frames.xml
  std::string relations() const;                             // frXML/frRelation.xml
  std::string annotation(std::string_view luId) const;       // luXML/lu<ID>.xml
  std::string subcorpus(std::string_view luId) const;        // xml/lu<ID>.xml
  std::string lexicalEntry(std::string_view luId) const;     // leXML/le<ID>.xml

  bool operator==(const ReleaseFolder&) const = default;

 private:
  std::string path_;
};

}  // namespace sorvanta::lexicon
