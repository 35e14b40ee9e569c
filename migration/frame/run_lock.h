// The lock a run holds on its migration directory for its whole length. Two runs on one
// directory at once (a login script run twice, a technician who starts the export again) would
// write the same archive and command files over each other and both report success; with the
// lock the second one refuses, says so, and touches nothing. The lock is a locked file in the
// directory the user chose; the system drops it when the process ends, so a run that crashed
// never blocks the next one.
#pragma once

#include <memory>
#include <string>

#include "platform/file_lock.h"

namespace migration {

class Program;

class RunLock {
 public:
  static constexpr const char* kFileName = "migrate.lck";

  explicit RunLock(Program& program) : m_program(program) {}
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // The lock for the length of a command: taken unless this program holds it already (an
  // unattended run holds its commands under one lock), and released by the scope that took it.
  class [[nodiscard]] Scope {
   public:
    Scope(RunLock& lock, const std::string& directory);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    // False when another run holds the directory: the refusal has been reported (a message box
    // for the user at the window; the run log and standard error in an unattended run) and the
    // command must not go on.
    bool held() const { return m_held; }

   private:
    RunLock& m_lock;
    bool m_took = false;
    bool m_held = false;
  };

  // The directory a restore works in, from its master command file: the one the user chose,
  // that holds the "Migration" folder the master file lies in.
  static std::string directoryOfMasterFile(const std::string& masterFilePath);

 private:
  // Locks `directory`; false when another run holds it.
  bool take(const std::string& directory);
  void refuse(const std::string& directory);

  Program& m_program;
  std::unique_ptr<platform::FileLock> m_held;
  bool m_holding = false;
};

}  // namespace migration
