// What reading an entry needs besides the entry itself: the input buffer, the inflate state and
// a buffer for the output. The archive's reader keeps one and lends it to each entry in turn.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace parcelon {

// NOTE: made afresh for every entry, these come to some 120 KiB that the allocator hands back
// to the system when the entry is done; extracting thousands of small files then spent more
// time faulting the same memory in again than inflating.
class InflateWorkspace {
 public:
  InflateWorkspace();
  ~InflateWorkspace();
  InflateWorkspace(const InflateWorkspace&) = delete;
  InflateWorkspace& operator=(const InflateWorkspace&) = delete;

  // The inflate state, ready for a new raw deflate stream; nullptr when zlib has no memory.
  z_stream* freshStream();

  std::vector<std::uint8_t>& input() { return m_input; }
  std::vector<std::uint8_t>& output() { return m_output; }

 private:
  z_stream m_stream{};
  bool m_streamReady = false;
  std::vector<std::uint8_t> m_input;
  std::vector<std::uint8_t> m_output;
};

}  // namespace parcelon
