#pragma once
// Loading a lexical unit's annotation document ("luXML/lu" + ID + ".xml").
#include <string>
#include <string_view>

#include "xml/XpObjModel.h"

namespace sorvanta::lexicon {

struct AnnotationLoad {
  bool loaded = false;
  std::string path;     // dataFolder + "luXML/lu" + luId + ".xml"
  std::string message;  // why it did not load; empty when it did
};

// Loads the lexical unit's annotation document into model. When the file is missing, cannot
// be parsed or holds no element, loaded is false, the model is left empty and message says
// which file and why.
AnnotationLoad loadLexUnitAnnotation(xml::TXpObjModel& model, std::string_view dataFolder,
                                     std::string_view luId);

}  // namespace sorvanta::lexicon
