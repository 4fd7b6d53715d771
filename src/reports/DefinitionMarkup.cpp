#include "reports/DefinitionMarkup.h"

#include "reports/HtmlText.h"

namespace sorvanta::reports {

namespace {

struct TagKind {
  std::string_view name;
  MarkupKind kind;
};

constexpr TagKind kTags[] = {
    {"def-root", MarkupKind::Root},   {"fen", MarkupKind::FeName},
    {"ex", MarkupKind::Example},      {"fex", MarkupKind::ExampleFe},
    {"t", MarkupKind::Target},        {"em", MarkupKind::Emphasis},
    {"i", MarkupKind::Emphasis},
};

bool knownTag(std::string_view name, MarkupKind& kind) {
  for (const TagKind& tag : kTags)
    if (tag.name == name) {
      kind = tag.kind;
      return true;
    }
  return false;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Text with the five predefined references decoded.
void appendDecoded(std::string& out, std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  for (size_t i = 0; i < text.size();) {
    bool decoded = false;
    if (text[i] == '&')
      for (const auto& [reference, character] : kEntities)
        if (text.substr(i, reference.size()) == reference) {
          out += character;
          i += reference.size();
          decoded = true;
          break;
        }
    if (!decoded) out += text[i++];
  }
}

// The value of name="…" or name='…' among a start tag's attributes, or empty.
std::string attributeValue(std::string_view attributes, std::string_view name) {
  for (size_t i = 0; i < attributes.size(); ++i) {
    if (attributes.substr(i, name.size()) != name) continue;
    if (i > 0 && !isSpace(attributes[i - 1])) continue;
    size_t k = i + name.size();
    while (k < attributes.size() && isSpace(attributes[k])) ++k;
    if (k >= attributes.size() || attributes[k] != '=') continue;
    ++k;
    while (k < attributes.size() && isSpace(attributes[k])) ++k;
    if (k >= attributes.size() || (attributes[k] != '"' && attributes[k] != '\'')) continue;
    const size_t close = attributes.find(attributes[k], k + 1);
    if (close == std::string_view::npos) return {};
    std::string value;
    appendDecoded(value, attributes.substr(k + 1, close - k - 1));
    return value;
  }
  return {};
}

class MarkupParser {
 public:
  std::vector<MarkupNode> parse(std::string_view text) {
    MarkupNode root;
    stack_.push_back(&root);
    size_t i = 0;
    while (i < text.size()) {
      const size_t open = text.find('<', i);
      if (open == std::string_view::npos) {
        addText(text.substr(i));
        break;
      }
      addText(text.substr(i, open - i));
      const size_t close = text.find('>', open + 1);
      // A "<" with no ">" after it, or another "<" first, starts no tag.
      const size_t nextOpen = text.find('<', open + 1);
      if (close == std::string_view::npos || (nextOpen != std::string_view::npos && nextOpen < close)) {
        addText(text.substr(open, 1));
        i = open + 1;
        continue;
      }
      const std::string_view tag = text.substr(open, close - open + 1);
      if (!applyTag(tag)) addRawText(tag);
      i = close + 1;
    }
    stack_.clear();
    return std::move(root.children);
  }

 private:
  void addRawText(std::string_view raw) {
    std::vector<MarkupNode>& children = stack_.back()->children;
    if (children.empty() || children.back().kind != MarkupKind::Text)
      children.push_back({MarkupKind::Text, "", "", {}});
    children.back().text.append(raw);
  }
  void addText(std::string_view raw) {
    if (raw.empty()) return;
    std::string decoded;
    appendDecoded(decoded, raw);
    addRawText(decoded);
  }

  // Applies "<name …>", "</name>" or "<name …/>"; false when the tag is kept as text.
  bool applyTag(std::string_view tag) {
    std::string_view inner = tag.substr(1, tag.size() - 2);
    const bool end = !inner.empty() && inner.front() == '/';
    if (end) inner.remove_prefix(1);
    const bool empty = !end && !inner.empty() && inner.back() == '/';
    if (empty) inner.remove_suffix(1);
    size_t nameEnd = 0;
    while (nameEnd < inner.size() && !isSpace(inner[nameEnd])) ++nameEnd;
    const std::string_view name = inner.substr(0, nameEnd);
    MarkupKind kind;
    if (!knownTag(name, kind)) return false;
    if (end) {
      if (nameEnd != inner.size()) return false;
      // Closes the innermost open element of that kind and whatever is open inside it.
      for (size_t depth = stack_.size() - 1; depth > 0; --depth)
        if (kindName(*stack_[depth]) == name) {
          stack_.resize(depth);
          return true;
        }
      return false;
    }
    if (static_cast<int>(stack_.size()) > kMaxMarkupDepth) return false;
    MarkupNode node{kind, "", "", {}};
    if (kind == MarkupKind::ExampleFe) node.feName = attributeValue(inner.substr(nameEnd), "name");
    node.text = std::string(name);  // remembered until closed, for matching the end tag
    std::vector<MarkupNode>& children = stack_.back()->children;
    children.push_back(std::move(node));
    if (!empty) stack_.push_back(&children.back());
    return true;
  }

  static std::string_view kindName(const MarkupNode& node) { return node.text; }

  // Pointers into the tree stay valid: only the innermost open node's children grow.
  std::vector<MarkupNode*> stack_;
};

// Element nodes carry their tag name in text while parsing; it is cleared here.
void clearTagNames(std::vector<MarkupNode>& nodes) {
  for (MarkupNode& node : nodes)
    if (node.kind != MarkupKind::Text) {
      node.text.clear();
      clearTagNames(node.children);
    }
}

void plainText(const MarkupNode& node, std::string& out) {
  if (node.kind == MarkupKind::Text) {
    out += node.text;
    return;
  }
  for (const MarkupNode& child : node.children) plainText(child, out);
}

std::string plainText(const std::vector<MarkupNode>& nodes) {
  std::string out;
  for (const MarkupNode& node : nodes) plainText(node, out);
  return out;
}

void appendWithBreaks(std::string& out, std::string_view text) {
  size_t start = 0;
  for (size_t newline; (newline = text.find('\n', start)) != std::string_view::npos; start = newline + 1) {
    appendEscaped(out, text.substr(start, newline - start));
    out += "<br/>";
  }
  appendEscaped(out, text.substr(start));
}

void colouredSpan(std::string& out, const Colour& colour, const std::string& title) {
  out += "<span class=\"fe\" style=\"background-color:";
  out += colour.hex;
  out += "\"";
  if (!title.empty()) {
    out += " title=\"";
    appendEscaped(out, title);
    out += "\"";
  }
  out += ">";
}

void renderHtml(const MarkupNode& node, const FeColours& colours, std::string& out);

void renderChildren(const MarkupNode& node, const FeColours& colours, std::string& out) {
  for (const MarkupNode& child : node.children) renderHtml(child, colours, out);
}

void renderHtml(const MarkupNode& node, const FeColours& colours, std::string& out) {
  switch (node.kind) {
    case MarkupKind::Text:
      appendWithBreaks(out, node.text);
      return;
    case MarkupKind::Root:
      out += "<div class=\"def-root\">";
      renderChildren(node, colours, out);
      out += "</div>";
      return;
    case MarkupKind::FeName: {
      const std::string name = plainText(node.children);
      colouredSpan(out, colours.of(name), "");
      renderChildren(node, colours, out);
      out += "</span>";
      return;
    }
    case MarkupKind::ExampleFe:
      colouredSpan(out, colours.of(node.feName), node.feName);
      renderChildren(node, colours, out);
      out += "</span>";
      return;
    case MarkupKind::Example:
      out += "<div class=\"ex\" style=\"margin-left:2em\"><i>";
      renderChildren(node, colours, out);
      out += "</i></div>";
      return;
    case MarkupKind::Target:
      out += "<b>";
      renderChildren(node, colours, out);
      out += "</b>";
      return;
    case MarkupKind::Emphasis:
      out += "<em>";
      renderChildren(node, colours, out);
      out += "</em>";
      return;
  }
}

void renderPlain(const MarkupNode& node, std::string& out) {
  if (node.kind == MarkupKind::Text) {
    out += node.text;
    return;
  }
  if (node.kind == MarkupKind::Example) {
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (!out.empty() && out.back() != '\n') out += '\n';
    out += "    ";
  }
  for (const MarkupNode& child : node.children) renderPlain(child, out);
  if (node.kind == MarkupKind::Example) out += '\n';
}

}  // namespace

std::vector<MarkupNode> parseDefinitionMarkup(std::string_view definition) {
  std::vector<MarkupNode> nodes = MarkupParser().parse(definition);
  clearTagNames(nodes);
  return nodes;
}

std::string definitionHtml(std::string_view definition, const FeColours& colours) {
  std::string out;
  for (const MarkupNode& node : parseDefinitionMarkup(definition)) renderHtml(node, colours, out);
  return out;
}

std::string definitionPlainText(std::string_view definition) {
  std::string out;
  for (const MarkupNode& node : parseDefinitionMarkup(definition)) renderPlain(node, out);
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace sorvanta::reports
