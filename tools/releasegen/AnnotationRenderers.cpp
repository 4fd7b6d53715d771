#include <string>
#include <utility>
#include <vector>

#include "releasegen/ReleaseGenerator.h"
#include "releasegen/WordLists.h"
#include "releasegen/XmlWriter.h"

namespace sorvanta::tools {

using namespace detail;

namespace {

// Layers kept in subcorpus documents, which leave out the empty bookkeeping layers.
bool isSubcorpusLayer(std::string_view name) {
  return name == "FE" || name == "GF" || name == "PT" || name == "Target";
}

void writeAnnotationSet(XmlWriter& xml, const AnnotationSetModel& set, bool subcorpusLayersOnly) {
  xml.start("annotationSet");
  xml.attribute("ID", set.id);
  xml.attribute("status", set.status);
  xml.close();
  xml.start("layers");
  xml.close();
  for (const LayerModel& layer : set.layers) {
    if (subcorpusLayersOnly && !isSubcorpusLayer(layer.name)) continue;
    xml.start("layer");
    xml.attribute("name", layer.name);
    xml.attribute("rank", 1);
    if (layer.labels.empty()) {
      xml.closeEmpty();
      continue;
    }
    xml.close();
    xml.start("labels");
    xml.close();
    for (const LabelModel& label : layer.labels) {
      xml.start("label");
      xml.attribute("name", label.name);
      if (label.itype.empty()) {
        xml.attribute("start", label.start);
        xml.attribute("end", label.end);
      } else {
        xml.attribute("itype", label.itype);
      }
      if (layer.name == "FE") xml.attribute("fgColor", "FFFFFF");
      xml.closeEmpty();
    }
    xml.end();
    xml.end();
  }
  xml.end();
  xml.start("sentence");
  xml.attribute("ID", set.sentenceId);
  xml.attribute("aPos", set.sentenceId * 7 % 100003);
  xml.close();
  xml.textElement("text", set.text);
  xml.end();
  xml.end();
}

// The subcorpus elements of an annotation or subcorpus document (the latter with only the
// layers a subcorpus document holds); an empty subcorpus is an empty element.
void writeSubcorpora(XmlWriter& xml, const AnnotationDocumentModel& model,
                     bool subcorpusLayersOnly) {
  for (const SubcorpusModel& sc : model.subcorpora) {
    xml.start("subcorpus");
    xml.attribute("name", sc.name);
    if (sc.sets.empty()) {
      xml.closeEmpty();
      continue;
    }
    xml.close();
    for (const AnnotationSetModel& set : sc.sets) writeAnnotationSet(xml, set, subcorpusLayersOnly);
    xml.end();
  }
}

}  // namespace

std::string renderAnnotationDocument(const AnnotationDocumentModel& model) {
  std::string out;
  XmlWriter xml(out, model.encoding);
  xml.start("lexunit-annotation");
  xml.attribute("ID", model.luId);
  xml.attribute("name", model.luName);
  xml.attribute("frame", model.frameName);
  int total = 0;
  for (const SubcorpusModel& sc : model.subcorpora) total += static_cast<int>(sc.sets.size());
  xml.attribute("totalAnnotated", total);
  xml.close();
  writeSubcorpora(xml, model, false);
  xml.end();
  return out;
}

std::string generateAnnotationDocument(uint64_t seed, int luId, int sentences) {
  return renderAnnotationDocument(generateAnnotationModel(seed, luId, sentences));
}

std::string renderSubcorpusDocument(const AnnotationDocumentModel& model) {
  std::string out;
  XmlWriter xml(out, model.encoding);
  xml.start("lexunit-annotation");
  xml.attribute("name", model.luName);
  xml.attribute("frame", model.frameName);
  xml.attribute("ID", model.luId);
  xml.close();
  writeSubcorpora(xml, model, true);
  xml.end();
  return out;
}

namespace {

struct ValenceUnit {
  std::string fe, pt, gf;  // gf empty for a frame element not expressed
  bool operator==(const ValenceUnit&) const = default;
};

const LayerModel* findLayer(const AnnotationSetModel& set, std::string_view name) {
  for (const LayerModel& layer : set.layers) {
    if (layer.name == name) return &layer;
  }
  return nullptr;
}

std::string labelAt(const LayerModel* layer, int start) {
  if (layer == nullptr) return {};
  for (const LabelModel& label : layer->labels) {
    if (label.itype.empty() && label.start == start) return label.name;
  }
  return {};
}

// The valence units of one annotated sentence, in the order of its FE labels.
std::vector<ValenceUnit> valenceUnits(const AnnotationSetModel& set) {
  std::vector<ValenceUnit> units;
  const LayerModel* fe = findLayer(set, "FE");
  if (fe == nullptr) return units;
  const LayerModel* gf = findLayer(set, "GF");
  const LayerModel* pt = findLayer(set, "PT");
  for (const LabelModel& label : fe->labels) {
    if (!label.itype.empty()) {
      units.push_back({label.name, label.itype, {}});
    } else {
      units.push_back({label.name, labelAt(pt, label.start), labelAt(gf, label.start)});
    }
  }
  return units;
}

// Counts equal entries, keeping the order in which each was first seen.
template <class Entry>
void tally(std::vector<std::pair<Entry, int>>& counts, const Entry& entry) {
  for (auto& [seen, count] : counts) {
    if (seen == entry) {
      ++count;
      return;
    }
  }
  counts.emplace_back(entry, 1);
}

void writeValenceUnit(XmlWriter& xml, const ValenceUnit& unit) {
  xml.start("valence-unit");
  xml.attribute("fe", unit.fe);
  xml.attribute("pt", unit.pt);
  if (!unit.gf.empty()) xml.attribute("gf", unit.gf);
  xml.closeEmpty();
}

}  // namespace

std::string renderLexicalEntryDocument(const LexUnitModel& lu,
                                       const AnnotationDocumentModel& annotations) {
  std::vector<std::pair<ValenceUnit, int>> realizations;
  std::vector<std::pair<std::vector<ValenceUnit>, int>> groups;
  int sentences = 0;
  for (const SubcorpusModel& sc : annotations.subcorpora) {
    for (const AnnotationSetModel& set : sc.sets) {
      ++sentences;
      const std::vector<ValenceUnit> units = valenceUnits(set);
      for (const ValenceUnit& unit : units) tally(realizations, unit);
      if (!units.empty()) tally(groups, units);
    }
  }

  std::string out;
  XmlWriter xml(out, Encoding::Utf8);
  xml.start("lexical-entry");
  xml.attribute("ID", lu.id);
  xml.attribute("name", lu.name());
  xml.attribute("frame", annotations.frameName);
  xml.attribute("pos", posAttribute(lu.pos));
  xml.attribute("totalAnnotated", sentences);
  xml.close();
  xml.textElement("definition", lu.definition);
  xml.start("FERealizations");
  if (realizations.empty()) {
    xml.closeEmpty();
  } else {
    xml.close();
    for (const auto& [unit, count] : realizations) {
      xml.start("FERealization");
      xml.attribute("total", count);
      xml.close();
      writeValenceUnit(xml, unit);
      xml.end();
    }
    xml.end();
  }
  if (!groups.empty()) {
    xml.start("FEGroupRealizations");
    xml.close();
    for (const auto& [units, count] : groups) {
      xml.start("FEGroupRealization");
      xml.attribute("total", count);
      xml.close();
      for (const ValenceUnit& unit : units) writeValenceUnit(xml, unit);
      xml.end();
    }
    xml.end();
  }
  xml.end();
  return out;
}

}  // namespace sorvanta::tools
