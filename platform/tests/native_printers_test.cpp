#include "native_printers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/testing/temporary_machine_root.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "registry_values.h"

namespace platform {
namespace {

constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
constexpr const char* kServersKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Providers\\LanMan Print Services\\Servers";
constexpr DWORD kLocalAndConnections = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

// What EnumPrintersA put in a buffer, read back through the entries' pointers.
struct Entry {
  DWORD flags;
  std::string description;
  std::string name;
  std::string comment;
  bool operator==(const Entry&) const = default;
};

struct Enumeration {
  Status status = ERROR_SUCCESS;
  DWORD needed = 0;
  DWORD returned = 0;
  std::vector<Entry> entries;
};

class PrintersTest : public ::testing::Test {
 protected:
  PrintersTest() {
    root.addDrive('C');
    root.addShare("PRNSRV", "files");
    addLocalPrinter("Zeta Label", "Generic / Text Only", "FILE:", "", "");
    addLocalPrinter("HP LaserJet 4050 Series PCL", "HP LaserJet 4050 Series PCL 6",
                    "LPT1:", "Room 12", "Front desk");
    shareOnNetwork("PRNSRV", "Laser1", "HP LaserJet 5Si - DFS", "Floor 2", "Big one");
    EXPECT_EQ(machine.nativePrinters().addConnection("\\\\PRNSRV\\Laser1"), ERROR_SUCCESS);
  }

  void addLocalPrinter(const std::string& name, const std::string& driver, const std::string& port,
                       const std::string& location, const std::string& comment) {
    PrinterDetails printer{name, driver, port, "", comment, location};
    ASSERT_EQ(machine.nativePrinters().addLocalPrinter(printer), ERROR_SUCCESS);
  }

  void shareOnNetwork(const std::string& server, const std::string& share,
                      const std::string& driver, const std::string& location,
                      const std::string& comment) {
    const std::string key = std::string(kServersKey) + "\\" + server + "\\Printers\\" + share;
    Registry& registry = machine.registry();
    ASSERT_EQ(writeStringValue(registry, HKEY_LOCAL_MACHINE, key, "Printer Driver", driver),
              ERROR_SUCCESS);
    ASSERT_EQ(writeStringValue(registry, HKEY_LOCAL_MACHINE, key, "Location", location),
              ERROR_SUCCESS);
    ASSERT_EQ(writeStringValue(registry, HKEY_LOCAL_MACHINE, key, "Description", comment),
              ERROR_SUCCESS);
  }

  Enumeration enumerate(DWORD flags, DWORD bufferSize, const char* name = nullptr,
                        DWORD level = 1) {
    Enumeration out;
    // The bytes past the answer show whether the call wrote beyond what it said it needs.
    buffer.assign(bufferSize + 16, 0xCC);
    out.status =
        machine.printers().EnumPrintersA(flags, name, level, bufferSize ? buffer.data() : nullptr,
                                         bufferSize, &out.needed, &out.returned);
    for (DWORD i = 0; out.status.ok() && i < out.returned; ++i) {
      PRINTER_INFO_1A info;
      std::memcpy(&info, buffer.data() + i * sizeof info, sizeof info);
      for (const char* text : {info.pDescription, info.pName, info.pComment}) {
        const auto* at = reinterpret_cast<const BYTE*>(text);
        EXPECT_TRUE(at >= buffer.data() && at < buffer.data() + out.needed) << "outside";
      }
      out.entries.push_back({info.Flags, info.pDescription, info.pName, info.pComment});
    }
    return out;
  }

  bool untouchedFrom(std::size_t offset) const {
    for (std::size_t i = offset; i < buffer.size(); ++i) {
      if (buffer[i] != 0xCC) return false;
    }
    return true;
  }

  testing::TemporaryMachineRoot root;
  VirtualClock clock;
  NativeMachine machine{root.path(), clock, "C:\\Transvale"};
  std::vector<BYTE> buffer;
};

TEST_F(PrintersTest, EnumPrintersGivesLocalPrintersThenConnectionsAtLevelOne) {
  const Enumeration all = enumerate(kLocalAndConnections, 3072);
  ASSERT_EQ(all.status, ERROR_SUCCESS);
  EXPECT_EQ(all.returned, 3u);
  const std::vector<Entry> expected = {
      {PRINTER_ENUM_ICON8, "HP LaserJet 4050 Series PCL,HP LaserJet 4050 Series PCL 6,Room 12",
       "HP LaserJet 4050 Series PCL", "Front desk"},
      // A location left empty leaves the trailing comma.
      {PRINTER_ENUM_ICON8, "Zeta Label,Generic / Text Only,", "Zeta Label", ""},
      {PRINTER_ENUM_ICON8, "\\\\PRNSRV\\Laser1,HP LaserJet 5Si - DFS,Floor 2", "\\\\PRNSRV\\Laser1",
       "Big one"},
  };
  EXPECT_EQ(all.entries, expected);
  // The entries, then their strings with their NULs, and not a byte more.
  std::size_t bytes = expected.size() * sizeof(PRINTER_INFO_1A);
  for (const Entry& e : expected)
    bytes += e.description.size() + e.name.size() + e.comment.size() + 3;
  EXPECT_EQ(all.needed, bytes);
  EXPECT_TRUE(untouchedFrom(all.needed));
}

TEST_F(PrintersTest, TooSmallABufferAsksForTheSizeAndWritesNothing) {
  const DWORD needed = enumerate(kLocalAndConnections, 0).needed;
  struct Case {
    DWORD size;
    Status status;
  };
  for (const Case& c : {Case{0, ERROR_INSUFFICIENT_BUFFER}, Case{1, ERROR_INSUFFICIENT_BUFFER},
                        Case{needed - 1, ERROR_INSUFFICIENT_BUFFER}, Case{needed, ERROR_SUCCESS},
                        Case{needed + 100, ERROR_SUCCESS}}) {
    const Enumeration result = enumerate(kLocalAndConnections, c.size);
    EXPECT_EQ(result.status, c.status) << c.size;
    EXPECT_EQ(result.needed, needed) << c.size;
    EXPECT_EQ(result.returned, c.status.ok() ? 3u : 0u) << c.size;
    if (c.status.failed()) {
      EXPECT_TRUE(untouchedFrom(0)) << c.size;
    }
  }
}

TEST_F(PrintersTest, FlagsLevelsAndArgumentsAnswerAsWindowsDoes) {
  struct Case {
    const char* what;
    DWORD flags;
    const char* name;
    DWORD level;
    Status status;
    DWORD returned;
  };
  const Case cases[] = {
      {"local only", PRINTER_ENUM_LOCAL, nullptr, 1, ERROR_SUCCESS, 2},
      {"connections only", PRINTER_ENUM_CONNECTIONS, nullptr, 1, ERROR_SUCCESS, 1},
      {"local ignores a name", PRINTER_ENUM_LOCAL, "\\\\ELSEWHERE", 1, ERROR_SUCCESS, 2},
      {"by no name is local", PRINTER_ENUM_NAME, "", 1, ERROR_SUCCESS, 2},
      {"another print server", PRINTER_ENUM_NAME, "\\\\ELSEWHERE", 1, ERROR_INVALID_NAME, 0},
      {"no flags", 0, nullptr, 1, ERROR_SUCCESS, 0},
      {"level 2", kLocalAndConnections, nullptr, 2, ERROR_INVALID_LEVEL, 0},
  };
  for (const Case& c : cases) {
    const Enumeration result = enumerate(c.flags, 3072, c.name, c.level);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_EQ(result.returned, c.returned) << c.what;
  }
  DWORD needed = 0;
  DWORD returned = 0;
  EXPECT_EQ(machine.printers().EnumPrintersA(kLocalAndConnections, nullptr, 1, nullptr, 0, nullptr,
                                             &returned),
            RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(machine.printers().EnumPrintersA(kLocalAndConnections, nullptr, 1, nullptr, 64, &needed,
                                             &returned),
            ERROR_INVALID_USER_BUFFER);
}

TEST_F(PrintersTest, NoPrintersIsSuccessWithNothing) {
  testing::TemporaryMachineRoot emptyRoot;
  NativeMachine empty{emptyRoot.path(), clock, "C:\\Transvale"};
  DWORD needed = 99;
  DWORD returned = 99;
  EXPECT_EQ(empty.printers().EnumPrintersA(kLocalAndConnections, nullptr, 1, nullptr, 0, &needed,
                                           &returned),
            ERROR_SUCCESS);
  EXPECT_EQ(needed, 0u);
  EXPECT_EQ(returned, 0u);
  EXPECT_TRUE(empty.printers().printerList().empty());
}

TEST_F(PrintersTest, RegistryFormsWindowsWritesAreReadAsWindowsReadsThem) {
  Registry& registry = machine.registry();
  // A printer key without a Name value is named by its key; a connection the machine knows
  // nothing of shows no driver or location; a key that is no connection is passed over.
  ASSERT_EQ(writeStringValue(registry, HKEY_LOCAL_MACHINE,
                             std::string(kPrintersKey) + "\\Old Printer", "Printer Driver", "X"),
            ERROR_SUCCESS);
  for (const char* key : {"Printers\\Connections\\,,GONE,queue", "Printers\\Connections\\junk"}) {
    ASSERT_EQ(writeStringValue(registry, HKEY_CURRENT_USER, key, "Server", "x"), ERROR_SUCCESS);
  }
  const Enumeration all = enumerate(kLocalAndConnections, 3072);
  ASSERT_EQ(all.returned, 5u);
  EXPECT_EQ(all.entries[1].description, "Old Printer,X,");
  EXPECT_EQ(all.entries[3].description, "\\\\GONE\\queue,,");
  EXPECT_EQ(all.entries[4].name, "\\\\PRNSRV\\Laser1");
}

TEST_F(PrintersTest, ThePrinterListGivesWhatRecreatesEachPrinter) {
  const std::vector<ListedPrinter> list = machine.printers().printerList();
  ASSERT_EQ(list.size(), 3u);
  // A local printer is installed again from its driver model, a network one by its path.
  EXPECT_EQ(list[0].deviceName, "HP LaserJet 4050 Series PCL");
  EXPECT_EQ(list[0].printerValue, "HP LaserJet 4050 Series PCL 6");
  EXPECT_EQ(list[1].deviceName, "Zeta Label");
  EXPECT_EQ(list[1].printerValue, "Generic / Text Only");
  EXPECT_EQ(list[2].deviceName, "\\\\PRNSRV\\Laser1");
  EXPECT_EQ(list[2].printerValue, "\\\\PRNSRV\\Laser1");
}

TEST_F(PrintersTest, ConnectionsAndLocalPrintersAreRefusedWhereWindowsRefusesThem) {
  NativePrinters& printers = machine.nativePrinters();
  shareOnNetwork("NOSRV", "Queue", "Driver", "", "");  // recorded, but the server is gone
  struct Case {
    const char* printer;
    Status status;
  };
  for (const Case& c : {Case{"\\\\prnsrv\\LASER1", ERROR_SUCCESS},  // already there: kept
                        Case{"\\\\PRNSRV\\Missing", ERROR_INVALID_PRINTER_NAME},
                        Case{"\\\\NOSRV\\Queue", ERROR_INVALID_PRINTER_NAME},
                        Case{"PRNSRV\\Laser1", ERROR_INVALID_PRINTER_NAME},
                        Case{"\\\\PRNSRV\\Laser1\\x", ERROR_INVALID_PRINTER_NAME}}) {
    EXPECT_EQ(printers.addConnection(c.printer), c.status) << c.printer;
  }
  EXPECT_EQ(printers.connections().size(), 1u);

  PrinterDetails printer{"zeta label", "Generic / Text Only", "LPT2:", "", "", ""};
  EXPECT_EQ(printers.addLocalPrinter(printer), ERROR_PRINTER_ALREADY_EXISTS);
  for (const char* name : {"", "a,b", "a\\b", "a!b"}) {
    printer.name = name;
    EXPECT_EQ(printers.addLocalPrinter(printer), ERROR_INVALID_PRINTER_NAME) << name;
  }
  EXPECT_EQ(printers.localPrinters().size(), 2u);
}

}  // namespace
}  // namespace platform
