#include "dos_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host_status.h"
#include "platform/file_system.h"

namespace platform {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";
constexpr std::uint32_t kStoredBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

std::uint32_t readStoredBits(const std::filesystem::path& host) {
  char text[32] = {};
  const ssize_t size = ::getxattr(host.c_str(), kDosAttributeName, text, sizeof text - 1);
  if (size <= 0) return 0;
  text[size] = '\0';
  // Wine writes "0x" and hex digits; anything else is not ours to interpret.
  if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return 0;
  return static_cast<std::uint32_t>(std::strtoul(text + 2, nullptr, 16)) & kStoredBits;
}

}  // namespace

bool isReadOnly(const struct stat& info) { return (info.st_mode & kWriteBits) == 0; }

std::uint32_t readDosAttributes(const std::filesystem::path& host, const struct stat& info) {
  std::uint32_t attributes = 0;
  if (S_ISDIR(info.st_mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else {
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
  }
  if (isReadOnly(info)) attributes |= FILE_ATTRIBUTE_READONLY;
  attributes |= readStoredBits(host);
  const std::string name = host.filename().string();
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes;
}

Status writeDosAttributes(const std::filesystem::path& host, std::uint32_t attributes) {
  struct stat info {};
  if (::stat(host.c_str(), &info) != 0) return statusFromErrno(errno);
  if (!S_ISDIR(info.st_mode)) {
    // Clearing READONLY gives the owner write access back; group and others stay as they were.
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (info.st_mode & ~kWriteBits)
                                                               : (info.st_mode | S_IWUSR);
    if ((mode & 07777) != (info.st_mode & 07777) && ::chmod(host.c_str(), mode & 07777) != 0) {
      return statusFromErrno(errno);
    }
  }
  const std::uint32_t stored = attributes & kStoredBits;
  if (stored == 0) {
    if (::removexattr(host.c_str(), kDosAttributeName) != 0 && errno != ENODATA &&
        errno != ENOTSUP) {
      return statusFromErrno(errno);
    }
    return ERROR_SUCCESS;
  }
  char text[16];
  const int length = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(stored));
  if (::setxattr(host.c_str(), kDosAttributeName, text, static_cast<std::size_t>(length), 0) != 0) {
    return statusFromErrno(errno);
  }
  return ERROR_SUCCESS;
}

}  // namespace platform
