#pragma once
// The annotated sentences of a lexical unit: the sentence grid rows and the subcorpus choice.
#include <string>
#include <string_view>
#include <vector>

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

namespace sorvanta::views {

// "(" + the sentence's "ID" attribute (empty when missing) + ") " + the sentence's text.
std::string sentenceRowText(const xml::TXpNode* sentence);

// One row per "//sentence" below luRoot, in document order; none for a null root.
std::vector<std::string> sentenceRows(const xml::TXpNode* luRoot);

// The "name" of every "//subcorpus" that has a child node, in document order, duplicates kept
// (a subcorpus without a name gives an empty entry, and choosing it finds it again).
std::vector<std::string> subcorpusEntries(const xml::TXpNode* luRoot);
// The same entries for the screen: each with its UTF-8 beside when working text cannot hold it.
std::vector<text::ShownText> subcorpusEntriesShown(const xml::TXpNode* luRoot);

// Rows of the sentences below every subcorpus named subcorpus, subcorpus by subcorpus.
std::vector<std::string> subcorpusSentenceRows(const xml::TXpNode* luRoot,
                                               std::string_view subcorpus);

// The same rows for the screen: each with its UTF-8 beside when working text cannot hold it.
std::vector<text::ShownText> sentenceRowsShown(const xml::TXpNode* luRoot);
// subcorpus: an entry of subcorpusEntriesShown.
std::vector<text::ShownText> subcorpusSentenceRowsShown(const xml::TXpNode* luRoot,
                                                        const text::ShownText& subcorpus);

}  // namespace sorvanta::views
