#include "platform/testing/faulty_machine.h"

#include <utility>

namespace platform::testing {

namespace {

// An open file whose writes ask the file system first, when they are counted.
class FaultyFile final : public File {
 public:
  FaultyFile(std::unique_ptr<File> inner, FaultyFileSystem* counter)
      : m_inner(std::move(inner)), m_counter(counter) {}

  Result<std::size_t> read(void* buffer, std::size_t count) override {
    return m_inner->read(buffer, count);
  }
  Status write(const void* buffer, std::size_t count) override {
    if (m_counter != nullptr) RETURN_IF_FAILED(m_counter->nextWrite());
    return m_inner->write(buffer, count);
  }
  Status seek(std::uint64_t position) override { return m_inner->seek(position); }
  std::uint64_t position() const override { return m_inner->position(); }
  Result<std::uint64_t> size() override { return m_inner->size(); }
  Status truncate(std::uint64_t size) override { return m_inner->truncate(size); }
  Status close() override { return m_inner->close(); }

 private:
  std::unique_ptr<File> m_inner;
  FaultyFileSystem* m_counter;  // null: not counted
};

}  // namespace

void FaultyFileSystem::countWritesTo(PathFilter which) {
  m_counted = std::move(which);
  m_writes = 0;
  m_failFrom = 0;
}

void FaultyFileSystem::failWriteNumber(std::size_t number, Status status) {
  m_failFrom = number;
  m_failure = status;
}

Status FaultyFileSystem::nextWrite() {
  ++m_writes;
  return m_failFrom != 0 && m_writes >= m_failFrom ? m_failure : ERROR_SUCCESS;
}

Result<std::unique_ptr<File>> FaultyFileSystem::openFile(const std::string& path, OpenMode mode) {
  auto opened = m_inner.openFile(path, mode);
  if (!opened) return opened;
  const bool counted = !m_counted || m_counted(path);
  return std::unique_ptr<File>(
      std::make_unique<FaultyFile>(std::move(*opened), counted ? this : nullptr));
}

}  // namespace platform::testing
