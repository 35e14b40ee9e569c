#include "app/ui_choice.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace app {

namespace {

// Qt platforms that draw into nothing a person can see.
bool showsNothing(const std::string& platform) {
  return platform.rfind("offscreen", 0) == 0 || platform.rfind("minimal", 0) == 0;
}

// X's DISPLAY: "[host]:number[.screen]"; a local display listens on /tmp/.X11-unix/X<number>,
// a remote one on TCP port 6000 + number.
bool xDisplayReachable(const DisplayProbe& probe, const std::string& display) {
  const std::size_t colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  const std::string host = display.substr(0, colon);
  const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return false;
  if (host.empty() || host == "unix") return probe.socketAccepts("/tmp/.X11-unix/X" + number);
  return probe.tcpAccepts(host, 6000 + std::atoi(number.c_str()));
}

bool waylandReachable(const DisplayProbe& probe, const std::string& display) {
  if (display.front() == '/') return probe.socketAccepts(display);
  const std::string runtime = probe.variable("XDG_RUNTIME_DIR");
  return !runtime.empty() && probe.socketAccepts(runtime + "/" + display);
}

bool localSocketAccepts(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const bool connected =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

bool tcpPortAccepts(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool connected = false;
  for (addrinfo* address = found; address != nullptr && !connected; address = address->ai_next) {
    const int fd = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (fd < 0) continue;
    connected = ::connect(fd, address->ai_addr, address->ai_addrlen) == 0;
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return connected;
}

}  // namespace

UiKind chooseUi(const DisplayProbe& probe) {
  const std::string platform = probe.variable("QT_QPA_PLATFORM");
  if (!platform.empty() && showsNothing(platform)) return UiKind::Headless;
  const std::string wayland = probe.variable("WAYLAND_DISPLAY");
  if (!wayland.empty() && waylandReachable(probe, wayland)) return UiKind::Windows;
  const std::string x = probe.variable("DISPLAY");
  if (!x.empty() && xDisplayReachable(probe, x)) return UiKind::Windows;
  return UiKind::Headless;
}

UiKind chooseUiFromEnvironment() {
  return chooseUi({[](const char* name) {
                     const char* value = std::getenv(name);
                     return std::string(value == nullptr ? "" : value);
                   },
                   localSocketAccepts, tcpPortAccepts});
}

}  // namespace app
