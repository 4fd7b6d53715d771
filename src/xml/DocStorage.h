#pragma once
// Everything one loaded or built document owns: the arena, the input buffers parsed in
// place, the child lists handed out, and the query engine's element index.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/XpArena.h"
#include "xml/XpIndex.h"
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
  DerivedData& storeDerived(const void* tag, const TXpNode* node,
                            std::unique_ptr<DerivedData> data);
  // Called when attributes changed: derived data may be stale.
  void attributesChanged() {
    derived_.clear();
    index_.reset();
  }

  // The element index of the document as it is now, built on first use.
  ElementIndex& index();
  // True when the index is there, or the plain walks since the tree last changed visited more
  // nodes than about three walks of the whole document: building it then costs less than the
  // walks still to come are likely to.
  bool indexPaysOff() const { return index_ || walked_ > 3 * nodeEstimate(); }
  void noteWalked(size_t nodes) { walked_ += nodes; }

  // Bytes held by the tree: arena pages, input buffers, lists and index.
  size_t memoryUsage() const;

 private:
  // The document's node count, estimated from the arena (nodes take 32 to 56 bytes).
  size_t nodeEstimate() const { return arena_.bytesReserved() / 48; }

  TXpDocument document_;
  Arena arena_;
  std::vector<std::unique_ptr<std::string>> buffers_;
  std::unordered_map<const TXpNode*, std::unique_ptr<TXpNodeList>> childLists_;
  std::unique_ptr<ElementIndex> index_;
  size_t walked_ = 0;
  std::map<std::pair<const void*, const TXpNode*>, std::unique_ptr<DerivedData>> derived_;
};

}  // namespace sorvanta::xml
