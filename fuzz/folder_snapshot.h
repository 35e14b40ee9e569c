// Every file and folder below a host folder, with a digest of each file's bytes: taken before
// and after a fuzz target lets an input loose on a machine, it shows whether anything was
// written outside the folder the input may write to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace fuzz {

class FolderSnapshot {
 public:
  // Everything below `root` except `excluded` and what lies below it; links are recorded by
  // their target, never followed.
  static FolderSnapshot take(const std::filesystem::path& root,
                             const std::filesystem::path& excluded);

  // The first path that differs between the two, or "" when none does.
  std::string firstDifference(const FolderSnapshot& other) const;

 private:
  std::map<std::string, std::string> m_entries;  // relative path -> kind and digest
};

}  // namespace fuzz
