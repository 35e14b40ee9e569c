#include "folder_index.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <functional>

#include "host_files.h"
#include "platform/text_encoding.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Every change to a folder's names; a folder that goes away ends its watch with IN_IGNORED.
constexpr std::uint32_t kWatchMask =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

std::string foldedHostName(std::string_view hostName) { return ansiToUpper(utf8ToAnsi(hostName)); }

// NOTE: the kernel reports only the changes made through this host, and a file system may make
// names without reporting them (network and FUSE file systems, among others). So only the local
// file systems known to report every change are indexed; any other folder is scanned.
bool folderReportsEveryChange(int folder) {
  struct statfs info {};
  if (::fstatfs(folder, &info) != 0) return false;
  return FolderIndex::reportsEveryChange(static_cast<unsigned long>(info.f_type));
}

bool entryExists(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

bool FolderIndex::reportsEveryChange(unsigned long fileSystemType) {
  switch (fileSystemType) {
    case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:  // changed through the overlay, as containers do
    case MSDOS_SUPER_MAGIC:
    case EXFAT_SUPER_MAGIC:
      return true;
    default:
      return false;
  }
}

std::size_t FolderIndex::KeyHash::operator()(const Key& key) const {
  return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(key.inode) * 31 +
                                    static_cast<std::uint64_t>(key.device));
}

void FolderIndex::Folder::add(std::string_view hostName) {
  auto& hostNames = names[foldedHostName(hostName)];
  if (std::find(hostNames.begin(), hostNames.end(), hostName) == hostNames.end()) {
    hostNames.emplace_back(hostName);
  }
}

FolderIndex::~FolderIndex() {
  if (m_notify >= 0) ::close(m_notify);  // closing drops every watch
}

fs::path FolderIndex::find(const fs::path& folder, const std::string& name) {
  const fs::path exact = folder / ansiToUtf8(name);
  if (entryExists(exact)) return exact;
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
  return findOtherCase(folder, info, name);
}

fs::path FolderIndex::findOtherCase(const fs::path& folder, const struct stat& folderInfo,
                                    const std::string& name) {
  Folder* indexed = indexOf(folder, Key{folderInfo.st_dev, folderInfo.st_ino});
  if (indexed == nullptr) return findHostEntry(folder, name);
  const auto found = indexed->names.find(ansiToUpper(name));
  if (found == indexed->names.end()) return {};
  // The index may still list names that are gone (see Folder::names): those go now.
  auto& hostNames = found->second;
  for (auto hostName = hostNames.begin(); hostName != hostNames.end();) {
    fs::path candidate = folder / *hostName;
    if (entryExists(candidate)) return candidate;
    hostName = hostNames.erase(hostName);
  }
  indexed->names.erase(found);
  return {};
}

bool FolderIndex::notificationsOpen() {
  if (!m_notifyTried) {
    m_notifyTried = true;
    // NOTE: without notifications (no inotify, or the user's instances used up) every lookup
    // scans its folder: slower in full folders, never wrong.
    m_notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  }
  return m_notify >= 0;
}

FolderIndex::Folder* FolderIndex::indexOf(const fs::path& folder, const Key& key) {
  if (!notificationsOpen()) return nullptr;
  // Whatever changed before this lookup began is in the queue by now.
  takeNotifications();
  const auto found = m_folders.find(key);
  if (found == m_folders.end()) return build(folder, key);
  m_recent.splice(m_recent.begin(), m_recent, found->second.recent);
  return &found->second;
}

FolderIndex::Folder* FolderIndex::build(const fs::path& folder, const Key& key) {
  // The watch comes first, so that a change made while the folder is read is not lost: it is
  // applied after the reading, and applying one twice does no harm.
  const int watch = ::inotify_add_watch(m_notify, folder.c_str(), kWatchMask);
  if (watch < 0) return nullptr;  // NOTE: the user's watches are used up: scan instead
  struct stat info {};
  DIR* directory = ::opendir(folder.c_str());
  const bool same = directory != nullptr && ::fstat(::dirfd(directory), &info) == 0 &&
                    Key{info.st_dev, info.st_ino} == key && !m_byWatch.contains(watch) &&
                    folderReportsEveryChange(::dirfd(directory));
  if (!same) {
    // Another folder took the name meanwhile, the watch is one we hold for another name of the
    // same folder, or its file system may not report every change: this lookup scans.
    if (directory != nullptr) ::closedir(directory);
    if (!m_byWatch.contains(watch)) ::inotify_rm_watch(m_notify, watch);
    return nullptr;
  }
  if (m_folders.size() >= kMaxFolders) forget(m_recent.back());

  Folder indexed;
  indexed.watch = watch;
  bool failed = false;
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(directory);
    if (item == nullptr) {
      failed = errno != 0;
      break;
    }
    const std::string_view hostName = item->d_name;
    if (hostName != "." && hostName != "..") indexed.add(hostName);
  }
  ::closedir(directory);
  if (failed) {
    ::inotify_rm_watch(m_notify, watch);
    return nullptr;
  }
  m_recent.push_front(key);
  indexed.recent = m_recent.begin();
  m_byWatch.emplace(watch, key);
  m_folders.emplace(key, std::move(indexed));
  takeNotifications();
  // The changes just taken may have dropped the index again (the folder went away).
  const auto kept = m_folders.find(key);
  return kept == m_folders.end() ? nullptr : &kept->second;
}

void FolderIndex::takeNotifications() {
  alignas(inotify_event) char buffer[16 * 1024];
  constexpr std::size_t kLargestEvent = sizeof(inotify_event) + NAME_MAX + 1;
  for (bool more = true; more;) {
    const ssize_t got = ::read(m_notify, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;  // EAGAIN: nothing more is pending
    // A read that left room for another event took all there was.
    more = static_cast<std::size_t>(got) + kLargestEvent > sizeof buffer;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if ((event->mask & IN_Q_OVERFLOW) != 0) {
        forgetAll();  // changes were lost: every folder starts afresh
        continue;
      }
      const auto watched = m_byWatch.find(event->wd);
      if (watched == m_byWatch.end()) continue;  // a watch already dropped
      if ((event->mask & IN_IGNORED) != 0) {
        // The folder is gone (or its file system): the kernel dropped the watch itself.
        const Key key = watched->second;
        m_recent.erase(m_folders.at(key).recent);
        m_folders.erase(key);
        m_byWatch.erase(watched);
        continue;
      }
      if (event->len == 0) continue;
      Folder& folder = m_folders.at(watched->second);
      if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
        folder.add(event->name);  // padded with NULs
      } else if (++folder.removals > folder.names.size() + kSpareRemovals) {
        // Mostly names that are gone by now: the folder starts afresh at its next lookup.
        forget(watched->second);
      }
    }
  }
}

void FolderIndex::forget(Key key) {
  const auto found = m_folders.find(key);
  if (found == m_folders.end()) return;
  ::inotify_rm_watch(m_notify, found->second.watch);
  m_byWatch.erase(found->second.watch);
  m_recent.erase(found->second.recent);
  m_folders.erase(found);
}

void FolderIndex::forgetAll() {
  for (const auto& [key, folder] : m_folders) ::inotify_rm_watch(m_notify, folder.watch);
  m_folders.clear();
  m_byWatch.clear();
  m_recent.clear();
}

}  // namespace platform
