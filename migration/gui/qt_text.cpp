#include "gui/qt_text.h"

#include "platform/text_encoding.h"

namespace gui {

QString toQt(std::string_view ansi) {
  return QString::fromStdU16String(platform::ansiToUtf16(ansi));
}

std::string fromQt(const QString& text) {
  return platform::utf16ToAnsi(text.toStdU16String());
}

}  // namespace gui
