#include "test_program.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/text_file.h"

namespace migration::testing {

TestProgram::TestProgram() {
  std::string pattern = (std::filesystem::temp_directory_path() / "frame-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  m_root = pattern;
  std::filesystem::create_directories(m_root / "dosdevices");
  addDrive('c');
  m_machine = std::make_unique<platform::NativeMachine>(m_root, m_clock, "C:\\Transvale");
  setRegistryText(platform::HKEY_CURRENT_USER, "Volatile Environment", "USERNAME", "jsmith");
  platform::ignoreFailure(files().createFolder("C:\\Transvale"), "the program directory of a fresh machine");
  m_program = std::make_unique<Program>(*m_machine, m_ui, "");
}

TestProgram::~TestProgram() {
  m_program.reset();
  m_machine.reset();
  std::error_code ignored;
  std::filesystem::remove_all(m_root, ignored);
}

void TestProgram::addDrive(char letter) {
  const std::string folder = std::string("drive_") + letter;
  std::filesystem::create_directories(m_root / folder);
  std::filesystem::create_symlink("../" + folder,
                                  m_root / "dosdevices" / (std::string(1, letter) + ":"));
}

void TestProgram::addDriveLink(char letter, const std::string& target) {
  std::filesystem::create_symlink(target, m_root / "dosdevices" / (std::string(1, letter) + ":"));
}

void TestProgram::setRegistryText(platform::HKEY root, const std::string& key,
                                  const std::string& name, const std::string& text) {
  platform::HKEY handle = 0;
  EXPECT_EQ(m_machine->registry().RegCreateKeyExA(root, key.c_str(), platform::KEY_ALL_ACCESS,
                                                  &handle, nullptr),
            platform::ERROR_SUCCESS);
  const std::string data = text + '\0';
  EXPECT_EQ(m_machine->registry().RegSetValueExA(
                handle, name.c_str(), platform::REG_SZ,
                reinterpret_cast<const platform::BYTE*>(data.data()),
                static_cast<platform::DWORD>(data.size())),
            platform::ERROR_SUCCESS);
  EXPECT_EQ(m_machine->registry().RegCloseKey(handle), platform::ERROR_SUCCESS);
}

void TestProgram::setRegistryDword(platform::HKEY root, const std::string& key,
                                   const std::string& name, std::uint32_t value) {
  platform::HKEY handle = 0;
  EXPECT_EQ(m_machine->registry().RegCreateKeyExA(root, key.c_str(), platform::KEY_ALL_ACCESS,
                                                  &handle, nullptr),
            platform::ERROR_SUCCESS);
  EXPECT_EQ(m_machine->registry().RegSetValueExA(handle, name.c_str(), platform::REG_DWORD,
                                                 reinterpret_cast<const platform::BYTE*>(&value),
                                                 sizeof value),
            platform::ERROR_SUCCESS);
  EXPECT_EQ(m_machine->registry().RegCloseKey(handle), platform::ERROR_SUCCESS);
}

void TestProgram::writeFile(const std::string& path, const std::string& bytes) {
  if (platform::writeWholeFile(files(), path, bytes) != platform::ERROR_SUCCESS) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace migration::testing
