#include "printer_programs.h"

#include <gtest/gtest.h>

#include "driver_catalogue.h"
#include "platform/testing/temporary_machine_root.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "platform/text_encoding.h"
#include "registry_values.h"

namespace platform {
namespace {

// Shaped like the system's own catalogue: makers named in [Manufacturer] both ways, models in
// quotes on the left, a string token, a decorated section, comments and a continued line.
constexpr const char* kNtprintInf =
    "; Printer drivers\r\n"
    "[Version]\r\n"
    "Signature=\"$Windows NT$\"\r\n"
    "Class=Printer\r\n"
    "\r\n"
    "[Manufacturer]\r\n"
    "\"HP\"\r\n"
    "%LEXMARK% = Lexmark, NTx86   ; decorated\r\n"
    "\r\n"
    "[HP]\r\n"
    "\"HP LaserJet 4050 Series PCL\" = HPLJ4050.PPD, LPTENUM\\HEWLETT-PACKARDLA8E42\r\n"
    "\"HP LaserJet 5MP\"             = HP5MP.PPD\r\n"
    "\"HP \"\"Quoted\"\" ; not a comment\" = Q.PPD\r\n"
    "\r\n"
    "[lexmark.ntx86]\r\n"
    "%OPTRA_E% = \\\r\n"
    "   LEXOPTE.PPD\r\n"
    "\r\n"
    "[Driver Files]\r\n"
    "\"Not A Model\" = X.DLL\r\n"
    "\r\n"
    "[Strings]\r\n"
    "LEXMARK = \"Lexmark\"\r\n"
    "OPTRA_E = \"Lexmark Optra E+ (MS)\"\r\n";

constexpr const char* kServersKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Providers\\LanMan Print Services\\Servers";

TEST(DriverCatalogue, ListsTheModelsOfEveryManufacturer) {
  EXPECT_EQ(catalogueModels(kNtprintInf),
            (std::vector<std::string>{"HP LaserJet 4050 Series PCL", "HP LaserJet 5MP",
                                      "HP \"Quoted\" ; not a comment", "Lexmark Optra E+ (MS)"}));
  EXPECT_EQ(findCatalogueModel(kNtprintInf, "hp laserjet 5mp"), "HP LaserJet 5MP");
  EXPECT_EQ(findCatalogueModel(kNtprintInf, "Not A Model"), std::nullopt);
  // A Unicode INF reads the same.
  const std::string unicode = "\xFF\xFE" + utf16ToLittleEndian(ansiToUtf16(kNtprintInf));
  EXPECT_EQ(catalogueModels(unicode).size(), 4u);
  // The catalogues the machine builders write read back whole, by maker.
  EXPECT_EQ(catalogueModels(driverCatalogueText({"HP LaserJet 5MP", "Lexmark Optra E+ (MS)",
                                                 "HP \"Q\" [x] ; y", " Odd", "hp DeskJet"})),
            (std::vector<std::string>{"HP LaserJet 5MP", "HP \"Q\" [x] ; y", "hp DeskJet",
                                      "Lexmark Optra E+ (MS)", " Odd"}));
  for (const char* broken : {"", "[Manufacturer]\r\n\"Nobody\"\r\n", "\"HP X\" = a\r\n",
                             "[HP]\r\n\"HP X\" = a\r\n", "[Manufacturer\r\nHP\r\n[HP]\r\n"}) {
    EXPECT_TRUE(catalogueModels(broken).empty()) << broken;
  }
}

class PrinterProgramsTest : public ::testing::Test {
 protected:
  PrinterProgramsTest() {
    root.addDrive('C');
    root.writeFile("drive_c/WINNT/inf/ntprint.inf", kNtprintInf);
    root.addShare("PRNSRV", "public");
    for (const char* key : {"\\PRNSRV\\Printers\\HP5", "\\NOSRV\\Printers\\Queue"}) {
      EXPECT_EQ(
          writeStringValue(machine.registry(), HKEY_LOCAL_MACHINE, std::string(kServersKey) + key,
                           "Printer Driver", "HP LaserJet 5MP"),
          ERROR_SUCCESS);
    }
  }

  std::uint32_t run(const std::string& line) {
    auto outcome = machine.processes().start(line, WindowStyle::Hidden, Wait::Yes);
    EXPECT_TRUE(outcome.ok()) << line;
    return outcome.ok() ? outcome->exitCode : 99;
  }

  std::vector<std::string> printerNames() {
    std::vector<std::string> names;
    for (const ListedPrinter& printer : machine.printers().printerList()) {
      names.push_back(printer.deviceName + " = " + printer.printerValue);
    }
    return names;
  }

  testing::TemporaryMachineRoot root;
  VirtualClock clock;
  NativeMachine machine{root.path(), clock, "C:\\Transvale"};
};

// The command the restore builds for a local printer.
std::string printUiLine(const std::string& name, const std::string& model,
                        const std::string& inf = "C:\\WINNT\\inf\\ntprint.inf") {
  return "rundll32 printui.dll, PrintUIEntry /if /b \"" + name + "\" /f " + inf +
         " /r \"LPT1:\" /m \"" + model + "\"";
}

TEST_F(PrinterProgramsTest, Con2prtConnectsToPrintersTheNetworkShares) {
  struct Case {
    const char* line;
    std::uint32_t exitCode;
  };
  for (const Case& c : {
           Case{"con2prt /c \\\\PRNSRV\\HP5", 0},
           Case{"CON2PRT.EXE /C \\\\prnsrv\\hp5", 0},  // again, in other letters: kept
           Case{"con2prt /c \\\\PRNSRV\\Nothing", 1},  // the server shares no such printer
           Case{"con2prt /c \\\\NOSRV\\Queue", 1},     // the server is not on the network
           Case{"con2prt /c PRNSRV\\HP5", 1},
           Case{"con2prt /c", 1},
           Case{"con2prt", 1},
           Case{"con2prt /x \\\\PRNSRV\\HP5", 1},
       }) {
    EXPECT_EQ(run(c.line), c.exitCode) << c.line;
  }
  EXPECT_EQ(printerNames(), (std::vector<std::string>{"\\\\PRNSRV\\HP5 = \\\\PRNSRV\\HP5"}));
  const std::string key = "Printers\\Connections\\,,PRNSRV,HP5";
  EXPECT_EQ(readStringValue(machine.registry(), HKEY_CURRENT_USER, key, "Server"), "\\\\PRNSRV");
  EXPECT_EQ(readStringValue(machine.registry(), HKEY_CURRENT_USER, key, "Provider"),
            "win32spl.dll");
  // A program of its own: what it did is on disk when it ends.
  EXPECT_NE(root.readFile("user.reg").find("[Printers\\\\Connections\\\\,,PRNSRV,HP5]"),
            std::string::npos);

  EXPECT_EQ(run("con2prt /f"), 0u);
  EXPECT_TRUE(printerNames().empty());
}

TEST_F(PrinterProgramsTest, PrintUIEntryInstallsAModelTheCatalogueLists) {
  EXPECT_EQ(run(printUiLine("HP LaserJet 4050 Series PCL", "HP LaserJet 4050 Series PCL")), 0u);
  // The driver takes the catalogue's spelling; the printer keeps the name it was given.
  EXPECT_EQ(run(printUiLine("Front Desk", "hp laserjet 5mp")), 0u);
  EXPECT_EQ(
      run("rundll32 printui.dll,PrintUIEntry /q /if /b\"Optra\" /fC:\\WINNT\\inf\\ntprint.inf "
          "/r LPT2: /m \"Lexmark Optra E+ (MS)\""),
      0u);
  EXPECT_EQ(printerNames(),
            (std::vector<std::string>{"Front Desk = HP LaserJet 5MP",
                                      "HP LaserJet 4050 Series PCL = HP LaserJet 4050 Series PCL",
                                      "Optra = Lexmark Optra E+ (MS)"}));
  const auto local = machine.nativePrinters().localPrinters();
  ASSERT_EQ(local.size(), 3u);
  EXPECT_EQ(local[1].port, "LPT1:");
  EXPECT_EQ(local[2].port, "LPT2:");
  EXPECT_NE(root.readFile("system.reg").find("\"Printer Driver\"=\"HP LaserJet 5MP\""),
            std::string::npos);
}

TEST_F(PrinterProgramsTest, PrintUIEntryFailsAndChangesNothingWhenItCannotInstall) {
  ASSERT_EQ(run(printUiLine("Taken", "HP LaserJet 5MP")), 0u);
  const char* const lines[] = {
      // A driver the catalogue does not list (the capture's name, before mapping).
      "rundll32 printui.dll, PrintUIEntry /if /b \"X\" /f C:\\WINNT\\inf\\ntprint.inf /r "
      "\"LPT1:\" /m \"HP LaserJet 4050 Series PCL 6\"",
      "rundll32 printui.dll, PrintUIEntry /if /b \"X\" /f C:\\WINNT\\inf\\missing.inf /r "
      "\"LPT1:\" /m \"HP LaserJet 5MP\"",
      "rundll32 printui.dll, PrintUIEntry /if /b \"Taken\" /f C:\\WINNT\\inf\\ntprint.inf /r "
      "\"LPT1:\" /m \"HP LaserJet 5MP\"",
      "rundll32 printui.dll, PrintUIEntry /if /b \"X\" /f C:\\WINNT\\inf\\ntprint.inf /r \"LPT1:\"",
      "rundll32 printui.dll, PrintUIEntry /b \"X\" /f C:\\WINNT\\inf\\ntprint.inf /r \"LPT1:\" "
      "/m \"HP LaserJet 5MP\"",
      "rundll32 printui.dll, PrintUIEntry /dl /n \"Taken\"",
      "rundll32 printui.dll, printuientry /if /b \"X\" /f C:\\WINNT\\inf\\ntprint.inf /r "
      "\"LPT1:\" /m \"HP LaserJet 5MP\"",
      "rundll32 shell32.dll,Control_RunDLL",
      "rundll32 printui.dll PrintUIEntry /if",
      "rundll32",
  };
  for (const char* line : lines) EXPECT_EQ(run(line), 1u) << line;
  EXPECT_EQ(printerNames(), (std::vector<std::string>{"Taken = HP LaserJet 5MP"}));
}

TEST_F(PrinterProgramsTest, ProgramsRunAtOnceWithoutWaitingAndEveryLineIsLogged) {
  // The restore starts them in a hidden window and goes on; the machine runs them at once.
  const std::string install = printUiLine("HP LaserJet 5MP", "HP LaserJet 5MP");
  EXPECT_TRUE(machine.processes().start(install, WindowStyle::Hidden, Wait::No).ok());
  EXPECT_TRUE(
      machine.processes().start("con2prt /c \\\\PRNSRV\\HP5", WindowStyle::Hidden, Wait::No).ok());
  // Not built in, and not on this machine.
  EXPECT_EQ(machine.processes()
                .start("C:\\Transvale\\killnovell.exe", WindowStyle::Minimized, Wait::No)
                .status(),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(printerNames(), (std::vector<std::string>{"HP LaserJet 5MP = HP LaserJet 5MP",
                                                      "\\\\PRNSRV\\HP5 = \\\\PRNSRV\\HP5"}));
  EXPECT_EQ(root.readFile("commands.log"),
            install + "\ncon2prt /c \\\\PRNSRV\\HP5\nC:\\Transvale\\killnovell.exe\n");
}

}  // namespace
}  // namespace platform
