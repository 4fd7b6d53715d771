#pragma once
// Working text (Windows-1252 bytes) to and from the QString the widgets show.
#include <QString>
#include <string>
#include <string_view>

#include "lexicon/ListRow.h"
#include "text/WorkingText.h"

namespace sorvanta::widgets {

QString toQString(std::string_view working);
// The document's text: unicode (UTF-8) when set, else the working text.
QString toQString(std::string_view working, std::string_view unicode);
QString toQString(const text::ShownText& text);
// What a list row shows in cell `column`.
QString cellText(const lexicon::ListRow& row, int column);
std::string toWorking(const QString& shown);

}  // namespace sorvanta::widgets
