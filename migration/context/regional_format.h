// Dates and numbers as an English (United States) Windows machine writes them: the general date
// "6/1/2001 3:04:05 PM", the short date "6/1/2001", and "1.5" with a point for decimals.
//
// Local time: the file system keeps UTC. A Windows machine converts a file time to local time
// with the time zone's current bias (ActiveTimeBias under
// HKLM\SYSTEM\CurrentControlSet\Control\TimeZoneInformation, in minutes, UTC = local + bias),
// whatever the bias was on the file's date; we do the same. A machine without that value (Bias
// is the fallback) keeps local time equal to UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace migration {

struct LocalDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  // 30 December 1899, midnight: the date-time value zero, which prints as its time alone.
  bool isZeroDate() const { return year == 1899 && month == 12 && day == 30; }
  bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
  bool operator==(const LocalDateTime&) const = default;
};

class RegionalFormat {
 public:
  explicit RegionalFormat(std::int32_t biasMinutes = 0) : m_biasMinutes(biasMinutes) {}
  // The machine's current time zone bias, read from its registry.
  static RegionalFormat ofMachine(platform::Registry& registry);

  std::int32_t biasMinutes() const { return m_biasMinutes; }
  LocalDateTime localTime(platform::FileTime utc) const;

  // The general date: the date alone at midnight, the time alone on the zero date.
  static std::string generalDate(const LocalDateTime& value);
  static std::string shortDate(const LocalDateTime& value);

  // Bytes as kilobytes with one decimal, halves to the even digit, no trailing ".0": 1536
  // gives "1.5", 2048 gives "2", 100 gives "0.1".
  static std::string kilobytes(std::uint64_t bytes);

 private:
  std::int32_t m_biasMinutes;
};

}  // namespace migration
