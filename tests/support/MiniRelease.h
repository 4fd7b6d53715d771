#pragma once
// A small release written into a temporary folder: a frames document and the annotation
// documents of its lexical units, described as plain structs.
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace sorvanta::testing {

struct MiniLabel {
  std::string name;
  std::string start;  // written only when not empty
  std::string end;
  std::string itype;  // written only when not empty
};

struct MiniSentence {
  std::string id;
  std::string text;
  std::string targetStart;
  std::string targetEnd;
  std::vector<MiniLabel> fes;
  bool hasTarget = true;
};

struct MiniLexUnit {
  std::string id;
  std::string name;
  int annotated = 0;
  std::vector<MiniSentence> sentences;
  bool writeFile = true;  // false: the annotation document is missing
};

struct MiniFrame {
  std::string name;
  std::string id;
  std::vector<MiniLexUnit> lexUnits;
};

inline std::string escapeXml(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

inline std::string miniAnnotationDocument(const MiniLexUnit& lu) {
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lexunit-annotation ID=\"" +
                    lu.id + "\" name=\"" + escapeXml(lu.name) + "\">\n <subcorpus name=\"all\">\n";
  for (const MiniSentence& s : lu.sentences) {
    doc += "  <annotationSet>\n   <layers>\n    <layer name=\"FE\"><labels>";
    for (const MiniLabel& l : s.fes) {
      doc += "<label name=\"" + escapeXml(l.name) + "\"";
      if (!l.start.empty()) doc += " start=\"" + l.start + "\"";
      if (!l.end.empty()) doc += " end=\"" + l.end + "\"";
      if (!l.itype.empty()) doc += " itype=\"" + l.itype + "\"";
      doc += "/>";
    }
    doc += "</labels></layer>\n";
    if (s.hasTarget)
      doc += "    <layer name=\"Target\"><labels><label name=\"Target\" start=\"" + s.targetStart +
             "\" end=\"" + s.targetEnd + "\"/></labels></layer>\n";
    doc += "   </layers>\n   <sentence ID=\"" + s.id + "\"><text>" + escapeXml(s.text) +
           "</text></sentence>\n  </annotationSet>\n";
  }
  return doc + " </subcorpus>\n</lexunit-annotation>\n";
}

// Writes frXML/frames.xml and luXML/lu<ID>.xml below dir; returns the data folder with '/'.
inline std::string writeMiniRelease(const TempDir& dir, const std::vector<MiniFrame>& frames) {
  std::filesystem::create_directories(dir.path() / "frXML");
  std::filesystem::create_directories(dir.path() / "luXML");
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<frames>\n";
  for (const MiniFrame& f : frames) {
    doc +=
        " <frame name=\"" + escapeXml(f.name) + "\" ID=\"" + f.id + "\">\n  <fes/>\n  <lexunits>\n";
    for (const MiniLexUnit& lu : f.lexUnits) {
      doc += "   <lexunit name=\"" + escapeXml(lu.name) + "\" ID=\"" + lu.id +
             "\"><annotation><annotated>" + std::to_string(lu.annotated) +
             "</annotated></annotation></lexunit>\n";
      if (lu.writeFile) dir.write("luXML/lu" + lu.id + ".xml", miniAnnotationDocument(lu));
    }
    doc += "  </lexunits>\n </frame>\n";
  }
  dir.write("frXML/frames.xml", doc + "</frames>\n");
  return dir.path().string() + "/";
}

// "Ann saw it <id>." with the target "saw" and one FE label "Ann", for tests that only count
// and split sentences.
inline MiniSentence plainSentence(const std::string& id) {
  return {id, "Ann saw it " + id + ".", "4", "6", {{"Agent", "0", "2", ""}}, true};
}

}  // namespace sorvanta::testing
