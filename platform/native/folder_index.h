// Finds a name in a host folder without regard to case, at a flat cost however many entries the
// folder holds. A folder that is asked for a name it does not hold as written gets an index of
// its names folded to upper case (Windows-1252 rules), and the kernel's change notifications
// (inotify) keep every index current: entries made, renamed or removed by anyone, this process
// or another, are seen by the next lookup. A folder that cannot be watched, or whose file system
// may not report every change, is scanned at every lookup. One thread at a time.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class FolderIndex {
 public:
  FolderIndex() = default;
  ~FolderIndex();
  FolderIndex(const FolderIndex&) = delete;
  FolderIndex& operator=(const FolderIndex&) = delete;

  // The entry of `folder` that the ANSI `name` names: the exact name first, then an entry equal
  // to it without regard to case (the first one met, should the host hold several). Empty when
  // there is none.
  std::filesystem::path find(const std::filesystem::path& folder, const std::string& name);
  // The same for a caller that already knows the exact name to be missing, and the folder's
  // stat(): spares looking at both again.
  std::filesystem::path findOtherCase(const std::filesystem::path& folder,
                                      const struct stat& folderInfo, const std::string& name);

  // Whether the kernel reports every change to the names on a file system of this type (the
  // f_type of statfs), so that its folders may be indexed.
  static bool reportsEveryChange(unsigned long fileSystemType);

  // How many folders are indexed now (for tests).
  std::size_t indexedFolders() const { return m_folders.size(); }

  // Folders indexed at once; the one used least recently makes room for a new one.
  static constexpr std::size_t kMaxFolders = 256;
  // Removals beyond the names held after which a folder's index is made afresh, so that names
  // gone do not pile up.
  static constexpr std::size_t kSpareRemovals = 64;

 private:
  struct Key {
    dev_t device;
    ino_t inode;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };
  struct Folder {
    int watch = -1;
    // Folded ANSI name -> the host names (UTF-8) that fold to it, in the order they were met.
    // NOTE: a name reported removed stays until a lookup finds it gone, since a report of a
    // removal does not prove the name gone: swapping two names by rename reports the second
    // name removed after it came back.
    std::unordered_map<std::string, std::vector<std::string>> names;
    std::size_t removals = 0;  // reported since the index was made
    std::list<Key>::iterator recent;
    void add(std::string_view hostName);
  };

  // The folder's index, made when it has none; null when the folder cannot be watched.
  Folder* indexOf(const std::filesystem::path& folder, const Key& key);
  Folder* build(const std::filesystem::path& folder, const Key& key);
  // Applies every change the kernel has reported since the last call.
  void takeNotifications();
  void forget(Key key);
  void forgetAll();
  bool notificationsOpen();

  int m_notify = -1;
  bool m_notifyTried = false;
  std::unordered_map<Key, Folder, KeyHash> m_folders;
  std::unordered_map<int, Key> m_byWatch;
  std::list<Key> m_recent;  // most recently used first
};

}  // namespace platform
