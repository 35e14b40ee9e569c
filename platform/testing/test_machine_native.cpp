// The test machine on the native backend: a Wine-style prefix in a temporary folder.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "native_machine.h"
#include "native_processes.h"
#include "platform/testing/temporary_machine_root.h"
#include "platform/testing/test_machine.h"
#include "platform/text_file.h"

namespace platform::testing {

struct TestMachine::Disk {
  TemporaryMachineRoot root;
};

namespace {

NativeMachine& native(Machine& machine) { return static_cast<NativeMachine&>(machine); }

bool onDriveC(const std::string& path) {
  return path.size() >= 3 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':';
}

}  // namespace

TestMachine::TestMachine() : TestMachine(Options{}) {}

TestMachine::TestMachine(Options options) : m_disk(std::make_unique<Disk>()) {
  m_disk->root.addDrive('c');
  m_machine =
      std::make_unique<NativeMachine>(m_disk->root.path(), m_clock, options.programDirectory);
  if (!options.userName.empty()) {
    setRegistryText(HKEY_CURRENT_USER, "Volatile Environment", "USERNAME", options.userName);
  }
  if (onDriveC(options.programDirectory) && options.programDirectory.size() > 3) {
    writeFile(options.programDirectory + "\\.keep", "");
    EXPECT_EQ(files().deleteFile(options.programDirectory + "\\.keep", Force::Yes), ERROR_SUCCESS);
  }
}

TestMachine::~TestMachine() { m_machine.reset(); }

void TestMachine::addDrive(char letter) { m_disk->root.addDrive(letter); }

void TestMachine::addDriveLink(char letter, const std::string& target) {
  m_disk->root.addDriveLink(letter, target);
}

void TestMachine::addShare(const std::string& server, const std::string& share) {
  m_disk->root.addShare(server, share);
}

void TestMachine::addHostDrive(char letter) { m_disk->root.addDriveLink(letter, "/"); }

void TestMachine::writeFile(const std::string& path, const std::string& bytes) {
  for (std::size_t i = 3; i < path.size(); ++i) {
    if (path[i] != '\\' || files().folderExists(path.substr(0, i))) continue;
    ASSERT_EQ(files().createFolder(path.substr(0, i)), ERROR_SUCCESS) << path.substr(0, i);
  }
  ASSERT_EQ(writeWholeFile(files(), path, bytes), ERROR_SUCCESS) << path;
}

void TestMachine::linkFolder(const std::string& link, const std::string& target) {
  const std::filesystem::path to = hostPath(target);
  const std::filesystem::path at = hostPath(link);
  ASSERT_FALSE(to.empty() || at.empty()) << link << " -> " << target;
  std::error_code error;
  std::filesystem::create_directory_symlink(to, at, error);
  ASSERT_FALSE(error) << error.message();
}

std::string TestMachine::readFile(const std::string& path) {
  return readWholeFile(files(), path).valueOr("");
}

std::filesystem::path TestMachine::hostPath(const std::string& path) {
  auto located = native(*m_machine).nativeFiles().locate(path);
  return located ? located->host : std::filesystem::path();
}

std::string TestMachine::windowsPathOfHost(const std::filesystem::path& hostPath) {
  return windowsPathOfHostPath(hostPath);
}

const std::filesystem::path& TestMachine::winePrefix() const { return m_disk->root.path(); }

std::string TestMachine::commandLog() const {
  return m_disk->root.readFile(NativeProcesses::kLogName);
}

std::unique_ptr<Machine> TestMachine::sameMachineWithProgramIn(
    const std::string& programDirectory) {
  EXPECT_EQ(native(*m_machine).nativeRegistry().flushAll(), ERROR_SUCCESS);
  return std::make_unique<NativeMachine>(m_disk->root.path(), m_clock, programDirectory);
}

}  // namespace platform::testing
