// A machine root in a fresh temporary folder, removed again at the end of the test.
#pragma once

#include <filesystem>
#include <string>

namespace platform::testing {

class TemporaryMachineRoot {
 public:
  TemporaryMachineRoot();
  ~TemporaryMachineRoot();
  TemporaryMachineRoot(const TemporaryMachineRoot&) = delete;
  TemporaryMachineRoot& operator=(const TemporaryMachineRoot&) = delete;

  const std::filesystem::path& path() const { return m_path; }

  // Drive `letter` as Wine makes it: dosdevices/<letter>: -> ../drive_<letter>. Returns the
  // drive's folder.
  std::filesystem::path addDrive(char letter);
  // A drive link with any target (a missing one makes a drive that is not ready).
  void addDriveLink(char letter, const std::string& target);
  // dosdevices/unc/<server>/<share>.
  std::filesystem::path addShare(const std::string& server, const std::string& share);

  // Writes a file below the root, creating its folders.
  void writeFile(const std::filesystem::path& relative, const std::string& bytes) const;
  std::string readFile(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path m_path;
};

}  // namespace platform::testing
