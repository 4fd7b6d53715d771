#pragma once
// Ordering of the frames list and the lexical-unit list by a clicked column, and the find box
// of the lexical-unit list. Sorting is always ascending.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "lexicon/ListRow.h"

namespace sorvanta::lexicon {

enum class CellKind { Text, Integer };

// Frames list: column 0 is text, every other column an integer.
CellKind framesColumnKind(int column);
// Lexical-unit list: columns 2 (LU-ID), 3 (Anns) and 5 (FR-ID) are integers, the others text.
CellKind lexUnitColumnKind(int column);

// Text columns: ASCII letters folded to upper case, unsigned bytes, a prefix first. Integer
// columns: the cells through the integer conversion, giving -1, 0 or 1; a cell that is not an
// integer throws text::ConversionError. A cell the row lacks reads as empty text.
// Negative when a goes first, 0 when equal, positive when b goes first.
int compareFramesRows(const ListRow& a, const ListRow& b, int sortColumn);
int compareLexUnitRows(const ListRow& a, const ListRow& b, int sortColumn);

// Sort rows ascending by column with the compare above; rows that compare equal keep their
// order. Integer cells are converted once each, all before anything moves: a cell that is not
// an integer throws text::ConversionError and leaves rows as they were.
void sortFramesRows(std::vector<ListRow>& rows, int sortColumn);
void sortLexUnitRows(std::vector<ListRow>& rows, int sortColumn);

// True when caption begins with prefix, ignoring letter case (Windows-1252 letters).
bool captionBeginsWith(std::string_view caption, std::string_view prefix);
// The first row, in the given order, whose caption begins with text ignoring letter case; none
// when text is empty or no caption begins with it.
std::optional<size_t> findCaptionPrefix(const std::vector<ListRow>& rows, std::string_view text);

}  // namespace sorvanta::lexicon
