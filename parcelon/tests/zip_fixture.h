// A machine in a temporary root (drive C:, and the host as Z:) with a control on it, for the
// component's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "parcelon_ctrl.h"
#include "platform/clock.h"
#include "platform/testing/test_machine.h"
#include "random_source.h"
#include "thread_per_task.h"

namespace parcelon::testing {

struct StatusEvent {
  std::string name;
  std::int32_t progress = 0;
  bool operator==(const StatusEvent&) const = default;
};

struct CommandResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

// Runs a shell command line; nothing is read from standard input.
CommandResult runCommand(const std::string& commandLine);
std::string shellQuote(const std::string& text);

// Bytes that deflate poorly and differ from one call to the next `seed`.
std::string noiseBytes(std::size_t size, std::uint32_t seed);
// Text that deflates well.
std::string textBytes(std::size_t size);

class ZipTest : public ::testing::Test {
 protected:
  ZipTest();

  platform::FileSystem& files() { return m_test.files(); }
  platform::Machine& machine() { return m_test.machine(); }
  ParcelonCtrl& control() { return *m_control; }
  // A control whose archives may hold at most `limits` (to reach the records' limits cheaply).
  std::unique_ptr<ParcelonCtrl> makeControl(ArchiveLimits limits);
  RandomSource& random() { return m_random; }
  platform::ThreadService& threads() { return m_threads; }

  // Files by Windows path on drive C: ("C:\in\x.txt").
  std::filesystem::path hostPath(const std::string& windowsPath);
  // The host file seen through drive Z:, for paths the peers (zip, unzip) must see too.
  std::string zPath(const std::filesystem::path& hostPath);
  void writeFile(const std::string& windowsPath, const std::string& bytes);
  std::string readFile(const std::string& windowsPath);
  bool exists(const std::string& windowsPath);
  // Names in a folder of drive C: (to see that no temporary file is left behind).
  std::vector<std::string> folderNames(const std::string& windowsPath);

  // Creates an archive with the control: each (path, bytes) becomes a source file that is
  // added with its path kept and no password.
  void makeArchive(const std::string& archivePath,
                   const std::vector<std::pair<std::string, std::string>>& sources,
                   const std::string& comment = "");

  const std::vector<StatusEvent>& events() const { return m_events; }
  void clearEvents() { m_events.clear(); }

  platform::testing::TestMachine m_test{{"C:\\", "jsmith"}};

 private:
  ThreadPerTask m_threads;
  std::uint32_t m_nextRandom = 1;
  FunctionRandomSource m_random;
  std::unique_ptr<ParcelonCtrl> m_control;
  std::vector<StatusEvent> m_events;
};

// Expects the outcome to be the raised error, with its code and text.
template <typename T>
::testing::AssertionResult raises(const Outcome<T>& outcome, ZipError error) {
  if (!outcome.raised()) return ::testing::AssertionFailure() << "nothing was raised";
  if (outcome.error() != error) {
    return ::testing::AssertionFailure() << "raised \"" << describe(outcome.error()).text << "\"";
  }
  return ::testing::AssertionSuccess();
}

template <typename T>
::testing::AssertionResult returns(const Outcome<T>& outcome, const T& expected) {
  if (outcome.raised()) {
    return ::testing::AssertionFailure() << "raised \"" << describe(outcome.error()).text << "\"";
  }
  if (!(outcome.value() == expected)) {
    return ::testing::AssertionFailure()
           << "returned " << ::testing::PrintToString(outcome.value());
  }
  return ::testing::AssertionSuccess();
}

}  // namespace parcelon::testing
