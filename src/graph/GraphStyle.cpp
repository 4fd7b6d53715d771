#include "graph/GraphStyle.h"

namespace sorvanta::graph {

std::string_view dotLineStyle(LineStyle line) {
  switch (line) {
    case LineStyle::Dashed:
      return "dashed";
    case LineStyle::Dotted:
      return "dotted";
    case LineStyle::Bold:
      return "bold";
    case LineStyle::Solid:
      break;
  }
  return "solid";
}

}  // namespace sorvanta::graph
