// Text crosses between the models (ANSI, Windows-1252) and Qt (UTF-16) only here.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace gui {

QString toQt(std::string_view ansi);
// A character that Windows-1252 cannot hold becomes '?', as the platform's "A" calls would see it.
std::string fromQt(const QString& text);

}  // namespace gui
