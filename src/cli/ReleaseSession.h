#pragma once
// The release a command works on: its data folder, the frames document with the filled frames
// index, and (on request) the frame-relations document. The dispatcher opens it once for the
// commands that need it.
#include <iosfwd>
#include <string>

#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseFolder.h"
#include "xml/XpObjModel.h"

namespace sorvanta::cli {

class ReleaseSession {
 public:
  // Loads the frames document of folder and fills the index; false, with a message on err,
  // when it cannot be loaded.
  bool open(const lexicon::ReleaseFolder& folder, std::ostream& err);
  // Loads the frame-relations document; false with a message on err when it cannot.
  bool loadRelations(std::ostream& err);

  const lexicon::ReleaseFolder& folder() const { return folder_; }
  const std::string& dataFolder() const { return folder_.path(); }
  const xml::TXpNode* framesRoot() { return frames_.Document()->docGetDocumentElement(); }
  const xml::TXpNode* relationsRoot() { return relations_.Document()->docGetDocumentElement(); }
  lexicon::FramesIndex& index() { return index_; }

 private:
  lexicon::ReleaseFolder folder_;
  xml::TXpObjModel frames_;
  xml::TXpObjModel relations_;
  lexicon::FramesIndex index_;
};

// Loads a document, or says on err which file could not be read and why.
bool loadDocument(xml::TXpObjModel& model, const std::string& path, std::ostream& err);

}  // namespace sorvanta::cli
