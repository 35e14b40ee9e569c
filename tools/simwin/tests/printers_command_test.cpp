#include "printers_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/testing/temporary_machine_root.h"
#include "native_machine.h"
#include "platform/clock.h"

namespace simwin {
namespace {

TEST(PrintersCommand, ShowsTheEnumerationAndThePrinterList) {
  platform::testing::TemporaryMachineRoot root;
  platform::VirtualClock clock;
  platform::NativeMachine machine(root.path(), clock, "C:\\Program");
  std::ostringstream out, err;
  ASSERT_EQ(runPrintersCommand(machine, {}, out, err), 0);
  EXPECT_EQ(out.str(),
            "EnumPrintersA (local and connections, level 1): 0 printer(s), 0 bytes\n\n"
            "Printer list (device name = printer value): 0 printer(s)\n");

  // More printers than the first buffer of 3072 bytes holds.
  for (int i = 0; i < 40; ++i) {
    platform::PrinterDetails printer;
    printer.name = "Printer " + std::to_string(i) + std::string(40, 'x');
    printer.driver = "HP LaserJet 5MP";
    printer.location = i == 0 ? "Room 1" : "";
    printer.description = i == 0 ? "Front desk" : "";
    ASSERT_EQ(machine.nativePrinters().addLocalPrinter(printer), platform::ERROR_SUCCESS);
  }
  out.str("");
  ASSERT_EQ(runPrintersCommand(machine, {}, out, err), 0);
  const std::string first = "Printer 0" + std::string(40, 'x');
  EXPECT_NE(out.str().find("level 1): 40 printer(s), "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("  " + first + "\n    description  " + first +
                           ",HP LaserJet 5MP,Room 1\n    comment      Front desk\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("  " + first + " = HP LaserJet 5MP\n"), std::string::npos);
  EXPECT_EQ(runPrintersCommand(machine, {"x"}, out, err), 2);
}

}  // namespace
}  // namespace simwin
