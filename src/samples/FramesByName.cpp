#include "samples/FramesByName.h"

#include "samples/AnnotatedSentence.h"
#include "text/WorkingText.h"

namespace sorvanta::samples {

namespace {

std::string frameQuery(const std::string& name) { return "//frame[@name='" + name + "']"; }

}  // namespace

FramesByName::FramesByName(const xml::TXpNode* framesRoot) : root_(framesRoot) {
  const xml::TXpDocument* document = framesRoot ? framesRoot->ownerDocument() : nullptr;
  if (!document) return;
  for (const xml::TXpNode* node = document->noGetFirstChild(); node;
       node = xml::nextInSubtree(node, document)) {
    if (!isElementNamed(node, "frame")) continue;
    // A frame without a name is found by the empty name, as the query finds it.
    const xml::TXpAttribute* attribute = node->attributes()->getNamedItemUtf8("name");
    framesNamed_[attribute ? attribute->valueUtf8() : std::string_view()].push_back(node);
  }
}

std::vector<const xml::TXpNode*> FramesByName::all(const std::string& name) const {
  if (!root_) return {};
  if (name.find('\'') != std::string::npos) {
    const xml::TXpNodeList found = root_->SelectNodes(frameQuery(name));
    return {found.begin(), found.end()};
  }
  const auto frames = framesNamed_.find(text::workingToUtf8(name));
  return frames == framesNamed_.end() ? std::vector<const xml::TXpNode*>() : frames->second;
}

const xml::TXpNode* FramesByName::first(const std::string& name) const {
  if (!root_) return nullptr;
  if (name.find('\'') != std::string::npos) return root_->SelectSingleNode(frameQuery(name));
  const auto frames = framesNamed_.find(text::workingToUtf8(name));
  return frames == framesNamed_.end() ? nullptr : frames->second.front();
}

}  // namespace sorvanta::samples
