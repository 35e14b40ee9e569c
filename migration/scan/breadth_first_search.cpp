#include "scan/breadth_first_search.h"

#include <algorithm>

#include "forms/dir_list_box.h"
#include "platform/text_encoding.h"

namespace migration {

namespace {

constexpr std::uint32_t kNotListed =
    platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM;

bool byName(const std::string& a, const std::string& b) { return platform::ansiLessNoCase(a, b); }

// The native listing comes sorted already; another backend's may not.
template <typename T, typename Less>
void sortIfNeeded(std::vector<T>& items, Less less) {
  if (!std::is_sorted(items.begin(), items.end(), less))
    std::sort(items.begin(), items.end(), less);
}

}  // namespace

std::string directoryListPath(platform::FileSystem& files, const std::string& directory) {
  std::string path = files.fullPath(directory).valueOr(directory);
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

BreadthFirstSearch::BreadthFirstSearch(platform::FileSystem& files, std::string_view patterns)
    : m_files(files), m_patterns(patterns) {}

platform::Result<BreadthFirstSearch::Listing> BreadthFirstSearch::list(
    const std::string& directory) {
  // Files that do not match are left alone by the listing: only their names are looked at.
  auto entries = m_files.listFolderWhere(directory, [this](std::string_view name, bool isFolder) {
    return isFolder || m_patterns.matches(name);
  });
  if (!entries) return platform::Result<Listing>::failure(entries.status(), directory);
  Listing listing;
  for (platform::DirectoryEntry& entry : entries.value()) {
    if (entry.attributes & kNotListed) continue;
    if (entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) {
      listing.subdirectories.push_back(forms::joinPath(directory, entry.name));
    } else {
      listing.files.push_back(std::move(entry));
    }
  }
  sortIfNeeded(listing.files,
               [](const platform::DirectoryEntry& a, const platform::DirectoryEntry& b) {
                 return byName(a.name, b.name);
               });
  sortIfNeeded(listing.subdirectories, byName);
  return listing;
}

void BreadthFirstSearch::queueSubdirectories(const Listing& listing, SearchVisitor& visitor) {
  for (const std::string& subdirectory : listing.subdirectories) {
    if (visitor.shouldQueue(subdirectory)) m_queue.push_back(subdirectory);
  }
}

bool BreadthFirstSearch::enterOnce(const std::string& directory) {
  const auto identity = m_files.identity(directory);
  // A directory whose identity cannot be read is entered: better twice than never.
  return !identity || m_entered.insert(*identity).second;
}

void BreadthFirstSearch::run(const std::string& start, SearchVisitor& visitor) {
  m_queue.clear();
  m_entered.clear();
  const std::string startPath = directoryListPath(m_files, start);
  if (!enterOnce(startPath)) return;
  auto first = list(startPath);
  // A drive that is not ready or a missing directory: nothing found, nothing queued.
  if (!first) return;
  for (std::size_t i = 0; i < first->files.size(); ++i) {
    visitor.foundFile(startPath, first->files[i], SearchLevel::Start, i);
  }
  queueSubdirectories(*first, visitor);

  // The queue grows while it is walked, so its length is read anew each time.
  for (std::size_t next = 0; next < m_queue.size(); ++next) {
    if (visitor.cancelled()) break;
    const std::string directory = m_queue[next];
    if (!enterOnce(directory)) continue;
    auto listing = list(directory);
    // A directory that cannot be read contributes nothing; the walk goes on.
    if (!listing) continue;
    queueSubdirectories(*listing, visitor);
    for (std::size_t i = 0; i < listing->files.size(); ++i) {
      visitor.foundFile(directory, listing->files[i], SearchLevel::Queued, i);
    }
  }
  m_queue.clear();
  m_entered.clear();
}

}  // namespace migration
