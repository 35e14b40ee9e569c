#include "archive_io.h"

#include <algorithm>
#include <vector>

namespace parcelon {
namespace {

constexpr std::size_t kCopyBufferSize = 64 * 1024;

}  // namespace

platform::Status readExact(platform::File& file, void* buffer, std::size_t count) {
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    auto got = file.read(bytes + done, count - done);
    if (!got) return got.status();
    if (*got == 0) return kShortRead;
    done += *got;
  }
  return platform::ERROR_SUCCESS;
}

platform::Status readExactAt(platform::File& file, std::uint64_t position, void* buffer,
                             std::size_t count) {
  RETURN_IF_FAILED(file.seek(position));
  return readExact(file, buffer, count);
}

platform::Status copyBytes(platform::File& source, platform::File& target, std::uint64_t count) {
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(count, kCopyBufferSize)));
  while (count > 0) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size()));
    RETURN_IF_FAILED(readExact(source, buffer.data(), chunk));
    RETURN_IF_FAILED(target.write(buffer.data(), chunk));
    count -= chunk;
  }
  return platform::ERROR_SUCCESS;
}

platform::Status copyBytesAt(platform::File& source, std::uint64_t position, std::uint64_t count,
                             platform::File& target) {
  RETURN_IF_FAILED(source.seek(position));
  return copyBytes(source, target, count);
}

}  // namespace parcelon
