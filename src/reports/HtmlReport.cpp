#include "reports/HtmlReport.h"

#include <algorithm>

#include "reports/AnnotationDisplay.h"
#include "reports/DefinitionMarkup.h"
#include "reports/HtmlText.h"

namespace sorvanta::reports {

namespace {

constexpr std::string_view kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#111;background:#fff;line-height:1.6}"
    "h1{font-size:1.5em;margin-bottom:0.2em}h2{font-size:1.15em;margin-top:1.5em}"
    "h3{font-size:1em;margin-top:1.2em}"
    "table{border-collapse:collapse;margin:0.5em 0}"
    "th,td{border:1px solid #999;padding:2px 8px;text-align:left;vertical-align:top}"
    "th{background:#eee}td.n{text-align:right}"
    ".fe{padding:0 1px;border-radius:2px}"
    "sub.fe-name{font-size:0.7em;padding:0 2px;margin-right:2px}"
    ".ni{font-size:0.85em;padding:0 2px}"
    ".outside{font-size:0.85em;border:1px dashed #c00;padding:0 2px}"
    ".ex{margin-left:2em;font-style:italic}"
    ".legend span{display:inline-block;margin:0 4px 4px 0}"
    ".sent{margin:0.4em 0}.sid{color:#555;font-size:0.85em;margin-right:0.6em}";

std::string heading(const char* level, std::string_view text) {
  std::string out = "<";
  out += level;
  out += ">";
  appendEscaped(out, text);
  out += "</";
  out += level;
  out += ">\n";
  return out;
}

std::string page(std::string_view title, const std::string& body) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>";
  appendEscaped(out, title);
  out += "</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n";
  out += body;
  out += "</body>\n</html>\n";
  return out;
}

std::string cellText(std::string_view text) { return "<td>" + escapeHtml(text) + "</td>"; }

std::string feCell(std::string_view fe, const FeColours& colours) {
  std::string out = "<td><span class=\"fe\" style=\"background-color:";
  out += colours.of(fe).hex;
  out += "\">";
  appendEscaped(out, fe);
  out += "</span></td>";
  return out;
}

}  // namespace

std::vector<std::string> subcorpusNames(const LexicalUnitData& lu) {
  std::vector<std::string> names;
  for (const AnnotationSet& set : lu.sets)
    if (std::find(names.begin(), names.end(), set.subcorpus) == names.end())
      names.push_back(set.subcorpus);
  return names;
}

std::string lexUnitHeaderHtml(const LexicalUnitData& lu, const FeColours& colours) {
  std::string out = heading("h1", lu.name);
  out += "<p>Frame: <b>";
  appendEscaped(out, lu.frame);
  out += "</b> &#183; ID ";
  out += std::to_string(lu.id);
  if (!lu.status.empty()) {
    out += " &#183; ";
    appendEscaped(out, lu.status);
  }
  out += "</p>\n<div class=\"definition\">";
  out += definitionHtml(lu.definition, colours);
  out += "</div>\n";
  return out;
}

std::string feLegendHtml(const std::vector<FrameElementInfo>& fes, const FeColours& colours) {
  std::string out = "<p class=\"legend\">";
  for (const FrameElementInfo& fe : fes) {
    out += "<span class=\"fe\" style=\"background-color:";
    out += colours.of(fe.name).hex;
    out += "\">";
    appendEscaped(out, fe.name);
    out += "</span> ";
  }
  out += "</p>\n";
  return out;
}

std::string sentencesHtml(const LexicalUnitData& lu, const FeColours& colours,
                          const std::string* subcorpus) {
  std::string out;
  for (const AnnotationSet& set : lu.sets) {
    if (subcorpus && set.subcorpus != *subcorpus) continue;
    out += "<p class=\"sent\"><span class=\"sid\">";
    appendEscaped(out, set.sentenceKey);
    if (!set.subcorpus.empty()) {
      out += " (";
      appendEscaped(out, set.subcorpus);
      out += ")";
    }
    out += "</span>";
    out += sentenceHtml(buildSentenceDisplay(set), colours);
    out += "</p>\n";
  }
  return out;
}

std::string valenceHtml(const ValenceTable& table, const std::vector<ValencePattern>& patterns,
                        const FeColours& colours) {
  std::string out = "<h3>Frame elements and their realizations</h3>\n";
  out += table.fromLexicalEntry ? "<p>From the lexical entry.</p>\n"
                                : "<p>Counted from the annotation.</p>\n";
  out += "<table>\n<tr><th>Frame element</th><th>Annotated</th><th>Realization</th>"
         "<th>Total</th></tr>\n";
  for (const FeValence& fe : table.fes) {
    const size_t rows = std::max<size_t>(1, fe.realizations.size());
    for (size_t i = 0; i < rows; ++i) {
      out += "<tr>";
      if (i == 0) {
        const std::string span = rows > 1 ? " rowspan=\"" + std::to_string(rows) + "\"" : "";
        out += feCell(fe.fe, colours).insert(3, span);
        out += "<td class=\"n\"" + span + ">" + std::to_string(fe.annotated) + "</td>";
      }
      if (fe.realizations.empty()) {
        out += "<td></td><td></td>";
      } else {
        const Realization& r = fe.realizations[i];
        out += cellText(realizationText(r.pt, r.gf));
        out += "<td class=\"n\">" + std::to_string(r.total) + "</td>";
      }
      out += "</tr>\n";
    }
  }
  out += "</table>\n<h3>Valence patterns</h3>\n<table>\n<tr><th>Total</th><th>Pattern</th>"
         "<th>Sentences</th></tr>\n";
  for (const ValencePattern& pattern : patterns) {
    out += "<tr><td class=\"n\">" + std::to_string(pattern.total) + "</td><td>";
    for (size_t i = 0; i < pattern.units.size(); ++i) {
      const ValenceUnit& unit = pattern.units[i];
      if (i) out += " ";
      out += "<span class=\"fe\" style=\"background-color:";
      out += colours.of(unit.fe).hex;
      out += "\">";
      appendEscaped(out, unit.fe);
      out += "</span> ";
      appendEscaped(out, realizationText(unit.pt, unit.gf));
    }
    out += "</td><td>";
    for (size_t i = 0; i < pattern.sets.size(); ++i) {
      if (i) out += ", ";
      appendEscaped(out, pattern.sets[i]->sentenceKey);
    }
    out += "</td></tr>\n";
  }
  out += "</table>\n";
  return out;
}

std::string frameDefinitionHtml(const FrameInfo& frame, const FeColours& colours) {
  return "<div class=\"definition\">" + definitionHtml(frame.definition, colours) + "</div>\n";
}

std::string frameElementsHtml(const FrameInfo& frame, const FeColours& colours) {
  std::string out = "<table>\n<tr><th>Frame element</th><th>Abbrev.</th><th>Core type</th>"
                    "<th>Definition</th></tr>\n";
  for (const FrameElementInfo& fe : frame.fes) {
    out += "<tr>" + feCell(fe.name, colours) + cellText(fe.abbrev) + cellText(fe.coreType);
    out += "<td>" + definitionHtml(fe.definition, colours) + "</td></tr>\n";
  }
  out += "</table>\n";
  return out;
}

std::string frameLexUnitsHtml(const FrameInfo& frame) {
  std::string out = "<table>\n<tr><th>Lexical unit</th><th>ID</th><th>Annotated</th>"
                    "<th>Definition</th></tr>\n";
  for (const LexUnitRef& lu : frame.lexicalUnits)
    out += "<tr>" + cellText(lu.name) + cellText(lu.idText) + "<td class=\"n\">" +
           std::to_string(lu.annotated) + "</td>" + cellText(definitionPlainText(lu.definition)) +
           "</tr>\n";
  out += "</table>\n";
  return out;
}

std::string frameRelationsHtml(const FrameInfo& frame) {
  std::string out = "<table>\n<tr><th>Relation</th><th>Super frame</th><th>Sub frame</th></tr>\n";
  for (const RelationRef& relation : frame.relations)
    out += "<tr>" + cellText(relation.type) + cellText(relation.superFrame) +
           cellText(relation.subFrame) + "</tr>\n";
  out += "</table>\n";
  return out;
}

std::string lexUnitReportPage(const LexicalUnitData& lu) {
  const FeColours colours(lu.frameFes);
  std::string body = lexUnitHeaderHtml(lu, colours);
  body += heading("h2", "Annotated sentences");
  body += feLegendHtml(lu.frameFes, colours);
  body += sentencesHtml(lu, colours);
  body += heading("h2", "Valence");
  body += valenceHtml(computeValence(lu), computePatterns(lu), colours);
  return page(lu.name + " (" + lu.frame + ")", body);
}

std::string frameReportPage(const FrameInfo& frame) {
  const FeColours colours(frame.fes);
  std::string body = heading("h1", frame.name);
  body += "<p>Frame ID ";
  appendEscaped(body, frame.idText);
  body += "</p>\n";
  body += frameDefinitionHtml(frame, colours);
  body += heading("h2", "Frame elements");
  body += frameElementsHtml(frame, colours);
  body += heading("h2", "Lexical units");
  body += frameLexUnitsHtml(frame);
  body += heading("h2", "Relations");
  body += frameRelationsHtml(frame);
  return page(frame.name, body);
}

}  // namespace sorvanta::reports
