#pragma once
// The inline markup of frame and FE definitions, held in the definition text itself:
// <def-root> (the definition), <fen> (an FE name), <ex> (an example), <fex name="FE"> (an FE's
// words in an example), <t> (the target in an example), <em> and <i> (emphasis). Unknown tags,
// end tags that close nothing and a "<" that starts no tag stay in the text as written; tags
// left open close at the end; nesting deeper than kMaxMarkupDepth is kept as text. The five
// predefined entity references are decoded; any other "&" is text.
#include <string>
#include <string_view>
#include <vector>

#include "reports/Palette.h"

namespace sorvanta::reports {

enum class MarkupKind { Text, Root, FeName, Example, ExampleFe, Target, Emphasis };

struct MarkupNode {
  MarkupKind kind = MarkupKind::Text;
  std::string text;    // Text: the characters (UTF-8)
  std::string feName;  // ExampleFe: the name attribute
  std::vector<MarkupNode> children;
};

inline constexpr int kMaxMarkupDepth = 32;

// The definition as a list of top-level nodes.
std::vector<MarkupNode> parseDefinitionMarkup(std::string_view definition);

// Rich text: FE names and example FEs on their colours, examples as indented italic blocks,
// the target in bold, emphasis in italics. Used by the report windows and the HTML pages.
std::string definitionHtml(std::string_view definition, const FeColours& colours);

// The characters without the tags; examples on lines of their own, indented.
std::string definitionPlainText(std::string_view definition);

}  // namespace sorvanta::reports
