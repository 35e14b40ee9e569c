// Starting programs on the native machine. A few programs are built in (the registry editor's
// import here; the machine adds the printer programs); every command line is appended to
// commands.log at the machine root; any other program fails as a missing one does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"

namespace platform {

class NativeProcesses final : public Processes {
 public:
  // `files` and `registry` must outlive this object.
  NativeProcesses(std::filesystem::path machineRoot, FileSystem& files, Registry& registry);

  // Built-in programs run at once, whether or not the caller waits.
  Result<ProcessOutcome> start(const std::string& commandLine, WindowStyle style,
                               Wait wait) override;

  static constexpr const char* kLogName = "commands.log";

  // A built-in program: the text after its name in, its exit code out. Each program takes the
  // text apart its own way, as Windows programs do (splitArguments suits most).
  using Program = std::function<std::uint32_t(const std::string& arguments)>;
  // Builds in a further program under `name` (lower case, without ".exe").
  void addProgram(const std::string& name, Program program);

 private:
  std::uint32_t runRegedit(const std::vector<std::string>& arguments);
  static std::uint32_t runNet(const std::vector<std::string>& arguments);
  [[nodiscard]] Status log(const std::string& commandLine) const;

  std::filesystem::path m_root;
  FileSystem& m_files;
  Registry& m_registry;
  std::map<std::string, Program> m_programs;  // by lower-case name without ".exe"
};

}  // namespace platform
