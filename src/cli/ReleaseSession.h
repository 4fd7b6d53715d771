#pragma once
// The release a browsing command works on: its data folder, the frames document with the
// filled frames index, and (on request) the frame-relations document.
#include <iosfwd>
#include <string>

#include "lexicon/FramesIndex.h"
#include "xml/XpObjModel.h"

namespace sorvanta::cli {

class ReleaseSession {
 public:
  // Uses dataFolder (working text) or, when it is empty, the folder stored in the settings.
  // False, with a message on err, when no folder is known or the frames document cannot be
  // loaded.
  bool open(const std::string& dataFolder, std::ostream& err);
  // Loads the frame-relations document; false with a message on err when it cannot.
  bool loadRelations(std::ostream& err);

  const std::string& dataFolder() const { return dataFolder_; }
  const xml::TXpNode* framesRoot() { return frames_.Document()->docGetDocumentElement(); }
  const xml::TXpNode* relationsRoot() { return relations_.Document()->docGetDocumentElement(); }
  lexicon::FramesIndex& index() { return index_; }

 private:
  std::string dataFolder_;
  xml::TXpObjModel frames_;
  xml::TXpObjModel relations_;
  lexicon::FramesIndex index_;
};

// Loads a document, or says on err which file could not be read and why.
bool loadDocument(xml::TXpObjModel& model, const std::string& path, std::ostream& err);

}  // namespace sorvanta::cli
