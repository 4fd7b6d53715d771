#pragma once
// Where the documents of a release lie inside its data folder: the layout ReleaseFolder
// resolves against, as helpers for code that holds the folder as text. The data folder is
// working text ending with the path separator; IDs are inserted as the frames document
// writes them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::lexicon {

// The frames document, relative to the data folder (16 characters).
inline constexpr std::string_view kFramesRelativePath = "frXML/frames.xml";
// The frame-relations document, relative to the data folder.
inline constexpr std::string_view kRelationsRelativePath = "frXML/frRelation.xml";

// dataFolder + "frXML/frames.xml"
std::string framesDocumentPath(std::string_view dataFolder);
// dataFolder + "frXML/frRelation.xml"
std::string relationsDocumentPath(std::string_view dataFolder);
// dataFolder + "luXML/lu" + luId + ".xml": a lexical unit's annotated sentences.
std::string annotationDocumentPath(std::string_view dataFolder, std::string_view luId);
// dataFolder + "xml/lu" + luId + ".xml": a lexical unit's subcorpora with their layers.
std::string subcorpusDocumentPath(std::string_view dataFolder, std::string_view luId);
// The IDs, from low to high inclusive and in ascending order, whose subcorpus document name
// subcorpusDocumentPath builds from the ID's decimal text and which name a file in the
// folder: the documents that trying every ID of the range would find, from one folder listing.
std::vector<int32_t> subcorpusDocumentIds(std::string_view dataFolder, int32_t low, int32_t high);
// dataFolder + "leXML/le" + luId + ".xml": a lexical unit's frame-element realizations.
std::string lexicalEntryDocumentPath(std::string_view dataFolder, std::string_view luId);

}  // namespace sorvanta::lexicon
