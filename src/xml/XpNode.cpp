#include "xml/XpNode.h"

#include <cstring>
#include <unordered_map>

#include "text/WorkingText.h"
#include "xml/AncestorMemo.h"
#include "xml/DocStorage.h"
#include "xml/SubtreeWalk.h"
#include "xml/XpArena.h"
#include "xml/XpPath.h"

namespace sorvanta::xml {

using text::utf8ToWorking;
using text::workingToUtf8;

namespace {

thread_local uint64_t textVisits = 0;

// Calls visit(value) for every text or CDATA value of node's subtree in document order,
// without recursion (documents may nest deeply).
template <class Visit>
void forEachTextPiece(const TXpNode* node, Visit visit) {
  if (node->isText() || node->nodeType() == ATTRIBUTE_NODE) {
    visit(node->valueUtf8());
    return;
  }
  uint64_t visited = 0;
  for (const TXpNode* current = node->noGetFirstChild(); current;
       current = nextInSubtree(current, node)) {
    ++visited;
    if (current->isText()) visit(current->valueUtf8());
  }
  textVisits += visited;
}

// Reads optional sign and decimal digits; anything else, or a value beyond 32 bits, gives 0.
int32_t readDecimal(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > int64_t{1} << 31) return 0;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return 0;
  return static_cast<int32_t>(value);
}

}  // namespace

// ---- TXpNamedNodeMap ----

TXpAttribute* TXpNamedNodeMap::getNamedItemUtf8(std::string_view utf8Name) const {
  if (utf8Name == "*") return first_;
  const char* wanted = utf8Name.data();
  const size_t size = utf8Name.size();
  for (TXpAttribute* a = first_; a; a = a->nextAttribute()) {
    // Inline: names are short, and most differ in their first character. The name is read
    // no further than its terminating NUL.
    const char* own = a->name_;
    size_t i = 0;
    while (i < size && own[i] != '\0' && own[i] == wanted[i]) ++i;
    if (i == size && own[i] == '\0') return a;
  }
  return nullptr;
}

TXpAttribute* TXpNamedNodeMap::GetNamedItem(std::string_view name) const {
  if (text::isAscii(name)) return getNamedItemUtf8(name);
  return getNamedItemUtf8(workingToUtf8(name));
}

int TXpNamedNodeMap::nlGetLength() const {
  int count = 0;
  for (TXpAttribute* a = first_; a; a = a->nextAttribute()) ++count;
  return count;
}

TXpAttribute* TXpNamedNodeMap::Item(int i) const {
  if (i < 0 || i >= nlGetLength()) return nullptr;
  return first_ + i;
}

// ---- TXpNode ----

std::string TXpNode::nodeName() const { return utf8ToWorking(nameUtf8()); }
std::string TXpNode::nodeValue() const { return utf8ToWorking(valueUtf8()); }

TXpDocument* TXpNode::ownerDocument() const {
  const TXpNode* node = this;
  while (node->parent_) node = node->parent_;
  if (node->kind_ != DOCUMENT_NODE) return nullptr;
  return static_cast<TXpDocument*>(const_cast<TXpNode*>(node));
}

const TXpNodeList& TXpNode::childNodes() const {
  static const TXpNodeList empty;
  TXpDocument* document = ownerDocument();
  if (!document) return empty;
  return document->storage().childList(this);
}

bool TXpNode::HasAttributes() const {
  return kind_ == ELEMENT_NODE && static_cast<const TXpElement*>(this)->attributes_.first_;
}

TXpNode* TXpNode::noGetLastChild() const {
  TXpNode* first = noGetFirstChild();
  return first ? first->links().prevCyclic : nullptr;
}


TXpNode* TXpNode::noGetPreviousSibling() const {
  if (!parent_ || kind_ == ATTRIBUTE_NODE) return nullptr;
  return parent_->noGetFirstChild() == this ? nullptr : links().prevCyclic;
}

std::string TXpNode::textUtf8() const {
  std::string out;
  forEachTextPiece(this, [&out](std::string_view piece) {
    if (piece.empty()) return;
    if (!out.empty()) out += ' ';
    out += piece;
  });
  return out;
}

std::string TXpNode::noGetText() const {
  std::string utf8 = textUtf8();
  if (text::isAscii(utf8)) return utf8;  // the same in working text: no second copy
  return utf8ToWorking(utf8);
}

std::string TXpNode::stringValueUtf8() const {
  std::string out;
  forEachTextPiece(this, [&out](std::string_view piece) { out += piece; });
  return out;
}

TXpNodeList TXpNode::SelectNodes(std::string_view expression) const {
  if (text::isAscii(expression)) return selectNodesUtf8(this, expression);
  return selectNodesUtf8(this, workingToUtf8(expression));
}

TXpNode* TXpNode::SelectSingleNode(std::string_view expression) const {
  return SelectNodes(expression).Item(0);
}

int32_t TXpNode::SelectInteger(std::string_view expression) const {
  TXpNode* first = SelectSingleNode(expression);
  return first ? readDecimal(first->stringValueUtf8()) : 0;
}

// ---- TXpParentNode, TXpElement, TXpAttribute, TXpDocument ----

void TXpParentNode::appendChild(TXpNode* child) {
  child->parent_ = this;
  Links& links = child->links();
  links.next = nullptr;
  if (!firstChild_) {
    firstChild_ = child;
    links.prevCyclic = child;
  } else {
    TXpNode*& last = firstChild_->links().prevCyclic;
    last->links().next = child;
    links.prevCyclic = last;
    last = child;
  }
}

TXpAttribute* TXpAttribute::makeArray(Arena& arena, size_t count) {
  auto* array = static_cast<TXpAttribute*>(arena.allocate(count * sizeof(TXpAttribute),
                                                          alignof(TXpAttribute)));
  for (size_t i = 0; i < count; ++i) new (array + i) TXpAttribute();
  array[count - 1].flags_ = kLastAttribute;
  return array;
}

TXpElement* TXpElement::CreateChildElement(std::string_view name) {
  DocStorage& storage = ownerDocument()->storage();
  std::string utf8 = workingToUtf8(name);
  auto* element = storage.arena().make<TXpElement>();
  element->name_ = storage.arena().copyString(utf8.data(), utf8.size());
  appendChild(element);
  storage.childAppended(this, element);
  return element;
}

TXpText* TXpElement::CreateChildText(std::string_view textValue) {
  DocStorage& storage = ownerDocument()->storage();
  std::string utf8 = workingToUtf8(textValue);
  auto* node = storage.arena().make<TXpText>();
  node->value_ = storage.arena().copyString(utf8.data(), utf8.size());
  node->valueLength_ = static_cast<uint32_t>(utf8.size());
  appendChild(node);
  storage.childAppended(this, node);
  return node;
}

void TXpElement::SetAttribute(std::string_view name, std::string_view value) {
  Arena& arena = ownerDocument()->storage().arena();
  // Working text that is ASCII is already UTF-8: stored without an intermediate copy.
  std::string converted;
  const auto utf8 = [&converted](std::string_view working) -> std::string_view {
    if (text::isAscii(working)) return working;
    converted = workingToUtf8(working);
    return converted;
  };
  const char* storedName = nullptr;
  {
    const std::string_view utf8Name = utf8(name);
    storedName = arena.copyString(utf8Name.data(), utf8Name.size());
  }
  const std::string_view utf8Value = utf8(value);
  // Attributes lie in one array: build the new one, without the old attribute of that
  // name and with the new one at the end.
  size_t kept = 0;
  for (TXpAttribute* a = attributes_.first_; a; a = a->nextAttribute())
    if (std::strcmp(storedName, a->name_) != 0) ++kept;
  TXpAttribute* array = TXpAttribute::makeArray(arena, kept + 1);
  size_t at = 0;
  for (TXpAttribute* a = attributes_.first_; a; a = a->nextAttribute()) {
    if (std::strcmp(storedName, a->name_) == 0) continue;
    array[at].name_ = a->name_;
    array[at].value_ = a->value_;
    array[at].valueLength_ = a->valueLength_;
    array[at].parent_ = this;
    ++at;
  }
  TXpAttribute& added = array[kept];
  added.name_ = storedName;
  added.value_ = arena.copyString(utf8Value.data(), utf8Value.size());
  added.valueLength_ = static_cast<uint32_t>(utf8Value.size());
  added.parent_ = this;
  attributes_.first_ = array;
  ownerDocument()->storage().attributesChanged();
}

TXpElement* TXpAttribute::ownerElement() const { return static_cast<TXpElement*>(parent_); }

TXpElement* TXpDocument::docGetDocumentElement() const {
  for (TXpNode* child = firstChild_; child; child = child->noGetNextSibling())
    if (child->isElement()) return static_cast<TXpElement*>(child);
  return nullptr;
}

std::string attributeText(const TXpNode* node, std::string_view name) {
  const TXpNamedNodeMap* map = node ? node->attributes() : nullptr;
  if (!map) return {};
  TXpAttribute* attribute = map->GetNamedItem(name);
  return attribute ? attribute->nodeValue() : std::string();
}

void appendAttributeText(std::string& out, const TXpNode* node, std::string_view name) {
  const TXpNamedNodeMap* map = node ? node->attributes() : nullptr;
  const TXpAttribute* attribute = map ? map->GetNamedItem(name) : nullptr;
  if (!attribute) return;
  const std::string_view value = attribute->valueUtf8();
  if (text::isAscii(value))
    out += value;
  else
    out += utf8ToWorking(value);
}

text::ShownText attributeShown(const TXpNode* node, std::string_view name) {
  const TXpNamedNodeMap* map = node ? node->attributes() : nullptr;
  const TXpAttribute* attribute = map ? map->GetNamedItem(name) : nullptr;
  return attribute ? text::utf8ToShown(attribute->valueUtf8()) : text::ShownText();
}

text::ShownText textShown(const TXpNode* node) {
  return node ? text::utf8ToShown(node->textUtf8()) : text::ShownText();
}

namespace {

// The text pieces of several subtrees that may nest or repeat, gathered in one pre-order walk
// per outermost subtree: each node's pieces are then a contiguous slice of the gathered list.
class SharedTextWalk {
 public:
  explicit SharedTextWalk(const TXpNodeList& nodes) {
    std::vector<const TXpNode*> distinct;
    for (const TXpNode* node : nodes) {
      if (!node || node->isText() || node->nodeType() == ATTRIBUTE_NODE) continue;
      if (slices_.try_emplace(node).second) distinct.push_back(node);
    }
    for (const TXpNode* node : distinct)
      if (!hasListedAncestor(node)) walk(node);
  }

  // The pieces of node's subtree joined like noGetText, as UTF-8.
  std::string textUtf8(const TXpNode* node) const {
    if (node->isText() || node->nodeType() == ATTRIBUTE_NODE) return std::string(node->valueUtf8());
    const Slice& slice = slices_.at(node);
    std::string out;
    for (size_t i = slice.begin; i < slice.end; ++i) {
      if (pieces_[i].empty()) continue;
      if (!out.empty()) out += ' ';
      out += pieces_[i];
    }
    return out;
  }

 private:
  struct Slice {
    size_t begin = 0;
    size_t end = 0;
  };

  // True when a proper ancestor of node is listed; answers are remembered for every node
  // passed on the way up, so all the climbs together stay linear in the document.
  bool hasListedAncestor(const TXpNode* node) {
    return ancestors_.markedFrom(node->parentNode(),
                                 [&](const TXpNode* up) { return slices_.count(up) != 0; });
  }

  void enter(const TXpNode* node) {
    ++textVisits;
    if (node->isText()) pieces_.push_back(node->valueUtf8());
    if (auto it = slices_.find(node); it != slices_.end()) {
      it->second.begin = pieces_.size();
      open_.push_back(&it->second);
      openNodes_.push_back(node);
    }
  }

  void leave(const TXpNode* node) {
    if (!openNodes_.empty() && openNodes_.back() == node) {
      open_.back()->end = pieces_.size();
      open_.pop_back();
      openNodes_.pop_back();
    }
  }

  void walk(const TXpNode* root) {
    walkSubtree(
        root, [&](const TXpNode* node) { enter(node); }, [&](const TXpNode* node) { leave(node); });
  }

  std::unordered_map<const TXpNode*, Slice> slices_;
  AncestorMemo ancestors_;
  std::vector<Slice*> open_;
  std::vector<const TXpNode*> openNodes_;
  std::vector<std::string_view> pieces_;
};

}  // namespace

std::vector<std::string> nodeTexts(const TXpNodeList& nodes) {
  const SharedTextWalk walk(nodes);
  std::vector<std::string> texts;
  texts.reserve(nodes.nodes().size());
  for (const TXpNode* node : nodes)
    texts.push_back(node ? utf8ToWorking(walk.textUtf8(node)) : std::string());
  return texts;
}

std::vector<text::ShownText> nodeTextsShown(const TXpNodeList& nodes) {
  const SharedTextWalk walk(nodes);
  std::vector<text::ShownText> texts;
  texts.reserve(nodes.nodes().size());
  for (const TXpNode* node : nodes)
    texts.push_back(node ? text::utf8ToShown(walk.textUtf8(node)) : text::ShownText());
  return texts;
}

uint64_t textNodesVisited() { return textVisits; }

}  // namespace sorvanta::xml
