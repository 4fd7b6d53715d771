#pragma once
// Frame-element colours: one fixed palette of 12 light colours (dark text stays readable on
// them), chosen to stay apart for the common kinds of colour blindness as far as 12 colours
// can. A frame's FEs take them in the frame's FE order, the 13th FE the first colour again, so
// an FE has the same colour in every view and report of its frame.
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reports/ReportData.h"

namespace sorvanta::reports {

struct Colour {
  const char* hex;  // "#77AADD"
  const char* name;
};

inline constexpr size_t kPaletteSize = 12;
const std::array<Colour, kPaletteSize>& fePalette();
// For labels naming no FE of the frame.
const Colour& unknownFeColour();

class FeColours {
 public:
  FeColours() = default;
  explicit FeColours(const std::vector<FrameElementInfo>& frameFes);
  // The FE's colour; names match exactly (the frame may hold "Time" and "time").
  const Colour& of(std::string_view fe) const;
  // The FE's position in the frame, or -1.
  int indexOf(std::string_view fe) const;

 private:
  std::unordered_map<std::string, int> index_;
};

}  // namespace sorvanta::reports
