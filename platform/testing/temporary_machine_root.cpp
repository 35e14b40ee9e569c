#include "platform/testing/temporary_machine_root.h"

#include <stdlib.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace platform::testing {

namespace fs = std::filesystem;

TemporaryMachineRoot::TemporaryMachineRoot() {
  std::string pattern = (fs::temp_directory_path() / "transvale-machine-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
  fs::create_directories(m_path / "dosdevices" / "unc");
}

TemporaryMachineRoot::~TemporaryMachineRoot() {
  // NOTE: remove_all removes links without following them, so z: -> / is safe here.
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

fs::path TemporaryMachineRoot::addDrive(char letter) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  const std::string folder = std::string("drive_") + lower;
  fs::create_directories(m_path / folder);
  addDriveLink(letter, "../" + folder);
  return m_path / folder;
}

void TemporaryMachineRoot::addDriveLink(char letter, const std::string& target) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  fs::create_symlink(target, m_path / "dosdevices" / (std::string(1, lower) + ":"));
}

fs::path TemporaryMachineRoot::addShare(const std::string& server, const std::string& share) {
  const fs::path folder = m_path / "dosdevices" / "unc" / server / share;
  fs::create_directories(folder);
  return folder;
}

void TemporaryMachineRoot::writeFile(const fs::path& relative, const std::string& bytes) const {
  const fs::path path = m_path / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string TemporaryMachineRoot::readFile(const fs::path& relative) const {
  std::ifstream file(m_path / relative, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace platform::testing
