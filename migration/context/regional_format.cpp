#include "context/regional_format.h"

#include "context/mdl_registry.h"

#include <optional>
#include <utility>

namespace migration {

namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
// Seconds from 1 January 1601 (the file time epoch) to 1 January 1970.
constexpr std::int64_t kFileTimeToUnixSeconds = 11'644'473'600;
constexpr const char* kTimeZoneKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
constexpr const char* kInternationalKey = "Control Panel\\International";

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

// A number with two digits for a doubled letter ("dd"), as it is for a single one ("d").
std::string padded(int value, std::size_t letters) {
  return letters >= 2 && value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

// Applies a Windows date or time picture: d dd M MM yy yyyy h hh H HH m mm s ss t tt; text in
// single quotes and every other character are copied as they are.
std::string formatPicture(std::string_view picture, const LocalDateTime& value,
                          const RegionalSettings& settings) {
  std::string text;
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const int hour12 = value.hour % 12 == 0 ? 12 : value.hour % 12;
    switch (c) {
      case 'd': text += padded(value.day, run); break;
      case 'M': text += padded(value.month, run); break;
      case 'y': text += run >= 3 ? std::to_string(value.year) : twoDigits(value.year % 100); break;
      case 'h': text += padded(hour12, run); break;
      case 'H': text += padded(value.hour, run); break;
      case 'm': text += padded(value.minute, run); break;
      case 's': text += padded(value.second, run); break;
      case 't': {
        const std::string& marker = value.hour < 12 ? settings.am : settings.pm;
        text += run == 1 ? marker.substr(0, 1) : marker;
        break;
      }
      case '\'': {
        const std::size_t close = picture.find('\'', i + 1);
        const std::size_t end = close == std::string_view::npos ? picture.size() : close;
        text += picture.substr(i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
      default: text.append(run, c); break;
    }
    i += run;
  }
  return text;
}

std::optional<std::string> textSetting(platform::Registry& registry, const char* name) {
  const RegValue value = QueryKeyValue(registry, platform::HKEY_CURRENT_USER, kInternationalKey, name);
  if (!value.isText()) return std::nullopt;
  std::string text = withoutFinalNul(value.text());
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace

RegionalFormat RegionalFormat::ofMachine(platform::Registry& registry) {
  RegionalSettings settings;
  const std::pair<const char*, std::string*> values[] = {
      {"sShortDate", &settings.shortDate}, {"sTimeFormat", &settings.timeFormat},
      {"s1159", &settings.am},             {"s2359", &settings.pm},
      {"sDecimal", &settings.decimal}};
  for (const auto& [name, value] : values) {
    if (auto text = textSetting(registry, name)) *value = std::move(*text);
  }
  for (const char* name : {"ActiveTimeBias", "Bias"}) {
    const RegValue bias = QueryKeyValue(registry, platform::HKEY_LOCAL_MACHINE, kTimeZoneKey, name);
    if (bias.isInteger()) return RegionalFormat(bias.integer(), std::move(settings));
  }
  return RegionalFormat(0, std::move(settings));
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

std::string RegionalFormat::shortDate(const LocalDateTime& value) const {
  return formatPicture(m_settings.shortDate, value, m_settings);
}

std::string RegionalFormat::time(const LocalDateTime& value) const {
  return formatPicture(m_settings.timeFormat, value, m_settings);
}

std::string RegionalFormat::generalDate(const LocalDateTime& value) const {
  if (value.isZeroDate()) return time(value);
  if (value.isMidnight()) return shortDate(value);
  return shortDate(value) + " " + time(value);
}

std::string RegionalFormat::kilobytes(std::uint64_t bytes) const {
  // Tenths of a kilobyte, rounded half to even on the exact quotient bytes * 10 / 1024.
  const std::uint64_t scaled = bytes * 10;
  std::uint64_t tenths = scaled / 1024;
  const std::uint64_t remainder = scaled % 1024;
  if (remainder > 512 || (remainder == 512 && tenths % 2 == 1)) ++tenths;
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += m_settings.decimal + std::to_string(tenths % 10);
  return text;
}

}  // namespace migration
