#pragma once
// The query engine's index of one document: every element numbered in document order, the
// elements of each name, and, for names queried document-wide again and again with
// the same attribute predicate, their elements by attribute value. Built piece by piece on
// first use; the document drops it whenever its tree or an attribute changes.
//
// With the numbers, the elements of one name inside any subtree are a contiguous slice of that
// name's list, found by two binary searches, so "//" steps from any context need no walk.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::xml {

class ElementIndex {
 public:
  using Nodes = std::vector<TXpNode*>;

  // Numbers and groups by name every element of document in one walk.
  explicit ElementIndex(const TXpDocument& document);
  ElementIndex(const ElementIndex&) = delete;
  ElementIndex& operator=(const ElementIndex&) = delete;

  // Every element named utf8Name ("*": every element), in document order.
  const Nodes& named(std::string_view utf8Name) const;

  // The elements named utf8Name whose attribute (a missing one reads as empty) equals value,
  // in document order; none while the pair has been asked for once only (a single query
  // filters named() more cheaply than it builds the value map).
  const Nodes* namedWithValue(std::string_view utf8Name, std::string_view attribute,
                              std::string_view value);

  // The part of list (document-ordered elements) lying strictly inside node's subtree; node is
  // an element or the document.
  std::span<TXpNode* const> inside(const Nodes& list, const TXpNode* node) const;

  size_t memoryUsage() const;

 private:
  struct ValueMap {
    int asked = 0;
    std::unordered_map<std::string_view, Nodes> byValue;
  };
  struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  struct NameGroup {
    const char* name;  // the first element's own name: it lives as long as the document
    Nodes elements;    // document order
  };

  // The group of the element's name, added when new.
  size_t groupOf(const TXpNode* element);

  const TXpDocument& document_;
  Nodes all_;                      // by number
  std::vector<uint32_t> ends_;     // by number: the number after the element's subtree
  std::vector<NameGroup> groups_;  // grows only while the walk runs
  std::unordered_map<std::string_view, size_t> groupByName_;  // keys: the groups' names
  std::unordered_map<std::string, ValueMap, StringHash, std::equal_to<>> valueMaps_;
};

}  // namespace sorvanta::xml
