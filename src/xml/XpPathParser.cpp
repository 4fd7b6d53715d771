// Reading of path expressions into XpPath steps (recursive descent over XpPathLexer).
#include "xml/XpPath.h"
#include "xml/XpPathLexer.h"

namespace sorvanta::xml {

class XpPathParser {
 public:
  XpPathParser(std::string_view expression, XpPath& path) : lexer_(expression), path_(path) {
    advance();
  }

  // path := ("/" | "//") nameStep (separator step)* End | step (separator step)* End
  bool parsePath() {
    if (current_.kind == XpTokenKind::Slash || current_.kind == XpTokenKind::DoubleSlash) {
      path_.fromDocument_ = true;
      const XpAxis axis = current_.kind == XpTokenKind::Slash ? XpAxis::Child : XpAxis::Descendant;
      advance();
      if (!parseNameStep(axis)) return false;
    } else if (!parseStep(XpAxis::Child)) {
      return false;
    }
    while (current_.kind != XpTokenKind::End) {
      if (!parseSeparatedStep()) return false;
    }
    return true;
  }

 private:
  // separatedStep := "/" step | "//" nameStep
  bool parseSeparatedStep() {
    if (current_.kind == XpTokenKind::Slash) {
      advance();
      return parseStep(XpAxis::Child);
    }
    if (current_.kind == XpTokenKind::DoubleSlash) {
      advance();
      // "//." and "//.." would mean descendant-or-self; they are outside what is read.
      return parseNameStep(XpAxis::Descendant);
    }
    return false;
  }

  // step := "." | ".." | nameStep
  bool parseStep(XpAxis axis) {
    if (current_.kind == XpTokenKind::Dot || current_.kind == XpTokenKind::DotDot) {
      XpStep& step = path_.steps_.emplace_back();
      step.axis = current_.kind == XpTokenKind::Dot ? XpAxis::Self : XpAxis::Parent;
      advance();
      return true;
    }
    return parseNameStep(axis);
  }

  // nameStep := (Name | "*") predicate*
  bool parseNameStep(XpAxis axis) {
    if (current_.kind != XpTokenKind::Name && current_.kind != XpTokenKind::Star) return false;
    XpStep& step = path_.steps_.emplace_back();
    step.axis = axis;
    step.name = current_.text;
    advance();
    while (current_.kind == XpTokenKind::OpenBracket) {
      if (!parsePredicate(step)) return false;
    }
    return true;
  }

  // predicate := "[" "@" Name "=" Literal "]"
  bool parsePredicate(XpStep& step) {
    advance();  // "["
    if (!expect(XpTokenKind::At)) return false;
    if (current_.kind != XpTokenKind::Name) return false;
    XpPredicate& predicate = step.predicates.emplace_back();
    predicate.attribute = current_.text;
    advance();
    if (!expect(XpTokenKind::Equals)) return false;
    if (current_.kind != XpTokenKind::Literal) return false;
    predicate.literal = current_.text;
    advance();
    return expect(XpTokenKind::CloseBracket);
  }

  bool expect(XpTokenKind kind) {
    if (current_.kind != kind) return false;
    advance();
    return true;
  }

  void advance() { current_ = lexer_.next(); }

  XpPathLexer lexer_;
  XpPath& path_;
  XpToken current_;
};

bool XpPath::compile(std::string_view utf8Expression) {
  steps_.clear();
  fromDocument_ = false;
  usable_ = XpPathParser(utf8Expression, *this).parsePath();
  if (!usable_) steps_.clear();
  return usable_;
}

}  // namespace sorvanta::xml
