// Windows when something can show them, headless otherwise.
#include <gtest/gtest.h>

#include <map>

#include "app/ui_choice.h"

namespace app {
namespace {

UiKind choose(std::map<std::string, std::string> environment) {
  return chooseUi([&](const char* name) { return environment[name]; });
}

TEST(ChooseUi, AnyDisplayOrQtPlatformGivesWindows) {
  EXPECT_EQ(choose({{"DISPLAY", ":0"}}), UiKind::Windows);
  EXPECT_EQ(choose({{"WAYLAND_DISPLAY", "wayland-0"}}), UiKind::Windows);
  EXPECT_EQ(choose({{"QT_QPA_PLATFORM", "offscreen"}}), UiKind::Windows);
}

TEST(ChooseUi, NoDisplayAtAllGivesHeadless) {
  EXPECT_EQ(choose({}), UiKind::Headless);
  EXPECT_EQ(choose({{"DISPLAY", ""}}), UiKind::Headless);
}

}  // namespace
}  // namespace app
