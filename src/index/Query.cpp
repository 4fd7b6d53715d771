#include "index/Query.h"

#include <re2/re2.h>

#include <algorithm>
#include <cctype>

#include "index/DocumentRows.h"

namespace sorvanta::index {

namespace {

struct Term {
  std::string text;  // as typed, for messages
  bool negated = false;
  std::string key;   // "" for a bare word or a phrase
  std::string value;
  bool phrase = false;
  bool caseless = false;  // re:/…/i
};

struct Failure {
  QueryError error;
};

[[noreturn]] void fail(const std::string& term, const std::string& message) {
  throw Failure{{term, message}};
}

bool space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

const char* const kKeys[] = {"frame", "lu", "lemma", "pos", "luid", "sentid", "fe", "ni",
                             "itype", "pt", "gf", "real", "re"};

std::vector<Term> tokenize(std::string_view query) {
  if (query.size() > kMaxQueryLength)
    fail("", "The query is longer than " + std::to_string(kMaxQueryLength) + " characters.");
  std::vector<Term> terms;
  size_t pos = 0;
  const size_t n = query.size();
  while (pos < n) {
    if (space(query[pos])) {
      ++pos;
      continue;
    }
    const size_t start = pos;
    Term term;
    auto until = [&](size_t from) {  // end of the term that starts at from
      size_t end = from;
      while (end < n && !space(query[end])) ++end;
      return end;
    };
    if (query[pos] == '-') {
      term.negated = true;
      ++pos;
      if (pos == n || space(query[pos])) fail("-", "A '-' must be followed by the term it negates.");
    }
    auto quotedValue = [&](std::string& out) {  // from an opening quote at pos
      const size_t close = query.find('"', pos + 1);
      if (close == std::string_view::npos)
        fail(std::string(query.substr(start)),
             "The term '" + std::string(query.substr(start)) + "' opens a quote that is never closed.");
      out = std::string(query.substr(pos + 1, close - pos - 1));
      pos = close + 1;
    };
    if (query[pos] == '"') {
      term.phrase = true;
      quotedValue(term.value);
    } else {
      size_t keyEnd = pos;
      while (keyEnd < n && std::isalpha(static_cast<unsigned char>(query[keyEnd]))) ++keyEnd;
      if (keyEnd < n && query[keyEnd] == ':' && keyEnd > pos) {
        term.key = std::string(query.substr(pos, keyEnd - pos));
        std::transform(term.key.begin(), term.key.end(), term.key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (std::find(std::begin(kKeys), std::end(kKeys), term.key) == std::end(kKeys)) {
          const std::string text(query.substr(start, until(pos) - start));
          fail(text, "Unknown term '" + text + "': '" + term.key + ":' is not a search term.");
        }
        pos = keyEnd + 1;
        if (term.key == "re") {
          if (pos >= n || query[pos] != '/') {
            const std::string text(query.substr(start, until(pos) - start));
            fail(text, "The term '" + text + "' needs its expression between slashes: re:/…/.");
          }
          size_t end = pos + 1;
          bool closed = false;
          for (; end < n; ++end) {
            if (query[end] == '\\' && end + 1 < n) {
              ++end;
              continue;
            }
            if (query[end] != '/') continue;
            const bool flag = end + 1 < n && query[end + 1] == 'i';
            const size_t after = end + 1 + flag;
            if (after == n || space(query[after])) {
              closed = true;
              term.caseless = flag;
              term.value = std::string(query.substr(pos + 1, end - pos - 1));
              pos = after;
              break;
            }
          }
          if (!closed) {
            const std::string text(query.substr(start));
            fail(text, "The term '" + text + "' has no closing '/'.");
          }
        } else if (pos < n && query[pos] == '"') {
          quotedValue(term.value);
        } else {
          const size_t end = until(pos);
          term.value = std::string(query.substr(pos, end - pos));
          pos = end;
        }
        if (term.value.empty()) {
          const std::string text(query.substr(start, pos - start));
          fail(text, "The term '" + text + "' has no value.");
        }
      } else {
        const size_t end = until(pos);
        term.value = std::string(query.substr(pos, end - pos));
        pos = end;
      }
    }
    if (pos < n && !space(query[pos])) {
      const std::string text(query.substr(start, until(pos) - start));
      fail(text, "The term '" + text + "' continues after its closing quote.");
    }
    term.text = std::string(query.substr(start, pos - start));
    terms.push_back(std::move(term));
    if (terms.size() > kMaxTerms)
      fail(term.text, "The query has more than " + std::to_string(kMaxTerms) + " terms.");
  }
  if (terms.empty()) fail("", "The query is empty.");
  return terms;
}

std::vector<std::string> alternatives(const Term& term) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;) {
    const size_t comma = term.value.find(',', from);
    std::string part = term.value.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    if (part.empty()) fail(term.text, "The term '" + term.text + "' has an empty alternative.");
    parts.push_back(std::move(part));
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return parts;
}

class Compiler {
 public:
  explicit Compiler(SearchTarget target) : target_(target) {}

  CompiledQuery compile(const std::vector<Term>& terms) {
    // With a lexical-unit term, the sets are walked in result order through the units' sets
    // and the lists of words and labels only tested: a page is then read without sorting
    // every match of a common word or label.
    unitDriven_ = target_ == SearchTarget::Sets &&
                  std::any_of(terms.begin(), terms.end(), [](const Term& term) {
                    return !term.negated && (term.key == "frame" || term.key == "lu" ||
                                             term.key == "lemma" || term.key == "pos" ||
                                             term.key == "luid");
                  });
    std::string condition;
    for (const Term& term : terms) {
      negated_ = term.negated;
      std::string one = compileTerm(term);
      if (term.negated) one = "NOT (" + one + ")";
      if (!condition.empty()) condition += " AND ";
      condition += one;
    }
    return {condition, std::move(parameters_)};
  }

 private:
  // "= ?" or a LIKE pattern for a name that may hold '*' wildcards; "" for a lone '*'.
  std::string nameTest(const std::string& column, const std::string& value) {
    if (value.find_first_not_of('*') == std::string::npos) return "";
    if (value.find('*') == std::string::npos) {
      parameters_.emplace_back(value);
      return column + " = ? COLLATE NOCASE";
    }
    std::string pattern;
    for (char c : value) {
      if (c == '*') pattern += '%';
      else if (c == '%' || c == '_' || c == '\\') pattern += std::string("\\") + c;
      else pattern += c;
    }
    parameters_.emplace_back(pattern);
    return column + " LIKE ? ESCAPE '\\'";
  }

  static std::string all(const std::string& test) { return test.empty() ? "1" : test; }

  std::string anyOf(const Term& term, const auto& each) {
    const std::vector<std::string> parts = alternatives(term);
    std::string sql;
    for (const std::string& part : parts) {
      if (!sql.empty()) sql += " OR ";
      sql += each(part);
    }
    return parts.size() > 1 ? "(" + sql + ")" : sql;
  }

  int64_t integerValue(const Term& term, const std::string& part) {
    const std::optional<int64_t> value = decimalValue(part);
    if (!value) fail(term.text, "The term '" + term.text + "' needs whole numbers: '" + part + "' is not one.");
    return *value;
  }

  void unsupported(const Term& term, const char* what) {
    fail(term.text, "The term '" + term.text + "' cannot be used when searching " + what + ".");
  }

  // A regular expression over the text column; checked here so a bad one is a query error.
  std::string regex(const Term& term, const std::string& pattern, const std::string& column) {
    if (pattern.size() > kMaxRegexLength)
      fail(term.text, "The regular expression of '" + term.text.substr(0, 40) + "…' is longer than " +
                          std::to_string(kMaxRegexLength) + " characters.");
    RE2::Options options;
    options.set_log_errors(false);
    options.set_max_mem(8 << 20);
    RE2 compiled(pattern, options);
    if (!compiled.ok())
      fail(term.text, "The regular expression of '" + term.text + "' is not valid: " + compiled.error() + ".");
    parameters_.emplace_back(pattern);
    return "regexp(?, " + column + ")";
  }

  // A word (with '*' wildcards) or a phrase as a case-insensitive regular expression.
  static std::string wordPattern(const std::string& words) {
    std::string pattern = "(?i)\\b";
    bool gap = false;
    for (size_t i = 0; i < words.size(); ++i) {
      const char c = words[i];
      if (space(c)) {
        gap = true;
        continue;
      }
      if (gap) pattern += "\\s+";
      gap = false;
      if (c == '*') pattern += "\\w*";
      else pattern += RE2::QuoteMeta(std::string(1, c));
    }
    return pattern + (words.empty() || words.back() != '*' ? "\\b" : "");
  }

  // A bare word or phrase over the sentences: the full-text table, or a regular expression
  // for a wildcard inside a word, which the full-text syntax cannot say.
  std::string sentenceWords(const Term& term, const std::string& words, bool phrase) {
    const size_t star = words.find('*');
    const bool prefixOnly = !phrase && star != std::string::npos && star == words.size() - 1 && star > 0;
    if (!phrase && star != std::string::npos && !prefixOnly) {
      if (words.find_first_not_of('*') == std::string::npos) return "1";
      return regex(term, wordPattern(words), "s.text");
    }
    std::string match = "\"";
    for (char c : prefixOnly ? words.substr(0, star) : words) {
      match += c;
      if (c == '"') match += '"';
    }
    match += prefixOnly ? "\" *" : "\"";
    parameters_.emplace_back(match);
    return setList() + "(SELECT rowid FROM sentence_words WHERE sentence_words MATCH ?)";
  }

  // "s.set_ord IN ", kept from driving the query ('+') when the units' sets drive it.
  std::string setList() const { return unitDriven_ ? "+s.set_ord IN " : "s.set_ord IN "; }

  // Label names are stored once in label_names; a name test picks their IDs there.
  std::string nameIds(const std::string& column, const std::string& value) {
    const std::string test = nameTest("text", value);
    return test.empty() ? std::string() : column + " IN (SELECT name_id FROM label_names WHERE " + test + ")";
  }
  static std::string layerIs(const std::string& column, const char* layer) {
    return column + " = (SELECT name_id FROM label_names WHERE text = '" + layer + "')";
  }

  // A set's labels or constituents: as a list of sets, or for a negated term, looked up per
  // set (the list of sets without a common label would be most of the release).
  std::string labelTest(const char* layer, const std::string& name, const char* itype) {
    const std::string test = nameIds("name_id", name);
    const std::string where = layerIs("layer_id", layer) + (test.empty() ? "" : " AND " + test) + itype;
    if (negated_)
      return "EXISTS (SELECT 1 FROM sentences x JOIN label_data d ON d.sentence_ord = x.labels_of "
             "WHERE x.set_ord = s.set_ord AND " + where + ")";
    return setList() + "(SELECT set_ord FROM label_data WHERE " + where + ")";
  }

  std::string realization(const Term& term, const std::string& part) {
    std::vector<std::string> pieces;
    size_t from = 0;
    for (;;) {
      const size_t dot = part.find('.', from);
      pieces.push_back(part.substr(from, dot == std::string::npos ? std::string::npos : dot - from));
      if (dot == std::string::npos) break;
      from = dot + 1;
    }
    if (pieces.size() != 3 || std::any_of(pieces.begin(), pieces.end(), [](auto& p) { return p.empty(); }))
      fail(term.text, "The term '" + term.text + "' needs FE.PT.GF (any part may be '*').");
    std::string sql = negated_ ? "EXISTS (SELECT 1 FROM constituents c WHERE c.set_ord = s.set_ord"
                               : setList() + "(SELECT set_ord FROM constituents WHERE 1";
    const char* columns[] = {"fe_id", "pt_id", "gf_id"};
    for (int i = 0; i < 3; ++i) {
      const std::string test = nameIds(columns[i], pieces[static_cast<size_t>(i)]);
      if (!test.empty()) sql += " AND " + test;
    }
    return sql + ")";
  }

  std::string compileTerm(const Term& term) {
    switch (target_) {
      case SearchTarget::Sets: return setTerm(term);
      case SearchTarget::Frames: return entityTerm(term, "f", "frames");
      case SearchTarget::LexicalUnits: return entityTerm(term, "u", "lexical units");
      case SearchTarget::FrameElements: return entityTerm(term, "e", "frame elements");
    }
    return "1";
  }

  std::string setTerm(const Term& term) {
    const std::string& key = term.key;
    if (key.empty()) {
      if (term.phrase) return sentenceWords(term, term.value, true);
      return anyOf(term, [&](const std::string& w) { return sentenceWords(term, w, false); });
    }
    if (key == "re") return regex(term, (term.caseless ? "(?i)" : "") + term.value, "s.text");
    if (key == "luid")
      return anyOf(term, [&](const std::string& p) {
        parameters_.emplace_back(integerValue(term, p));
        return std::string("s.lu_id = ?");
      });
    if (key == "sentid")
      return anyOf(term, [&](const std::string& p) {
        parameters_.emplace_back(integerValue(term, p));
        return std::string("s.sentence_id = ?");
      });
    if (key == "frame" || key == "lu" || key == "lemma" || key == "pos") {
      const std::string column = key == "frame" ? "frame_name" : key == "lu" ? "name" : key;
      return anyOf(term, [&](const std::string& p) {
        const std::string test = nameTest(column, p);
        return "s.lu_id IN (SELECT id FROM lexical_units WHERE id IS NOT NULL" +
               (test.empty() ? std::string() : " AND " + test) + ")";
      });
    }
    if (key == "fe") return anyOf(term, [&](const std::string& p) { return labelTest("FE", p, " AND itype_id = 1"); });
    if (key == "ni") return anyOf(term, [&](const std::string& p) { return labelTest("FE", p, " AND itype_id <> 1"); });
    if (key == "pt") return anyOf(term, [&](const std::string& p) { return labelTest("PT", p, ""); });
    if (key == "gf") return anyOf(term, [&](const std::string& p) { return labelTest("GF", p, ""); });
    if (key == "itype")
      return anyOf(term, [&](const std::string& p) {
        const std::string test = nameIds("itype_id", p);
        return "s.set_ord IN (SELECT set_ord FROM label_data WHERE itype_id <> 1" +
               (test.empty() ? std::string() : " AND " + test) + ")";
      });
    if (key == "real") return anyOf(term, [&](const std::string& p) { return realization(term, p); });
    fail(term.text, "Unknown term '" + term.text + "'.");
  }

  // Frames, lexical units and frame elements: by name or definition, and the name terms.
  std::string entityTerm(const Term& term, const std::string& alias, const char* what) {
    const std::string text = "(" + alias + ".name || ' ' || " + alias + ".definition)";
    const std::string& key = term.key;
    if (key.empty()) {
      if (term.phrase) return regex(term, wordPattern(term.value), text);
      return anyOf(term, [&](const std::string& w) {
        return w.find_first_not_of('*') == std::string::npos ? std::string("1") : regex(term, wordPattern(w), text);
      });
    }
    if (key == "re") return regex(term, (term.caseless ? "(?i)" : "") + term.value, text);
    auto column = [&](const std::string& c) {
      return anyOf(term, [&](const std::string& p) { return all(nameTest(alias + "." + c, p)); });
    };
    if (alias == "f") {
      if (key == "frame") return column("name");
      if (key == "fe" || key == "lu") {
        const char* table = key == "fe" ? "frame_elements" : "lexical_units";
        return anyOf(term, [&](const std::string& p) {
          const std::string test = nameTest("name", p);
          return std::string("f.frame_ord IN (SELECT frame_ord FROM ") + table +
                 (test.empty() ? std::string() : " WHERE " + test) + ")";
        });
      }
    } else if (alias == "u") {
      if (key == "lu") return column("name");
      if (key == "lemma" || key == "pos") return column(key);
      if (key == "frame") return column("frame_name");
      if (key == "luid")
        return anyOf(term, [&](const std::string& p) {
          parameters_.emplace_back(integerValue(term, p));
          return std::string("u.id = ?");
        });
    } else {
      if (key == "fe") return column("name");
      if (key == "frame") return column("frame_name");
    }
    unsupported(term, what);
    return "1";
  }

  SearchTarget target_;
  bool negated_ = false;  // compiling a term under '-'
  bool unitDriven_ = false;
  std::vector<SqlValue> parameters_;
};

}  // namespace

std::variant<CompiledQuery, QueryError> compileQuery(std::string_view query, SearchTarget target) {
  try {
    return Compiler(target).compile(tokenize(query));
  } catch (const Failure& failure) {
    return failure.error;
  }
}

std::string_view querySyntaxHelp() {
  return "Terms are ANDed; -term negates a term; a value with commas is OR of its parts; * is a\n"
         "wildcard; names compare case-insensitively.\n"
         "  frame:NAME  lu:NAME  lemma:WORD  pos:v  luid:N  sentid:N\n"
         "  fe:NAME     an overt label of that frame element\n"
         "  ni:NAME     that frame element null-instantiated;  itype:DNI\n"
         "  pt:NAME  gf:NAME   a label on the phrase-type / grammatical-function layer\n"
         "  real:FE.PT.GF      one constituent realizing FE as PT with GF (parts may be *)\n"
         "  word  word*  \"a phrase\"  re:/REGEX/ (re:/REGEX/i ignores case)\n";
}

}  // namespace sorvanta::index
