#pragma once
// Path queries: a small location-path language evaluated from a context node.
//
// An expression is an optional start ("/" or "//"), then steps separated by "/" (children)
// or "//" (descendants). A step is an element name or "*" with zero or more predicates
// [@attribute='literal'], or "." (self) or ".." (parent). Results hold element nodes only,
// in the order the steps produce them: each step is applied to every node of the current
// list in turn and the lists are concatenated, without sorting or removing duplicates.
//
// "//" steps walk the subtrees, or, once a document has been walked more than building its
// element index costs (see XpIndex.h), are answered from the index: exactly the same nodes in
// the same order either way.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"

namespace sorvanta::xml {

enum class XpAxis : uint8_t { Child, Descendant, Self, Parent };

struct XpPredicate {
  std::string attribute;  // UTF-8 attribute name
  std::string literal;    // UTF-8 text the attribute value must equal
};

// How descendant steps find their nodes: walking or from the index, whichever the document's
// use so far favours; always from the index; always walking.
enum class XpEvaluation : uint8_t { Auto, Indexed, Plain };

struct XpStep {
  XpAxis axis = XpAxis::Child;
  std::string name;  // element name, "*" for every element; empty for self and parent
  std::vector<XpPredicate> predicates;
};

// A compiled expression; compile once, evaluate from any number of context nodes.
class XpPath {
 public:
  XpPath() = default;
  // Compiled from a UTF-8 expression; unusable when it cannot be read.
  explicit XpPath(std::string_view utf8Expression) { compile(utf8Expression); }

  // Reads a UTF-8 expression. False, leaving an unusable path, when it cannot be read.
  bool compile(std::string_view utf8Expression);
  bool usable() const { return usable_; }

  // The selected elements; empty when the path is unusable, context is none, or the
  // evaluation would need more than maxWork (then *overBudget is set, when given).
  TXpNodeList evaluate(const TXpNode* context, XpEvaluation how = XpEvaluation::Auto,
                       bool* overBudget = nullptr) const;
  TXpNodeList evaluate(const TXpNode* context, bool* overBudget) const {
    return evaluate(context, XpEvaluation::Auto, overBudget);
  }

  // Guards against result explosion (nested matches multiply, duplicates are kept): the steps
  // of one evaluation may read, write and visit at most this many nodes together.
  static constexpr size_t maxWork = size_t{1} << 24;

  bool fromDocument() const { return fromDocument_; }
  const std::vector<XpStep>& steps() const { return steps_; }

 private:
  friend class XpPathParser;
  bool usable_ = false;
  bool fromDocument_ = false;  // steps start at the document rather than at the context
  std::vector<XpStep> steps_;
};

// Evaluates a path expression (UTF-8) from context; an unusable expression gives an empty list.
TXpNodeList selectNodesUtf8(const TXpNode* context, std::string_view utf8Expression);

}  // namespace sorvanta::xml
