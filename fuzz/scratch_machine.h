// A test machine for the fuzz targets: drive C: and the user jsmith, made once per process, with
// a scratch folder C:\scratch that each input may fill. Between inputs the folder is emptied and
// everything else on the machine is recorded, so that a target can check that an input wrote
// nothing outside it.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

#include "folder_snapshot.h"
#include "platform/testing/test_machine.h"

namespace fuzz {

class ScratchMachine {
 public:
  static constexpr const char* kScratch = "C:\\scratch";

  explicit ScratchMachine(const std::string& programDirectory = "C:\\");

  platform::testing::TestMachine& test() { return m_test; }
  platform::Machine& machine() { return m_test.machine(); }
  platform::FileSystem& files() { return m_test.files(); }

  // Empties C:\scratch, makes the given folders (Windows paths below it) and records the rest of
  // the machine: files an input may read but not change are written before.
  void resetScratch(std::initializer_list<std::string> folders = {});
  // A file of the machine, written directly on the host (not through the code under test).
  void writeHostFile(const std::string& windowsPath, const std::string& bytes);
  // Aborts when anything outside C:\scratch differs from the record resetScratch made.
  void checkNothingWrittenOutside() const;

 private:
  std::filesystem::path hostPathOf(const std::string& windowsPath) const;

  platform::testing::TestMachine m_test;
  std::filesystem::path m_scratch;
  FolderSnapshot m_before;
};

}  // namespace fuzz
