#include "zip_fixture.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace parcelon::testing {

namespace fs = std::filesystem;

std::string noiseBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  std::uint32_t state = seed * 2654435761u + 1;
  for (auto& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

std::string textBytes(std::size_t size) {
  static const std::string kLine = "The quick brown fox jumps over the lazy dog 0123456789.\r\n";
  std::string bytes;
  bytes.reserve(size);
  for (std::size_t line = 0; bytes.size() < size; ++line) {
    bytes += std::to_string(line) + ": " + kLine;
  }
  bytes.resize(size);
  return bytes;
}

ZipTest::ZipTest() : m_random([this] { return m_nextRandom++ * 40503u; }) {
  m_test.addHostDrive('Z');
  m_control = makeControl(ArchiveLimits{});
}

std::unique_ptr<ParcelonCtrl> ZipTest::makeControl(ArchiveLimits limits) {
  auto control = std::make_unique<ParcelonCtrl>(files(), m_random, limits, &m_threads);
  control->setStatusSink([this](const std::string& name, std::int32_t progress) {
    m_events.push_back({name, progress});
  });
  return control;
}

fs::path ZipTest::hostPath(const std::string& windowsPath) {
  EXPECT_TRUE(windowsPath.rfind("C:\\", 0) == 0) << windowsPath;
  return m_test.hostPath(windowsPath);
}

std::string ZipTest::zPath(const fs::path& hostPath) {
  return platform::testing::TestMachine::windowsPathOfHost(hostPath);
}

void ZipTest::writeFile(const std::string& windowsPath, const std::string& bytes) {
  const fs::path path = hostPath(windowsPath);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ZipTest::readFile(const std::string& windowsPath) {
  std::ifstream file(hostPath(windowsPath), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool ZipTest::exists(const std::string& windowsPath) {
  return fs::exists(hostPath(windowsPath));
}

std::vector<std::string> ZipTest::folderNames(const std::string& windowsPath) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(hostPath(windowsPath))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ZipTest::makeArchive(const std::string& archivePath,
                          const std::vector<std::pair<std::string, std::string>>& sources,
                          const std::string& comment) {
  ASSERT_TRUE(returns(control().CreateZip(archivePath, comment), 0));
  for (const auto& [path, bytes] : sources) {
    writeFile(path, bytes);
    ASSERT_TRUE(returns(control().AddFile(path, "", true, ""), 0)) << path;
  }
  ASSERT_TRUE(returns(control().Close(), 0));
}

}  // namespace parcelon::testing
