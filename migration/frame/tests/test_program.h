// A program on a fresh machine root in a temporary folder (drive C:, the user jsmith), with the
// scripted user interface. The root is removed at the end of the test.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "forms/scripted_ui.h"
#include "frame/program.h"
#include "native_machine.h"
#include "platform/clock.h"

namespace migration::testing {

class TestProgram {
 public:
  TestProgram();
  ~TestProgram();
  TestProgram(const TestProgram&) = delete;
  TestProgram& operator=(const TestProgram&) = delete;

  // A further drive: dosdevices/<letter>: -> ../drive_<letter>.
  void addDrive(char letter);
  // A drive link with any target: a missing one is a drive that is not ready.
  void addDriveLink(char letter, const std::string& target);
  void setRegistryText(platform::HKEY root, const std::string& key, const std::string& name,
                       const std::string& text);
  void setRegistryDword(platform::HKEY root, const std::string& key, const std::string& name,
                        std::uint32_t value);
  void writeFile(const std::string& path, const std::string& bytes);

  platform::NativeMachine& machine() { return *m_machine; }
  platform::FileSystem& files() { return m_machine->files(); }
  forms::ScriptedUi& ui() { return m_ui; }
  Program& program() { return *m_program; }

 private:
  std::filesystem::path m_root;
  platform::VirtualClock m_clock;
  std::unique_ptr<platform::NativeMachine> m_machine;
  forms::ScriptedUi m_ui;
  std::unique_ptr<Program> m_program;
};

}  // namespace migration::testing
