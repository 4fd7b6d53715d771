#pragma once
// The frame elements of the frames document by name, from one walk of the document: what
// "//frame[@name='" + name + "']" selects, in document order, without a query per name.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::samples {

class FramesByName {
 public:
  explicit FramesByName(const xml::TXpNode* framesRoot);

  // Every frame named name (working text), in document order. A name holding an apostrophe
  // would end the query's literal early; such a name goes through the query itself, so the
  // answer is always the query's.
  std::vector<const xml::TXpNode*> all(const std::string& name) const;
  // The first of them, or null.
  const xml::TXpNode* first(const std::string& name) const;

 private:
  const xml::TXpNode* root_;
  std::unordered_map<std::string_view, std::vector<const xml::TXpNode*>> framesNamed_;  // UTF-8
};

}  // namespace sorvanta::samples
