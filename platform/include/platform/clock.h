// Time as the machine keeps it, with a pause that tests can make virtual.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual FileTime now() = 0;  // UTC
  virtual void sleep(std::uint32_t milliseconds) = 0;
};

// The host's real time.
class SystemClock final : public Clock {
 public:
  FileTime now() override;
  void sleep(std::uint32_t milliseconds) override;
};

// Time that moves only when someone sleeps or advances it; a sleep costs no real time.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(FileTime start = kDefaultStart) : m_now(start) {}
  FileTime now() override { return m_now; }
  void sleep(std::uint32_t milliseconds) override { advance(milliseconds); }
  void advance(std::uint64_t milliseconds) { m_now += milliseconds * 10'000; }
  std::uint64_t sleptMilliseconds() const { return (m_now - m_start) / 10'000; }

  // 1 June 2001, 04:00 UTC.
  static constexpr FileTime kDefaultStart = 126'358'416'000'000'000ULL;

 private:
  FileTime m_now;
  FileTime m_start = m_now;
};

}  // namespace platform
