#pragma once
// The lexical-unit and frame reports as HTML: fragments the report windows show, and whole
// self-contained pages (UTF-8, inline CSS, no scripts, nothing fetched) for "Save as HTML…"
// and `sorvanta report`. Every text from the release is escaped; the pages are well-formed XML.
#include <string>
#include <vector>

#include "reports/Palette.h"
#include "reports/ReportData.h"
#include "reports/Valence.h"

namespace sorvanta::reports {

// Subcorpus names of the unit's sets in order of first appearance ("" for sets outside one).
std::vector<std::string> subcorpusNames(const LexicalUnitData& lu);

// Name, frame and formatted definition.
std::string lexUnitHeaderHtml(const LexicalUnitData& lu, const FeColours& colours);
// The frame's FEs on their colours.
std::string feLegendHtml(const std::vector<FrameElementInfo>& fes, const FeColours& colours);
// One paragraph per set (sentence ID, subcorpus, coloured sentence); only the sets of one
// subcorpus when subcorpus is given.
std::string sentencesHtml(const LexicalUnitData& lu, const FeColours& colours,
                          const std::string* subcorpus = nullptr);
// The realizations table and the patterns table.
std::string valenceHtml(const ValenceTable& table, const std::vector<ValencePattern>& patterns,
                        const FeColours& colours);

std::string frameDefinitionHtml(const FrameInfo& frame, const FeColours& colours);
// Frame elements: name on its colour, core type, formatted definition.
std::string frameElementsHtml(const FrameInfo& frame, const FeColours& colours);
std::string frameLexUnitsHtml(const FrameInfo& frame);
std::string frameRelationsHtml(const FrameInfo& frame);

// Whole pages.
std::string lexUnitReportPage(const LexicalUnitData& lu);
std::string frameReportPage(const FrameInfo& frame);

}  // namespace sorvanta::reports
