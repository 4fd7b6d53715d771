#include "reports/Palette.h"

namespace sorvanta::reports {

const std::array<Colour, kPaletteSize>& fePalette() {
  static const std::array<Colour, kPaletteSize> palette = {{
      {"#77AADD", "light blue"},
      {"#EE8866", "orange"},
      {"#EEDD88", "light yellow"},
      {"#FFAABB", "pink"},
      {"#99DDFF", "light cyan"},
      {"#44BB99", "mint"},
      {"#BBCC33", "pear"},
      {"#AAAA00", "olive"},
      {"#CCBBEE", "lavender"},
      {"#DDAA77", "tan"},
      {"#A0A0E0", "periwinkle"},
      {"#D4A6C8", "mauve"},
  }};
  return palette;
}

const Colour& unknownFeColour() {
  static const Colour grey{"#DDDDDD", "grey"};
  return grey;
}

FeColours::FeColours(const std::vector<FrameElementInfo>& frameFes) {
  for (const FrameElementInfo& fe : frameFes)
    index_.try_emplace(fe.name, static_cast<int>(index_.size()));
}

int FeColours::indexOf(std::string_view fe) const {
  const auto it = index_.find(std::string(fe));
  return it == index_.end() ? -1 : it->second;
}

const Colour& FeColours::of(std::string_view fe) const {
  const int index = indexOf(fe);
  return index < 0 ? unknownFeColour() : fePalette()[static_cast<size_t>(index) % kPaletteSize];
}

}  // namespace sorvanta::reports
