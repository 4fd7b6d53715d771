#include "lexicon/ReleaseLayout.h"

#include <algorithm>
#include <charconv>

#include "text/FileIO.h"
#include "text/IntegerText.h"

namespace sorvanta::lexicon {

namespace {

std::string joined(std::string_view folder, std::string_view middle, std::string_view id,
                   std::string_view suffix) {
  std::string path;
  path.reserve(folder.size() + middle.size() + id.size() + suffix.size());
  path.append(folder).append(middle).append(id).append(suffix);
  return path;
}

}  // namespace

std::string framesDocumentPath(std::string_view dataFolder) {
  return joined(dataFolder, kFramesRelativePath, {}, {});
}

std::string relationsDocumentPath(std::string_view dataFolder) {
  return joined(dataFolder, kRelationsRelativePath, {}, {});
}

std::string annotationDocumentPath(std::string_view dataFolder, std::string_view luId) {
  return joined(dataFolder, "luXML/lu", luId, ".xml");
}

std::string subcorpusDocumentPath(std::string_view dataFolder, std::string_view luId) {
  return joined(dataFolder, "xml/lu", luId, ".xml");
}

std::vector<int32_t> subcorpusDocumentIds(std::string_view dataFolder, int32_t low, int32_t high) {
  constexpr std::string_view kPrefix = "lu", kSuffix = ".xml";
  std::vector<int32_t> ids;
  if (low > high) return ids;
  for (const std::string& name : text::folderEntries(joined(dataFolder, "xml", {}, {}))) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix))
      continue;
    const std::string_view idText =
        std::string_view(name).substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    int32_t id = 0;
    const auto [end, error] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    // Only the decimal text the ID loop would write ("7", "-3"; not "007", "+7" or "-0").
    if (error != std::errc() || end != idText.data() + idText.size() ||
        text::intToStr(id) != idText || id < low || id > high)
      continue;
    if (text::fileExists(subcorpusDocumentPath(dataFolder, idText))) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::string lexicalEntryDocumentPath(std::string_view dataFolder, std::string_view luId) {
  return joined(dataFolder, "leXML/le", luId, ".xml");
}

}  // namespace sorvanta::lexicon
