// An open file of the real machine over a Windows file handle. Positions are kept here and
// handed to SetFilePointer with their high part, so files past 4 GiB work on every Windows.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace platform {

class Win32File final : public File {
 public:
  // Takes over `handle` (a Windows HANDLE). With `appending` every write goes to the end.
  Win32File(void* handle, bool appending);
  ~Win32File() override;
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  Result<std::size_t> read(void* buffer, std::size_t count) override;
  Status write(const void* buffer, std::size_t count) override;
  Status seek(std::uint64_t position) override;
  std::uint64_t position() const override { return m_position; }
  Result<std::uint64_t> size() override;
  Status truncate(std::uint64_t size) override;
  Status close() override;

 private:
  Status moveTo(std::uint64_t position);

  void* m_handle;
  bool m_appending;
  std::uint64_t m_position = 0;
};

}  // namespace platform
