#pragma once
// How each relation type is drawn, the same in DOT, SVG, PNG and the window: a colour, a line
// style and an arrow head per type, and the marks of the centre frame and of missing frames.
#include <array>
#include <string_view>

#include "graph/RelationGraph.h"

namespace sorvanta::graph {

enum class LineStyle { Solid, Dashed, Dotted, Bold };

struct EdgeStyle {
  std::string_view colour;     // "#rrggbb"
  LineStyle line;
  std::string_view arrowhead;  // a Graphviz arrow shape
};

// Indexed like kRelationTypes; no two types share colour, line and arrow head.
inline constexpr std::array<EdgeStyle, kRelationTypeCount> kEdgeStyles = {{
    {"#1f4e9c", LineStyle::Solid, "empty"},      // Inheritance
    {"#2e7d32", LineStyle::Solid, "odiamond"},   // Subframe
    {"#c46200", LineStyle::Dashed, "vee"},       // Using
    {"#6d6d6d", LineStyle::Dotted, "open"},      // See_also
    {"#8b3a8b", LineStyle::Dashed, "normal"},    // ReFraming_Mapping
    {"#a07800", LineStyle::Bold, "dot"},         // CoreSet
    {"#c0392b", LineStyle::Bold, "tee"},         // Excludes
    {"#138a72", LineStyle::Solid, "odot"},       // Requires
    {"#5b7f1a", LineStyle::Dashed, "halfopen"},  // Inchoative_of
    {"#9c4a1c", LineStyle::Solid, "normal"},     // Causative_of
    {"#2c3e50", LineStyle::Bold, "normal"},      // Precedes
    {"#7d3c98", LineStyle::Dotted, "obox"},      // Perspective_on
}};

inline constexpr std::string_view kCentreFill = "#fff2b3";
inline constexpr std::string_view kMissingColour = "#b00000";
// Shown under the name of a frame the frames document lacks.
inline constexpr std::string_view kMissingMark = "(missing)";

// The Graphviz "style" value of a line style.
std::string_view dotLineStyle(LineStyle line);

}  // namespace sorvanta::graph
