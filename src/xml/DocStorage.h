#pragma once
// Everything one loaded or built document owns: the arena, the input buffers parsed in
// place, the child lists handed out, and the element index used by "//name" queries.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/XpArena.h"
#include "xml/XpNode.h"

namespace sorvanta::xml {

// Data a higher layer derives from a document (an index, say). The document keeps it and
// drops it when it loads again or changes, so it never outlives the nodes it refers to.
class DerivedData {
 public:
  virtual ~DerivedData() = default;
};

class DocStorage {
 public:
  DocStorage();
  DocStorage(const DocStorage&) = delete;
  DocStorage& operator=(const DocStorage&) = delete;

  TXpDocument& document() { return document_; }
  Arena& arena() { return arena_; }

  // Keeps a buffer alive for as long as the document; nodes may point into it.
  std::string& adoptBuffer(std::string buffer);

  // Empties the document and frees everything it owned.
  void clear();

  // The child list of node, built on first request.
  const TXpNodeList& childList(const TXpNode* node);
  // Called after child was appended to parent: keeps handed-out lists and the index right.
  void childAppended(const TXpNode* parent, TXpNode* child);

  // Derived data stored under (tag, node), or none. The tag tells kinds of data apart.
  DerivedData* findDerived(const void* tag, const TXpNode* node) const;
  DerivedData& storeDerived(const void* tag, const TXpNode* node, std::unique_ptr<DerivedData> data);
  // Called when attributes changed: derived data may be stale.
  void attributesChanged() { derived_.clear(); }

  // Every element of the document with that UTF-8 name ("*": every element), in document
  // order, the document element included. Built in one walk on first use.
  const std::vector<TXpNode*>& elementsNamed(std::string_view utf8Name);

  // Bytes held by the tree: arena pages, input buffers, lists and index.
  size_t memoryUsage() const;

 private:
  void buildIndex();

  TXpDocument document_;
  Arena arena_;
  std::vector<std::unique_ptr<std::string>> buffers_;
  std::unordered_map<const TXpNode*, std::unique_ptr<TXpNodeList>> childLists_;
  bool indexed_ = false;
  std::unordered_map<std::string_view, std::vector<TXpNode*>> index_;
  std::vector<TXpNode*> allElements_;
  std::map<std::pair<const void*, const TXpNode*>, std::unique_ptr<DerivedData>> derived_;
};

}  // namespace sorvanta::xml
