#include "reports/AnnotationDisplay.h"

#include <algorithm>
#include <set>

#include "reports/HtmlText.h"

namespace sorvanta::reports {

namespace {

// Byte offset of every character of UTF-8 text, and the text's size at the end.
std::vector<size_t> characterOffsets(const std::string& text) {
  std::vector<size_t> offsets;
  offsets.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) offsets.push_back(i);
  offsets.push_back(text.size());
  return offsets;
}

bool inText(const Label& label, size_t characters) {
  return label.start && label.end && *label.start >= 0 && *label.start <= *label.end &&
         static_cast<uint64_t>(*label.end) < characters;
}

std::string sameSpanName(const AnnotationSet& set, const char* layer, const Label& fe) {
  for (const Label& label : set.labels)
    if (label.layer == layer && label.rank == fe.rank && label.itype.empty() &&
        label.start == fe.start && label.end == fe.end)
      return label.name;
  return {};
}

// The name a span shows: an FE of a second (third, …) FE layer carries its rank.
std::string spanLabel(const FeSpan& span) {
  return span.rank.empty() || span.rank == "1" ? span.fe : span.fe + " [" + span.rank + "]";
}

}  // namespace

SentenceDisplay buildSentenceDisplay(const AnnotationSet& set) {
  SentenceDisplay display;
  display.text = set.text;
  const std::vector<size_t> offsets = characterOffsets(set.text);
  const size_t characters = offsets.size() - 1;

  std::vector<std::pair<int64_t, int64_t>> targets;
  for (const Label& label : set.labels) {
    const bool fe = label.layer == "FE";
    const bool target = label.layer == "Target";
    if (!fe && !target) continue;
    if (fe && !label.itype.empty()) {
      display.nullTags.push_back({label.itype, label.name});
      continue;
    }
    if (!inText(label, characters)) {
      display.outside.push_back({label.layer, label.name, label.startText, label.endText});
      continue;
    }
    if (target)
      targets.push_back({*label.start, *label.end});
    else
      display.spans.push_back({label.name, label.rank, *label.start, *label.end,
                               sameSpanName(set, "GF", label), sameSpanName(set, "PT", label)});
  }

  std::set<int64_t> cuts = {0, static_cast<int64_t>(characters)};
  for (const FeSpan& span : display.spans) cuts.insert({span.start, span.end + 1});
  for (const auto& [start, end] : targets) cuts.insert({start, end + 1});
  for (auto it = cuts.begin(); std::next(it) != cuts.end(); ++it) {
    const int64_t from = *it, to = *std::next(it);  // characters [from, to)
    Segment segment;
    segment.begin = offsets[static_cast<size_t>(from)];
    segment.end = offsets[static_cast<size_t>(to)];
    for (const auto& [start, end] : targets)
      segment.target = segment.target || (start <= from && to <= end + 1);
    for (size_t i = 0; i < display.spans.size(); ++i) {
      const FeSpan& span = display.spans[i];
      if (span.start <= from && to <= span.end + 1) {
        segment.spans.push_back(i);
        if (span.end + 1 == to) segment.endingHere.push_back(i);
      }
    }
    display.segments.push_back(std::move(segment));
  }
  return display;
}

std::string sentenceHtml(const SentenceDisplay& display, const FeColours& colours) {
  std::string out = "<span class=\"sentence\">";
  for (const Segment& segment : display.segments) {
    const std::string_view text =
        std::string_view(display.text).substr(segment.begin, segment.end - segment.begin);
    if (!segment.spans.empty()) {
      // The innermost span (the last to start, then the first to end) gives the background; the
      // next one shows as an underline in its colour.
      std::vector<size_t> order = segment.spans;
      std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const FeSpan& x = display.spans[a];
        const FeSpan& y = display.spans[b];
        return x.start != y.start ? x.start > y.start : x.end < y.end;
      });
      out += "<span class=\"fe\" style=\"background-color:";
      out += colours.of(display.spans[order[0]].fe).hex;
      if (order.size() > 1) {
        out += ";text-decoration:underline;text-decoration-color:";
        out += colours.of(display.spans[order[1]].fe).hex;
        out += ";border-bottom:3px solid ";
        out += colours.of(display.spans[order[1]].fe).hex;
      }
      out += "\" title=\"";
      for (size_t k = 0; k < order.size(); ++k) {
        const FeSpan& span = display.spans[order[k]];
        if (k) out += "; ";
        appendEscaped(out, spanLabel(span));
        if (!span.gf.empty() || !span.pt.empty()) {
          out += ": ";
          appendEscaped(out, span.gf.empty() ? "-" : span.gf);
          out += " ";
          appendEscaped(out, span.pt.empty() ? "-" : span.pt);
        }
      }
      out += "\">";
    }
    if (segment.target) out += "<b>";
    appendEscaped(out, text);
    if (segment.target) out += "</b>";
    if (!segment.spans.empty()) out += "</span>";
    for (size_t i : segment.endingHere) {
      const Colour& colour = colours.of(display.spans[i].fe);
      out += "<sub class=\"fe-name\" style=\"background-color:";
      out += colour.hex;
      out += "\">";
      appendEscaped(out, spanLabel(display.spans[i]));
      out += "</sub>";
    }
  }
  for (const NullTag& tag : display.nullTags) {
    out += " <span class=\"ni\" style=\"background-color:";
    out += colours.of(tag.fe).hex;
    out += "\">[";
    appendEscaped(out, tag.itype);
    out += " ";
    appendEscaped(out, tag.fe);
    out += "]</span>";
  }
  for (const OutsideLabel& label : display.outside) {
    out += " <span class=\"outside\">[";
    appendEscaped(out, label.name);
    out += " ";
    appendEscaped(out, label.start.empty() ? "?" : label.start);
    out += "-";
    appendEscaped(out, label.end.empty() ? "?" : label.end);
    out += ": outside the text]</span>";
  }
  out += "</span>";
  return out;
}

std::string sentenceText(const SentenceDisplay& display) {
  std::string line;
  std::vector<bool> opened(display.spans.size(), false);
  bool inTarget = false;
  for (const Segment& segment : display.segments) {
    if (inTarget && !segment.target) line += '*';
    for (size_t i : segment.spans)
      if (!opened[i]) {
        line += '[';
        opened[i] = true;
      }
    if (segment.target && !inTarget) line += '*';
    inTarget = segment.target;
    line.append(display.text, segment.begin, segment.end - segment.begin);
    for (size_t i : segment.endingHere) {
      if (inTarget) line += '*';
      inTarget = false;
      line.append("]").append(spanLabel(display.spans[i]));
    }
  }
  if (inTarget) line += '*';
  for (const NullTag& tag : display.nullTags) line += " [" + tag.itype + " " + tag.fe + "]";
  for (const OutsideLabel& label : display.outside)
    line += " [" + label.name + " " + (label.start.empty() ? "?" : label.start) + "-" +
            (label.end.empty() ? "?" : label.end) + ": outside the text]";
  std::string constituents;
  for (const FeSpan& span : display.spans) {
    if (!constituents.empty()) constituents += " | ";
    constituents += spanLabel(span) + ": " + (span.gf.empty() ? "-" : span.gf) + " " +
                    (span.pt.empty() ? "-" : span.pt);
  }
  return line + "\n" + constituents + "\n";
}

}  // namespace sorvanta::reports
