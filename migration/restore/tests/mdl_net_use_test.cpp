#include "restore/mdl_net_use.h"

#include <gtest/gtest.h>

#include <optional>

namespace migration {
namespace {

// Records the one call it gets.
class RecordingNetwork final : public platform::Network {
 public:
  struct Call {
    platform::DWORD type;
    std::string local, remote;
    bool passwordNull, userNull;
    platform::DWORD flags;
  };
  platform::Status WNetAddConnection2A(const platform::NETRESOURCEA* resource, const char* password,
                                       const char* userName, platform::DWORD flags) override {
    call = Call{resource->dwType,    resource->lpLocalName, resource->lpRemoteName,
                password == nullptr, userName == nullptr,   flags};
    return platform::ERROR_SUCCESS;
  }
  std::optional<Call> call;
};

TEST(ConnectNetDriveTest, OnlyQualifyingNamesReachThePlatform) {
  const struct {
    const char* local;
    const char* remote;
    bool qualifies;
  } cases[] = {
      {"F:", "\\\\SRV\\DATA", true},
      {"Z:", "\\\\SRV\\DATA", true},
      {"", "\\\\SRV\\DATA", true},  // no drive letter
      {"LPT2", "\\\\SRV\\PRN", true},
      {"C:", "\\\\SRV\\IPC$", true},   // the IPC$ share takes any local name
      {"f:", "\\\\SRV\\DATA", false},  // with case
      {"C:", "\\\\SRV\\DATA", false},
      {"LPT4", "\\\\SRV\\PRN", false},
      {"F:", "SRV\\DATA", false},
      {"F:", "\\\\SRV", false},
      {"C:", "\\\\SRV\\ipc$", false},  // IPC$ with case
  };
  for (const auto& c : cases) {
    RecordingNetwork network;
    const platform::Status status = ConnectNetDrive(network, c.local, c.remote);
    EXPECT_EQ(status, c.qualifies ? platform::ERROR_SUCCESS : platform::ERROR_BAD_DEVICE)
        << c.local << " " << c.remote;
    EXPECT_EQ(network.call.has_value(), c.qualifies) << c.local << " " << c.remote;
  }
}

TEST(ConnectNetDriveTest, TheRestoresCallRemembersADiskConnectionWithTheUsersCredentials) {
  RecordingNetwork network;
  EXPECT_EQ(ConnectNetDrive(network, "F:", "\\\\SRV\\DATA"), platform::ERROR_SUCCESS);
  ASSERT_TRUE(network.call);
  EXPECT_EQ(network.call->type, platform::RESOURCETYPE_DISK);
  EXPECT_TRUE(network.call->passwordNull && network.call->userNull);
  EXPECT_EQ(network.call->flags, platform::CONNECT_UPDATE_PROFILE);

  // Credentials only as a pair; persistence only when not asked away.
  EXPECT_EQ(ConnectNetDrive(network, "", "\\\\SRV\\IPC$", "admin", "secret", false),
            platform::ERROR_SUCCESS);
  EXPECT_FALSE(network.call->passwordNull || network.call->userNull);
  EXPECT_EQ(network.call->flags, 0u);
  EXPECT_EQ(ConnectNetDrive(network, "G:", "\\\\SRV\\DATA", "admin", std::nullopt, true),
            platform::ERROR_SUCCESS);
  EXPECT_TRUE(network.call->passwordNull && network.call->userNull);
  EXPECT_EQ(network.call->flags, platform::CONNECT_UPDATE_PROFILE);
}

}  // namespace
}  // namespace migration
