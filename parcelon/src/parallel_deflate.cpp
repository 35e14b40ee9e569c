#include "parallel_deflate.h"

#include <zlib.h>

#include <algorithm>

namespace parcelon {
namespace {

// The window of raw deflate: all a chunk can refer back to.
constexpr std::size_t kDictionarySize = 32 * 1024;
// One chunk deflating while the next waits keeps every worker busy while the caller's thread
// reads and writes.
constexpr std::size_t kJobsPerWorker = 2;

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
  std::unique_ptr<platform::PendingTask> pending;

  Job() = default;
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  ~Job() {
    pending.reset();  // a worker still at it finishes first
    if (streamReady) deflateEnd(&stream);
  }

  std::size_t dataSize() const { return input.size() - dictionary; }
  [[nodiscard]] bool prepareStream();
  void run();
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

// On a worker: deflates the chunk, ending it on a byte boundary, or the whole stream when last.
void ParallelDeflate::Job::run() {
  failed = true;
  produced = 0;
  if (!prepareStream()) return;
  if (dictionary > 0 &&
      deflateSetDictionary(&stream, input.data(), static_cast<uInt>(dictionary)) != Z_OK) {
    return;
  }
  std::uint8_t* data = input.data() + dictionary;
  const auto size = static_cast<uInt>(dataSize());
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
  const std::size_t jobs = std::max<std::size_t>(2, threads.workers() * kJobsPerWorker);
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
  const std::uint64_t perWorker = (size + m_threads.workers() - 1) / m_threads.workers();
  m_chunk = static_cast<std::size_t>(std::clamp<std::uint64_t>(perWorker, kMinChunk, kMaxChunk));
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
  m_filling = false;
  if (last) {
    job.run();  // the workers have the chunks before it
  } else {
    job.pending = m_threads.start([&job] { job.run(); });
  }
}

platform::Status ParallelDeflate::writeOldest() {
  Job& job = slot(m_first);
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
  for (; m_first < m_next; ++m_first) slot(m_first).pending.reset();
  m_filling = false;
}

}  // namespace parcelon
