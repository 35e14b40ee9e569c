// A program on a fresh test machine (drive C:, the user jsmith, the program in C:\Transvale), with
// the scripted user interface, for the tests of every module.
#pragma once

#include <memory>
#include <string>

#include "context/program.h"
#include "forms/scripted_ui.h"
#include "platform/testing/test_machine.h"

namespace migration::testing {

class TestProgram {
 public:
  TestProgram();
  ~TestProgram();
  TestProgram(const TestProgram&) = delete;
  TestProgram& operator=(const TestProgram&) = delete;

  // A further drive: dosdevices/<letter>: -> ../drive_<letter>.
  void addDrive(char letter) { m_test.addDrive(letter); }
  // A drive link with any target: a missing one is a drive that is not ready.
  void addDriveLink(char letter, const std::string& target) { m_test.addDriveLink(letter, target); }
  void setRegistryText(platform::HKEY root, const std::string& key, const std::string& name,
                       const std::string& text) {
    m_test.setRegistryText(root, key, name, text);
  }
  void setRegistryDword(platform::HKEY root, const std::string& key, const std::string& name,
                        std::uint32_t value) {
    m_test.setRegistryDword(root, key, name, value);
  }
  void writeFile(const std::string& path, const std::string& bytes) {
    m_test.writeFile(path, bytes);
  }

  platform::testing::TestMachine& testMachine() { return m_test; }
  platform::Machine& machine() { return m_test.machine(); }
  platform::FileSystem& files() { return m_test.files(); }
  forms::ScriptedUi& ui() { return m_ui; }
  Program& program() { return *m_program; }

 private:
  platform::testing::TestMachine m_test;
  forms::ScriptedUi m_ui;
  std::unique_ptr<Program> m_program;
};

}  // namespace migration::testing
