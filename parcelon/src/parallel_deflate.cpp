#include "parallel_deflate.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>

#include "deflate_level.h"

namespace parcelon {
namespace {

// The window of raw deflate: all a chunk can refer back to.
constexpr std::size_t kDictionarySize = 32 * 1024;
// Chunks in hand beyond one per worker: enough that a worker finishing a chunk finds another
// waiting while the caller's thread reads, writes or deflates one itself.
constexpr std::size_t kSpareJobs = 4;

}  // namespace

// One chunk: filled on the caller's thread, deflated on a worker, written on the caller's thread.
struct ParallelDeflate::Job {
  z_stream stream{};
  bool streamReady = false;
  std::vector<std::uint8_t> input;  // the dictionary, then the chunk's data
  std::size_t dictionary = 0;
  std::vector<std::uint8_t> output;
  std::size_t produced = 0;
  std::uint32_t crc = 0;
  bool last = false;
  bool failed = false;
  // Set by whoever deflates the chunk, a worker or the caller's thread, whichever comes first.
  std::atomic<bool> claimed{false};
  std::atomic<bool> finished{false};  // deflated, or failed to be
  std::unique_ptr<platform::PendingTask> pending;

  Job() = default;
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  ~Job() {
    pending.reset();  // a worker still at it finishes first
    if (streamReady) deflateEnd(&stream);
  }

  std::size_t dataSize() const { return input.size() - dictionary; }
  bool claim() { return !claimed.exchange(true); }
  [[nodiscard]] bool prepareStream();
  void run() {
    deflateChunk();
    finished.store(true, std::memory_order_release);
  }
  void deflateChunk();
};

bool ParallelDeflate::Job::prepareStream() {
  if (streamReady) return deflateReset(&stream) == Z_OK;
  // The parameters of the single-pass writer, so that the stream is the same kind.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return false;
  }
  streamReady = true;
  return true;
}

// Deflates the chunk, ending it on a byte boundary, or the whole stream when last.
void ParallelDeflate::Job::deflateChunk() {
  failed = true;
  produced = 0;
  if (!prepareStream()) return;
  std::uint8_t* data = input.data() + dictionary;
  const auto size = static_cast<uInt>(dataSize());
  // A fresh stream takes its level without a flush. Stored blocks refer to nothing, so they
  // need no dictionary.
  const int level = deflateLevelFor(data, size);
  if (useDeflateLevel(stream, level) != Z_OK) return;
  if (level != Z_NO_COMPRESSION && dictionary > 0 &&
      deflateSetDictionary(&stream, input.data(), static_cast<uInt>(dictionary)) != Z_OK) {
    return;
  }
  crc = static_cast<std::uint32_t>(crc32(0, data, size));
  stream.next_in = data;
  stream.avail_in = size;
  const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
  // The bound covers the final block; the sync flush's empty block needs a few bytes more.
  output.resize(std::max<std::size_t>(output.size(), deflateBound(&stream, size) + 16));
  for (;;) {
    stream.next_out = output.data() + produced;
    stream.avail_out = static_cast<uInt>(output.size() - produced);
    const int result = deflate(&stream, flush);
    produced = output.size() - stream.avail_out;
    if (result == Z_STREAM_END) break;
    if (result != Z_OK && result != Z_BUF_ERROR) return;
    if (flush == Z_SYNC_FLUSH && stream.avail_in == 0 && stream.avail_out > 0) break;
    if (stream.avail_out == 0) output.resize(output.size() * 2);
  }
  failed = false;
}

ParallelDeflate::ParallelDeflate(platform::ThreadService& threads) : m_threads(threads) {
  const std::size_t jobs = threads.workers() + kSpareJobs;
  for (std::size_t i = 0; i < jobs; ++i) m_jobs.push_back(std::make_unique<Job>());
}

ParallelDeflate::~ParallelDeflate() { abandon(); }

bool ParallelDeflate::suits(std::uint64_t size) const {
  return m_threads.workers() > 1 && size >= kMinimumSize;
}

ParallelDeflate::Job& ParallelDeflate::slot(std::size_t sequence) {
  return *m_jobs[sequence % m_jobs.size()];
}

void ParallelDeflate::begin(ZipWriter& writer, std::uint64_t size) {
  abandon();
  m_writer = &writer;
  // One part per processor: the caller's thread deflates one, the workers the others.
  const std::uint64_t parts = m_threads.workers();
  const std::uint64_t perPart = (size + parts - 1) / parts;
  m_chunk = static_cast<std::size_t>(std::clamp<std::uint64_t>(perPart, kMinChunk, kMaxChunk));
  m_first = 0;
  m_next = 0;
}

platform::Status ParallelDeflate::write(const std::uint8_t* data, std::size_t count) {
  RETURN_IF_FAILED(m_writer->reserveEntryData(count));
  while (count > 0) {
    // A full chunk goes to a worker once more data shows that it is not the last one.
    if (!m_filling || slot(m_next - 1).dataSize() == m_chunk) {
      if (m_filling) dispatch(slot(m_next - 1), false);
      RETURN_IF_FAILED(openJob());
    }
    Job& job = slot(m_next - 1);
    const std::size_t take = std::min(count, m_chunk - job.dataSize());
    job.input.insert(job.input.end(), data, data + take);
    data += take;
    count -= take;
  }
  return platform::ERROR_SUCCESS;
}

platform::Status ParallelDeflate::openJob() {
  if (m_next - m_first == m_jobs.size()) {
    RETURN_IF_FAILED(writeOldest());
  }
  Job& job = slot(m_next);
  job.input.clear();
  job.dictionary = 0;
  if (m_next > 0) {
    // The last 32 KiB before the chunk, read from the previous chunk (which holds its own
    // dictionary in front, so a short chunk still passes on a whole window).
    const Job& previous = slot(m_next - 1);
    const std::size_t keep = std::min(kDictionarySize, previous.input.size());
    job.input.insert(job.input.end(), previous.input.end() - static_cast<std::ptrdiff_t>(keep),
                     previous.input.end());
    job.dictionary = keep;
  }
  job.input.reserve(job.dictionary + m_chunk);
  ++m_next;
  m_filling = true;
  return platform::ERROR_SUCCESS;
}

void ParallelDeflate::dispatch(Job& job, bool last) {
  job.last = last;
  job.finished = false;
  m_filling = false;
  if (last) {
    job.claimed = true;
    job.run();  // the workers have the chunks before it
  } else {
    job.claimed = false;
    job.pending = m_threads.start([&job] {
      if (job.claim()) job.run();
    });
  }
}

// Rather than wait for a worker, the caller's thread deflates the chunks no worker has begun:
// the oldest one when it is still waiting, else later ones while a worker is at the oldest.
void ParallelDeflate::helpWith(Job& oldest) {
  if (oldest.claim()) {
    oldest.run();
    return;
  }
  const std::size_t dispatched = m_filling ? m_next - 1 : m_next;
  for (std::size_t sequence = m_first + 1;
       sequence < dispatched && !oldest.finished.load(std::memory_order_acquire); ++sequence) {
    Job& job = slot(sequence);
    if (job.claim()) job.run();
  }
}

platform::Status ParallelDeflate::writeOldest() {
  Job& job = slot(m_first);
  helpWith(job);
  if (job.pending) job.pending->wait();
  job.pending.reset();
  ++m_first;
  if (job.failed) return platform::ERROR_INVALID_DATA;
  return m_writer->writeDeflated(job.output.data(), job.produced, job.crc, job.dataSize());
}

platform::Status ParallelDeflate::finish() {
  // An entry that turned out empty still needs its one final block.
  if (!m_filling) {
    RETURN_IF_FAILED(openJob());
  }
  dispatch(slot(m_next - 1), true);
  while (m_first < m_next) {
    RETURN_IF_FAILED(writeOldest());
  }
  return platform::ERROR_SUCCESS;
}

void ParallelDeflate::abandon() {
  // Chunks no worker has begun are not begun any more.
  for (std::size_t sequence = m_first; sequence < m_next; ++sequence) slot(sequence).claimed = true;
  for (; m_first < m_next; ++m_first) slot(m_first).pending.reset();
  m_filling = false;
}

}  // namespace parcelon
