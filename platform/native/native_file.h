// An open file of the native machine: a host file descriptor with one buffer, so that the
// small reads and writes of a streaming caller cost few system calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

class NativeFile final : public File {
 public:
  // What the descriptor was opened for; Append: writing only, every write at the end.
  enum class Access { Read, ReadWrite, Append };
  // Takes ownership of `descriptor`.
  NativeFile(int descriptor, Access access);
  ~NativeFile() override;
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;

  Result<std::size_t> read(void* buffer, std::size_t count) override;
  Status write(const void* buffer, std::size_t count) override;
  Status seek(std::uint64_t position) override;
  std::uint64_t position() const override { return m_position; }
  Result<std::uint64_t> size() override;
  Status truncate(std::uint64_t size) override;
  Status close() override;

 private:
  enum class BufferUse { None, Reading, Writing };

  [[nodiscard]] Status flush();
  [[nodiscard]] Status writeAt(const char* data, std::size_t count, std::uint64_t offset);
  [[nodiscard]] Result<std::size_t> readAt(char* data, std::size_t count, std::uint64_t offset);

  int m_descriptor;
  Access m_access;
  std::uint64_t m_position = 0;  // where the caller stands
  std::vector<char> m_buffer;
  BufferUse m_use = BufferUse::None;
  std::uint64_t m_bufferOffset = 0;  // the file offset of m_buffer[0]
  std::size_t m_bufferFill = 0;      // bytes held: read ahead, or waiting to be written
};

}  // namespace platform
