#pragma once
// The annotated sentences of a lexical unit: the sentence grid rows and the subcorpus choice.
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::views {

// "(" + the sentence's "ID" attribute (empty when missing) + ") " + the sentence's text.
std::string sentenceRowText(const xml::TXpNode* sentence);

// One row per "//sentence" below luRoot, in document order; none for a null root.
std::vector<std::string> sentenceRows(const xml::TXpNode* luRoot);

// The "name" of every "//subcorpus" that has a child node, in document order, duplicates kept
// (a subcorpus without a name gives an empty entry, and choosing it finds it again).
std::vector<std::string> subcorpusEntries(const xml::TXpNode* luRoot);

// Rows of the sentences below every subcorpus named subcorpus, subcorpus by subcorpus.
std::vector<std::string> subcorpusSentenceRows(const xml::TXpNode* luRoot,
                                               std::string_view subcorpus);

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

}  // namespace sorvanta::views
