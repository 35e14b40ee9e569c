#include "native_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host_status.h"

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

NativeFile::NativeFile(int descriptor, Access access)
    : m_descriptor(descriptor), m_access(access), m_buffer(kBufferSize) {
  if (m_access == Access::Append) {
    struct stat info {};
    if (::fstat(m_descriptor, &info) == 0) m_position = static_cast<std::uint64_t>(info.st_size);
  }
}

NativeFile::~NativeFile() {
  if (m_descriptor >= 0) ignoreFailure(close(), "closing a file nobody closed");
}

Result<std::size_t> NativeFile::readAt(char* data, std::size_t count, std::uint64_t offset) {
  for (;;) {
    const ssize_t got = ::pread(m_descriptor, data, count, static_cast<off_t>(offset));
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return Result<std::size_t>::failure(ERROR_READ_FAULT);
  }
}

Status NativeFile::writeAt(const char* data, std::size_t count, std::uint64_t offset) {
  while (count > 0) {
    // O_APPEND writes land at the end whatever the offset, so plain write() serves appending.
    const ssize_t done = m_access == Access::Append
                             ? ::write(m_descriptor, data, count)
                             : ::pwrite(m_descriptor, data, count, static_cast<off_t>(offset));
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno == ENOSPC || errno == EDQUOT ? ERROR_DISK_FULL : ERROR_WRITE_FAULT;
    }
    data += done;
    count -= static_cast<std::size_t>(done);
    offset += static_cast<std::uint64_t>(done);
  }
  return ERROR_SUCCESS;
}

Status NativeFile::flush() {
  if (m_use != BufferUse::Writing) {
    m_use = BufferUse::None;
    return ERROR_SUCCESS;
  }
  const Status status = writeAt(m_buffer.data(), m_bufferFill, m_bufferOffset);
  m_use = BufferUse::None;
  m_bufferFill = 0;
  return status;
}

Result<std::size_t> NativeFile::read(void* buffer, std::size_t count) {
  if (m_descriptor < 0) return Result<std::size_t>::failure(ERROR_INVALID_HANDLE);
  if (m_access == Access::Append) return Result<std::size_t>::failure(ERROR_ACCESS_DENIED);
  // NOTE: only pending writes go; what was read ahead serves the next reads (a reader that
  // reads a header and then the data behind it used to read the same 64 KiB twice).
  if (m_use == BufferUse::Writing) {
    if (const Status status = flush(); status.failed()) {
      return Result<std::size_t>::failure(status);
    }
  }
  char* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const bool inBuffer = m_use == BufferUse::Reading && m_position >= m_bufferOffset &&
                          m_position < m_bufferOffset + m_bufferFill;
    if (inBuffer) {
      const std::size_t from = static_cast<std::size_t>(m_position - m_bufferOffset);
      const std::size_t take = std::min(count - done, m_bufferFill - from);
      std::memcpy(out + done, m_buffer.data() + from, take);
      done += take;
      m_position += take;
      continue;
    }
    // A large request goes straight to the caller's buffer.
    const bool direct = count - done >= kBufferSize;
    auto got = direct ? readAt(out + done, count - done, m_position)
                      : readAt(m_buffer.data(), kBufferSize, m_position);
    if (!got) return got;
    if (*got == 0) break;
    if (direct) {
      done += *got;
      m_position += *got;
    } else {
      m_use = BufferUse::Reading;
      m_bufferOffset = m_position;
      m_bufferFill = *got;
    }
  }
  return done;
}

Status NativeFile::write(const void* buffer, std::size_t count) {
  if (m_descriptor < 0) return ERROR_INVALID_HANDLE;
  if (m_access == Access::Read) return ERROR_ACCESS_DENIED;
  const char* data = static_cast<const char*>(buffer);
  const bool continues = m_use == BufferUse::Writing &&
                         m_position == m_bufferOffset + m_bufferFill &&
                         m_bufferFill + count <= kBufferSize;
  if (!continues) {
    RETURN_IF_FAILED(flush());
  }
  if (count >= kBufferSize) {
    const Status status = writeAt(data, count, m_position);
    if (status.ok()) m_position += count;
    return status;
  }
  if (m_use != BufferUse::Writing) {
    m_use = BufferUse::Writing;
    m_bufferOffset = m_position;
    m_bufferFill = 0;
  }
  std::memcpy(m_buffer.data() + m_bufferFill, data, count);
  m_bufferFill += count;
  m_position += count;
  return ERROR_SUCCESS;
}

Status NativeFile::seek(std::uint64_t position) {
  if (m_descriptor < 0) return ERROR_INVALID_HANDLE;
  if (m_use == BufferUse::Writing) {
    RETURN_IF_FAILED(flush());
  }
  m_position = position;
  return ERROR_SUCCESS;
}

Result<std::uint64_t> NativeFile::size() {
  if (m_descriptor < 0) return Result<std::uint64_t>::failure(ERROR_INVALID_HANDLE);
  if (m_use == BufferUse::Writing) {
    if (const Status status = flush(); status.failed()) {
      return Result<std::uint64_t>::failure(status);
    }
  }
  struct stat info {};
  if (::fstat(m_descriptor, &info) != 0) {
    return Result<std::uint64_t>::failure(statusFromErrno(errno));
  }
  return static_cast<std::uint64_t>(info.st_size);
}

Status NativeFile::truncate(std::uint64_t size) {
  if (m_descriptor < 0) return ERROR_INVALID_HANDLE;
  if (m_access == Access::Read) return ERROR_ACCESS_DENIED;
  RETURN_IF_FAILED(flush());
  if (::ftruncate(m_descriptor, static_cast<off_t>(size)) != 0) return statusFromErrno(errno);
  return ERROR_SUCCESS;
}

Status NativeFile::close() {
  if (m_descriptor < 0) return ERROR_INVALID_HANDLE;
  const Status flushed = flush();
  const int closed = ::close(m_descriptor);
  m_descriptor = -1;
  if (flushed.failed()) return flushed;
  return closed == 0 ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

}  // namespace platform
