#include "index/LabelFindings.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "index/DocumentRows.h"
#include "text/WorkingText.h"

namespace sorvanta::index {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int64_t countOutside1252(std::string_view utf8) {
  int64_t total = 0;
  text::forEachOutsideWorking(utf8, [&](char32_t) { ++total; });
  return total;
}

struct Span {
  size_t label;
  int64_t start, end;
};

// Overlaps among one rank's FE labels: ordered by start, end and position, a label that
// starts at or before the furthest end of those before it overlaps; it is reported with the
// first label (in that order) it shares a character with.
void findOverlaps(size_t sentence, std::vector<Span>& spans, std::vector<LabelFinding>& out) {
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
    return std::tie(a.start, a.end, a.label) < std::tie(b.start, b.end, b.label);
  });
  int64_t reach = -1;
  for (size_t i = 0; i < spans.size(); ++i) {
    if (i > 0 && spans[i].start <= reach) {
      std::optional<size_t> other;
      for (const Span& candidate : spans)
        if (candidate.label != spans[i].label && candidate.start <= spans[i].end &&
            candidate.end >= spans[i].start) {
          other = candidate.label;
          break;
        }
      out.push_back({LabelFault::Overlap, sentence, spans[i].label, other});
    }
    reach = std::max(reach, spans[i].end);
  }
}

}  // namespace

std::string_view labelFaultName(LabelFault fault) {
  switch (fault) {
    case LabelFault::BadInteger: return "bad-integer";
    case LabelFault::OutOfRange: return "out-of-range";
    case LabelFault::Overlap: return "overlap";
  }
  return "";
}

int64_t characterCount(std::string_view utf8) {
  return std::count_if(utf8.begin(), utf8.end(), [](char c) { return !isContinuation(c); });
}

LabelFacts labelFacts(const std::vector<SentenceRow>& sentences) {
  LabelFacts facts;
  std::unordered_map<std::string_view, int> keys;
  for (const SentenceRow& sentence : sentences) ++keys[sentence.key];
  // FE labels per (rank, name): hashed while counting, sorted once at the end.
  struct PairHash {
    size_t operator()(const std::pair<std::string_view, std::string_view>& key) const {
      const size_t first = std::hash<std::string_view>()(key.first);
      return first ^ (std::hash<std::string_view>()(key.second) + 0x9e3779b97f4a7c15ULL + (first << 6) + (first >> 2));
    }
  };
  std::unordered_map<std::pair<std::string_view, std::string_view>, int64_t, PairHash> feCounts;

  for (size_t s = 0; s < sentences.size(); ++s) {
    const SentenceRow& sentence = sentences[s];
    SentenceFacts& sentenceFacts = facts.sentences.emplace_back();
    sentenceFacts.length = characterCount(sentence.text);
    sentenceFacts.outside1252 = countOutside1252(sentence.text);
    // A sentence has one or two FE ranks: small sorted vectors, not trees.
    std::vector<std::string_view> feRanks;
    for (const LabelRow& label : sentence.labels)
      if (label.layer == "FE") {
        if (std::find(feRanks.begin(), feRanks.end(), label.rank) == feRanks.end())
          feRanks.push_back(label.rank);
        ++feCounts[{label.rank, label.name}];
      }
    std::sort(feRanks.begin(), feRanks.end());
    for (std::string_view rank : feRanks) sentenceFacts.feRanks.append("<").append(rank).append(">");
    if (keys[sentence.key] > 1) continue;

    std::vector<std::pair<std::string_view, std::vector<Span>>> feSpans;  // by rank
    for (size_t l = 0; l < sentence.labels.size(); ++l) {
      const LabelRow& label = sentence.labels[l];
      if (!label.itype.empty()) continue;
      // Offsets as integers; a missing one leaves the label unjudged.
      int64_t start = 0, end = 0;
      bool bad = false;
      if (label.startText) {
        if (auto value = decimalValue(*label.startText)) start = *value; else bad = true;
      }
      if (label.endText) {
        if (auto value = decimalValue(*label.endText)) end = *value; else bad = true;
      }
      if (bad) {
        facts.findings.push_back({LabelFault::BadInteger, s, l, std::nullopt});
        continue;
      }
      if (!label.startText || !label.endText) continue;
      if (start < 0 || start > end || end >= sentenceFacts.length) {
        facts.findings.push_back({LabelFault::OutOfRange, s, l, std::nullopt});
        continue;
      }
      if (label.layer == "FE") {
        auto rank = std::find_if(feSpans.begin(), feSpans.end(),
                                 [&](const auto& entry) { return entry.first == label.rank; });
        if (rank == feSpans.end()) rank = feSpans.insert(feSpans.end(), {label.rank, {}});
        rank->second.push_back({l, start, end});
      }
    }
    std::sort(feSpans.begin(), feSpans.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const size_t firstOverlap = facts.findings.size();
    for (auto& [rank, spans] : feSpans) findOverlaps(s, spans, facts.findings);
    std::sort(facts.findings.begin() + static_cast<std::ptrdiff_t>(firstOverlap), facts.findings.end(),
              [](const LabelFinding& a, const LabelFinding& b) { return a.label < b.label; });
  }
  std::vector<std::pair<std::pair<std::string_view, std::string_view>, int64_t>> counted(feCounts.begin(),
                                                                                      feCounts.end());
  std::sort(counted.begin(), counted.end());
  for (const auto& [key, count] : counted)
    facts.feCounts.push_back({std::string(key.first), std::string(key.second), count});
  return facts;
}

}  // namespace sorvanta::index
