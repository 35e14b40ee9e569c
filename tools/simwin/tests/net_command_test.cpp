#include "net_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/testing/temporary_machine_root.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "registry_values.h"

namespace simwin {
namespace {

TEST(NetCommand, ShowsMappedAndRememberedLettersAndMapsOne) {
  platform::testing::TemporaryMachineRoot root;
  root.addDrive('C');
  root.addShare("fileserver", "public");
  platform::VirtualClock clock;
  platform::NativeMachine machine(root.path(), clock, "C:\\Program");
  const auto net = [&](const std::vector<std::string>& args, std::string& text) {
    std::ostringstream out, err;
    const int status = runNetCommand(machine, args, out, err);
    text = out.str() + err.str();
    return status;
  };
  std::string text;
  ASSERT_EQ(net({"use"}, text), 0);
  EXPECT_EQ(text, "There are no entries in the list.\n");

  ASSERT_EQ(platform::writeStringValue(machine.registry(), platform::HKEY_CURRENT_USER,
                                       "Network\\H", "RemotePath", "\\\\gone\\old"),
            platform::ERROR_SUCCESS);
  EXPECT_EQ(net({"use", "F:", "\\\\FILESERVER\\Public"}, text), 0);
  EXPECT_EQ(text, "The command completed successfully.\n");
  EXPECT_EQ(net({"use", "G:", "\\\\fileserver\\public", "/persistent:no"}, text), 0);
  EXPECT_EQ(net({"use", "C:", "\\\\fileserver\\public"}, text), 1);
  EXPECT_EQ(text,
            "simwin net use: C: \\\\fileserver\\public: error 85 (the local device name is "
            "already in use)\n");
  EXPECT_EQ(net({"use", "K:", "\\\\fileserver\\public", "/persistent:maybe"}, text), 2);
  EXPECT_EQ(net({"view"}, text), 2);

  ASSERT_EQ(net({"USE"}, text), 0);
  EXPECT_EQ(text,
            "Status       Local  Remote                          Remembered\n"
            "OK           F:     \\\\fileserver\\public             yes\n"
            "OK           G:     \\\\fileserver\\public             no\n"
            "Unavailable  H:     \\\\gone\\old                      yes\n");
}

}  // namespace
}  // namespace simwin
