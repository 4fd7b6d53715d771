#include <algorithm>
#include <string>
#include <vector>

#include "releasegen/ReleaseGenerator.h"
#include "releasegen/WordLists.h"
#include "releasegen/XmlWriter.h"

namespace sorvanta::tools {

using namespace detail;

namespace {

void writeSemTypes(XmlWriter& xml, const std::vector<std::string>& semTypes) {
  if (semTypes.empty()) return;
  xml.start("semTypes");
  xml.close();
  for (const std::string& name : semTypes) {
    xml.start("semType");
    const auto it = std::find(kSemTypes.begin(), kSemTypes.end(), name);
    xml.attribute("ID", static_cast<int>(it - kSemTypes.begin()) + 100);
    xml.attribute("name", name);
    xml.closeEmpty();
  }
  xml.end();
}

void writeFrame(XmlWriter& xml, const FrameModel& frame) {
  xml.start("frame");
  xml.attribute("ID", frame.id);
  xml.attribute("name", frame.name);
  xml.attribute("cDate", frame.cDate);
  xml.attribute("cBy", kCreators[static_cast<size_t>(frame.id) % kCreators.size()]);
  xml.close();
  xml.textElement("definition", frame.definition);

  xml.start("fes");
  if (frame.frameElements.empty()) {
    xml.closeEmpty();
  } else {
    xml.close();
    for (const FrameElementModel& fe : frame.frameElements) {
      xml.start("fe");
      xml.attribute("ID", fe.id);
      xml.attribute("name", fe.name);
      xml.attribute("abbrev", fe.abbrev);
      xml.attribute("cDate", frame.cDate);
      xml.attribute("coreType", fe.coreType);
      xml.attribute("fgColor", fe.coreType == "Core" ? "FF0000" : "0000FF");
      xml.attribute("bgColor", "FFFFFF");
      xml.close();
      xml.textElement("definition", fe.definition);
      writeSemTypes(xml, fe.semTypes);
      xml.end();
    }
    xml.end();
  }

  xml.start("lexunits");
  if (frame.lexUnits.empty()) {
    xml.closeEmpty();
  } else {
    xml.close();
    for (const LexUnitModel& lu : frame.lexUnits) {
      xml.start("lexunit");
      xml.attribute("ID", lu.id);
      xml.attribute("name", lu.name());
      xml.attribute("pos", posAttribute(lu.pos));
      xml.attribute("status", lu.status);
      xml.attribute("cDate", frame.cDate);
      xml.attribute("lemmaId", lu.id * 3 + 7);
      xml.close();
      xml.textElement("definition", lu.definition);
      xml.start("annotation");
      xml.close();
      xml.start("annotated");
      xml.closeWithText(number(lu.annotated));
      xml.start("total");
      xml.closeWithText(number(lu.total));
      xml.end();
      xml.start("lexeme");
      xml.attribute("pos", posAttribute(lu.pos));
      xml.attribute("name", lu.lemma);
      xml.attribute("breakBefore", "false");
      xml.attribute("headword", "false");
      xml.closeEmpty();
      xml.end();
    }
    xml.end();
  }
  writeSemTypes(xml, frame.semTypes);
  xml.end();
}

}  // namespace

std::string renderFramesDocument(const ReleaseModel& model, Encoding encoding) {
  std::string out;
  out.reserve(model.frames.size() * 9000 + 256);
  XmlWriter xml(out, encoding);
  xml.start("frames");
  xml.attribute("XMLCreated", "Thu Mar 06 10:12:44 PST 2008");
  xml.close();
  for (const FrameModel& frame : model.frames) writeFrame(xml, frame);
  xml.end();
  return out;
}

std::string generateFramesDocument(const GeneratorOptions& options) {
  return renderFramesDocument(generateReleaseModel(options), options.encoding);
}

std::string renderRelationsDocument(const ReleaseModel& model) {
  std::string out;
  out.reserve(model.relations.size() * 600 + 2048);
  XmlWriter xml(out, Encoding::Utf8);
  xml.start("frame-relation-types");
  xml.attribute("XMLCreated", "Thu Mar 06 10:12:44 PST 2008");
  xml.close();
  size_t next = 0;
  for (size_t type = 0; type < kFrameRelationTypes.size(); ++type) {
    xml.start("frame-relation-type");
    xml.attribute("ID", static_cast<int>(type) + 1);
    xml.attribute("name", kFrameRelationTypes[type]);
    xml.close();
    xml.start("frame-relations");
    if (next == model.relations.size() || model.relations[next].type != type) {
      xml.closeEmpty();
      xml.end();
      continue;
    }
    xml.close();
    for (; next < model.relations.size() && model.relations[next].type == type; ++next) {
      const FrameRelationModel& relation = model.relations[next];
      const FrameModel& superFrame = model.frames[relation.superFrame];
      const FrameModel& subFrame = model.frames[relation.subFrame];
      xml.start("frame-relation");
      xml.attribute("ID", relation.id);
      xml.attribute("supID", superFrame.id);
      xml.attribute("subID", subFrame.id);
      xml.attribute("superFrameName", superFrame.name);
      xml.attribute("subFrameName", subFrame.name);
      if (relation.feRelations.empty()) {
        xml.closeEmpty();
        continue;
      }
      xml.close();
      for (const FeRelationModel& pair : relation.feRelations) {
        const FrameElementModel& superFe = superFrame.frameElements[pair.superFe];
        const FrameElementModel& subFe = subFrame.frameElements[pair.subFe];
        xml.start("fe-relation");
        xml.attribute("ID", pair.id);
        xml.attribute("supID", superFe.id);
        xml.attribute("subID", subFe.id);
        xml.attribute("superFEName", superFe.name);
        xml.attribute("subFEName", subFe.name);
        xml.closeEmpty();
      }
      xml.end();
    }
    xml.end();
    xml.end();
  }
  xml.end();
  return out;
}

}  // namespace sorvanta::tools
