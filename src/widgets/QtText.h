#pragma once
// Working text (Windows-1252 bytes) to and from the QString the widgets show.
#include <QString>
#include <string>
#include <string_view>

namespace sorvanta::widgets {

QString toQString(std::string_view working);
std::string toWorking(const QString& shown);

}  // namespace sorvanta::widgets
