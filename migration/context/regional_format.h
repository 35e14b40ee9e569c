// Dates and numbers as the machine's regional settings write them: its short date format
// ("M/d/yyyy" gives "6/1/2001", "dd.MM.yyyy" gives "01.06.2001"), its time format ("h:mm:ss tt"
// gives "3:04:05 PM") and its decimal separator. Windows keeps them under the user's key
// "Control Panel\International" (sShortDate, sTimeFormat, s1159, s2359, sDecimal); what is
// missing there is taken as an English (United States) machine has it.
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
#include <utility>

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

// The settings of HKCU\Control Panel\International that the texts follow.
struct RegionalSettings {
  std::string shortDate = "M/d/yyyy";    // sShortDate
  std::string timeFormat = "h:mm:ss tt";  // sTimeFormat
  std::string am = "AM";                 // s1159
  std::string pm = "PM";                 // s2359
  std::string decimal = ".";             // sDecimal
};

class RegionalFormat {
 public:
  explicit RegionalFormat(std::int32_t biasMinutes = 0, RegionalSettings settings = {})
      : m_biasMinutes(biasMinutes), m_settings(std::move(settings)) {}
  // The machine's current time zone bias and the user's regional settings, from its registry.
  static RegionalFormat ofMachine(platform::Registry& registry);

  std::int32_t biasMinutes() const { return m_biasMinutes; }
  const RegionalSettings& settings() const { return m_settings; }
  LocalDateTime localTime(platform::FileTime utc) const;

  // The general date: the date alone at midnight, the time alone on the zero date.
  std::string generalDate(const LocalDateTime& value) const;
  std::string shortDate(const LocalDateTime& value) const;
  std::string time(const LocalDateTime& value) const;

  // Bytes as kilobytes with one decimal, halves to the even digit, no trailing zero decimal:
  // 1536 gives "1.5" (or "1,5" with a decimal comma), 2048 gives "2", 100 gives "0.1".
  std::string kilobytes(std::uint64_t bytes) const;

 private:
  std::int32_t m_biasMinutes;
  RegionalSettings m_settings;
};

}  // namespace migration
