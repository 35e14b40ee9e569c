// Which user interface the program gets: windows when there is a display that can show them, the
// headless one (messages to standard error, default answers) when there is none. A display that
// is named but cannot be reached, or a Qt platform without a screen (offscreen, minimal), counts
// as none: the program must never abort for want of a screen, nor wait on a box nobody sees.
#pragma once

#include <functional>
#include <string>

namespace app {

enum class UiKind { Windows, Headless };

struct DisplayProbe {
  // Reads an environment variable ("" when unset).
  std::function<std::string(const char*)> variable;
  // Whether a local socket (X's /tmp/.X11-unix/X0, Wayland's runtime socket) accepts a
  // connection.
  std::function<bool(const std::string& socketPath)> socketAccepts;
  // Whether a TCP display (host:6000+n) accepts a connection.
  std::function<bool(const std::string& host, int port)> tcpAccepts;
};

UiKind chooseUi(const DisplayProbe& probe);
UiKind chooseUiFromEnvironment();

}  // namespace app
