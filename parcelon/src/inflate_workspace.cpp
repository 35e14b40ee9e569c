#include "inflate_workspace.h"

#include "status_progress.h"

namespace parcelon {
namespace {

constexpr std::size_t kInputBufferSize = 16384;

}  // namespace

InflateWorkspace::InflateWorkspace() : m_input(kInputBufferSize), m_output(kStatusChunkSize) {}

InflateWorkspace::~InflateWorkspace() {
  if (m_streamReady) inflateEnd(&m_stream);
}

z_stream* InflateWorkspace::freshStream() {
  if (m_streamReady) {
    if (inflateReset(&m_stream) == Z_OK) return &m_stream;
    inflateEnd(&m_stream);
    m_streamReady = false;
  }
  m_stream = z_stream{};
  if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) return nullptr;
  m_streamReady = true;
  return &m_stream;
}

}  // namespace parcelon
