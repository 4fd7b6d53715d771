#include "exports/Formats.h"

#include "exports/JsonText.h"
#include "exports/Utf8.h"

namespace sorvanta::exports {

namespace {

// [{"name":..,"start":..,"end":..},...]
void appendSpanObjects(std::string& out, const std::vector<LabelSpan>& labels) {
  out += '[';
  for (size_t i = 0; i < labels.size(); ++i) {
    out += i == 0 ? "{\"name\":" : ",{\"name\":";
    appendJsonString(out, labels[i].name);
    out += ",\"start\":";
    appendJsonInteger(out, labels[i].start);
    out += ",\"end\":";
    appendJsonInteger(out, labels[i].end);
    out += '}';
  }
  out += ']';
}

bool overlaps(const Token& token, int64_t start, int64_t end) {
  return token.start < end && start < token.end;
}

}  // namespace

std::string_view formatName(Format format) { return format == Format::Conll ? "conll" : "jsonl"; }

void appendJsonLine(std::string& out, const AnnotationRecord& record) {
  out += "{\"lu_id\":";
  appendJsonInteger(out, record.luId);
  out += ",\"lu\":";
  appendJsonString(out, record.lu);
  out += ",\"frame\":";
  appendJsonString(out, record.frame);
  out += ",\"frame_id\":";
  appendJsonInteger(out, record.frameId);
  out += ",\"sentence_id\":";
  appendJsonInteger(out, record.sentenceId);
  out += ",\"subcorpus\":";
  appendJsonString(out, record.subcorpus);
  out += ",\"text\":";
  appendJsonString(out, record.text);
  out += ",\"target\":[";
  for (size_t i = 0; i < record.target.size(); ++i) {
    out += i == 0 ? "[" : ",[";
    appendJsonInteger(out, record.target[i].start);
    out += ',';
    appendJsonInteger(out, record.target[i].end);
    out += ']';
  }
  out += "],\"fes\":[";
  for (size_t i = 0; i < record.fes.size(); ++i) {
    const FrameElementLabel& fe = record.fes[i];
    out += i == 0 ? "{\"name\":" : ",{\"name\":";
    appendJsonString(out, fe.name);
    if (fe.expressed()) {
      out += ",\"start\":";
      appendJsonInteger(out, fe.start);
      out += ",\"end\":";
      appendJsonInteger(out, fe.end);
    } else {
      out += ",\"itype\":";
      appendJsonString(out, fe.itype);
    }
    out += '}';
  }
  out += "],\"gf\":";
  appendSpanObjects(out, record.gf);
  out += ",\"pt\":";
  appendSpanObjects(out, record.pt);
  out += "}\n";
}

bool isPunctuation(char32_t c) {
  if (c < 0x80) return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) ||
                       (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
  return c == 0xA1 || c == 0xA7 || c == 0xAB || c == 0xB6 || c == 0xB7 || c == 0xBB || c == 0xBF ||
         (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) ||
         (c >= 0x3001 && c <= 0x3003) || (c >= 0x3008 && c <= 0x3011);
}

std::vector<Token> tokenize(std::string_view text) {
  struct Char {
    char32_t c;
    size_t byte, bytes;
  };
  std::vector<Token> tokens;
  std::vector<Char> piece;
  int64_t index = 0;  // code point position of the next character
  auto emit = [&](size_t from, size_t to, int64_t firstIndex) {
    Token& token = tokens.emplace_back();
    token.text = std::string(text.substr(piece[from].byte, piece[to - 1].byte + piece[to - 1].bytes - piece[from].byte));
    token.start = firstIndex;
    token.end = firstIndex + static_cast<int64_t>(to - from);
  };
  auto flush = [&] {
    size_t first = 0, last = piece.size();
    const int64_t pieceStart = index - static_cast<int64_t>(piece.size());
    while (first < last && isPunctuation(piece[first].c)) {
      emit(first, first + 1, pieceStart + static_cast<int64_t>(first));
      ++first;
    }
    size_t trail = last;
    while (trail > first && isPunctuation(piece[trail - 1].c)) --trail;
    if (trail > first) emit(first, trail, pieceStart + static_cast<int64_t>(first));
    for (size_t i = trail; i < last; ++i) emit(i, i + 1, pieceStart + static_cast<int64_t>(i));
    piece.clear();
  };
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t c = nextCodePoint(text, pos);
    if (isWhiteSpace(c)) {
      flush();
    } else {
      piece.push_back({c, start, pos - start});
    }
    ++index;
  }
  flush();
  return tokens;
}

void appendConllBlock(std::string& out, const AnnotationRecord& record) {
  const std::vector<Token> tokens = tokenize(record.text);
  std::vector<int> owner(tokens.size(), -1);  // index into record.fes
  std::vector<bool> begins(tokens.size(), false);
  for (size_t f = 0; f < record.fes.size(); ++f) {
    const FrameElementLabel& fe = record.fes[f];
    if (!fe.expressed()) continue;
    bool first = true;
    for (size_t t = 0; t < tokens.size(); ++t) {
      if (owner[t] >= 0 || !overlaps(tokens[t], fe.start, fe.end)) continue;
      owner[t] = static_cast<int>(f);
      begins[t] = first;
      first = false;
    }
  }
  for (size_t t = 0; t < tokens.size(); ++t) {
    bool target = false;
    for (const LabelSpan& span : record.target) target = target || overlaps(tokens[t], span.start, span.end);
    out += std::to_string(t + 1);
    out += '\t';
    out += tokens[t].text;
    out += target ? "\t1\t" : "\t0\t";
    out += target ? record.frame : std::string("_");
    out += '\t';
    if (owner[t] < 0) {
      out += 'O';
    } else {
      out += begins[t] ? "B-" : "I-";
      out += record.fes[static_cast<size_t>(owner[t])].name;
    }
    out += '\n';
  }
}

bool RecordFormatter::append(std::string& out, const AnnotationRecord& record) {
  if (format_ == Format::Jsonl) {
    appendJsonLine(out, record);
    return true;
  }
  std::string block;
  appendConllBlock(block, record);
  if (block.empty()) return false;
  if (!first_) out += '\n';
  first_ = false;
  out += block;
  return true;
}

}  // namespace sorvanta::exports
