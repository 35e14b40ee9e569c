#include "native_scenario_machine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "registry_values.h"

namespace scenario {
namespace {

std::vector<ScenarioLine> linesOf(const std::vector<std::string>& texts) {
  std::vector<ScenarioLine> lines;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    lines.push_back({texts[i], "test.scenario:" + std::to_string(i + 1), false, {}});
  }
  return lines;
}

// Builds the machine the lines describe; false with the error of a line or of the building.
bool buildFrom(NativeScenarioMachine& built, const std::vector<ScenarioLine>& lines,
               std::string& error) {
  MachineDescription description;
  return describeMachine(lines, description, error) && built.build(description, error);
}

std::vector<std::string> printerList(platform::Machine& machine) {
  std::vector<std::string> out;
  for (const auto& printer : machine.printers().printerList()) {
    out.push_back(printer.deviceName + " = " + printer.printerValue);
  }
  return out;
}

TEST(ScenarioMachine, SharesPrintersConnectionsAndACatalogue) {
  NativeScenarioMachine built;
  std::string error;
  ASSERT_TRUE(buildFrom(built,
      linesOf({
          "share \\\\FileServer\\Data",
          "printer \"HP LaserJet 4050\" driver \"HP LaserJet 4050 Series PCL 6\" port LPT2: "
          "location \"Room 12\" share HP4050 comment \"Front desk\"",
          "printer-share \\\\PRNSRV\\Laser1 driver \"HP LaserJet 5Si - DFS\" location \"Floor 2\"",
          "printer-share \\\\PRNSRV\\Laser2 driver \"HP LaserJet 5MP\"",
          "printer-connection \\\\PRNSRV\\Laser1",
          "printer-connection \\\\GONE\\Queue",
          "driver-catalogue C:\\WINNT\\inf\\ntprint.inf \"HP LaserJet 5MP\" \"Lexmark Optra E+ "
          "(MS)\"",
      }),
      error))
      << error;
  platform::NativeMachine& machine = built.nativeMachine();
  EXPECT_TRUE(machine.files().folderExists("\\\\fileserver\\data"));
  EXPECT_EQ(printerList(machine),
            (std::vector<std::string>{"HP LaserJet 4050 = HP LaserJet 4050 Series PCL 6",
                                      "\\\\GONE\\Queue = \\\\GONE\\Queue",
                                      "\\\\PRNSRV\\Laser1 = \\\\PRNSRV\\Laser1"}));
  const auto local = machine.nativePrinters().localPrinters();
  ASSERT_EQ(local.size(), 1u);
  EXPECT_EQ(local[0].port, "LPT2:");
  EXPECT_EQ(local[0].shareName, "HP4050");
  EXPECT_EQ(local[0].location, "Room 12");
  EXPECT_EQ(local[0].description, "Front desk");
  EXPECT_EQ(machine.nativePrinters().connections()[1].driver, "HP LaserJet 5Si - DFS");

  // What the restore starts works on such a machine.
  const auto start = [&machine](const std::string& line) {
    auto outcome =
        machine.processes().start(line, platform::WindowStyle::Hidden, platform::Wait::Yes);
    return outcome.ok() ? outcome->exitCode : 99u;
  };
  EXPECT_EQ(start("con2prt /c \\\\PRNSRV\\Laser2"), 0u);
  EXPECT_EQ(start("rundll32 printui.dll, PrintUIEntry /if /b \"HP LaserJet 5MP\" /f "
                  "C:\\WINNT\\inf\\ntprint.inf /r \"LPT1:\" /m \"HP LaserJet 5MP\""),
            0u);
  EXPECT_EQ(printerList(machine).size(), 5u);
}

TEST(ScenarioMachine, WrongPrinterLinesSayWhereAndWhy) {
  const std::pair<std::string, std::string> cases[] = {
      {"share \\\\server", "test.scenario:1: share \\\\server\\share"},
      {"printer X", "test.scenario:1: printer NAME driver DRIVER"},
      {"printer X driver Y colour red", "test.scenario:1: unexpected \"colour\""},
      {"printer X driver Y port", "test.scenario:1: unexpected \"port\""},
      {"printer-share server\\share driver Y", "test.scenario:1: printer-share \\\\server\\share"},
      {"printer-connection \\\\a\\b\\c", "test.scenario:1: printer-connection \\\\server\\share"},
      {"driver-catalogue C:\\x.inf", "test.scenario:1: driver-catalogue PATH MODEL..."},
  };
  for (const auto& [line, message] : cases) {
    NativeScenarioMachine built;
    std::string error;
    EXPECT_FALSE(buildFrom(built, linesOf({line}), error)) << line;
    EXPECT_EQ(error.substr(0, message.size()), message) << line;
  }
  NativeScenarioMachine twice;
  std::string error;
  EXPECT_FALSE(buildFrom(twice, linesOf({"printer A driver X", "printer a driver Y"}), error));
  EXPECT_EQ(error, "test.scenario:2: cannot add a (status 1802)");
}

}  // namespace
}  // namespace scenario
