#include "win32_file.h"

#include <algorithm>

#include "win32_status.h"
#include "windows_api.h"

namespace platform {
namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t kLargestCall = 0x10000000;

}  // namespace

Win32File::Win32File(void* handle, bool appending) : m_handle(handle), m_appending(appending) {}

Win32File::~Win32File() {
  if (m_handle != nullptr) ignoreFailure(close(), "a file closed on destruction");
}

Status Win32File::moveTo(std::uint64_t position) {
  ::LONG high = static_cast<::LONG>(position >> 32);
  const ::DWORD low = ::SetFilePointer(m_handle, static_cast<::LONG>(position & 0xFFFFFFFFu),
                                       &high, FILE_BEGIN);
  if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return lastWindowsError();
  return Status();
}

Result<std::size_t> Win32File::read(void* buffer, std::size_t count) {
  if (m_handle == nullptr) return Result<std::size_t>::failure(Status(ERROR_INVALID_HANDLE));
  const Status moved = moveTo(m_position);
  if (moved.failed()) return Result<std::size_t>::failure(moved);
  ::DWORD got = 0;
  if (!::ReadFile(m_handle, buffer, static_cast<::DWORD>(std::min(count, kLargestCall)), &got,
                  nullptr)) {
    return Result<std::size_t>::failure(lastWindowsError());
  }
  m_position += got;
  return static_cast<std::size_t>(got);
}

Status Win32File::write(const void* buffer, std::size_t count) {
  if (m_handle == nullptr) return Status(ERROR_INVALID_HANDLE);
  if (m_appending) {
    auto end = size();
    if (!end) return end.status();
    m_position = *end;
  }
  RETURN_IF_FAILED(moveTo(m_position));
  const auto* bytes = static_cast<const char*>(buffer);
  while (count > 0) {
    ::DWORD written = 0;
    const auto piece = static_cast<::DWORD>(std::min(count, kLargestCall));
    if (!::WriteFile(m_handle, bytes, piece, &written, nullptr)) return lastWindowsError();
    if (written == 0) return Status(ERROR_DISK_FULL);
    bytes += written;
    count -= written;
    m_position += written;
  }
  return Status();
}

Status Win32File::seek(std::uint64_t position) {
  if (m_handle == nullptr) return Status(ERROR_INVALID_HANDLE);
  m_position = position;
  return Status();
}

Result<std::uint64_t> Win32File::size() {
  if (m_handle == nullptr) return Result<std::uint64_t>::failure(Status(ERROR_INVALID_HANDLE));
  ::DWORD high = 0;
  const ::DWORD low = ::GetFileSize(m_handle, &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
    return Result<std::uint64_t>::failure(lastWindowsError());
  }
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

Status Win32File::truncate(std::uint64_t size) {
  if (m_handle == nullptr) return Status(ERROR_INVALID_HANDLE);
  RETURN_IF_FAILED(moveTo(size));
  if (!::SetEndOfFile(m_handle)) return lastWindowsError();
  return Status();
}

Status Win32File::close() {
  if (m_handle == nullptr) return Status(ERROR_INVALID_HANDLE);
  const bool closed = ::CloseHandle(m_handle) != 0;
  m_handle = nullptr;
  return closed ? Status() : lastWindowsError();
}

}  // namespace platform
