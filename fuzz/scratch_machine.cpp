#include "scratch_machine.h"

#include <fstream>
#include <system_error>

#include "fuzz_check.h"

namespace fuzz {

namespace fs = std::filesystem;

ScratchMachine::ScratchMachine(const std::string& programDirectory)
    : m_test({programDirectory, "jsmith"}), m_scratch(m_test.winePrefix() / "drive_c" / "scratch") {
  resetScratch();
}

fs::path ScratchMachine::hostPathOf(const std::string& windowsPath) const {
  // Only plain paths on drive C: the fuzz targets name their own files.
  check(windowsPath.rfind("C:\\", 0) == 0, "a path on drive C: " + windowsPath);
  fs::path path = m_test.winePrefix() / "drive_c";
  std::string rest = windowsPath.substr(3);
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  return rest.empty() ? path : path / rest;
}

void ScratchMachine::resetScratch(std::initializer_list<std::string> folders) {
  std::error_code error;
  fs::remove_all(m_scratch, error);
  fs::create_directories(m_scratch, error);
  check(!error, "making the scratch folder: " + error.message());
  for (const std::string& folder : folders) {
    fs::create_directories(hostPathOf(folder), error);
    check(!error, "making " + folder + ": " + error.message());
  }
  m_before = FolderSnapshot::take(m_test.winePrefix(), m_scratch);
}

void ScratchMachine::writeHostFile(const std::string& windowsPath, const std::string& bytes) {
  const fs::path path = hostPathOf(windowsPath);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(file.good(), "writing " + windowsPath);
}

void ScratchMachine::checkNothingWrittenOutside() const {
  const std::string changed =
      m_before.firstDifference(FolderSnapshot::take(m_test.winePrefix(), m_scratch));
  check(changed.empty(), "written outside the scratch folder: " + changed);
}

}  // namespace fuzz
