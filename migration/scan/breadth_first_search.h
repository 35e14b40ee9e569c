// The breadth-first walk of a directory tree that the file scan of the main window and the script
// builder's search share. Directories are visited level by level, by name without regard to case
// within each parent; the files of one directory are reported together, by name. Hidden and
// system entries are neither listed nor entered, and each directory is entered once, however
// many paths (links, junctions) lead to it: a link back to a parent is no endless loop.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "forms/pattern_list.h"
#include "platform/file_system.h"

namespace migration {

// Where a found file lies: in the starting directory or in a directory taken from the queue.
enum class SearchLevel { Start, Queued };

// What the walk reports and asks while it runs.
class SearchVisitor {
 public:
  virtual ~SearchVisitor() = default;
  // False keeps a sub-directory (and all below it) out of the queue.
  virtual bool shouldQueue(const std::string& directory) = 0;
  // Asked before each queued directory; true ends the walk there.
  virtual bool cancelled() = 0;
  // A matching file of `directory` (a full path; a drive root keeps its backslash). `index`
  // counts the files of that directory from 0.
  virtual void foundFile(const std::string& directory, const platform::DirectoryEntry& file,
                         SearchLevel level, std::size_t index) = 0;
};

class BreadthFirstSearch {
 public:
  // `patterns` as the file lists take them: "*.doc;*.dot".
  BreadthFirstSearch(platform::FileSystem& files, std::string_view patterns);

  // Walks from `start`. A start that cannot be opened reports nothing.
  void run(const std::string& start, SearchVisitor& visitor);

 private:
  struct Listing {
    std::vector<platform::DirectoryEntry> files;  // matching, by name
    std::vector<std::string> subdirectories;      // full paths, by name
  };
  [[nodiscard]] platform::Result<Listing> list(const std::string& directory);
  // False when the directory was entered before by another path.
  bool enterOnce(const std::string& directory);
  void queueSubdirectories(const Listing& listing, SearchVisitor& visitor);

  platform::FileSystem& m_files;
  forms::PatternList m_patterns;
  std::vector<std::string> m_queue;
  std::set<platform::FileIdentity> m_entered;
};

// The path a directory list shows: the full path as stored, without a trailing backslash except
// at a drive root ("c:\data\" gives "C:\Data", "c:\" gives "C:\").
std::string directoryListPath(platform::FileSystem& files, const std::string& directory);

}  // namespace migration
