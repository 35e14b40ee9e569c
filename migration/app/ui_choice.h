// Which user interface the program gets: windows when there is a display to show them on, the
// headless one (messages to standard error, default answers) when there is none.
#pragma once

#include <functional>
#include <string>

namespace app {

enum class UiKind { Windows, Headless };

// `variable` reads the environment: a display is X's DISPLAY, WAYLAND_DISPLAY, or any Qt
// platform named in QT_QPA_PLATFORM (offscreen included).
UiKind chooseUi(const std::function<std::string(const char*)>& variable);
UiKind chooseUiFromEnvironment();

}  // namespace app
