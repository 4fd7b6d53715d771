#pragma once
// Small subcorpus documents and frames documents for the preposition study tests.
#include <filesystem>
#include <string>

#include "support/ReleaseCopy.h"
#include "support/TempDir.h"

namespace sorvanta::testing {

// A label element; an empty start leaves out start and end.
inline std::string label(const std::string& name, const std::string& start = "",
                         const std::string& end = "", const std::string& itype = "") {
  std::string xml = "<label name=\"" + name + "\"";
  if (!start.empty()) xml += " start=\"" + start + "\" end=\"" + end + "\"";
  if (!itype.empty()) xml += " itype=\"" + itype + "\"";
  return xml + "/>";
}

inline std::string layer(const std::string& name, const std::string& labels) {
  return "<layer name=\"" + name + "\"><labels>" + labels + "</labels></layer>";
}

// An annotation set: the layers (FE, GF, PT, ... as given), then the sentence.
inline std::string annotationSet(const std::string& sentenceId, const std::string& text,
                                 const std::string& layers) {
  return "<annotationSet><layers>" + layers + "</layers><sentence ID=\"" + sentenceId +
         "\"><text>" + text + "</text></sentence></annotationSet>";
}

// The common FE, GF, PT layer triple.
inline std::string threeLayers(const std::string& fe, const std::string& gf,
                               const std::string& pt) {
  return layer("FE", fe) + layer("GF", gf) + layer("PT", pt);
}

inline std::string subcorpus(const std::string& name, const std::string& sets) {
  return sets.empty() ? "<subcorpus name=\"" + name + "\"/>"
                      : "<subcorpus name=\"" + name + "\">" + sets + "</subcorpus>";
}

inline std::string subcorpusDocument(const std::string& lexUnit, const std::string& frame,
                                     const std::string& subcorpora) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lexunit-annotation name=\"" + lexUnit +
         "\" frame=\"" + frame + "\">" + subcorpora + "</lexunit-annotation>\n";
}

// Writes xml/lu<id>.xml into the folder.
inline void writeSubcorpusDocument(const TempDir& folder, int id, const std::string& xml) {
  std::filesystem::create_directories(folder.path() / "xml");
  folder.write("xml/lu" + std::to_string(id) + ".xml", xml);
}

}  // namespace sorvanta::testing
