#include "native_network.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/testing/temporary_machine_root.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "registry_values.h"

namespace platform {
namespace {

class NetworkTest : public ::testing::Test {
 protected:
  NetworkTest() {
    root.addDrive('C');
    root.addShare("FileServer", "Public");
    root.writeFile("dosdevices/unc/FileServer/Public/readme.txt", "hello");
    // A letter the profile remembers but that is not connected now.
    EXPECT_EQ(writeStringValue(machine.registry(), HKEY_CURRENT_USER, "Network\\H", "RemotePath",
                               "\\\\FileServer\\Old"),
              ERROR_SUCCESS);
  }

  Status connect(const char* local, const char* remote, DWORD flags = CONNECT_UPDATE_PROFILE,
                 DWORD type = RESOURCETYPE_DISK, const char* provider = "",
                 const char* user = nullptr) {
    NETRESOURCEA resource;
    resource.dwType = type;
    resource.lpLocalName = local;
    resource.lpRemoteName = remote;
    resource.lpProvider = provider;
    return machine.network().WNetAddConnection2A(&resource, nullptr, user, flags);
  }

  std::vector<char> lettersInUse() {
    std::vector<char> letters;
    for (const DriveInfo& drive : machine.files().drives()) letters.push_back(drive.letter);
    return letters;
  }

  std::vector<std::string> remembered() {
    return subKeyNames(machine.registry(), HKEY_CURRENT_USER, "Network");
  }

  testing::TemporaryMachineRoot root;
  VirtualClock clock;
  NativeMachine machine{root.path(), clock, "C:\\Transvale"};
};

TEST_F(NetworkTest, MappingALetterLinksItToTheShareAndRemembersIt) {
  ASSERT_EQ(connect("F:", "\\\\FILESERVER\\public"), ERROR_SUCCESS);
  auto drive = machine.files().drive('F');
  ASSERT_TRUE(drive.ok());
  EXPECT_EQ(drive->type, DriveType::Remote);
  EXPECT_EQ(drive->remotePath, "\\\\FileServer\\Public");
  EXPECT_TRUE(machine.files().fileExists("F:\\README.TXT"));
  // Linked as Wine links drives: relative, to the share's folder as it is spelt.
  EXPECT_EQ(std::filesystem::read_symlink(root.path() / "dosdevices" / "f:"),
            std::filesystem::path("unc/FileServer/Public"));
  Registry& registry = machine.registry();
  EXPECT_EQ(readStringValue(registry, HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", "f:"),
            "network");
  EXPECT_EQ(readStringValue(registry, HKEY_CURRENT_USER, "Network\\F", "RemotePath"),
            "\\\\FILESERVER\\public");
  EXPECT_EQ(readStringValue(registry, HKEY_CURRENT_USER, "Network\\F", "UserName"), "");
  EXPECT_EQ(readStringValue(registry, HKEY_CURRENT_USER, "Network\\F", "ProviderName"),
            "Microsoft Windows Network");
  EXPECT_EQ(readDwordValue(registry, HKEY_CURRENT_USER, "Network\\F", "ProviderType"), 0x20000u);
  EXPECT_EQ(readDwordValue(registry, HKEY_CURRENT_USER, "Network\\F", "ConnectionType"), 1u);

  // The restore asks twice: the second time finds the letter taken.
  EXPECT_EQ(connect("F:", "\\\\FILESERVER\\public"), ERROR_ALREADY_ASSIGNED);
}

TEST_F(NetworkTest, WithoutUpdateProfileTheMappingIsNotRemembered) {
  ASSERT_EQ(connect("g:", "\\\\FileServer\\Public", 0, RESOURCETYPE_ANY, nullptr, "DOMAIN\\u"),
            ERROR_SUCCESS);
  EXPECT_TRUE(machine.files().drive('G').ok());
  EXPECT_EQ(remembered(), (std::vector<std::string>{"H"}));
  // Remembering the letter the profile already knows fails; only connecting it does not.
  EXPECT_EQ(connect("H:", "\\\\FileServer\\Public"), ERROR_DEVICE_ALREADY_REMEMBERED);
  EXPECT_EQ(connect("H:", "\\\\FileServer\\Public", 0), ERROR_SUCCESS);
  EXPECT_EQ(connect("I:", "\\\\FileServer\\Public", 1, RESOURCETYPE_DISK, "", "DOMAIN\\u"),
            ERROR_SUCCESS);
  EXPECT_EQ(readStringValue(machine.registry(), HKEY_CURRENT_USER, "Network\\I", "UserName"),
            "DOMAIN\\u");
}

TEST_F(NetworkTest, EveryRefusalHasWindowsStatusAndChangesNothing) {
  struct Case {
    const char* local;
    const char* remote;
    DWORD type;
    const char* provider;
    Status status;
  };
  const char* share = "\\\\FileServer\\Public";
  const Case cases[] = {
      {"C:", share, RESOURCETYPE_DISK, "", ERROR_ALREADY_ASSIGNED},
      {"G:", nullptr, RESOURCETYPE_DISK, "", ERROR_INVALID_PARAMETER},
      {"G", share, RESOURCETYPE_DISK, "", ERROR_BAD_DEVICE},
      {"GG:", share, RESOURCETYPE_DISK, "", ERROR_BAD_DEVICE},
      {"G:\\", share, RESOURCETYPE_DISK, "", ERROR_BAD_DEVICE},
      {"1:", share, RESOURCETYPE_DISK, "", ERROR_BAD_DEVICE},
      {"LPT1", share, RESOURCETYPE_DISK, "", ERROR_BAD_DEV_TYPE},
      {"G:", share, RESOURCETYPE_PRINT, "", ERROR_BAD_DEV_TYPE},
      {"LPT1:", "\\\\FileServer\\Laser", RESOURCETYPE_PRINT, "", ERROR_NOT_SUPPORTED},
      {"G:", share, 7, "", ERROR_INVALID_PARAMETER},
      {"G:", share, RESOURCETYPE_DISK, "NetWare Services", ERROR_BAD_PROVIDER},
      {"G:", "\\\\FileServer\\Missing", RESOURCETYPE_DISK, "", ERROR_BAD_NET_NAME},
      {"G:", "\\\\NoServer\\Public", RESOURCETYPE_DISK, "", ERROR_BAD_NETPATH},
      {"G:", "FileServer\\Public", RESOURCETYPE_DISK, "", ERROR_BAD_NET_NAME},
      {"G:", "\\\\FileServer", RESOURCETYPE_DISK, "", ERROR_BAD_NET_NAME},
      {"G:", "", RESOURCETYPE_DISK, "", ERROR_BAD_NET_NAME},
      {"G:", "\\\\FileServer\\IPC$", RESOURCETYPE_DISK, "", ERROR_BAD_DEV_TYPE},
      {"", "\\\\NoServer\\IPC$", RESOURCETYPE_DISK, "", ERROR_BAD_NETPATH},
      {"", "\\\\FileServer\\Missing", RESOURCETYPE_DISK, "", ERROR_BAD_NET_NAME},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(connect(c.local, c.remote, CONNECT_UPDATE_PROFILE, c.type, c.provider), c.status)
        << (c.local ? c.local : "null") << " " << (c.remote ? c.remote : "null");
  }
  EXPECT_EQ(machine.network().WNetAddConnection2A(nullptr, nullptr, nullptr, 0),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(lettersInUse(), (std::vector<char>{'C'}));
  EXPECT_EQ(remembered(), (std::vector<std::string>{"H"}));
}

TEST_F(NetworkTest, AConnectionWithoutALetterNeedsOnlyAShareThatExists) {
  EXPECT_EQ(connect("", "\\\\fileserver\\PUBLIC"), ERROR_SUCCESS);
  EXPECT_EQ(connect(nullptr, "\\\\FileServer\\IPC$", 0, RESOURCETYPE_DISK, "", "admin"),
            ERROR_SUCCESS);
  EXPECT_EQ(lettersInUse(), (std::vector<char>{'C'}));
  EXPECT_EQ(remembered(), (std::vector<std::string>{"H"}));
}

}  // namespace
}  // namespace platform
