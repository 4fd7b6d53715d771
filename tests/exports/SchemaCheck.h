#pragma once
// Checks a JSON value against the part of JSON Schema that docs/export.schema.json uses:
// type, required, properties, additionalProperties (true/false), items, minItems, maxItems,
// minimum, minLength, oneOf and "$ref": "#/$defs/NAME". Any other keyword fails the check, so
// the schema cannot silently outgrow the checker.
#include <nlohmann/json.hpp>

#include <string>

#include "exports/Utf8.h"

namespace sorvanta::testing {

class SchemaCheck {
 public:
  explicit SchemaCheck(nlohmann::json schema) : root_(std::move(schema)) {}

  // "" when value conforms, else where and why it does not.
  std::string check(const nlohmann::json& value) const { return checkAt(root_, value, "$"); }

 private:
  static bool hasType(const nlohmann::json& value, const std::string& type) {
    if (type == "object") return value.is_object();
    if (type == "array") return value.is_array();
    if (type == "string") return value.is_string();
    if (type == "integer") return value.is_number_integer();
    if (type == "number") return value.is_number();
    if (type == "boolean") return value.is_boolean();
    if (type == "null") return value.is_null();
    return false;
  }

  std::string checkAt(const nlohmann::json& schema, const nlohmann::json& value, const std::string& where) const {
    static const char* const kKnown[] = {"$schema", "$id", "title", "description", "type", "required",
                                         "properties", "additionalProperties", "items", "minItems",
                                         "maxItems", "minimum", "minLength", "oneOf", "$ref", "$defs"};
    for (const auto& [key, ignored] : schema.items()) {
      if (std::find(std::begin(kKnown), std::end(kKnown), key) == std::end(kKnown))
        return where + ": unsupported keyword " + key;
    }
    if (schema.contains("$ref")) {
      const std::string ref = schema["$ref"];
      const std::string prefix = "#/$defs/";
      if (ref.rfind(prefix, 0) != 0 || !root_["$defs"].contains(ref.substr(prefix.size())))
        return where + ": unresolvable $ref " + ref;
      return checkAt(root_["$defs"][ref.substr(prefix.size())], value, where);
    }
    if (schema.contains("type") && !hasType(value, schema["type"]))
      return where + ": not of type " + schema["type"].get<std::string>();
    if (schema.contains("minimum") && value.is_number() && value.get<double>() < schema["minimum"].get<double>())
      return where + ": below the minimum";
    if (schema.contains("minLength") && value.is_string() &&
        exports::codePointCount(value.get<std::string>()) < schema["minLength"].get<int64_t>())
      return where + ": shorter than minLength";
    if (value.is_object()) {
      for (const auto& name : schema.value("required", nlohmann::json::array()))
        if (!value.contains(name.get<std::string>())) return where + ": missing " + name.get<std::string>();
      const nlohmann::json properties = schema.value("properties", nlohmann::json::object());
      for (const auto& [key, member] : value.items()) {
        if (properties.contains(key)) {
          std::string problem = checkAt(properties[key], member, where + "." + key);
          if (!problem.empty()) return problem;
        } else if (schema.contains("additionalProperties") && schema["additionalProperties"] == false) {
          return where + ": unexpected member " + key;
        }
      }
    }
    if (value.is_array()) {
      if (schema.contains("minItems") && value.size() < schema["minItems"].get<size_t>())
        return where + ": fewer items than minItems";
      if (schema.contains("maxItems") && value.size() > schema["maxItems"].get<size_t>())
        return where + ": more items than maxItems";
      if (schema.contains("items")) {
        for (size_t i = 0; i < value.size(); ++i) {
          std::string problem = checkAt(schema["items"], value[i], where + "[" + std::to_string(i) + "]");
          if (!problem.empty()) return problem;
        }
      }
    }
    if (schema.contains("oneOf")) {
      int matches = 0;
      for (const auto& option : schema["oneOf"]) matches += checkAt(option, value, where).empty();
      if (matches != 1) return where + ": matches " + std::to_string(matches) + " of oneOf";
    }
    return "";
  }

  nlohmann::json root_;
};

}  // namespace sorvanta::testing
