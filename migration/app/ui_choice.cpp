#include "app/ui_choice.h"

#include <cstdlib>

namespace app {

UiKind chooseUi(const std::function<std::string(const char*)>& variable) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!variable(name).empty()) return UiKind::Windows;
  }
  return UiKind::Headless;
}

UiKind chooseUiFromEnvironment() {
  return chooseUi([](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value == nullptr ? "" : value);
  });
}

}  // namespace app
