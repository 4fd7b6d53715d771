#include "widgets/QtText.h"

#include <QByteArray>

#include "text/WorkingText.h"

namespace sorvanta::widgets {

QString toQString(std::string_view working) {
  // Pure ASCII needs no decoding step; most cells of a release are ASCII.
  if (text::isAscii(working))
    return QString::fromLatin1(working.data(), static_cast<qsizetype>(working.size()));
  const std::string utf8 = text::workingToUtf8(working);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString toQString(std::string_view working, std::string_view unicode) {
  if (unicode.empty()) return toQString(working);
  return QString::fromUtf8(unicode.data(), static_cast<qsizetype>(unicode.size()));
}

QString toQString(const text::ShownText& text) { return toQString(text.working, text.unicode); }

QString cellText(const lexicon::ListRow& row, int column) {
  const std::string* unicode = row.unicode.empty() ? nullptr : row.unicodeCell(column);
  return unicode ? toQString(row.cell(column), *unicode) : toQString(row.cell(column));
}

std::string toWorking(const QString& shown) {
  const QByteArray utf8 = shown.toUtf8();
  return text::utf8ToWorking(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace sorvanta::widgets
