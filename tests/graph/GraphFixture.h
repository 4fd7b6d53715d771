#pragma once
// Relation graphs for the tests: built from a relations document held in a string, or from a
// release folder's two documents.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graph/RelationGraph.h"
#include "lexicon/FramesIndex.h"
#include "lexicon/ReleaseLayout.h"
#include "xml/XpObjModel.h"

namespace sorvanta::testing {

struct LoadedGraph {
  xml::TXpObjModel relations;
  xml::TXpObjModel frames;
  graph::RelationGraph graph;

  graph::FrameId id(std::string_view name) const {
    const auto frame = graph.findFrame(name);
    return frame ? *frame : static_cast<graph::FrameId>(-1);
  }
};

// A graph over relationsXml whose frames document holds frameNames (working text).
inline std::unique_ptr<LoadedGraph> graphFromText(std::string_view relationsXml,
                                                  const std::vector<std::string>& frameNames) {
  auto loaded = std::make_unique<LoadedGraph>();
  if (!loaded->relations.LoadMemory(relationsXml.data(), relationsXml.size())) return nullptr;
  std::vector<text::ShownText> names;
  for (const std::string& name : frameNames) names.push_back({name, {}});
  loaded->graph = graph::RelationGraph(loaded->relations.Document()->docGetDocumentElement(), names);
  return loaded;
}

// The graph of a release folder (data folder ending with '/'), as the commands build it.
inline std::unique_ptr<LoadedGraph> graphOfRelease(const std::string& dataFolder) {
  auto loaded = std::make_unique<LoadedGraph>();
  if (!loaded->frames.LoadDataSource(lexicon::framesDocumentPath(dataFolder)) ||
      !loaded->relations.LoadDataSource(lexicon::relationsDocumentPath(dataFolder)))
    return nullptr;
  const lexicon::FramesIndex index =
      lexicon::fillFramesIndex(loaded->frames.Document()->docGetDocumentElement());
  loaded->graph = graph::RelationGraph(loaded->relations.Document()->docGetDocumentElement(),
                                       graph::documentFrameNames(index));
  return loaded;
}

// A relations document: one frame-relation-type per entry of types, each holding the
// relations written as the text of its entry.
inline std::string relationsDocument(
    const std::vector<std::pair<std::string, std::string>>& types) {
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<frame-relation-types>\n";
  for (const auto& [name, relations] : types)
    doc += " <frame-relation-type name=\"" + name + "\"><frame-relations>\n" + relations +
           " </frame-relations></frame-relation-type>\n";
  return doc + "</frame-relation-types>\n";
}

// One frame-relation element with its fe-relation pairs "superFE>subFE".
inline std::string relation(const std::string& super, const std::string& sub,
                            const std::vector<std::string>& pairs = {}) {
  std::string text = "  <frame-relation superFrameName=\"" + super + "\" subFrameName=\"" + sub +
                     "\">";
  for (const std::string& pair : pairs) {
    const size_t split = pair.find('>');
    text += "<fe-relation superFEName=\"" + pair.substr(0, split) + "\" subFEName=\"" +
            pair.substr(split + 1) + "\"/>";
  }
  return text + "</frame-relation>\n";
}

}  // namespace sorvanta::testing
