// Deflates a large entry on every processor. The entry's data is cut into chunks, each deflated
// by a worker of the platform's thread service with the 32 KiB before it as its dictionary and
// ended on a byte boundary (a sync flush), all but the last without the final-block mark; so
// the chunks, joined in order, are one ordinary raw deflate stream, hardly larger than one made
// in a single pass. The caller's thread hands the data in and writes the deflated chunks to the
// archive in order. A few chunks more than there are workers are in hand at once, so memory
// stays bounded however large the entry, and the buffers and deflate states are kept from entry
// to entry. The caller's thread deflates too rather than wait: the last chunk, and any chunk no
// worker has begun by the time its output is wanted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/status.h"
#include "platform/thread_service.h"
#include "zip_writer.h"

namespace parcelon {

class ParallelDeflate {
 public:
  // Entries smaller than this are deflated in one pass on the caller's thread: cutting them
  // up gains less than it costs.
  static constexpr std::uint64_t kMinimumSize = 8 * 1024;
  // The smallest and the largest chunk: a middling entry is cut into one chunk per worker (the
  // caller's thread taking the last), a large one into chunks of the largest size.
  static constexpr std::size_t kMinChunk = 4 * 1024;
  static constexpr std::size_t kMaxChunk = 256 * 1024;

  explicit ParallelDeflate(platform::ThreadService& threads);
  ~ParallelDeflate();
  ParallelDeflate(const ParallelDeflate&) = delete;
  ParallelDeflate& operator=(const ParallelDeflate&) = delete;

  // Whether an entry of `size` bytes is best deflated here.
  bool suits(std::uint64_t size) const;

  // Begins the data of the entry open in `writer`, which was started with
  // Deflation::Elsewhere and has about `size` bytes.
  void begin(ZipWriter& writer, std::uint64_t size);
  // Takes the entry's next bytes. Fails as the writer fails (a record limit, a write error).
  [[nodiscard]] platform::Status write(const std::uint8_t* data, std::size_t count);
  // Ends the deflate stream and writes what is still pending; the entry can then be closed.
  [[nodiscard]] platform::Status finish();
  // Drops whatever is in hand, once the workers are done with it (after a failure).
  void abandon();

 private:
  struct Job;

  Job& slot(std::size_t sequence);
  [[nodiscard]] platform::Status openJob();
  void dispatch(Job& job, bool last);
  void helpWith(Job& oldest);
  [[nodiscard]] platform::Status writeOldest();

  platform::ThreadService& m_threads;
  std::vector<std::unique_ptr<Job>> m_jobs;  // a ring, used in order
  ZipWriter* m_writer = nullptr;
  std::size_t m_chunk = kMaxChunk;
  std::size_t m_first = 0;  // sequence number of the oldest job in hand
  std::size_t m_next = 0;   // sequence number of the next job to open
  bool m_filling = false;   // the job m_next - 1 is still taking data
};

}  // namespace parcelon
