#pragma once
// The document tree: node classes, navigation and node text.
//
// Nodes live in their document's arena and are referenced by plain pointers, valid until
// the owning TXpObjModel loads again. Names and values are held as UTF-8; every accessor
// without "Utf8" in its name speaks working text (Windows-1252), converting at each read.
// Names are NUL-terminated; values carry their length (they may be long).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/WorkingText.h"

namespace sorvanta::xml {

enum TXpNodeKind : uint8_t {
  ELEMENT_NODE = 1,
  ATTRIBUTE_NODE = 2,
  TEXT_NODE = 3,
  CDATA_SECTION_NODE = 4,
  PROCESSING_INSTRUCTION_NODE = 7,
  COMMENT_NODE = 8,
  DOCUMENT_NODE = 9,
};

class TXpNode;
class TXpElement;
class TXpAttribute;
class TXpText;
class TXpDocument;
class DocStorage;
class Arena;

// An ordered list of node references; it does not own the nodes. O(1) length and item.
class TXpNodeList {
 public:
  TXpNodeList() = default;
  explicit TXpNodeList(std::vector<TXpNode*> nodes) : nodes_(std::move(nodes)) {}

  int nlGetLength() const { return static_cast<int>(nodes_.size()); }
  // The node at 0-based position i, or none when i is out of range.
  TXpNode* Item(int i) const {
    return i >= 0 && static_cast<size_t>(i) < nodes_.size() ? nodes_[static_cast<size_t>(i)]
                                                            : nullptr;
  }

  void add(TXpNode* node) { nodes_.push_back(node); }
  const std::vector<TXpNode*>& nodes() const { return nodes_; }
  std::vector<TXpNode*>& nodes() { return nodes_; }
  auto begin() const { return nodes_.begin(); }
  auto end() const { return nodes_.end(); }

 private:
  std::vector<TXpNode*> nodes_;
};

// The attribute list of one element, in start-tag order (or the order last set).
class TXpNamedNodeMap {
 public:
  // First attribute whose name equals name exactly; "*" matches the first attribute.
  TXpAttribute* GetNamedItem(std::string_view name) const;
  TXpAttribute* getNamedItemUtf8(std::string_view utf8Name) const;
  int nlGetLength() const;
  TXpAttribute* Item(int i) const;
  TXpAttribute* first() const { return first_; }

 private:
  friend class TXpNode;
  friend class TXpElement;
  friend class Parser;
  TXpAttribute* first_ = nullptr;  // an array ending with the attribute flagged last
};

class TXpNode {
 public:
  TXpNode(const TXpNode&) = delete;
  TXpNode& operator=(const TXpNode&) = delete;

  TXpNodeKind nodeType() const { return kind_; }
  bool isElement() const { return kind_ == ELEMENT_NODE; }
  // Text and CDATA sections count as text; comments do not.
  bool isText() const { return kind_ == TEXT_NODE || kind_ == CDATA_SECTION_NODE; }

  std::string_view nameUtf8() const { return name_; }
  const char* nameCString() const { return name_; }  // NUL-terminated, no length to compute
  std::string_view valueUtf8() const {
    return kind_ == ELEMENT_NODE || kind_ == DOCUMENT_NODE ? std::string_view()
                                                           : std::string_view(value_, valueLength_);
  }
  std::string nodeName() const;   // working text
  std::string nodeValue() const;  // working text

  TXpNode* parentNode() const { return parent_; }
  TXpDocument* ownerDocument() const;
  // The node's own child list (built on first request, then kept up to date).
  const TXpNodeList& childNodes() const;
  // The attribute map of an element; none for other kinds.
  const TXpNamedNodeMap* attributes() const;

  bool HasAttributes() const;
  bool HasChildNodes() const { return noGetFirstChild() != nullptr; }
  TXpNode* noGetFirstChild() const;
  TXpNode* noGetLastChild() const;
  TXpNode* noGetNextSibling() const;
  TXpNode* noGetPreviousSibling() const;

  // Node text: the non-empty text pieces of the subtree joined by single spaces.
  std::string noGetText() const;  // working text
  std::string textUtf8() const;
  // String value: the same pieces joined without a separator.
  std::string stringValueUtf8() const;

  // Path queries, expressions in working text.
  TXpNodeList SelectNodes(std::string_view expression) const;
  TXpNode* SelectSingleNode(std::string_view expression) const;
  int32_t SelectInteger(std::string_view expression) const;

 protected:
  explicit TXpNode(TXpNodeKind kind) : kind_(kind) {}
  ~TXpNode() = default;

  friend class Parser;
  friend class DocStorage;
  friend class TXpParentNode;
  friend class TXpElement;
  friend class TXpNamedNodeMap;
  friend class ElementIndex;

  TXpNodeKind kind_;
  uint8_t flags_ = 0;
  union {
    uint32_t valueLength_ = 0;  // nodes with a value
    uint32_t order_;            // elements: document-order number, while an index is held
  };
  const char* name_ = "";
  union {
    const char* value_ = "";  // character data, attribute value, instruction data
    TXpNode* firstChild_;     // elements and the document, which have no value
  };
  TXpNode* parent_ = nullptr;

  // Sibling links of the nodes that can be children; attributes have none (an element's
  // attributes lie side by side in one array, the last one flagged).
  struct Links {
    TXpNode* next = nullptr;
    TXpNode* prevCyclic = nullptr;  // the first child's points to the last child
  };
  Links& links();
  const Links& links() const { return const_cast<TXpNode*>(this)->links(); }
  static constexpr uint8_t kLastAttribute = 0x80;
};

// Base of the nodes that hold children (elements and the document).
class TXpParentNode : public TXpNode {
 protected:
  friend class TXpNode;
  friend class Parser;
  friend class DocStorage;
  explicit TXpParentNode(TXpNodeKind kind) : TXpNode(kind) { firstChild_ = nullptr; }
  void appendChild(TXpNode* child);
  Links links_;
};

class TXpAttribute : public TXpNode {
 public:
  TXpAttribute() : TXpNode(ATTRIBUTE_NODE) {}
  // The element carrying the attribute.
  TXpElement* ownerElement() const;
  // The attribute after this one on its element.
  TXpAttribute* nextAttribute() const {
    return flags_ & kLastAttribute ? nullptr : const_cast<TXpAttribute*>(this + 1);
  }

 private:
  friend class TXpElement;
  friend class Parser;
  // Fills an element's attribute array: one slot per attribute, the last one flagged.
  static TXpAttribute* makeArray(Arena& arena, size_t count);
};

class TXpElement : public TXpParentNode {
 public:
  TXpElement() : TXpParentNode(ELEMENT_NODE) {}

  const TXpNamedNodeMap& attributeMap() const { return attributes_; }

  // Appends a new element (name in working text) as the last child and returns it.
  TXpElement* CreateChildElement(std::string_view name);
  // Appends a text node holding exactly text (working text) as the last child.
  TXpText* CreateChildText(std::string_view text);
  // Removes an attribute of that name, then appends the attribute with its new value.
  void SetAttribute(std::string_view name, std::string_view value);

 private:
  friend class Parser;
  friend class TXpNode;
  TXpNamedNodeMap attributes_;
};

class TXpCharacterData : public TXpNode {
 protected:
  using TXpNode::TXpNode;
  friend class TXpNode;
  Links links_;
};

class TXpText : public TXpCharacterData {
 public:
  TXpText() : TXpCharacterData(TEXT_NODE) {}

 protected:
  explicit TXpText(TXpNodeKind kind) : TXpCharacterData(kind) {}
};

class TXpCDataSection : public TXpText {
 public:
  TXpCDataSection() : TXpText(CDATA_SECTION_NODE) {}
};

class TXpComment : public TXpCharacterData {
 public:
  TXpComment() : TXpCharacterData(COMMENT_NODE) {}
};

class TXpProcessingInstruction : public TXpNode {
 public:
  TXpProcessingInstruction() : TXpNode(PROCESSING_INSTRUCTION_NODE) {}

 private:
  friend class TXpNode;
  Links links_;
};

class TXpDocument : public TXpParentNode {
 public:
  explicit TXpDocument(DocStorage* storage) : TXpParentNode(DOCUMENT_NODE), storage_(storage) {}
  // The first element child; none for an empty document.
  TXpElement* docGetDocumentElement() const;
  DocStorage& storage() const { return *storage_; }

 private:
  friend class DocStorage;
  DocStorage* storage_;
};

// Navigation, inline: query walks and readers call it for every node they pass.
inline TXpNode::Links& TXpNode::links() {
  switch (kind_) {
    case ELEMENT_NODE:
    case DOCUMENT_NODE:
      return static_cast<TXpParentNode*>(this)->links_;
    case PROCESSING_INSTRUCTION_NODE:
      return static_cast<TXpProcessingInstruction*>(this)->links_;
    default:  // text, CDATA section, comment; attributes never get here
      return static_cast<TXpCharacterData*>(this)->links_;
  }
}

inline TXpNode* TXpNode::noGetFirstChild() const {
  if (kind_ != ELEMENT_NODE && kind_ != DOCUMENT_NODE) return nullptr;
  return static_cast<const TXpParentNode*>(this)->firstChild_;
}

inline TXpNode* TXpNode::noGetNextSibling() const {
  return kind_ == ATTRIBUTE_NODE ? nullptr : links().next;
}

inline const TXpNamedNodeMap* TXpNode::attributes() const {
  if (kind_ != ELEMENT_NODE) return nullptr;
  return &static_cast<const TXpElement*>(this)->attributes_;
}

// The node after node in document order (pre-order) inside root's subtree, root excluded;
// none after the last. Walks without recursion, so any depth is fine:
//   for (auto* n = root->noGetFirstChild(); n; n = nextInSubtree(n, root)) ...
inline const TXpNode* nextInSubtree(const TXpNode* node, const TXpNode* root) {
  if (const TXpNode* child = node->noGetFirstChild()) return child;
  while (node != root && !node->noGetNextSibling()) node = node->parentNode();
  return node == root ? nullptr : node->noGetNextSibling();
}

// True for an element whose UTF-8 name is name: the name test of a query step.
inline bool isElementNamed(const TXpNode* node, const char* name) {
  if (!node->isElement()) return false;
  const char* own = node->nameCString();
  while (*name != '\0' && *own == *name) {
    ++own;
    ++name;
  }
  return *own == *name;
}

// The attribute's value as working text, or empty text when node has no such attribute.
std::string attributeText(const TXpNode* node, std::string_view name);
// The same appended to out, without a string of its own: for lines built from many attributes.
void appendAttributeText(std::string& out, const TXpNode* node, std::string_view name);
// The same, with the document's UTF-8 beside it when working text cannot hold it.
text::ShownText attributeShown(const TXpNode* node, std::string_view name);
// The node text (noGetText) of node, likewise; empty for none.
text::ShownText textShown(const TXpNode* node);

// The node text (noGetText) of every node of a list, in list order. Nested and repeated nodes
// share one walk, so the work is linear in the size of the subtrees covered, however deeply
// the nodes nest (only the texts themselves may be longer).
std::vector<std::string> nodeTexts(const TXpNodeList& nodes);
std::vector<text::ShownText> nodeTextsShown(const TXpNodeList& nodes);

// Nodes visited on this thread so far while computing node texts: a measure of work for tests
// (nesting must not make it grow faster than the document).
uint64_t textNodesVisited();

}  // namespace sorvanta::xml
