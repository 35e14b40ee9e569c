#include "reg_command.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "native_machine.h"
#include "platform/clock.h"

namespace simwin {
namespace {

using namespace platform;

class RegCommandTest : public ::testing::Test {
 protected:
  RegCommandTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "reg-command-XXXXXX").string();
    m_root = ::mkdtemp(pattern.data());
    m_machine = std::make_unique<NativeMachine>(m_root, m_clock, "C:\\Program");
    std::filesystem::create_directories(m_root / "drive_c");
    std::filesystem::create_directories(m_root / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", m_root / "dosdevices" / "c:");
  }
  ~RegCommandTest() override {
    m_machine.reset();
    std::filesystem::remove_all(m_root);
  }

  int reg(std::vector<std::string> args) {
    m_out.str({});
    m_err.str({});
    return runRegCommand(*m_machine, args, m_out, m_err);
  }
  void set(HKEY key, const char* name, DWORD type, const std::string& data) {
    ASSERT_EQ(m_machine->registry().RegSetValueExA(key, name, type,
                                                   reinterpret_cast<const BYTE*>(data.data()),
                                                   static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }

  std::filesystem::path m_root;
  VirtualClock m_clock;
  std::unique_ptr<NativeMachine> m_machine;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

TEST_F(RegCommandTest, QueryShowsValuesThenSubkeysAsRegDoes) {
  Registry& registry = m_machine->registry();
  HKEY key = 0;
  ASSERT_EQ(registry.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Sample\\Sub", KEY_ALL_ACCESS,
                                     &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);
  ASSERT_EQ(registry.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Sample", KEY_ALL_ACCESS, &key,
                                     nullptr),
            ERROR_SUCCESS);
  set(key, "", REG_SZ, std::string("def") + '\0');
  set(key, "Count", REG_DWORD, std::string("\x1a\0\0\0", 4));
  set(key, "Bits", REG_BINARY, std::string("\x0a\xff\x00", 3));
  set(key, "Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\x") + '\0');
  set(key, "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  set(key, "Big", REG_QWORD, std::string("\x55\x44\x33\x22\x11\0\0\0", 8));
  set(key, "Empty", REG_SZ, "");
  EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(reg({"query", "hkcu\\Software\\Sample\\"}), 0);
  EXPECT_EQ(m_out.str(),
            "\n"
            "HKEY_CURRENT_USER\\Software\\Sample\n"
            "    (Default)    REG_SZ    def\n"
            "    Count    REG_DWORD    0x1a\n"
            "    Bits    REG_BINARY    0AFF00\n"
            "    Expand    REG_EXPAND_SZ    %SystemRoot%\\x\n"
            "    Multi    REG_MULTI_SZ    a\\0b\n"
            "    Big    REG_QWORD    0x1122334455\n"
            "    Empty    REG_SZ    \n"
            "\n"
            "HKEY_CURRENT_USER\\Software\\Sample\\Sub\n");

  // A key without values shows only its sub-keys.
  EXPECT_EQ(reg({"query", "HKEY_CURRENT_USER\\Software"}), 0);
  EXPECT_EQ(m_out.str(), "\nHKEY_CURRENT_USER\\Software\\Sample\n");

  EXPECT_EQ(reg({"query", "HKCU\\Software\\Sample", "/v", "count"}), 0);
  EXPECT_EQ(m_out.str(),
            "\nHKEY_CURRENT_USER\\Software\\Sample\n    count    REG_DWORD    0x1a\n\n");
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Sample", "/ve"}), 0);
  EXPECT_EQ(m_out.str(),
            "\nHKEY_CURRENT_USER\\Software\\Sample\n    (Default)    REG_SZ    def\n\n");
}

TEST_F(RegCommandTest, QueryFailures) {
  const std::string notFound =
      "ERROR: The system was unable to find the specified registry key or value.\n";
  EXPECT_EQ(reg({"query", "HKLM\\Software\\Missing"}), 1);
  EXPECT_EQ(m_err.str(), notFound);
  EXPECT_EQ(reg({"query", "HKLM", "/v", "Missing"}), 1);
  EXPECT_EQ(m_err.str(), notFound);
  EXPECT_EQ(reg({"query", "HKXX\\Software"}), 2);
  EXPECT_EQ(reg({"query"}), 2);
  EXPECT_EQ(reg({"frobnicate"}), 2);
  EXPECT_EQ(reg({}), 2);
}

TEST_F(RegCommandTest, ImportsFromTheHostOrTheMachine) {
  const std::string file =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Imported]\r\n\"From\"=\"file\"\r\n";
  std::ofstream(m_root / "host.reg", std::ios::binary) << file;
  std::ofstream(m_root / "drive_c" / "machine.reg", std::ios::binary)
      << "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Imported]\r\n\"Via\"=dword:2\r\n";

  EXPECT_EQ(reg({"import", (m_root / "host.reg").string()}), 0);
  EXPECT_EQ(m_out.str(), "The operation completed successfully.\n");
  EXPECT_EQ(reg({"import", "C:\\MACHINE.REG"}), 0);
  EXPECT_EQ(reg({"query", "HKLM\\Software\\Imported", "/v", "From"}), 0);
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Imported", "/v", "Via"}), 0);
  EXPECT_NE(m_out.str().find("REG_DWORD    0x2"), std::string::npos);

  std::ofstream(m_root / "drive_c" / "bad.reg", std::ios::binary) << "not a registry file\n";
  EXPECT_EQ(reg({"import", "C:\\bad.reg"}), 1);
  EXPECT_EQ(reg({"import", "C:\\absent.reg"}), 1);
}

// Lines passed over are no success: the rest is imported, and the command says what it left.
TEST_F(RegCommandTest, AnImportThatPassesLinesOverSaysSoAndFails) {
  std::ofstream(m_root / "drive_c" / "part.reg", std::ios::binary)
      << "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Part]\r\n\"Good\"=dword:1\r\n"
         "\"Bad\"=dword:xyz\r\n";
  EXPECT_EQ(reg({"import", "C:\\part.reg"}), 1);
  EXPECT_EQ(m_out.str(), "");
  EXPECT_NE(m_err.str().find("1 line(s) of C:\\part.reg could not be imported"),
            std::string::npos)
      << m_err.str();
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Part", "/v", "Good"}), 0);
}

}  // namespace
}  // namespace simwin
