#include "native_system_parameters.h"

#include <gtest/gtest.h>

#include "platform/testing/temporary_machine_root.h"
#include "native_file_system.h"
#include "native_registry.h"
#include "platform/clock.h"
#include "registry_values.h"

namespace platform {
namespace {

constexpr UINT kStoreAndAnnounce = SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE;

class SystemParametersTest : public ::testing::Test {
 protected:
  SystemParametersTest() {
    root.addDrive('C');
    root.writeFile("drive_c/WINNT/Clouds.bmp", "BM");
    root.writeFile("drive_c/WINNT/Old.bmp", "BM");
    EXPECT_EQ(writeStringValue(registry, HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper",
                               "C:\\WINNT\\Old.bmp"),
              ERROR_SUCCESS);
  }

  Status set(const char* path, UINT flags = kStoreAndAnnounce) {
    return parameters.SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path),
                                            flags);
  }

  std::string get(UINT size = 260) {
    std::string buffer(size, '#');
    const Status status =
        parameters.SystemParametersInfoA(SPI_GETDESKWALLPAPER, size, buffer.data(), 0);
    if (status.failed()) return "<error " + toString(status) + ">";
    return buffer.substr(0, buffer.find('\0'));
  }

  std::optional<std::string> stored() {
    return readStringValue(registry, HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
  }

  testing::TemporaryMachineRoot root;
  VirtualClock clock;
  NativeRegistry registry{root.path(), &clock};
  NativeFileSystem files{root.path(), &registry};
  NativeSystemParameters parameters{files, registry};
};

TEST_F(SystemParametersTest, SettingTheWallpaperStoresItInTheProfile) {
  EXPECT_EQ(get(), "C:\\WINNT\\Old.bmp");
  ASSERT_EQ(set("C:\\WINNT\\Clouds.bmp"), ERROR_SUCCESS);
  EXPECT_EQ(stored(), "C:\\WINNT\\Clouds.bmp");
  EXPECT_EQ(get(), "C:\\WINNT\\Clouds.bmp");
  // Stored as REG_SZ with its NUL, where a later log-on reads it.
  ASSERT_EQ(registry.flushAll(), ERROR_SUCCESS);
  EXPECT_NE(root.readFile("user.reg").find("\"Wallpaper\"=\"C:\\\\WINNT\\\\Clouds.bmp\""),
            std::string::npos);
  NativeSystemParameters nextSession{files, registry};
  char buffer[64];
  ASSERT_EQ(nextSession.SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof buffer, buffer, 0),
            ERROR_SUCCESS);
  EXPECT_STREQ(buffer, "C:\\WINNT\\Clouds.bmp");
}

TEST_F(SystemParametersTest, WallpaperCasesAnswerAsWindowsDoes) {
  struct Case {
    const char* what;
    const char* path;
    UINT flags;
    Status status;
    std::optional<std::string> stored;  // afterwards
    std::string current;
  };
  const Case cases[] = {
      {"no such file", "C:\\WINNT\\Missing.bmp", kStoreAndAnnounce, ERROR_FILE_NOT_FOUND,
       "C:\\WINNT\\Old.bmp", "C:\\WINNT\\Old.bmp"},
      {"for the session only", "C:\\WINNT\\Clouds.bmp", SPIF_SENDWININICHANGE, ERROR_SUCCESS,
       "C:\\WINNT\\Old.bmp", "C:\\WINNT\\Clouds.bmp"},
      {"none", "", kStoreAndAnnounce, ERROR_SUCCESS, "", ""},
      {"null is the default, none", nullptr, SPIF_UPDATEINIFILE, ERROR_SUCCESS, "", ""},
  };
  for (const Case& c : cases) {
    NativeSystemParameters fresh{files, registry};
    ASSERT_EQ(writeStringValue(registry, HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper",
                               "C:\\WINNT\\Old.bmp"),
              ERROR_SUCCESS);
    EXPECT_EQ(
        fresh.SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(c.path), c.flags),
        c.status)
        << c.what;
    EXPECT_EQ(stored(), c.stored) << c.what;
    char buffer[64];
    ASSERT_EQ(fresh.SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof buffer, buffer, 0),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(buffer), c.current) << c.what;
  }
}

TEST_F(SystemParametersTest, ReadingCutsToTheBufferAndOtherActionsAreUnknown) {
  EXPECT_EQ(get(8), "C:\\WINN");
  EXPECT_EQ(get(1), "");
  EXPECT_EQ(get(0), "<error 87>");
  EXPECT_EQ(parameters.SystemParametersInfoA(SPI_GETDESKWALLPAPER, 260, nullptr, 0),
            ERROR_INVALID_PARAMETER);
  // SPI_GETSCREENSAVETIMEOUT, SPI_SETSCREENSAVEACTIVE and a number that is no action.
  for (const UINT action : {0x000Eu, 0x0011u, 0xFFFFu}) {
    EXPECT_EQ(parameters.SystemParametersInfoA(action, 0, nullptr, kStoreAndAnnounce),
              ERROR_INVALID_SPI_VALUE)
        << action;
  }
  EXPECT_EQ(stored(), "C:\\WINNT\\Old.bmp");
}

}  // namespace
}  // namespace platform
