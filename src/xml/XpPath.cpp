// Evaluation of compiled path expressions.
#include "xml/XpPath.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "xml/AncestorMemo.h"
#include "xml/DocStorage.h"
#include "xml/SubtreeWalk.h"
#include "xml/XpIndex.h"

namespace sorvanta::xml {

namespace {

using NodeVector = std::vector<TXpNode*>;

// The list one step builds, and what is left of the evaluation's budget: every list entry
// read or written and every node visited costs one.
struct Output {
  NodeVector& nodes;
  size_t budget;
  size_t walked = 0;  // nodes the plain descendant walks visited

  bool spend(size_t cost) {
    if (cost > budget) return false;
    budget -= cost;
    return true;
  }
  bool push(TXpNode* node) {
    if (!spend(1)) return false;
    nodes.push_back(node);
    return true;
  }
  // Appends nodes[begin, end) again: a repeated input yields the same nodes.
  bool repeat(size_t begin, size_t end) {
    if (!spend(end - begin)) return false;
    const size_t at = nodes.size();
    nodes.resize(at + (end - begin));  // grows geometrically; indices survive the move
    std::copy(nodes.begin() + static_cast<std::ptrdiff_t>(begin),
              nodes.begin() + static_cast<std::ptrdiff_t>(end),
              nodes.begin() + static_cast<std::ptrdiff_t>(at));
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
  const bool anyName = step.name.size() == 1 && step.name[0] == '*';
  if (anyName ? !node->isElement() : !isElementNamed(node, step.name.c_str())) return false;
  return step.predicates.empty() || passesPredicates(node, step);
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
    size_t scanned = 0;
    for (TXpNode* child = node->noGetFirstChild(); child; child = child->noGetNextSibling()) {
      ++scanned;
      if (matches(child, step) && !out.push(child)) return false;
    }
    if (!out.spend(scanned)) return false;
    previous = node;
    previousSlice = {begin, out.nodes.size()};
    if (slice) *slice = previousSlice;
  }
  return true;
}

// Descendants of one node in pre-order, the node excluded; an explicit walk, no recursion.
bool descendantsOfOne(const TXpNode* root, const XpStep& step, Output& out) {
  const TXpNode* current = root->noGetFirstChild();
  size_t visited = 0;
  while (current) {
    ++visited;
    if (matches(current, step) && !out.push(const_cast<TXpNode*>(current))) return false;
    if (const TXpNode* child = current->noGetFirstChild()) {
      current = child;
      continue;
    }
    while (current != root && !current->noGetNextSibling()) current = current->parentNode();
    if (current == root) break;
    current = current->noGetNextSibling();
  }
  out.walked += visited;
  return out.spend(visited);
}

// Descendants of several nodes that may repeat or nest. Each distinct subtree is walked once,
// numbering nodes in pre-order; an input's result is then the slice of matches numbered
// inside its own subtree. Walking per input instead would cost depth times size on nested inputs.
class ManyDescendants {
 public:
  explicit ManyDescendants(const XpStep& step) : step_(step) {}

  bool run(const NodeVector& inputs, Output& out) {
    // One look-up per input; leaves get no range, having no descendants.
    std::vector<Range*> rangeOf(inputs.size(), nullptr);
    std::vector<const TXpNode*> distinct;
    for (size_t i = 0; i < inputs.size(); ++i) {
      if (!inputs[i]->noGetFirstChild()) continue;
      auto [it, fresh] = ranges_.try_emplace(inputs[i]);
      rangeOf[i] = &it->second;
      if (fresh) distinct.push_back(inputs[i]);
    }
    std::vector<const TXpNode*> roots;
    for (const TXpNode* node : distinct) {
      if (!hasInputAbove(node->parentNode())) roots.push_back(node);
    }
    lookUpEveryNode_ = roots.size() < distinct.size();
    for (const TXpNode* root : roots) walk(root);
    out.walked += counter_;
    if (!out.spend(counter_ + inputsAbove_.size())) return false;

    // An input's matches lie strictly inside its subtree: the input itself is excluded.
    for (auto& [node, range] : ranges_) {
      range.first = static_cast<size_t>(
          std::upper_bound(matchedAt_.begin(), matchedAt_.end(), range.begin) - matchedAt_.begin());
      range.last = static_cast<size_t>(
          std::lower_bound(matchedAt_.begin(), matchedAt_.end(), range.end) - matchedAt_.begin());
    }
    // Sized first, so a result beyond the budget is refused before anything is copied.
    size_t total = 0;
    for (const Range* range : rangeOf) {
      if (range && (total += range->last - range->first) > out.budget) return false;
    }
    out.spend(total);
    out.nodes.reserve(out.nodes.size() + total);
    for (const Range* range : rangeOf) {
      if (range)
        out.nodes.insert(out.nodes.end(),
                         matched_.begin() + static_cast<std::ptrdiff_t>(range->first),
                         matched_.begin() + static_cast<std::ptrdiff_t>(range->last));
    }
    return true;
  }

 private:
  struct Range {
    size_t begin = 0;  // walk numbers of the subtree: [begin, end)
    size_t end = 0;
    size_t first = 0;  // its matches: matched_[first, last)
    size_t last = 0;
  };

  // True when node or one of its ancestors is an input; answers are remembered per node.
  bool hasInputAbove(const TXpNode* node) {
    return inputsAbove_.markedFrom(node,
                                   [&](const TXpNode* up) { return ranges_.count(up) != 0; });
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
    walkSubtree(
        root, [&](const TXpNode* node) { enter(node, node == root); },
        [&](const TXpNode* node) { leave(node); });
  }

  const XpStep& step_;
  std::unordered_map<const TXpNode*, Range> ranges_;
  AncestorMemo inputsAbove_;
  std::vector<std::pair<const TXpNode*, Range*>> open_;
  NodeVector matched_;
  std::vector<size_t> matchedAt_;
  size_t counter_ = 0;
  bool lookUpEveryNode_ = false;  // some input lies inside another input's subtree
};

// The document an index can answer for: that of the inputs when every one of them is an
// element or the document itself (any other node has no element below it).
DocStorage* indexedStorage(const NodeVector& inputs) {
  const TXpDocument* document = nullptr;
  for (const TXpNode* node : inputs) {
    if (!node->isElement() && node->nodeType() != DOCUMENT_NODE) return nullptr;
    if (!document) {
      document = node->nodeType() == DOCUMENT_NODE ? static_cast<const TXpDocument*>(node)
                                                   : node->ownerDocument();
      if (!document) return nullptr;
    }
  }
  return document ? &document->storage() : nullptr;
}

// Each input's descendants of the step's name are the slice of that name's list inside its
// subtree; predicates filter the slice. A step from the document itself may take its
// elements by attribute value instead, for the first predicate.
bool indexedDescendants(const NodeVector& inputs, const XpStep& step, ElementIndex& index,
                        Output& out) {
  const NodeVector& named = index.named(step.name);
  for (const TXpNode* input : inputs) {
    std::span<TXpNode* const> slice;
    if (input->nodeType() == DOCUMENT_NODE && !step.predicates.empty()) {
      const XpPredicate& first = step.predicates.front();
      const NodeVector* byValue = index.namedWithValue(step.name, first.attribute, first.literal);
      slice = byValue ? std::span<TXpNode* const>(*byValue) : std::span<TXpNode* const>(named);
    } else {
      slice = index.inside(named, input);
    }
    if (!out.spend(slice.size() + 1)) return false;
    for (TXpNode* node : slice)
      if (passesPredicates(node, step) && !out.push(node)) return false;
  }
  return true;
}

// True when every input is distinct and none lies inside another: then walking each input's
// subtree in turn visits every node once at most.
bool disjointInputs(const NodeVector& inputs) {
  std::unordered_set<const TXpNode*> seen(inputs.begin(), inputs.end());
  if (seen.size() != inputs.size()) return false;
  for (const TXpNode* input : inputs)
    for (const TXpNode* above = input->parentNode(); above; above = above->parentNode())
      if (seen.count(above)) return false;
  return true;
}

bool plainDescendants(const NodeVector& inputs, const XpStep& step, Output& out) {
  if (inputs.size() == 1) return descendantsOfOne(inputs.front(), step, out);
  if (!disjointInputs(inputs)) return ManyDescendants(step).run(inputs, out);
  for (const TXpNode* input : inputs)
    if (!descendantsOfOne(input, step, out)) return false;
  return true;
}

// Walks until the walks on the document have cost more than building its index, then uses
// the index: a document queried once or twice is never indexed.
bool descendantStep(const NodeVector& inputs, const XpStep& step, XpEvaluation how, Output& out) {
  if (how == XpEvaluation::Plain) return plainDescendants(inputs, step, out);
  DocStorage* storage = indexedStorage(inputs);
  if (!storage) return plainDescendants(inputs, step, out);
  if (how == XpEvaluation::Indexed || storage->indexPaysOff())
    return indexedDescendants(inputs, step, storage->index(), out);
  const size_t before = out.walked;
  const bool done = plainDescendants(inputs, step, out);
  storage->noteWalked(out.walked - before);
  return done;
}

bool applyStep(const NodeVector& inputs, const XpStep& step, XpEvaluation how, Output& out) {
  switch (step.axis) {
    case XpAxis::Self:
      if (!out.spend(inputs.size())) return false;
      out.nodes = inputs;
      return true;
    case XpAxis::Parent:
      if (!out.spend(inputs.size())) return false;
      for (TXpNode* node : inputs) {
        if (TXpNode* parent = node->parentNode()) out.nodes.push_back(parent);
      }
      return true;
    case XpAxis::Child:
      return childStep(inputs, step, out);
    case XpAxis::Descendant:
      return descendantStep(inputs, step, how, out);
  }
  return false;
}

}  // namespace

TXpNodeList XpPath::evaluate(const TXpNode* context, XpEvaluation how, bool* overBudget) const {
  if (overBudget) *overBudget = false;
  if (!usable_ || !context) return {};
  const auto stopped = [overBudget] {
    if (overBudget) *overBudget = true;
    return TXpNodeList();
  };
  NodeVector current;
  if (fromDocument_) {
    TXpDocument* document = context->ownerDocument();
    if (!document) return {};
    current.push_back(document);
  } else {
    current.push_back(const_cast<TXpNode*>(context));
  }
  NodeVector next;
  size_t budget = maxWork;
  for (const XpStep& step : steps_) {
    if (current.size() > budget) return stopped();  // reading the inputs costs too
    next.clear();
    Output out{next, budget - current.size()};
    if (!applyStep(current, step, how, out)) return stopped();
    budget = out.budget;
    current.swap(next);
    if (current.empty()) break;
  }
  // "." and ".." may leave the document or a non-element context in the list.
  std::erase_if(current, [](const TXpNode* node) { return !node->isElement(); });
  return TXpNodeList(std::move(current));
}

TXpNodeList selectNodesUtf8(const TXpNode* context, std::string_view utf8Expression) {
  // The program issues a few expression texts many times (once per frame, lexical unit or
  // sentence): keep their compiled forms, found without copying the text. Bounded, since
  // inserted values make many one-off texts.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  thread_local std::unordered_map<std::string, XpPath, Hash, std::equal_to<>> compiled;
  auto it = compiled.find(utf8Expression);
  if (it == compiled.end()) {
    if (compiled.size() >= 256) compiled.clear();
    XpPath path;
    path.compile(utf8Expression);
    it = compiled.emplace(std::string(utf8Expression), std::move(path)).first;
  }
  if (!it->second.usable()) return {};
  return it->second.evaluate(context);
}

}  // namespace sorvanta::xml
