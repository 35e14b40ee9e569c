// Windows when a display that can show them is reachable, headless otherwise.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/ui_choice.h"

namespace app {
namespace {

struct Environment {
  std::map<std::string, std::string> variables;
  std::set<std::string> listening;  // sockets and "host:port" that accept

  UiKind choose() const {
    return chooseUi({[this](const char* name) {
                       const auto found = variables.find(name);
                       return found == variables.end() ? std::string() : found->second;
                     },
                     [this](const std::string& path) { return listening.count(path) > 0; },
                     [this](const std::string& host, int port) {
                       return listening.count(host + ":" + std::to_string(port)) > 0;
                     }});
  }
};

TEST(ChooseUi, AReachableDisplayGivesWindows) {
  EXPECT_EQ((Environment{{{"DISPLAY", ":0"}}, {"/tmp/.X11-unix/X0"}}).choose(), UiKind::Windows);
  EXPECT_EQ((Environment{{{"DISPLAY", "unix:1.0"}}, {"/tmp/.X11-unix/X1"}}).choose(),
            UiKind::Windows);
  EXPECT_EQ((Environment{{{"DISPLAY", "gate:10"}}, {"gate:6010"}}).choose(), UiKind::Windows);
  EXPECT_EQ((Environment{{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/u"}},
                         {"/run/u/wayland-0"}})
                .choose(),
            UiKind::Windows);
  EXPECT_EQ((Environment{{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":0"}}, {"/tmp/.X11-unix/X0"}})
                .choose(),
            UiKind::Windows);
}

// A display named but not there, a malformed one, or a Qt platform that shows nothing: headless,
// where Qt would abort or a box would wait for nobody.
TEST(ChooseUi, NoReachableDisplayOrAPlatformWithoutAScreenGivesHeadless) {
  EXPECT_EQ((Environment{}).choose(), UiKind::Headless);
  EXPECT_EQ((Environment{{{"DISPLAY", ":99"}}, {"/tmp/.X11-unix/X0"}}).choose(), UiKind::Headless);
  EXPECT_EQ((Environment{{{"DISPLAY", "nonsense"}}, {}}).choose(), UiKind::Headless);
  EXPECT_EQ((Environment{{{"WAYLAND_DISPLAY", "wayland-0"}}, {"/wayland-0"}}).choose(),
            UiKind::Headless);
  EXPECT_EQ((Environment{{{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", ":0"}},
                         {"/tmp/.X11-unix/X0"}})
                .choose(),
            UiKind::Headless);
  EXPECT_EQ((Environment{{{"QT_QPA_PLATFORM", "minimal"}}, {}}).choose(), UiKind::Headless);
}

}  // namespace
}  // namespace app
