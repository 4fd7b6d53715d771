#pragma once
// The relation types the frames view shows, with the label of each side as seen from the
// selected frame, and the query that finds a frame's relations of one type and side.
#include <array>
#include <string>
#include <string_view>

namespace sorvanta::lexicon {

struct RelationType {
  std::string_view name;        // value of the type element's "name" attribute
  std::string_view superLabel;  // the selected frame is the super frame
  std::string_view subLabel;    // the selected frame is the sub frame; empty: not looked up
};

// In display order; CoreSet, Excludes and Requires are looked up on the super side only.
inline constexpr std::array<RelationType, 10> RelationTypeTable = {{
    {"Inheritance", "Is Inherited By", "Inherits From"},
    {"Subframe", "Has Subframes", "Is Subframe Of"},
    {"Using", "Is Used By", "Uses"},
    {"See_also", "Distinguishes", "See Also"},
    {"ReFraming_Mapping", "Was Remapped To", "Was Remapped From"},
    {"CoreSet", "Has CoreSet", ""},
    {"Excludes", "Has Excludes", ""},
    {"Requires", "Has Requires", ""},
    {"Inchoative_of", "Is Inchoative Of", "Has Inchoative"},
    {"Causative_of", "Is Causative Of", "Is Caused By"},
}};

// //frame-relation-type[@name="<type>"]//frame-relation[@<role>FrameName="<frameName>"]
// with role "super" or "sub"; the inserted texts are not escaped.
std::string relationQuery(std::string_view type, std::string_view role, std::string_view frameName);
// //frame-relation-type[@name="<type>"]//frame-relation: every relation of the type.
std::string relationQuery(std::string_view type);

}  // namespace sorvanta::lexicon
