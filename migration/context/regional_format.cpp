#include "context/regional_format.h"

#include "context/mdl_registry.h"

namespace migration {

namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
// Seconds from 1 January 1601 (the file time epoch) to 1 January 1970.
constexpr std::int64_t kFileTimeToUnixSeconds = 11'644'473'600;
constexpr const char* kTimeZoneKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";

// Days since 1 January 1970 to a civil date (proleptic Gregorian calendar).
void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719'468;
  const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const std::int64_t dayOfEra = days - era * 146'097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::string twoDigits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

std::string timeText(const LocalDateTime& value) {
  const int hour12 = value.hour % 12 == 0 ? 12 : value.hour % 12;
  return std::to_string(hour12) + ":" + twoDigits(value.minute) + ":" + twoDigits(value.second) +
         (value.hour < 12 ? " AM" : " PM");
}

}  // namespace

RegionalFormat RegionalFormat::ofMachine(platform::Registry& registry) {
  for (const char* name : {"ActiveTimeBias", "Bias"}) {
    const RegValue bias = QueryKeyValue(registry, platform::HKEY_LOCAL_MACHINE, kTimeZoneKey, name);
    if (bias.isInteger()) return RegionalFormat(bias.integer());
  }
  return RegionalFormat();
}

LocalDateTime RegionalFormat::localTime(platform::FileTime utc) const {
  const std::int64_t unixSeconds =
      static_cast<std::int64_t>(utc / 10'000'000) - kFileTimeToUnixSeconds;
  const std::int64_t local = unixSeconds - std::int64_t{m_biasMinutes} * 60;
  std::int64_t days = local / kSecondsPerDay;
  std::int64_t seconds = local % kSecondsPerDay;
  if (seconds < 0) {
    seconds += kSecondsPerDay;
    --days;
  }
  LocalDateTime value;
  civilFromDays(days, value.year, value.month, value.day);
  value.hour = static_cast<int>(seconds / 3600);
  value.minute = static_cast<int>(seconds / 60 % 60);
  value.second = static_cast<int>(seconds % 60);
  return value;
}

std::string RegionalFormat::shortDate(const LocalDateTime& value) {
  return std::to_string(value.month) + "/" + std::to_string(value.day) + "/" +
         std::to_string(value.year);
}

std::string RegionalFormat::generalDate(const LocalDateTime& value) {
  if (value.isZeroDate()) return timeText(value);
  if (value.isMidnight()) return shortDate(value);
  return shortDate(value) + " " + timeText(value);
}

std::string RegionalFormat::kilobytes(std::uint64_t bytes) {
  // Tenths of a kilobyte, rounded half to even on the exact quotient bytes * 10 / 1024.
  const std::uint64_t scaled = bytes * 10;
  std::uint64_t tenths = scaled / 1024;
  const std::uint64_t remainder = scaled % 1024;
  if (remainder > 512 || (remainder == 512 && tenths % 2 == 1)) ++tenths;
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text;
}

}  // namespace migration
