#include "lexicon/RelationTypes.h"

namespace sorvanta::lexicon {

namespace {

std::string typeStep(std::string_view type, size_t extra) {
  std::string query;
  query.reserve(64 + type.size() + extra);
  query.append("//frame-relation-type[@name=\"").append(type).append("\"]//frame-relation");
  return query;
}

}  // namespace

std::string relationQuery(std::string_view type, std::string_view role,
                          std::string_view frameName) {
  std::string query = typeStep(type, frameName.size());
  query.append("[@").append(role).append("FrameName=\"").append(frameName).append("\"]");
  return query;
}

std::string relationQuery(std::string_view type) { return typeStep(type, 0); }

}  // namespace sorvanta::lexicon
