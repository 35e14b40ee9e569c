#include "native_environment.h"

#include <gtest/gtest.h>

#include "platform/testing/temporary_machine_root.h"
#include "native_registry.h"
#include "platform/clock.h"

namespace platform {
namespace {

constexpr const char* kSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Microsoft\\Windows NT\\CurrentVersion] 1000000000
"SystemRoot"="C:\\WINNT"

[System\\CurrentControlSet\\Control\\Session Manager\\Environment] 1000000000
"OS"="Windows_NT"
"Shared"="system"
"TEMP"=str(2):"%SystemRoot%\\TEMP"
"Unknown"=str(2):"%NoSuchVariable%\\x;100%"
"windir"=str(2):"%SystemRoot%"
)";

constexpr const char* kUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win32

[Environment] 1000000000
"Shared"="user"
"TEMP"=str(2):"%USERPROFILE%\\Local Settings\\Temp"

[Volatile Environment] 1000000000
"USERNAME"="jsmith"
"USERPROFILE"="C:\\Documents and Settings\\jsmith"
)";

class NativeEnvironmentTest : public ::testing::Test {
 protected:
  testing::TemporaryMachineRoot root;
  VirtualClock clock;
};

TEST_F(NativeEnvironmentTest, LaterSourcesWinAndReferencesExpand) {
  root.writeFile("system.reg", kSystemReg);
  root.writeFile("user.reg", kUserReg);
  NativeRegistry registry(root.path(), &clock);
  NativeEnvironment environment(registry);

  EXPECT_EQ(environment.variable("OS"), "Windows_NT");
  EXPECT_EQ(environment.variable("WINDIR"), "C:\\WINNT");
  EXPECT_EQ(environment.variable("SystemRoot"), "C:\\WINNT");
  EXPECT_EQ(environment.variable("Shared"), "user");
  EXPECT_EQ(environment.variable("TEMP"),
            "C:\\Documents and Settings\\jsmith\\Local Settings\\Temp");
  EXPECT_EQ(environment.variable("Unknown"), "%NoSuchVariable%\\x;100%");
  EXPECT_EQ(environment.variable("USERPROFILE"), "C:\\Documents and Settings\\jsmith");
  EXPECT_EQ(environment.variable("Missing"), std::nullopt);
  EXPECT_EQ(environment.userName().valueOr(""), "jsmith");
  EXPECT_EQ(environment.variables().count("OS"), 1u);
}

TEST_F(NativeEnvironmentTest, Windows98HasNoOsVariable) {
  root.writeFile("system.reg", R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

[System\\CurrentControlSet\\Control\\Session Manager\\Environment] 1000000000
"windir"="C:\\WINDOWS"
)");
  NativeRegistry registry(root.path(), &clock);
  NativeEnvironment environment(registry);
  EXPECT_EQ(environment.variable("windir"), "C:\\WINDOWS");
  EXPECT_EQ(environment.variable("OS"), std::nullopt);
}

TEST_F(NativeEnvironmentTest, MachineWithoutRegistryHasNoUser) {
  NativeRegistry registry(root.path(), &clock);
  NativeEnvironment environment(registry);
  EXPECT_TRUE(environment.variables().empty());
  EXPECT_EQ(environment.userName().status(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace platform
