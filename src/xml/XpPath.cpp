// Evaluation of compiled path expressions.
#include "xml/XpPath.h"

#include <algorithm>
#include <unordered_map>

#include "xml/DocStorage.h"

namespace sorvanta::xml {

namespace {

using NodeVector = std::vector<TXpNode*>;

// The list one step builds, bounded by what is left of the evaluation's node budget.
struct Output {
  NodeVector& nodes;
  size_t limit;

  bool fits(size_t more) const { return nodes.size() + more <= limit; }
  // Appends node; false when the list would grow beyond its bound.
  bool push(TXpNode* node) {
    if (nodes.size() >= limit) return false;
    nodes.push_back(node);
    return true;
  }
  // Appends nodes[begin, end) again: a repeated input yields the same nodes.
  bool repeat(size_t begin, size_t end) {
    if (!fits(end - begin)) return false;
    for (size_t i = begin; i < end; ++i) {
      TXpNode* node = nodes[i];  // a copy: push_back may move the vector
      nodes.push_back(node);
    }
    return true;
  }
};

bool passesPredicates(const TXpNode* node, const XpStep& step) {
  for (const XpPredicate& predicate : step.predicates) {
    // A missing attribute counts as empty text.
    const TXpNamedNodeMap* map = node->attributes();
    const TXpAttribute* attribute = map ? map->getNamedItemUtf8(predicate.attribute) : nullptr;
    const std::string_view value = attribute ? attribute->valueUtf8() : std::string_view();
    if (value != predicate.literal) return false;
  }
  return true;
}

bool matches(const TXpNode* node, const XpStep& step) {
  if (!node->isElement()) return false;
  if (step.name != "*" && node->nameUtf8() != step.name) return false;
  return passesPredicates(node, step);
}

// Appends the elements of an index vector (all named as the step asks) that pass its
// predicates, skipping the excluded node.
bool filterIndexed(const NodeVector& elements, const TXpNode* excluded, const XpStep& step,
                   Output& out) {
  for (TXpNode* element : elements) {
    if (element != excluded && passesPredicates(element, step) && !out.push(element)) return false;
  }
  return true;
}

bool childStep(const NodeVector& inputs, const XpStep& step, Output& out) {
  // A repeated input reuses its first slice, so duplicates cost no second scan of children.
  std::unordered_map<const TXpNode*, std::pair<size_t, size_t>> done;
  const TXpNode* previous = nullptr;
  std::pair<size_t, size_t> previousSlice;
  for (TXpNode* node : inputs) {
    if (node == previous) {  // runs of one node are common ("a/.." repeats the parent)
      if (!out.repeat(previousSlice.first, previousSlice.second)) return false;
      continue;
    }
    std::pair<size_t, size_t>* slice = nullptr;
    if (inputs.size() > 1) {
      auto [it, fresh] = done.try_emplace(node);
      slice = &it->second;
      if (!fresh) {
        if (!out.repeat(slice->first, slice->second)) return false;
        previous = node;
        previousSlice = *slice;
        continue;
      }
    }
    const size_t begin = out.nodes.size();
    for (TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling()) {
      if (matches(child, step) && !out.push(child)) return false;
    }
    previous = node;
    previousSlice = {begin, out.nodes.size()};
    if (slice) *slice = previousSlice;
  }
  return true;
}

// Descendants of one node in pre-order, the node excluded; an explicit walk, no recursion.
bool descendantsOfOne(const TXpNode* root, const XpStep& step, Output& out) {
  const TXpNode* parent = root->parentNode();
  if (root->nodeType() == DOCUMENT_NODE ||
      (parent && parent->nodeType() == DOCUMENT_NODE && root->isElement())) {
    // The document, or its element: every other element of the document, from the index.
    const TXpNode* top = parent ? parent : root;
    DocStorage& storage = static_cast<const TXpDocument*>(top)->storage();
    return filterIndexed(storage.elementsNamed(step.name), root, step, out);
  }
  const TXpNode* current = root->noGetFirstChild();
  while (current) {
    if (matches(current, step) && !out.push(const_cast<TXpNode*>(current))) return false;
    if (const TXpNode* child = current->noGetFirstChild()) {
      current = child;
      continue;
    }
    while (current != root && !current->noGetNextSibling()) current = current->parentNode();
    if (current == root) break;
    current = current->noGetNextSibling();
  }
  return true;
}

// Descendants of several nodes that may repeat or nest. Each distinct subtree is walked once,
// numbering nodes in pre-order; an input's result is then the slice of matches numbered
// inside its own subtree. Walking per input instead would cost depth times size on nested inputs.
class ManyDescendants {
 public:
  explicit ManyDescendants(const XpStep& step) : step_(step) {}

  bool run(const NodeVector& inputs, Output& out) {
    for (TXpNode* node : inputs) {
      if (node->noGetFirstChild()) ranges_.try_emplace(node);  // leaves have no descendants
    }
    if (ranges_.empty()) return true;
    std::vector<const TXpNode*> roots;
    for (TXpNode* node : inputs) {
      auto it = ranges_.find(node);
      if (it == ranges_.end() || it->second.considered) continue;
      it->second.considered = true;
      if (!hasInputAbove(node->parentNode())) roots.push_back(node);
    }
    lookUpEveryNode_ = roots.size() < ranges_.size();
    for (const TXpNode* root : roots) walk(root);

    // An input's matches lie strictly inside its subtree: the input itself is excluded.
    for (auto& [node, range] : ranges_) {
      range.first = static_cast<size_t>(
          std::upper_bound(matchedAt_.begin(), matchedAt_.end(), range.begin) - matchedAt_.begin());
      range.last = static_cast<size_t>(
          std::lower_bound(matchedAt_.begin(), matchedAt_.end(), range.end) - matchedAt_.begin());
    }
    // Sized first, so a result beyond the bound is refused before anything is copied.
    size_t total = 0;
    for (TXpNode* node : inputs) {
      if (auto it = ranges_.find(node); it != ranges_.end()) {
        total += it->second.last - it->second.first;
        if (!out.fits(total)) return false;
      }
    }
    out.nodes.reserve(out.nodes.size() + total);
    for (TXpNode* node : inputs) {
      if (auto it = ranges_.find(node); it != ranges_.end())
        out.nodes.insert(out.nodes.end(),
                         matched_.begin() + static_cast<std::ptrdiff_t>(it->second.first),
                         matched_.begin() + static_cast<std::ptrdiff_t>(it->second.last));
    }
    return true;
  }

 private:
  struct Range {
    size_t begin = 0;  // walk numbers of the subtree: [begin, end)
    size_t end = 0;
    size_t first = 0;  // its matches: matched_[first, last)
    size_t last = 0;
    bool considered = false;
  };

  // True when node or one of its ancestors is an input; answers are remembered per node.
  bool hasInputAbove(const TXpNode* node) {
    path_.clear();
    bool found = false;
    for (; node; node = node->parentNode()) {
      if (ranges_.count(node)) {
        found = true;
        break;
      }
      if (auto known = covered_.find(node); known != covered_.end()) {
        found = known->second;
        break;
      }
      path_.push_back(node);
    }
    for (const TXpNode* visited : path_) covered_.emplace(visited, found);
    return found;
  }

  void enter(const TXpNode* node, bool isRoot) {
    const size_t number = counter_++;
    if (matches(node, step_)) {
      matched_.push_back(const_cast<TXpNode*>(node));
      matchedAt_.push_back(number);
    }
    if ((isRoot || lookUpEveryNode_) && node->noGetFirstChild()) {
      if (auto it = ranges_.find(node); it != ranges_.end()) {
        it->second.begin = number;
        open_.emplace_back(node, &it->second);
      }
    }
  }

  void leave(const TXpNode* node) {
    if (!open_.empty() && open_.back().first == node) {
      open_.back().second->end = counter_;
      open_.pop_back();
    }
  }

  void walk(const TXpNode* root) {
    const TXpNode* current = root;
    enter(current, true);
    for (;;) {
      if (const TXpNode* child = current->noGetFirstChild()) {
        current = child;
        enter(current, false);
        continue;
      }
      for (;;) {
        leave(current);
        if (current == root) return;
        if (const TXpNode* sibling = current->noGetNextSibling()) {
          current = sibling;
          enter(current, false);
          break;
        }
        current = current->parentNode();
      }
    }
  }

  const XpStep& step_;
  std::unordered_map<const TXpNode*, Range> ranges_;
  std::unordered_map<const TXpNode*, bool> covered_;
  std::vector<const TXpNode*> path_;
  std::vector<std::pair<const TXpNode*, Range*>> open_;
  NodeVector matched_;
  std::vector<size_t> matchedAt_;
  size_t counter_ = 0;
  bool lookUpEveryNode_ = false;  // some input lies inside another input's subtree
};

bool descendantStep(const NodeVector& inputs, const XpStep& step, Output& out) {
  if (inputs.size() == 1) return descendantsOfOne(inputs.front(), step, out);
  return ManyDescendants(step).run(inputs, out);
}

bool applyStep(const NodeVector& inputs, const XpStep& step, Output& out) {
  switch (step.axis) {
    case XpAxis::Self:
      if (!out.fits(inputs.size())) return false;
      out.nodes = inputs;
      return true;
    case XpAxis::Parent:
      if (!out.fits(inputs.size())) return false;
      for (TXpNode* node : inputs) {
        if (TXpNode* parent = node->parentNode()) out.nodes.push_back(parent);
      }
      return true;
    case XpAxis::Child:
      return childStep(inputs, step, out);
    case XpAxis::Descendant:
      return descendantStep(inputs, step, out);
  }
  return false;
}

}  // namespace

TXpNodeList XpPath::evaluate(const TXpNode* context) const {
  if (!usable_ || !context) return {};
  NodeVector current;
  if (fromDocument_) {
    TXpDocument* document = context->ownerDocument();
    if (!document) return {};
    current.push_back(document);
  } else {
    current.push_back(const_cast<TXpNode*>(context));
  }
  NodeVector next;
  size_t budget = maxNodes;
  for (const XpStep& step : steps_) {
    next.clear();
    Output out{next, budget};
    if (!applyStep(current, step, out)) return {};
    budget -= next.size();
    current.swap(next);
    if (current.empty()) break;
  }
  // "." and ".." may leave the document or a non-element context in the list.
  std::erase_if(current, [](const TXpNode* node) { return !node->isElement(); });
  return TXpNodeList(std::move(current));
}

TXpNodeList selectNodesUtf8(const TXpNode* context, std::string_view utf8Expression) {
  XpPath path;
  if (!path.compile(utf8Expression)) return {};
  return path.evaluate(context);
}

}  // namespace sorvanta::xml
