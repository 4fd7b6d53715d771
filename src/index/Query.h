#pragma once
// The search language shared by the window and the command line, parsed once and compiled
// to an SQL condition with bound parameters only: user text never becomes SQL text.
//
//   frame:Self_motion fe:Goal -ni:Source walk      (terms are ANDed; -term negates)
//   fe:Goal,Path   lu:walk*.v   real:Goal.PP.Dep   "into the"   re:/\bin(to)?\b/i
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sorvanta::index {

enum class SearchTarget { Sets, Frames, LexicalUnits, FrameElements };

// A parameter of the compiled condition, bound in order to its "?".
using SqlValue = std::variant<int64_t, std::string>;

struct CompiledQuery {
  std::string condition;  // SQL over the target's table (aliases: s, f, u, e); "1" matches all
  std::vector<SqlValue> parameters;
};

struct QueryError {
  std::string term;     // the offending term as typed ("" for the query as a whole)
  std::string message;  // a whole sentence naming the term
};

// Longest regular expression accepted, in bytes.
inline constexpr size_t kMaxRegexLength = 1000;
// Longest query and most terms accepted.
inline constexpr size_t kMaxQueryLength = 10000;
inline constexpr size_t kMaxTerms = 64;

// Parses and compiles a query for one kind of result. Never gives a partial query: any bad
// term makes the whole query an error.
std::variant<CompiledQuery, QueryError> compileQuery(std::string_view query, SearchTarget target);

// The syntax in a few lines, for tooltips and help texts.
std::string_view querySyntaxHelp();

}  // namespace sorvanta::index
