// A Wine prefix for cross-checks against Wine's own programs: made once (that takes seconds),
// headless and quiet, with its server stopped whenever the registry files are to be read or
// written directly. When Wine is not installed the prefix says so and nothing is made.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform::testing {

class WinePrefix {
 public:
  // Makes the prefix in a fresh temporary folder.
  WinePrefix();
  ~WinePrefix();
  WinePrefix(const WinePrefix&) = delete;
  WinePrefix& operator=(const WinePrefix&) = delete;

  bool installed() const { return !m_wine.empty(); }
  bool ready() const;
  const std::string& bootOutput() const { return m_bootOutput; }
  const std::filesystem::path& prefix() const { return m_prefix; }
  // A folder beside the prefix for the files a check needs.
  const std::filesystem::path& scratch() const { return m_root; }

  // The prefix's registry as our registry layer reads it; stop the server first.
  std::unique_ptr<Registry> registry() const;

  // Runs a Wine program; its standard output (and error) as text.
  std::string wine(const std::vector<std::string>& args);
  // The server writes the registry files when it ends: stop it before reading or writing them.
  void stopServer();
  // Keeps one server up for a series of Wine programs, each of which would start its own.
  void keepServer();

 private:
  void endLeftovers() const;
  std::string run(const std::string& command) const;

  std::string m_wine;
  std::string m_wineserver;
  std::filesystem::path m_root;
  std::filesystem::path m_prefix;
  std::string m_bootOutput;
};

// The bytes of a host file, empty when it cannot be read.
std::string readHostFile(const std::filesystem::path& path);

}  // namespace platform::testing
